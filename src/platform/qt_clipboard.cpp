#include "platform/qt_clipboard.h"

#include <QByteArray>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QString>
#include <string>

#include "platform/encoding.h"
#include "platform/qt_application.h"

namespace tavo::platform {

namespace {

class QtClipboard final : public Clipboard {
public:
    void setText(const std::string& cp932) override {
        if (!EnsureQtApplication(QtUse::Clipboard)) return;
        auto* data = new QMimeData;
        const std::string unicode = Cp932ToUtf8(cp932);
        data->setText(QString::fromUtf8(unicode.data(), static_cast<qsizetype>(unicode.size())));
        data->setData("text/plain;charset=Shift_JIS", QByteArray(cp932.data(), static_cast<int>(cp932.size())));
        QGuiApplication::clipboard()->setMimeData(data);
        // Lets the platform take the new owner before the host goes on.
        QCoreApplication::processEvents();
    }
};

}  // namespace

std::unique_ptr<Clipboard> MakeQtClipboard() { return std::make_unique<QtClipboard>(); }

}  // namespace tavo::platform
