#include "platform/qt_clipboard.h"

#include <QByteArray>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QString>
#include <array>
#include <cstdlib>
#include <string>

#include "platform/encoding.h"

namespace tavo::platform {

namespace {

// A host that is not a Qt program gets an application object of its own,
// kept for the life of the process. A display that cannot be reached falls
// back to the offscreen platform: Qt would otherwise abort the host.
bool ensureGuiApplication() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return true;
    if (QCoreApplication::instance()) return false;  // a console Qt program: no clipboard
    // Qt keeps argc and argv for the application's lifetime.
    static std::string name = "tavo";
    static std::string option = "-platform";
    static std::string platforms;
    const char* named = std::getenv("QT_QPA_PLATFORM");
    platforms = std::string(named && *named ? named : "xcb;wayland") + ";offscreen";
    static std::array<char*, 4> argv = {name.data(), option.data(), platforms.data(), nullptr};
    static int argc = 3;
    static QGuiApplication* const application = new QGuiApplication(argc, argv.data());
    return application != nullptr;
}

class QtClipboard final : public Clipboard {
public:
    void setText(const std::string& cp932) override {
        if (!ensureGuiApplication()) return;
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
