#include "cli/clipboard_copy.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QClipboard>
#include <QGuiApplication>
#include <array>
#include <cstdlib>

#include "cli/text_encoding.h"
#include "platform/qt_clipboard.h"

namespace tavo::cli {

namespace {

bool set(const char* name) {
    const char* v = std::getenv(name);
    return v && *v;
}

void send(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);  // NOLINT(cppcoreguidelines-pro-bounds-pointer-arithmetic): the rest of the buffer
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

// The background process: takes the clipboard, says "ok" or what failed on
// `status`, then serves the text until another program owns the clipboard
// (or the display goes away).
[[noreturn]] void serve(const std::string& cp932, int status) {
    setsid();
    // Whoever reads tavo's output must not wait for this process.
    const int null = open("/dev/null", O_RDWR);
    if (null >= 0) {
        for (int fd = 0; fd <= 2; ++fd) dup2(null, fd);
        if (null > 2) close(null);
    }

    platform::MakeQtClipboard()->setText(cp932);
    const QString platform = QGuiApplication::platformName();
    QClipboard* clipboard = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                                ? QGuiApplication::clipboard()
                                : nullptr;
    if (!clipboard || platform == "offscreen" || platform == "minimal" || !clipboard->ownsClipboard()) {
        send(status, "the display's clipboard cannot be reached");
        _exit(1);
    }
    send(status, "ok");
    close(status);
    QObject::connect(clipboard, &QClipboard::changed, [clipboard](QClipboard::Mode mode) {
        if (mode == QClipboard::Clipboard && !clipboard->ownsClipboard()) QCoreApplication::quit();
    });
    QCoreApplication::exec();
    _exit(0);
}

}  // namespace

void CopyToDesktopClipboard(const std::string& cp932) {
    if (!set("DISPLAY") && !set("WAYLAND_DISPLAY"))
        throw CommandError{"clipboard", "cannot be reached: no display (DISPLAY and WAYLAND_DISPLAY are unset)"};
    std::array<int, 2> fds{};
    if (pipe(fds.data()) != 0) throw CommandError{"clipboard", "cannot be reached: no pipe"};
    const pid_t child = fork();
    if (child < 0) throw CommandError{"clipboard", "cannot be reached: no process"};
    if (child == 0) {
        close(fds[0]);
        serve(cp932, fds[1]);
    }
    close(fds[1]);
    std::string answer;
    std::array<char, 256> buffer{};
    ssize_t n = 0;
    while ((n = ::read(fds[0], buffer.data(), buffer.size())) > 0)
        answer.append(buffer.data(), static_cast<std::size_t>(n));
    close(fds[0]);
    if (answer == "ok") return;
    waitpid(child, nullptr, 0);
    throw CommandError{"clipboard", answer.empty() ? "cannot be reached: the copying process ended" : answer};
}

}  // namespace tavo::cli
