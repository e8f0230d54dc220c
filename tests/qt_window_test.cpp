// The preview window's Qt front end on the offscreen platform: the real
// widgets driven by mouse, keys and toolbar clicks, its dialogs answered as
// a person would, and the exports that show it; and once in a real X server.
#include <gtest/gtest.h>

#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QToolButton>
#include <filesystem>

#include "export/export_jwt_writer.h"
#include "forms/jw_brws_design.h"
#include "qt/jw_brws_widget.h"
#include "qt/jw_brws_form.h"
#include "qt_script.h"
#include "interface/library_state.h"
#include "platform/clipboard.h"
#include "platform/encoding.h"
#include "platform/qt_application.h"
#include "settings/profile_file.h"
#include "tavo.h"
#include "test_support.h"
#include "viewer_support.h"

namespace tavo {
namespace {

using test::Env;
using test::LastError;
using test::ModalScript;
using test::RunProgram;
using test::TempDir;

void EnsureApplication() { ASSERT_TRUE(platform::EnsureQtApplication(platform::QtUse::Windows)); }

TJwObject Drawing() {
    TJwObject d = test::FlatDrawing();
    d.AddLine(20, 150, 200, 150, 0, 0, 1, 2);
    d.AddText(20, 100, 60, 100, 0, 0, 5, "\x95\xBD\x96\xCA\x90\x7D", false);  // 平面図
    d.AddCircle(150, 60, 20, 1, 0, 0, 0, 0, 0, 1, 3);
    return d;
}

std::string IniKey(const TempDir& dir, const char* section, const char* key) {
    return SettingsStore(dir.path().string() + "/").loadIni().read(section, key, "<none>");
}

QToolButton* Button(QWidget* window, const char* name) {
    auto* b = window->findChild<QToolButton*>(QString::fromLatin1(name));
    EXPECT_NE(b, nullptr) << name;
    return b;
}

// A window shown modeless, so that the test drives it directly.
struct ShownWindow {
    TempDir dir;
    TJwObject drawing = Drawing();
    std::unique_ptr<QtJwBrwsForm> window;
    JwBrwsWidget* viewer = nullptr;

    ShownWindow() {
        EnsureApplication();
        window = std::make_unique<QtJwBrwsForm>(SettingsStore(dir.path().string() + "/"),
                                                platform::SystemClipboard());
        TJwBrwsForm& form = window->Form();
        form.Viewer.Drawing = &drawing;
        form.FormShow();
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        viewer = window->findChild<JwBrwsWidget*>(QStringLiteral("Viewer"));
        viewer->Image();  // the first paint
    }
    TJwBrws& control() { return window->Form().Viewer; }
    QRgb Pixel(int x, int y) { return viewer->Image().pixel(x, y); }
};

// Every toolbar button triggers its action and mirrors the action's state;
// mouse and keys reach the control and the form. What they do is the
// viewer's and the form's, tested there.
TEST(JwBrwsWindow, ToolbarMouseAndKeysReachTheFormAndItsPaintingShows) {
    ShownWindow w;
    TJwBrwsForm& form = w.window->Form();
    for (const ActionDesign& d : JwBrwsToolbar()) {
        QToolButton* button = Button(w.window.get(), d.ButtonName);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->defaultAction()->objectName().toStdString(), d.Name);
        EXPECT_EQ(button->text().toStdString(), platform::Cp932ToUtf8(d.Caption)) << d.Name;
        EXPECT_EQ(button->isEnabled(), form.Action(d.Action).Enabled) << d.Name;
    }
    TJwBrws& v = w.control();
    const double ps = v.PixelScale;
    const WorldPoint origin = v.Origin;
    ASSERT_EQ(w.Pixel(350, 40), qRgb(255, 255, 255));
    // A two-button drag: the red feedback reaches the screen, then the zoom.
    QTest::mousePress(w.viewer, Qt::LeftButton, {}, QPoint(300, 40));
    QTest::mousePress(w.viewer, Qt::RightButton, {}, QPoint(300, 40));
    QTest::mouseMove(w.viewer, QPoint(380, 90));
    EXPECT_EQ(w.Pixel(350, 40), qRgb(255, 0, 0));
    QTest::mouseRelease(w.viewer, Qt::LeftButton, {}, QPoint(380, 90));
    QTest::mouseRelease(w.viewer, Qt::RightButton, {}, QPoint(380, 90));
    EXPECT_GT(v.PixelScale, ps);

    QTest::keyClick(w.viewer, Qt::Key_Right);
    EXPECT_GT(v.Origin.X, origin.X + 300 / ps);
    QTest::keyClick(w.viewer, Qt::Key_Tab);
    EXPECT_TRUE(w.viewer->hasFocus());  // the control keeps Tab
    QTest::mouseClick(Button(w.window.get(), "tbSelect"), Qt::LeftButton);
    EXPECT_TRUE(Button(w.window.get(), "tbSelect")->isChecked());
    QTest::keyClick(w.viewer, Qt::Key_Escape);
    EXPECT_FALSE(Button(w.window.get(), "tbSelect")->isChecked());
    QTest::keyClick(w.window.get(), Qt::Key_Return);
    EXPECT_TRUE(w.window->isVisible());  // neither closes the window, as a dialog's would
}

// Shows `window` modally through ShowViewer while `steps` answer it.
ViewerOutcome ShowScripted(TempDir& dir, TJwObject& drawing, std::vector<ModalScript::Step> steps) {
    ModalScript script(std::move(steps));
    ViewerOutcome out = ShowViewer(
        std::make_unique<QtJwBrwsForm>(SettingsStore(dir.path().string() + "/"), platform::SystemClipboard()),
        drawing, "plan.xls");
    EXPECT_TRUE(script.Done());
    return out;
}

constexpr const char* kWindow = "JwBrwsForm";

ModalScript::Step Click(const char* button) {
    return {kWindow, [button](QWidget* w) { QTest::mouseClick(Button(w, button), Qt::LeftButton); }};
}

// The proposal is checked by its end: a name without a folder shows in the
// current one.
ModalScript::Step SaveAs(std::string path, std::string proposed, std::string filter) {
    return {"QFileDialog", [path, proposed, filter](QWidget* w) {
                auto* dialog = static_cast<QFileDialog*>(w);
                EXPECT_EQ(dialog->nameFilters(), QStringList{QString::fromStdString(filter)});
                EXPECT_TRUE(dialog->selectedFiles().value(0).endsWith(QString::fromStdString(proposed)))
                    << dialog->selectedFiles().value(0).toStdString();
                // Typed into the name box, as a person does.
                auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                ASSERT_NE(name, nullptr);
                name->setText(QString::fromStdString(path));
                static_cast<QDialog*>(dialog)->accept();
            }};
}

ModalScript::Step Answer(std::string text, QMessageBox::Icon icon) {
    return {"QMessageBox", [text, icon](QWidget* w) {
        auto* box = static_cast<QMessageBox*>(w);
        EXPECT_NE(box->text().indexOf(QString::fromStdString(text)), -1) << box->text().toStdString();
        EXPECT_EQ(box->icon(), icon);
        box->button(QMessageBox::Ok)->click();
    }};
}

// The form's dialogs as Qt shows them: the save dialog with its proposal
// and filter, the name typed back, the message boxes, the placement.
TEST(JwBrwsWindow, SaveDialogsMessagesAndPlacementReachTheForm) {
    EnsureApplication();
    TempDir dir;
    TJwObject drawing = Drawing();
    const std::string txt = dir.file("a.txt"), gone = dir.file("gone/x.jwc");
    QRect opened;
    const ViewerOutcome out = ShowScripted(
        dir, drawing,
        {{kWindow, [&](QWidget* w) { opened = w->geometry(); }},
         Click("ToolButton6"), SaveAs(txt, dir.file(".txt"), "座標ファイル (*.txt *.TXT)"),
         Answer("変換データを " + txt + " に保存しました", QMessageBox::Information),
         Click("ToolButton2"), SaveAs(gone, txt.substr(0, txt.size() - 3) + "jwc", "JW_CAD ファイル (*.jwc *.JWC)"),
         Answer(gone + " を作成できません", QMessageBox::Critical),
         Click("ToolButton1")});
    EXPECT_EQ(out.ModalResult, 1);
    EXPECT_NE(test::readFile(txt).find("\r\n"), std::string::npos);
    EXPECT_EQ(IniKey(dir, "Export", "FileName"), txt);
    // The placement the form chose is the window's, and comes back on close.
    EXPECT_EQ(opened.center(), QGuiApplication::primaryScreen()->availableGeometry().center());
    EXPECT_EQ(IniKey(dir, "JwBrws", "Left"), std::to_string(opened.x()));
    // The window's state reaches the form (what it keeps then is the form's).
    ShowScripted(dir, drawing, {{kWindow, [](QWidget* w) {
                                     w->setWindowState(Qt::WindowMaximized);
                                     Click("ToolButton1").act(w);
                                 }}});
    EXPECT_EQ(IniKey(dir, "JwBrws", "IsMaxma"), "1");
}

// The exports: the window shown over the current drawings.
struct ExportFolder {
    TempDir dir;
    ExportFolder() {
        EnsureApplication();
        setenv("TAVO_SETTINGS_DIR", dir.path().c_str(), 1);
    }
    ~ExportFolder() { unsetenv("TAVO_SETTINGS_DIR"); }
};

TEST(JwBrwsExports, ShowTheCurrentDrawingsAndReportWhatFails) {
    ExportFolder folder;
    const char* name = "plan.xls";
    ObjCreateByInifile();
    AddLine(10, 10, 100, 10, 2, 241, 1);
    {
        ModalScript script({Click("ToolButton7"), Click("ToolButton1")});
        EXPECT_EQ(ShowJwBrws(&name), 1);
        EXPECT_TRUE(script.Done());
    }
    // The export drawing stays, with the selection the user left.
    ASSERT_NE(State().obj, nullptr);
    EXPECT_TRUE(State().obj->Lines[0].Selected);
    ObjDestroy();

    // From the JWC drawing, with a "tavo.ini" that cannot be written: the
    // window still closes, and the drawing made for it goes with it.
    JwcCreate(3, 1);
    test::writeFile(folder.dir.file("file"), "");
    setenv("TAVO_SETTINGS_DIR", folder.dir.file("file/settings").c_str(), 1);
    {
        ModalScript script({Click("ToolButton1")});
        EXPECT_EQ(ShowJwBrwsFromJwc(&name), 1);
    }
    EXPECT_NE(LastError().find("tavo.ini"), std::string::npos);
    EXPECT_EQ(State().obj, nullptr);
    JwcDestroy();
}

// The window in a real X server (xvfb_test.sh starts one): a sample drawing
// opened through ShowJwBrwsFromJwc, "select all" and "copy" clicked with
// xdotool as a person clicks, the clipboard read by xclip from another
// process, and a screenshot of the screen kept.
void ClickWithXdotool(QWidget* window, const char* button) {
    auto* b = window->findChild<QToolButton*>(QString::fromLatin1(button));
    ASSERT_NE(b, nullptr) << button;
    const QPoint at = b->mapToGlobal(b->rect().center());
    RunProgram(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(at.x()),
                                    QString::number(at.y()), QStringLiteral("click"), QStringLiteral("1")});
}

// Run by xvfb_test.sh in an X server of its own; elsewhere skipped.
TEST(PreviewInX, SelectAllCopyReadByAnotherProgramAndAScreenshot) {
    if (Env("QT_QPA_PLATFORM") != "xcb" || Env("TAVO_SAMPLE_JWC").empty()) GTEST_SKIP() << "needs xvfb_test.sh";
    ASSERT_FALSE(Env("DISPLAY").empty());
    std::string why;
    ASSERT_TRUE(platform::EnsureQtApplication(platform::QtUse::Windows, &why)) << why;
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    TempDir settings;
    setenv("TAVO_SETTINGS_DIR", settings.path().c_str(), 1);
    const std::string sample = Env("TAVO_SAMPLE_JWC"), shot = Env("TAVO_SCREENSHOT");
    const char* name = sample.c_str();
    JwcCreate(3, 1);
    JwcLoadFrom(&name);
    ASSERT_EQ(GetSenCount() > 0, true);

    std::string expected, unicode;
    QByteArray shiftJis;
    bool grabbed = false;
    ModalScript script({{"JwBrwsForm", [&](QWidget* w) {
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
    JwcDestroy();
}

}  // namespace
}  // namespace tavo
