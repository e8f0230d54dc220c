// The preview window's Qt front end on the offscreen platform: the real
// widgets driven by mouse, keys and toolbar clicks, its dialogs answered as
// a person would, and the exports that show it; and once in a real X server.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QClipboard>
#include <QEventLoop>
#include <QProcess>
#include <QFileDialog>
#include <QFontInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <cstdlib>
#include <filesystem>

#include "base/error.h"
#include "export/export_jwt_writer.h"
#include "qt/jw_brws_widget.h"
#include "qt/jw_brws_form.h"
#include "qt_script.h"
#include "interface/library_state.h"
#include "platform/clipboard.h"
#include "platform/encoding.h"
#include "platform/help.h"
#include "platform/qt_application.h"
#include "settings/profile_file.h"
#include "tavo.h"
#include "test_support.h"
#include "viewer_support.h"

namespace tavo {
namespace {

using test::ModalScript;
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

TEST(JwBrwsWindow, ToolbarAsDesigned) {
    ShownWindow w;
    EXPECT_EQ(w.window->windowTitle(), QString::fromUtf8("Tavo エクスポート"));
    EXPECT_EQ(QFontInfo(w.window->font()).family(), QStringLiteral("IPAPGothic"));
    EXPECT_EQ(QFontInfo(w.window->font()).pixelSize(), 12);
    EXPECT_FALSE(w.window->windowFlags() & Qt::WindowCloseButtonHint);
    const struct {
        const char* action;
        const char* button;
        const char* caption;
        const char* hint;
    } expected[] = {
        {"FileClose", "ToolButton1", "閉じる", "ビューワ画面を閉じてExcelに戻ります"},
        {"", "", "", ""},
        {"FileSave", "ToolButton2", "JWC保存", "名前をつけてファイルを保存します"},
        {"FileSaveTxt", "ToolButton6", "座標保存", ""},
        {"", "", "", ""},
        {"EditSelect", "tbSelect", "範囲選択", "範囲を選択します"},
        {"EditSelAll", "ToolButton7", "全て選択", ""},
        {"", "", "", ""},
        {"EditCopy", "ToolButton4", "コピー", "選択範囲を外部変換プログラムのJWTテキスト形式でクリップボードにコピーします"},
        {"", "", "", ""},
        {"ShowHelp", "ToolButton3", "ヘルプ", ""},
    };
    auto* bar = w.window->findChild<QToolBar*>(QStringLiteral("ToolBar"));
    ASSERT_NE(bar, nullptr);
    const QList<QAction*> actions = bar->actions();
    ASSERT_EQ(actions.size(), qsizetype(std::size(expected)));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const auto& e = expected[i];
        QAction* a = actions[qsizetype(i)];
        if (!*e.action) {
            EXPECT_TRUE(a->isSeparator()) << i;
            continue;
        }
        EXPECT_EQ(a->objectName().toStdString(), e.action);
        EXPECT_EQ(a->text(), QString::fromUtf8(e.caption)) << e.action;
        if (*e.hint) {
            EXPECT_EQ(a->toolTip(), QString::fromUtf8(e.hint)) << e.action;
        }
        QWidget* button = bar->widgetForAction(a);
        EXPECT_EQ(button->objectName().toStdString(), e.button);
        EXPECT_GE(button->width(), 55);
        EXPECT_GE(button->height(), 35);
        EXPECT_FALSE(a->icon().isNull());
    }
    EXPECT_TRUE(Button(w.window.get(), "tbSelect")->isCheckable());
    EXPECT_FALSE(Button(w.window.get(), "ToolButton4")->isEnabled());  // copy, until a selection exists
}

TEST(JwBrwsWindow, TwoButtonGesturesThroughMouseEvents) {
    ShownWindow w;
    TJwBrws& v = w.control();
    ASSERT_GT(v.Width(), 400);
    ASSERT_GT(v.Height(), 250);
    const double ps = v.PixelScale;
    const WorldPoint origin = v.Origin;
    const QRgb white = qRgb(255, 255, 255), red = qRgb(255, 0, 0);
    ASSERT_EQ(w.Pixel(350, 40), white);

    // Down-right: a red not-xor rectangle follows; releasing both zooms in.
    QTest::mousePress(w.viewer, Qt::LeftButton, {}, QPoint(300, 40));
    QTest::mousePress(w.viewer, Qt::RightButton, {}, QPoint(300, 40));
    QTest::mouseMove(w.viewer, QPoint(380, 90));
    EXPECT_EQ(v.Gesture, 1);
    EXPECT_EQ(w.Pixel(350, 40), red);
    QTest::mouseMove(w.viewer, QPoint(390, 100));
    EXPECT_EQ(w.Pixel(385, 40), red);
    EXPECT_EQ(w.Pixel(380, 40), red);
    EXPECT_EQ(w.Pixel(380, 90), white);  // the earlier rectangle is gone
    QTest::mouseRelease(w.viewer, Qt::LeftButton, {}, QPoint(390, 100));
    EXPECT_DOUBLE_EQ(v.PixelScale, ps);  // one button up: nothing yet
    QTest::mouseRelease(w.viewer, Qt::RightButton, {}, QPoint(390, 100));
    const double zoomed = std::min(v.Width() / 90.0, v.Height() / 60.0) * ps;
    EXPECT_DOUBLE_EQ(v.PixelScale, zoomed);
    EXPECT_DOUBLE_EQ(v.Origin.X, origin.X + 300 / ps);

    // Up-left: the zoom-out picture, copied with xor, then zoomed out.
    const QImage before = w.viewer->Image().copy(200, 100, 24, 24);
    QTest::mousePress(w.viewer, Qt::RightButton, {}, QPoint(264, 164));
    QTest::mousePress(w.viewer, Qt::LeftButton, {}, QPoint(264, 164));
    QTest::mouseMove(w.viewer, QPoint(240, 140));
    EXPECT_EQ(v.Gesture, 2);
    EXPECT_NE(w.viewer->Image().copy(200, 100, 24, 24), before);
    QTest::mouseRelease(w.viewer, Qt::RightButton, {}, QPoint(240, 140));
    QTest::mouseRelease(w.viewer, Qt::LeftButton, {}, QPoint(240, 140));
    EXPECT_DOUBLE_EQ(v.PixelScale, zoomed * 0.75);

    // Down-left: the previous view; up-right: the whole sheet.
    const auto drag = [&](QPoint from, QPoint to) {
        QTest::mousePress(w.viewer, Qt::LeftButton, {}, from);
        QTest::mousePress(w.viewer, Qt::RightButton, {}, from);
        QTest::mouseMove(w.viewer, to);
        QTest::mouseRelease(w.viewer, Qt::LeftButton, {}, to);
        QTest::mouseRelease(w.viewer, Qt::RightButton, {}, to);
    };
    drag({200, 100}, {150, 160});
    EXPECT_DOUBLE_EQ(v.PixelScale, zoomed);
    drag({200, 100}, {260, 40});
    EXPECT_DOUBLE_EQ(v.PixelScale, ps);
    EXPECT_DOUBLE_EQ(v.Origin.X, origin.X);
    // Within 4 pixels: centred on the point.
    drag({200, 100}, {203, 102});
    EXPECT_DOUBLE_EQ(v.Origin.X, origin.X + (200 - v.Width() * 0.5) / ps);
    // One button alone changes nothing.
    QTest::mouseClick(w.viewer, Qt::LeftButton, {}, QPoint(50, 50));
    QTest::mouseDClick(w.viewer, Qt::RightButton, {}, QPoint(50, 50));
    EXPECT_DOUBLE_EQ(v.Origin.X, origin.X + (200 - v.Width() * 0.5) / ps);
    EXPECT_EQ(v.Gesture, 0);
}

TEST(JwBrwsWindow, RangeSelectionAndCopyReachTheClipboard) {
    ShownWindow w;
    TJwBrws& v = w.control();
    QTest::mouseClick(Button(w.window.get(), "tbSelect"), Qt::LeftButton);
    EXPECT_TRUE(Button(w.window.get(), "tbSelect")->isChecked());
    // A right first corner takes texts too; the band follows the mouse.
    QTest::mouseClick(w.viewer, Qt::RightButton, {}, QPoint(1, 1));
    QTest::mouseMove(w.viewer, QPoint(v.Width() - 2, v.Height() - 2));
    EXPECT_EQ(qRed(w.Pixel(v.Width() / 2, 1)), 255);
    QTest::mouseClick(w.viewer, Qt::LeftButton, {}, QPoint(v.Width() - 2, v.Height() - 2));
    EXPECT_EQ(v.SelectMode, 3);
    EXPECT_TRUE(w.drawing.Lines[0].Selected && w.drawing.Texts[0].Selected && w.drawing.Circles[0].Selected);
    QToolButton* copy = Button(w.window.get(), "ToolButton4");
    EXPECT_TRUE(copy->isEnabled());

    const std::string expected = ExportToJwt(w.drawing, JwtSelection::SelectedOnly);
    QTest::mouseClick(copy, Qt::LeftButton);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    const QByteArray bytes = data->data(QStringLiteral("text/plain;charset=Shift_JIS"));
    EXPECT_EQ(bytes.toStdString(), expected);
    EXPECT_NE(QGuiApplication::clipboard()->text().indexOf(QString::fromUtf8("平面図")), -1);
    EXPECT_FALSE(Button(w.window.get(), "tbSelect")->isChecked());
    EXPECT_FALSE(w.drawing.Lines[0].Selected);
    EXPECT_TRUE(copy->isEnabled());
}

TEST(JwBrwsWindow, EscAndArrowsFromTheKeyboard) {
    ShownWindow w;
    TJwBrws& v = w.control();
    const WorldPoint origin = v.Origin;
    QTest::keyClick(w.viewer, Qt::Key_Right);
    EXPECT_DOUBLE_EQ(v.Origin.X, origin.X + (v.Width() / 4) / v.PixelScale);
    QTest::keyClick(w.viewer, Qt::Key_Down);
    EXPECT_DOUBLE_EQ(v.Origin.Y, origin.Y - (v.Height() / 4) / v.PixelScale);
    QTest::keyClick(w.viewer, Qt::Key_Tab);
    EXPECT_TRUE(w.viewer->hasFocus());  // the control keeps Tab

    QTest::mouseClick(Button(w.window.get(), "ToolButton7"), Qt::LeftButton);  // select all
    EXPECT_TRUE(Button(w.window.get(), "ToolButton4")->isEnabled());
    QTest::mouseClick(Button(w.window.get(), "tbSelect"), Qt::LeftButton);
    QTest::keyClick(w.viewer, Qt::Key_Escape);
    EXPECT_FALSE(Button(w.window.get(), "tbSelect")->isChecked());
    EXPECT_FALSE(Button(w.window.get(), "ToolButton4")->isEnabled());
    EXPECT_EQ(v.SelectMode, 0);
    QTest::keyClick(w.window.get(), Qt::Key_Escape);
    QTest::keyClick(w.window.get(), Qt::Key_Return);
    EXPECT_TRUE(w.window->isVisible());  // neither closes the window
    EXPECT_EQ(w.window->Form().ModalResult, 0);
}

// Shows `window` modally through ShowViewer while `steps` answer it.
ViewerOutcome ShowScripted(std::unique_ptr<QtJwBrwsForm> window, TJwObject& drawing,
                           std::vector<ModalScript::Step> steps) {
    ModalScript script(std::move(steps));
    ViewerOutcome out = ShowViewer(std::move(window), drawing, "plan.xls");
    EXPECT_TRUE(script.Done());
    return out;
}

constexpr const char* kWindow = "JwBrwsForm";

ModalScript::Step Click(const char* button) {
    return {kWindow, [button](QWidget* w) { QTest::mouseClick(Button(w, button), Qt::LeftButton); }};
}

// The proposal is checked by its end: a name without a folder shows in the
// current one.
ModalScript::Step SaveAs(std::string path, std::string proposed = "", std::string filter = "") {
    return {"QFileDialog", [path, proposed, filter](QWidget* w) {
                auto* dialog = static_cast<QFileDialog*>(w);
                if (!filter.empty()) {
                    EXPECT_EQ(dialog->nameFilters(), QStringList{QString::fromStdString(filter)});
                }
                EXPECT_TRUE(dialog->selectedFiles().value(0).endsWith(QString::fromStdString(proposed)))
                    << dialog->selectedFiles().value(0).toStdString();
                // Typed into the name box, as a person does.
                auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                ASSERT_NE(name, nullptr);
                name->setText(QString::fromStdString(path));
                static_cast<QDialog*>(dialog)->accept();
            }};
}

ModalScript::Step Answer(QMessageBox::StandardButton button, std::string text = "", bool error = false) {
    return {"QMessageBox", [button, text, error](QWidget* w) {
        auto* box = static_cast<QMessageBox*>(w);
        if (!text.empty()) {
            EXPECT_NE(box->text().indexOf(QString::fromStdString(text)), -1) << box->text().toStdString();
            EXPECT_EQ(box->icon(), error ? QMessageBox::Critical : QMessageBox::Information);
        }
        box->button(button)->click();
    }};
}

// Root may write any file: a step that saves over a read-only one runs as
// nobody, as the read-only file's user would, until the failure is answered.
ModalScript::Step AsNobody(ModalScript::Step step) {
    return {step.kind, [act = step.act](QWidget* w) {
                if (getuid() == 0) {
                    ASSERT_EQ(seteuid(65534), 0);
                }
                act(w);
            }};
}

ModalScript::Step AsBefore(ModalScript::Step step) {
    return {step.kind, [act = step.act](QWidget* w) {
                act(w);
                if (getuid() == 0) {
                    ASSERT_EQ(seteuid(0), 0);
                }
            }};
}

TEST(JwBrwsWindow, BothSavesWithTheFileDialogAnsweredAndFailedOnes) {
    EnsureApplication();
    TempDir dir;
    TJwObject drawing = Drawing();
    const std::string jwc = dir.file("a.jwc"), txt = dir.file("a.txt"), gone = dir.file("gone/x.jwc");
    const std::string readOnly = dir.file("ro.jwc");
    test::writeFile(readOnly, "keep");
    ASSERT_EQ(chmod(readOnly.c_str(), 0444), 0);
    ASSERT_EQ(chmod(dir.path().c_str(), 0777), 0);  // only the file's mode refuses
    auto window = std::make_unique<QtJwBrwsForm>(SettingsStore(dir.path().string() + "/"),
                                                 platform::SystemClipboard());
    const ViewerOutcome out = ShowScripted(
        std::move(window), drawing,
        {Click("ToolButton2"), SaveAs(jwc, dir.file(".jwc"), "JW_CAD ファイル (*.jwc *.JWC)"), Answer(QMessageBox::Ok, "変換データを " + jwc + " に保存しました"),
         Click("ToolButton2"), SaveAs(jwc, jwc), Answer(QMessageBox::Yes),  // replace it?
         Answer(QMessageBox::Ok, "に保存しました"),
         Click("ToolButton6"), SaveAs(txt, txt, "座標ファイル (*.txt *.TXT)"), Answer(QMessageBox::Ok, "変換データを " + txt),
         Click("ToolButton2"), SaveAs(gone), Answer(QMessageBox::Ok, gone + " を作成できません", true),
         // The writer's refusal, and the window stays.
         AsNobody(Click("ToolButton2")), SaveAs(readOnly), Answer(QMessageBox::Yes),  // replace it?
         AsBefore(Answer(QMessageBox::Ok, readOnly + " を作成できません (Permission denied)", true)),
         Click("ToolButton1")});
    if (getuid() == 0) {
        ASSERT_EQ(seteuid(0), 0);  // also after a failed step
    }
    EXPECT_EQ(out.ModalResult, 1);
    EXPECT_EQ(test::readFile(readOnly), "keep");
    EXPECT_FALSE(std::filesystem::exists(dir.file("ro.bak")));
    EXPECT_TRUE(std::filesystem::exists(jwc));
    EXPECT_TRUE(std::filesystem::exists(dir.file("a.bak")));  // from the second save
    EXPECT_NE(test::readFile(txt).find("\r\n"), std::string::npos);
    EXPECT_EQ(IniKey(dir, "Export", "FileName"), txt);
    EXPECT_EQ(IniKey(dir, "Export", "FilePath"), dir.path().string() + "/");
}

TEST(JwBrwsWindow, KeysAfterClosingFirstUseThenMaximized) {
    EnsureApplication();
    TempDir dir;
    TJwObject drawing = Drawing();
    const auto window = [&] {
        return std::make_unique<QtJwBrwsForm>(SettingsStore(dir.path().string() + "/"), platform::SystemClipboard());
    };
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QRect opened;
    ShowScripted(window(), drawing,
                 {{kWindow, [&](QWidget* w) {
                       opened = w->geometry();
                       Click("ToolButton1").act(w);
                   }}});
    EXPECT_EQ(opened.size(), QSize(576, 432));
    EXPECT_EQ(opened.center(), screen.center());
    EXPECT_EQ(IniKey(dir, "JwBrws", "Width"), "576");
    EXPECT_EQ(IniKey(dir, "JwBrws", "Height"), "432");
    EXPECT_EQ(IniKey(dir, "JwBrws", "Left"), std::to_string(opened.x()));
    EXPECT_EQ(IniKey(dir, "JwBrws", "IsMaxma"), "0");

    ShowScripted(window(), drawing,
                 {{kWindow, [&](QWidget* w) {
                       w->setWindowState(Qt::WindowMaximized);
                       Click("ToolButton1").act(w);
                   }}});
    EXPECT_EQ(IniKey(dir, "JwBrws", "IsMaxma"), "1");
    EXPECT_EQ(IniKey(dir, "JwBrws", "Width"), "576");

    bool maximized = false;
    ShowScripted(window(), drawing,
                 {{kWindow, [&](QWidget* w) {
                       maximized = w->isMaximized();
                       opened = w->normalGeometry();
                       Click("ToolButton1").act(w);
                   }}});
    EXPECT_TRUE(maximized);
    EXPECT_EQ(opened.size(), QSize(576, 432));  // restored, it has the designed size
    EXPECT_EQ(opened.center(), screen.center());
    EXPECT_EQ(IniKey(dir, "JwBrws", "IsMaxma"), "1");
}

TEST(JwBrwsWindow, HelpOpensThePageOfTopic1210InTheLocalesLanguage) {
    EnsureApplication();
    setenv("TAVO_HELP_DIR", TAVO_HELP_SOURCE_DIR, 1);
    std::vector<std::string> opened;
    platform::SetHelpOpener([&](const std::string& page) {
        opened.push_back(page);
        return page.find("/en/") == std::string::npos;  // no browser for English pages
    });
    TempDir dir;
    TJwObject drawing = Drawing();
    setenv("LC_ALL", "ja_JP.UTF-8", 1);
    ShowScripted(std::make_unique<QtJwBrwsForm>(SettingsStore(dir.path().string() + "/"), platform::SystemClipboard()),
                 drawing,
                 {Click("ToolButton3"),
                  {kWindow,
                   [](QWidget* w) {
                       setenv("LC_ALL", "C", 1);
                       Click("ToolButton3").act(w);
                   }},
                  Answer(QMessageBox::Ok, "no browser", true), Click("ToolButton1")});
    unsetenv("LC_ALL");
    platform::SetHelpOpener(nullptr);
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0], std::string(TAVO_HELP_SOURCE_DIR) + "/ja/1210.html");
    EXPECT_EQ(opened[1], std::string(TAVO_HELP_SOURCE_DIR) + "/en/1210.html");
    EXPECT_THROW(platform::HelpTopicPage("tavo.hlp", 9999), Error);
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

std::string LastError() {
    TavoString s = TavoGetLastError();
    std::string text(s, TavoStringByteLen(s));
    TavoFreeString(s);
    return text;
}

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
    EXPECT_EQ(LastError(), "");
    // The export drawing stays, with the selection the user left.
    ASSERT_NE(State().obj, nullptr);
    EXPECT_TRUE(State().obj->Lines[0].Selected);
    ObjDestroy();
    EXPECT_EQ(ShowJwBrws(&name), 0);
    EXPECT_NE(LastError().find("no current export drawing"), std::string::npos);

    JwcCreate(3, 1);
    AddSen(0, 0, 420, 297, 2, 241, 1, 0, 0);
    {
        ModalScript script({{kWindow, [](QWidget* w) {
                                 auto& form = static_cast<QtJwBrwsForm*>(w)->Form();
                                 EXPECT_EQ(form.Viewer.Drawing->Lines.size(), 1u);
                                 Click("ToolButton1").act(w);
                             }}});
        EXPECT_EQ(ShowJwBrwsFromJwc(&name), 1);
    }
    EXPECT_EQ(State().obj, nullptr);  // made for the window and gone with it

    // A "tavo.ini" that cannot be written: the window still closes.
    test::writeFile(folder.dir.file("file"), "");
    setenv("TAVO_SETTINGS_DIR", folder.dir.file("file/settings").c_str(), 1);
    {
        ModalScript script({Click("ToolButton1")});
        EXPECT_EQ(ShowJwBrwsFromJwc(&name), 1);
    }
    EXPECT_NE(LastError().find("tavo.ini"), std::string::npos);
    JwcDestroy();
    EXPECT_EQ(ShowJwBrwsFromJwc(&name), 0);
    EXPECT_NE(LastError().find("no current JWC drawing"), std::string::npos);
}

// The window in a real X server (xvfb_test.sh starts one): a sample drawing
// opened through ShowJwBrwsFromJwc, "select all" and "copy" clicked with
// xdotool as a person clicks, the clipboard read by xclip from another
// process, and a screenshot of the screen kept.
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
    EXPECT_NE(test::readFile(settings.file("tavo.ini")).find("IsMaxma=0"), std::string::npos);
    JwcDestroy();
}

}  // namespace
}  // namespace tavo
