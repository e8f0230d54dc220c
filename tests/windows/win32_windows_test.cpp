// The windows of the exports on Windows: the native progress dialog driven
// from a host loop as a macro drives it (a click, Esc or close waiting in the
// thread's queue is seen by the next Progress call), the preview window's
// and the settings dialog's modal loops inside their exports.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "forms/config_controls.h"
#include "tavo.h"
#include "test_support.h"

namespace {

std::string lastError() {
    const TavoString s = TavoGetLastError();
    std::string text(s, TavoStringByteLen(s));
    TavoFreeString(s);
    return text;
}

std::vector<HWND> openDialogs() {
    std::vector<HWND> found;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM list) {
            wchar_t name[64];
            if (GetClassNameW(w, &name[0], 64) && std::wstring(&name[0]) == L"TavoProgressForm")
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

std::wstring textOf(HWND w) {
    wchar_t text[128] = {};
    GetWindowTextW(w, &text[0], 128);
    return &text[0];
}

// A progress bar's range and position.
std::vector<int> barOf(HWND dialog, int child) {
    HWND bar = GetWindow(dialog, GW_CHILD);
    for (int i = 0; i < child; ++i) bar = GetWindow(bar, GW_HWNDNEXT);
    PBRANGE range{};
    SendMessageW(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    return {range.iLow, range.iHigh, static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0))};
}

class ProgressExports : public ::testing::Test {
protected:
    void TearDown() override {
        ProgressDestroy();
        EXPECT_TRUE(openDialogs().empty());
    }
};

// The bars show the form's ranges and positions (what it shows past the
// ends is the form's, tested there); a second dialog replaces the first;
// without a dialog the calls do nothing.
TEST_F(ProgressExports, TheBarsShowTheHostsRangesAndPositions) {
    EXPECT_EQ(Progress(1, 1), -1);
    ProgressCreate(100, 40);
    EXPECT_EQ(lastError(), "");
    const HWND d = openDialogs().at(0);
    EXPECT_TRUE(IsWindowVisible(d));
    EXPECT_TRUE(GetWindowLongPtrW(d, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(Progress(250, 10), -1);
    EXPECT_EQ(barOf(d, 2), (std::vector<int>{0, 100, 100}));
    EXPECT_EQ(barOf(d, 4), (std::vector<int>{0, 40, 10}));
    ProgressCreate(0, 7);
    const auto again = openDialogs();
    ASSERT_EQ(again.size(), 1u);
    EXPECT_FALSE(IsWindow(d));
    EXPECT_EQ(barOf(again[0], 2), (std::vector<int>{0, 1, 0}));  // the form's range, not the host's
}

TEST_F(ProgressExports, AHostLoopSeesCancelAtItsNextCall) {
    // What the user may do: click Cancel, press Esc on the focused button,
    // close the dialog (Alt+F4).
    const auto click = [](HWND d) {
        PostMessageW(d, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(d, IDCANCEL)));
    };
    const auto escape = [](HWND d) {
        PostMessageW(GetDlgItem(d, IDCANCEL), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        PostMessageW(GetDlgItem(d, IDCANCEL), WM_KEYUP, VK_ESCAPE, static_cast<LPARAM>(0xC0010001));
    };
    const auto close = [](HWND d) { PostMessageW(d, WM_CLOSE, 0, 0); };
    for (const auto& cancel : {+click, +escape, +close}) {
        ProgressCreate(100, 50);
        const HWND d = openDialogs().at(0);
        EXPECT_EQ(Progress(1, 1), -1);
        cancel(d);
        EXPECT_EQ(Progress(2, 1), 0);
        // The dialog stays, still cancelled, until the host destroys it.
        EXPECT_TRUE(IsWindow(d));
        EXPECT_EQ(Progress(3, 2), 0);
        ProgressDestroy();
        EXPECT_FALSE(IsWindow(d));
    }
    // A new dialog goes on again; the host's quit message stays for its own loop.
    ProgressCreate(10, 10);
    PostQuitMessage(7);
    EXPECT_EQ(Progress(1, 1), -1);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}

// The preview window is modal inside the export: a user's close action
// returns 1, closing it from the frame 2, and the window is gone when the
// export returns. What the exports do around it is the same in every front
// end (qt_window_test).
TEST(PreviewExports, ModalInsideTheExportAndGoneAfterIt) {
    const tavo::test::TempDir settings;
    tavo::test::setEnv("TAVO_SETTINGS_DIR", settings.path().string().c_str());
    const char* name = "C:\\drawings\\plan.jwc";
    const struct {
        UINT message;
        WPARAM wParam;
        int32_t result;
    } closings[] = {{WM_COMMAND, 100, 1}, {WM_CLOSE, 0, 2}};
    ObjCreateByInifile();
    AddLine(0, 0, 100, 100, 1, 1, 0);
    for (const auto& c : closings) {
        std::thread user([&] {
            HWND form = nullptr;
            for (int i = 0; i < 200 && !(form = FindWindowW(L"TavoJwBrwsForm", nullptr)); ++i) Sleep(50);
            PostMessageW(form, c.message, c.wParam, 0);
        });
        EXPECT_EQ(ShowJwBrws(&name), c.result);
        user.join();
        EXPECT_EQ(FindWindowW(L"TavoJwBrwsForm", nullptr), nullptr);
    }
    EXPECT_EQ(lastError(), "");
    ObjDestroy();
    EXPECT_TRUE(std::filesystem::exists(settings.path() / "tavo.ini"));
    tavo::test::setEnv("TAVO_SETTINGS_DIR", nullptr);
}

// The settings dialog's controls by their designed names' identifiers.
HWND findControl(HWND dialog, int id) {
    struct Search {
        int id;
        HWND found;
    } search{id, nullptr};
    EnumChildWindows(
        dialog,
        [](HWND w, LPARAM data) {
            auto* s = reinterpret_cast<Search*>(data);
            if (GetDlgCtrlID(w) != s->id) return TRUE;
            s->found = w;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The tree is fully expanded: every node is a visible one.
void selectPage(HWND dialog, int page) {
    const HWND tree = findControl(dialog, TAVO_ID_tvContents);
    for (auto* item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)); item;
         item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXTVISIBLE, reinterpret_cast<LPARAM>(item)))) {
        TVITEMW data{};
        data.mask = TVIF_PARAM;
        data.hItem = item;
        SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data));
        if (data.lParam == page) SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    }
}

// Posted actions are the dialog thread's to take in their turn.
bool waitFor(const std::function<bool()>& done) {
    for (int i = 0; i < 100 && !done(); ++i) Sleep(50);
    return done();
}

// The settings dialog is modal inside its export. What only this test
// sees (config_dialog_in_x works the rest through the scenarios): help
// opens the selected node's topic, and with no pages where the help looks
// a message names it; the about page has its link; the close box stores
// nothing.
TEST(SettingsDialogExports, HelpTopicLinkAndCloseBox) {
    const tavo::test::TempDir settings;
    tavo::test::setEnv("TAVO_SETTINGS_DIR", settings.path().string().c_str());
    tavo::test::setEnv("TAVO_HELP_DIR", settings.path().string().c_str());
    std::thread user([] {
        HWND d = nullptr;
        waitFor([&] { return (d = FindWindowW(L"TavoConfigForm", nullptr)) && IsWindowVisible(d); });
        EXPECT_EQ(textOf(d), L"Tavo ビルド");
        selectPage(d, 33);
        PostMessageW(findControl(d, TAVO_ID_bnHelp), BM_CLICK, 0, 0);
        HWND box = nullptr;
        EXPECT_TRUE(waitFor([&] { return (box = FindWindowW(L"#32770", L"Tavo")) != nullptr; }));
        EXPECT_NE(textOf(GetDlgItem(box, 0xFFFF)).find(L"topic 3040"), std::wstring::npos);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(waitFor([&] { return !IsWindow(box); }));
        selectPage(d, 101);
        EXPECT_TRUE(IsWindowVisible(findControl(d, TAVO_ID_htLabel)));
        PostMessageW(d, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(ShowBuildForm(), 2);
    user.join();
    EXPECT_EQ(FindWindowW(L"TavoConfigForm", nullptr), nullptr);
    EXPECT_FALSE(std::filesystem::exists(settings.path() / "tavo.ini"));
    EXPECT_EQ(lastError(), "");
    tavo::test::setEnv("TAVO_HELP_DIR", nullptr);
    tavo::test::setEnv("TAVO_SETTINGS_DIR", nullptr);
}

}  // namespace
