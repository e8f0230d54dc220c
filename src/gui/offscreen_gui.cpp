#include "gui/offscreen_gui.h"

#include <QGuiApplication>
#include <cstdio>

namespace tavo {

namespace {

int argc = 1;
char name[] = "tavo";
char* argv[] = {name, nullptr};
QtMessageHandler previousHandler = nullptr;

// The offscreen platform needs no runtime folder; Qt's note that none is
// set would only be noise on stderr.
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QStringLiteral("QStandardPaths: XDG_RUNTIME_DIR not set")))
        return;
    if (previousHandler) previousHandler(type, context, message);
    else fprintf(stderr, "%s\n", qPrintable(message));
}

}  // namespace

OffscreenGui::OffscreenGui() {
    if (QCoreApplication::instance()) return;
    // Qt aborts when the default platform finds no display; an image needs
    // none.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    previousHandler = qInstallMessageHandler(QuietHandler);
    app_ = std::make_unique<QGuiApplication>(argc, argv);
}

OffscreenGui::~OffscreenGui() = default;

}  // namespace tavo
