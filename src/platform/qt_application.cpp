#include "platform/qt_application.h"

#include <QApplication>
#include <array>
#include <cstdio>
#include <cstdlib>

namespace tavo::platform {

namespace {

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

bool AnyDisplay() { return !Env("DISPLAY").empty() || !Env("WAYLAND_DISPLAY").empty(); }

// Qt's notes while it looks for a platform are only noise: the caller gets
// its own message when no display can be used.
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    const bool platformNote = (context.category && QByteArray(context.category).startsWith("qt.qpa")) ||
                              message.startsWith(QStringLiteral("QStandardPaths: XDG_RUNTIME_DIR not set"));
    if (type == QtWarningMsg && platformNote) return;
    std::fprintf(stderr, "%s\n", qPrintable(message));
}

// The one object made here, with the arguments Qt keeps for its lifetime.
struct MadeHere {
    std::string name = "tavo";
    std::string option = "-platform";
    std::string platforms;
    std::array<char*, 4> argv{};
    int argc = 3;
    QApplication* application = nullptr;
    bool offscreenAsked = false;  // QT_QPA_PLATFORM chose offscreen: windows show there

    explicit MadeHere(QtUse use) {
        const std::string named = Env("QT_QPA_PLATFORM");
        if (!named.empty())
            platforms = named + ";offscreen";
        else if (use == QtUse::Images)
            platforms = "offscreen";
        else
            platforms = "xcb;wayland;offscreen";
        offscreenAsked = named.rfind("offscreen", 0) == 0;
        argv = {name.data(), option.data(), platforms.data(), nullptr};
        qInstallMessageHandler(QuietHandler);
        application = new QApplication(argc, argv.data());
    }
    MadeHere(const MadeHere&) = delete;
    MadeHere& operator=(const MadeHere&) = delete;
};

bool Refuse(std::string* whyNot, const std::string& reason) {
    if (whyNot) *whyNot = reason;
    return false;
}

}  // namespace

bool EnsureQtApplication(QtUse use, std::string* whyNot) {
    static MadeHere* made = nullptr;
    if (!made && QCoreApplication::instance()) {
        // The host's own: windows need widgets, the rest a GUI application.
        if (use == QtUse::Windows && !qobject_cast<QApplication*>(QCoreApplication::instance()))
            return Refuse(whyNot, "the host's Qt application has no widgets (it is not a QApplication)");
        if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            return Refuse(whyNot, "the host's Qt application is a console one");
        return true;
    }
    if (!made) {
        if (use != QtUse::Images && Env("QT_QPA_PLATFORM").empty() && !AnyDisplay())
            return Refuse(whyNot, "no display is available (DISPLAY is not set)");
        made = new MadeHere(use);  // kept for the life of the process
    }
    if (use == QtUse::Windows && QGuiApplication::platformName() == QStringLiteral("offscreen") &&
        !made->offscreenAsked)
        return Refuse(whyNot, "no display is available (cannot open display \"" + Env("DISPLAY") + "\")");
    return true;
}

}  // namespace tavo::platform
