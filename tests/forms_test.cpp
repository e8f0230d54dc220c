// The preview window's and the progress dialog's behaviour, with a toolkit
// that records what the forms ask of it and answers the save dialogs.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "base/error.h"
#include "base/path_text.h"
#include "export/export_jwt_writer.h"
#include "base/sjis_messages.h"
#include "forms/form_texts.h"
#include "forms/jw_brws_design.h"
#include "forms/jw_brws_form.h"
#include "forms/progress_form.h"
#include "forms/show_viewer.h"
#include "forms/toolbar_images.h"
#include "jwc/jwc_file.h"
#include "jwc/jwc_reader.h"
#include "platform/clipboard.h"
#include "settings/profile_file.h"
#include "forms_support.h"
#include "test_support.h"
#include "viewer/recording_canvas.h"
#include "viewer_support.h"

namespace tavo {
namespace {

using test::FakeToolkit;
using test::TempDir;
using A = JwBrwsAction;

TJwObject SampleDrawing() {
    TJwObject d = test::FlatDrawing();
    d.AddLine(10, 10, 100, 10, 0, 0, 1, 2);
    d.AddCircle(50, 50, 10, 1, 0, 0, 0, 0, 0, 1, 3);
    d.AddText(20, 80, 40, 80, 0, 0, 3, "AB", false);
    d.AddDot(150, 100, 0, 0, 1);
    return d;
}

std::string Key(const TempDir& dir, const char* section, const char* key) {
    return SettingsStore(dir.path().string() + "/").loadIni().read(section, key, "<none>");
}

struct Fixture {
    TempDir dir;
    FakeToolkit toolkit;
    platform::MemoryClipboard clipboard;
    TJwObject drawing = SampleDrawing();
    TJwBrwsForm form{toolkit, SettingsStore(dir.path().string() + "/"), clipboard};

    Fixture() {
        form.Viewer.SetSize(594, 420);
        form.Viewer.Drawing = &drawing;
        form.FormShow();
    }
    std::string folder() const { return dir.path().string() + "/"; }
    void writeIni(const std::string& text) {
        test::writeFile(dir.file("tavo.ini"), text);
        form.FormShow();
    }
};

TEST(JwBrwsForm, FirstUseWritesEveryKeyOnCloseAndMaximizedKeepsTheLastNormalPlacement) {
    Fixture f;
    EXPECT_FALSE(std::filesystem::exists(f.dir.file("tavo.ini")));  // showing writes nothing
    f.form.FormDestroy({10, -20, 600, 450, false});
    EXPECT_EQ(test::readFile(f.dir.file("tavo.ini")),
              "[JwBrws]\r\nLeft=10\r\nTop=-20\r\nWidth=600\r\nHeight=450\r\nIsMaxma=0\r\n"
              "[Export]\r\nFileName=\r\nFilePath=" + f.folder() + "\r\n");

    f.form.FormShow();
    f.form.FormDestroy({0, 0, 1280, 1000, true});
    EXPECT_EQ(Key(f.dir, "JwBrws", "Width"), "600");
    EXPECT_EQ(Key(f.dir, "JwBrws", "IsMaxma"), "1");
    // The next window opens maximized; restored, it has the designed size.
    f.form.FormShow();
    EXPECT_EQ(f.form.OpenPlacement({0, 0, 1280, 1024}), (WindowPlacement{352, 296, 576, 432, true}));
}

TEST(JwBrwsForm, StoredPlacementIsReadAsTheProfileFunctionsReadIntegers) {
    const struct {
        const char* ini;
        WindowPlacement opens;  // on a 1000 x 800 screen at (0, 0)
    } cases[] = {
        {"Width=0x200\r\nHeight=$100\r\nLeft=900\r\n", {244, 272, 512, 256, false}},  // left has no effect
        {"Width=abc\r\nHeight=\r\n", {212, 184, 576, 432, false}},                      // defaults
        {"Width=5\r\nHeight=-3\r\n", {420, 340, 160, 120, false}},                      // too small to use
        {"Width=99999\r\nHeight=2000\r\n", {0, 0, 1000, 800, false}},                   // kept on the screen
        {"IsMaxma=2\r\nWidth=300\r\n", {212, 184, 576, 432, true}},
        {"", {212, 184, 576, 432, false}},  // first use: the designed size, centred
    };
    for (const auto& c : cases) {
        Fixture f;
        f.writeIni(std::string("[JwBrws]\r\n") + c.ini);
        EXPECT_EQ(f.form.OpenPlacement({0, 0, 1000, 800}), c.opens) << c.ini;
    }
}

TEST(JwBrwsForm, SaveDialogsProposeTheStoredNameWithTheirExtension) {
    const struct {
        const char* stored;
        const char* jwc;
        const char* txt;
    } cases[] = {
        {"C:\\work\\plan.xls", "C:\\work\\plan.jwc", "C:\\work\\plan.txt"},
        {"", ".jwc", ".txt"},
        {"/home/u/a.b/plan", "/home/u/a.b/plan.jwc", "/home/u/a.b/plan.txt"},
    };
    for (const auto& c : cases) {
        Fixture f;
        f.writeIni(std::string("[Export]\r\nFileName=") + c.stored + "\r\n");
        f.form.FileName = "ignored.xls";  // what ShowViewer handed over has no effect
        f.form.FormShow();
        f.form.Execute(A::FileSave);
        f.form.Execute(A::FileSaveTxt);
        ASSERT_EQ(f.toolkit.asked.size(), 2u);
        EXPECT_EQ(f.toolkit.asked[0].FileName + " " + f.toolkit.asked[1].FileName, std::string(c.jwc) + " " + c.txt);
        EXPECT_EQ(f.toolkit.asked[1].DefaultExt, "txt");
        EXPECT_EQ(f.toolkit.asked[0].InitialDir, f.folder());  // where a bare name is shown
        // Cancelled: nothing shown, nothing changed.
        EXPECT_TRUE(f.toolkit.messages.empty());
        EXPECT_EQ(f.form.FileName, c.stored);
    }
}

TEST(JwBrwsForm, SavesWriteConfirmAndRememberTheNameAFailedOneChangesNothing) {
    Fixture f;
    f.writeIni("[Export]\r\nFileName=/keep/plan.xls\r\nFilePath=/keep/\r\n");
    const std::string gone = f.dir.file("gone/a.jwc"), jwc = f.dir.file("a.jwc"), txt = f.dir.file("out/b.txt");
    std::filesystem::create_directory(f.dir.file("out"));
    f.toolkit.answers = {gone, jwc, txt};
    f.form.Execute(A::FileSave);
    ASSERT_EQ(f.toolkit.messages.size(), 1u);
    EXPECT_EQ(f.toolkit.messages[0].second, MessageKind::Error);
    const FormText& text = f.toolkit.messages[0].first;
    EXPECT_EQ(text.Before + text.FileName, sjis::kFile + gone);
    EXPECT_EQ(text.After.rfind(sjis::kCannotCreateSuffix, 0), 0u);
    EXPECT_EQ(f.form.ModalResult, 0);  // the window stays
    EXPECT_EQ(f.form.FileName + f.form.FilePath, "/keep/plan.xls/keep/");

    f.form.Execute(A::FileSave);
    TJwcFile loaded;
    LoadJwcFile(loaded, jwc);
    EXPECT_EQ(loaded.enkoCount(), 1);
    EXPECT_EQ(f.toolkit.messages.at(1).first.FileName, jwc);
    EXPECT_EQ(f.toolkit.messages[1].second, MessageKind::Information);
    f.form.Execute(A::FileSaveTxt);
    EXPECT_NE(test::readFile(txt).find("\r\n"), std::string::npos);
    EXPECT_EQ(f.toolkit.asked[2].FileName, changeFileExt(jwc, ".txt"));
    // The keys follow when the window closes, not before.
    f.form.FormDestroy({0, 0, 576, 432, false});
    EXPECT_EQ(Key(f.dir, "Export", "FileName") + " " + Key(f.dir, "Export", "FilePath"), txt + " " + f.dir.file("out/"));
}

TEST(JwBrwsForm, SelectionActionsKeysAndCopy) {
    Fixture f;
    const auto& copy = f.form.Action(A::EditCopy);
    const auto& select = f.form.Action(A::EditSelect);
    EXPECT_FALSE(copy.Enabled);

    // Esc with no selection still clears the mark and disables copying.
    f.form.Execute(A::EditSelect);
    EXPECT_TRUE(select.Checked);
    EXPECT_FALSE(f.form.FormKeyDown(kKeyEscape));  // not used up
    EXPECT_FALSE(select.Checked);
    EXPECT_EQ(f.form.Viewer.SelectMode, 0);

    // A completed range selection (the viewer's OnSelected) enables copying.
    f.form.Execute(A::EditSelect);
    RecordingCanvas c;
    const int repaints = f.toolkit.repaints;
    test::Click(f.form.Viewer, c, MouseButton::Left, 0, 0);
    f.form.Viewer.MouseMove(c, 593, 419);
    test::Click(f.form.Viewer, c, MouseButton::Left, 593, 419);
    EXPECT_TRUE(copy.Enabled);
    EXPECT_GT(f.toolkit.repaints, repaints);
    const std::string expected = ExportToJwt(f.drawing, JwtSelection::SelectedOnly);
    f.form.Execute(A::EditCopy);
    EXPECT_EQ(f.clipboard.text(), expected);
    EXPECT_FALSE(f.drawing.Lines[0].Selected);
    EXPECT_FALSE(select.Checked);
    EXPECT_TRUE(copy.Enabled);  // may be pressed again

    f.form.Execute(A::EditSelAll);
    f.form.Execute(A::EditCopy);
    EXPECT_EQ(f.clipboard.text(), ExportToJwt(f.drawing));

    f.form.FormKeyDown(kKeyEscape);
    EXPECT_FALSE(copy.Enabled);
    f.form.Execute(A::EditCopy);  // disabled: nothing happens
    EXPECT_EQ(f.clipboard.text(), ExportToJwt(f.drawing));
}

TEST(JwBrwsForm, ArrowsReachTheViewerAndAreUsedUpOtherKeysAreNot) {
    Fixture f;
    const WorldPoint o = f.form.Viewer.Origin;
    EXPECT_TRUE(f.form.FormKeyDown(kKeyRight));
    EXPECT_GT(f.form.Viewer.Origin.X, o.X);
    for (int key : {kKeyTab, 0x41, 0x0D, 0x70}) EXPECT_FALSE(f.form.FormKeyDown(key)) << key;
}

TEST(JwBrwsForm, HelpCloseAndTheViewersFirstSize) {
    Fixture f;
    f.form.Execute(A::ShowHelp);
    ASSERT_EQ(f.toolkit.helpShown.size(), 1u);
    EXPECT_EQ(f.toolkit.helpShown[0], std::make_pair(f.folder() + "tavo.hlp", 1210));
    f.toolkit.helpFails = true;
    f.form.Execute(A::ShowHelp);
    ASSERT_EQ(f.toolkit.messages.size(), 1u);
    EXPECT_EQ(f.toolkit.messages[0].second, MessageKind::Error);

    // Until the first paint the view follows the size; then a resize keeps it.
    f.form.ViewerResized(1188, 1000);
    EXPECT_DOUBLE_EQ(f.form.Viewer.PixelScale, 4.0);
    f.form.ViewerPainted();
    f.form.ViewerResized(300, 200);
    EXPECT_DOUBLE_EQ(f.form.Viewer.PixelScale, 4.0);

    f.form.FormCloseByUser();
    EXPECT_EQ(f.form.ModalResult, 2);
    f.form.ModalResult = 0;
    f.form.Execute(A::FileClose);
    f.form.FormCloseByUser();
    EXPECT_EQ(f.form.ModalResult, 1);
}

// A front end that notes what the form shows and when it is freed.
class FakeWindow final : public ViewerWindow {
public:
    FakeWindow(FakeToolkit& toolkit, const std::string& folder, platform::Clipboard& clipboard, std::string& log)
        : form_(toolkit, SettingsStore(folder), clipboard), log_(log) {
        form_.Viewer.SetSize(594, 500);
    }
    ~FakeWindow() override { log_ += " destroyed"; }
    TJwBrwsForm& Form() override { return form_; }
    int32_t ShowModal() override {
        log_ += form_.FileName + " at " + std::to_string(form_.Viewer.PixelScale);
        return 1;
    }
    WindowPlacement Placement() const override { return {1, 2, 640, 480, false}; }

private:
    TJwBrwsForm form_;
    std::string& log_;
};

TEST(ShowViewer, FitsShowsKeepsTheKeysAndFreesTheWindow) {
    Fixture f;
    std::string log;
    const ViewerOutcome out =
        ShowViewer(std::make_unique<FakeWindow>(f.toolkit, f.folder(), f.clipboard, log), f.drawing, "plan.xls");
    EXPECT_EQ(out.ModalResult, 1);
    EXPECT_EQ(log, "plan.xls at 2.000000 destroyed");  // 594 pixels over the 297 mm of A4
    EXPECT_EQ(Key(f.dir, "JwBrws", "Width"), "640");
}

TEST(ProgressForm, ContinueFlagAndBars) {
    TProgressForm p;
    p.Prepare(200, 0);
    EXPECT_TRUE(p.CancelVisible);
    p.FormShow();
    EXPECT_EQ(p.Result(), -1);
    p.SetPositions(150, 3);
    EXPECT_EQ(p.pbLine.ShownPosition(), 150);
    EXPECT_EQ(p.pbText.ShownPosition(), 1);  // an empty range shows full or empty, never "busy"
    EXPECT_FALSE(p.FormKeyDown(kKeyLeft));
    EXPECT_EQ(p.Result(), -1);
    EXPECT_TRUE(p.FormKeyDown(kKeyEscape));  // Esc presses Cancel
    p.SetPositions(0, 0);
    EXPECT_EQ(p.Result(), 0);

    const struct {
        ProgressBarState bar;
        int32_t shownMax, shown;
    } bars[] = {
        {{0, 100, 150}, 100, 100},  // above the maximum: full
        {{0, 100, -5}, 100, 0},
        {{0, 0, 0}, 1, 0},
        {{0, -20, 7}, 1, 1},
    };
    for (const auto& b : bars) {
        EXPECT_EQ(b.bar.ShownMax(), b.shownMax) << b.bar.Max << " " << b.bar.Position;
        EXPECT_EQ(b.bar.ShownPosition(), b.shown) << b.bar.Max << " " << b.bar.Position;
    }
}

TEST(ToolbarImages, TheToolbarsPicturesHaveInkTheOthersShowNothing) {
    std::set<int> used;
    for (const ActionDesign& d : JwBrwsToolbar()) used.insert(d.ImageIndex);
    for (int i = -1; i <= kToolbarImageCount; ++i) {
        const Picture p = ToolbarImage(i);
        ASSERT_EQ(p.Pixels.size(), 256u);
        int ink = 0;
        for (WinColor c : p.Pixels) ink += c != kImageTransparent;
        EXPECT_EQ(ink > 40, used.count(i) == 1) << i;
    }
}

}  // namespace
}  // namespace tavo
