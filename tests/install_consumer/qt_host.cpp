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

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ObjCreateByInifile();
    AddLine(10, 10, 100, 10, 2, 241, 1);
    int pressed = 0;
    bool refused = false;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QWidget* window = QApplication::activeModalWidget();
        // A message box says why the help could not be shown.
        if (auto* box = qobject_cast<QMessageBox*>(window)) {
            std::printf("%s\n", box->text().toUtf8().constData());
            refused = true;
            box->close();
        } else if (auto* button = window ? window->findChild<QToolButton*>(pressed ? "ToolButton1" : "ToolButton3")
                                         : nullptr) {
            button->click();  // help, then close
            ++pressed;
        }
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
