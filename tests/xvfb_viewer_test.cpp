// The preview window in a real X server (xvfb_test.sh starts one): a sample
// drawing opened through ShowJwBrwsFromJwc, "select all" and "copy" clicked
// with xdotool as a person clicks, the clipboard read by xclip from another
// process, and a screenshot of the screen kept.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEventLoop>
#include <QProcess>
#include <QScreen>
#include <QTimer>
#include <QTest>
#include <QToolButton>
#include <cstdlib>

#include "export/export_jwt_writer.h"
#include "gui/qt_jw_brws_form.h"
#include "gui_script.h"
#include "interface/library_state.h"
#include "platform/encoding.h"
#include "platform/qt_application.h"
#include "tavo.h"
#include "test_support.h"

namespace tavo {
namespace {

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

// Runs a program while this process keeps serving X (the clipboard's owner
// must answer xclip); its standard output.
QByteArray RunProgram(const QString& program, const QStringList& args) {
    QProcess p;
    QEventLoop loop;
    QObject::connect(&p, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&p, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    p.start(program, args);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << program.toStdString();
    EXPECT_EQ(p.exitCode(), 0) << program.toStdString() << ": " << p.readAllStandardError().toStdString();
    return p.readAllStandardOutput();
}

void ClickWithXdotool(QWidget* window, const char* button) {
    auto* b = window->findChild<QToolButton*>(QString::fromLatin1(button));
    ASSERT_NE(b, nullptr) << button;
    const QPoint at = b->mapToGlobal(b->rect().center());
    RunProgram(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(at.x()),
                                    QString::number(at.y()), QStringLiteral("click"), QStringLiteral("1")});
}

TEST(PreviewInX, SelectAllCopyReadByAnotherProgramAndAScreenshot) {
    ASSERT_FALSE(Env("DISPLAY").empty());
    ASSERT_EQ(Env("QT_QPA_PLATFORM"), "xcb");
    std::string why;
    ASSERT_TRUE(platform::EnsureQtApplication(platform::QtUse::Windows, &why)) << why;
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    test::TempDir settings;
    setenv("TAVO_SETTINGS_DIR", settings.path().c_str(), 1);
    const std::string sample = Env("TAVO_SAMPLE_JWC"), shot = Env("TAVO_SCREENSHOT");
    const char* name = sample.c_str();
    JwcCreate(3, 1);
    JwcLoadFrom(&name);
    ASSERT_EQ(GetSenCount() > 0, true);

    std::string expected, unicode;
    QByteArray shiftJis;
    bool grabbed = false;
    test::ModalScript script({{"JwBrwsForm", [&](QWidget* w) {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
        TJwBrwsForm& form = static_cast<QtJwBrwsForm*>(w)->Form();
        ClickWithXdotool(w, "ToolButton7");  // select all
        EXPECT_TRUE(QTest::qWaitFor([&] { return form.Viewer.SelectMode == 3; }, 5000));
        QTest::qWait(200);  // the red drawing reaches the screen
        grabbed = QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromStdString(shot), "PNG");
        expected = ExportToJwt(*form.Viewer.Drawing, JwtSelection::SelectedOnly);
        ClickWithXdotool(w, "ToolButton4");  // copy
        EXPECT_TRUE(QTest::qWaitFor([&] { return form.Viewer.SelectMode == 0; }, 5000));
        shiftJis = RunProgram(QStringLiteral("xclip"), {QStringLiteral("-o"), QStringLiteral("-selection"),
                                                 QStringLiteral("clipboard"), QStringLiteral("-t"),
                                                 QStringLiteral("text/plain;charset=Shift_JIS")});
        unicode = RunProgram(QStringLiteral("xclip"), {QStringLiteral("-o"), QStringLiteral("-selection"),
                                                QStringLiteral("clipboard")})
                      .toStdString();
        ClickWithXdotool(w, "ToolButton1");  // close
    }}});
    EXPECT_EQ(ShowJwBrwsFromJwc(&name), 1);
    EXPECT_TRUE(script.Done());
    EXPECT_TRUE(grabbed) << shot;
    EXPECT_GT(expected.size(), 100u);
    EXPECT_EQ(shiftJis.toStdString(), expected);
    EXPECT_EQ(unicode, platform::Cp932ToUtf8(expected));
    EXPECT_NE(test::readFile(settings.file("tavo.ini")).find("IsMaxma=0"), std::string::npos);
    JwcDestroy();
}

}  // namespace
}  // namespace tavo
