#include "gui/offscreen_gui.h"

#include <QGuiApplication>
#include <cstdio>

namespace tavo {

namespace {

// The offscreen platform needs no runtime folder; Qt's note that none is
// set would only be noise on stderr.
void QuietHandler(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QStringLiteral("QStandardPaths: XDG_RUNTIME_DIR not set")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(message));
}

}  // namespace

OffscreenGui::OffscreenGui() {
    if (QCoreApplication::instance()) return;
    // Qt aborts when the default platform finds no display; an image needs
    // none.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietHandler);
    app_ = std::make_unique<QGuiApplication>(argc_, argv_);
}

OffscreenGui::~OffscreenGui() = default;

}  // namespace tavo
