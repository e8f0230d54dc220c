// A host that is a Qt program, built against the installed package: it
// lends its application to the library, shows the preview, presses the
// help button and closes the window. Its help opens the installed page
// through whatever "xdg-open" the PATH names first. Usage: qt_host.
#include <tavo.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QToolButton>
#include <cstdio>
#include <string>

namespace {

bool Press(const char* button) {
    QWidget* window = QApplication::activeModalWidget();
    auto* b = window ? window->findChild<QToolButton*>(QString::fromLatin1(button)) : nullptr;
    if (!b) return false;
    b->click();
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ObjCreateByInifile();
    AddLine(10, 10, 100, 10, 2, 241, 1);
    int pressed = 0;
    bool refused = false;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        // A message box says why the help could not be shown.
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            std::printf("%s\n", box->text().toUtf8().constData());
            refused = true;
            box->close();
        } else if (pressed == 0 && Press("ToolButton3")) ++pressed;       // help
        else if (pressed == 1 && Press("ToolButton1")) ++pressed;  // close
    });
    timer.start(20);
    const char* name = "plan.xls";
    const int32_t result = ShowJwBrws(&name);
    TavoString error = TavoGetLastError();
    const std::string message(error, TavoStringByteLen(error));
    TavoFreeString(error);
    ObjDestroy();
    std::printf("%d %s\n", result, message.c_str());
    return result == 1 && message.empty() && !refused ? 0 : 1;
}
