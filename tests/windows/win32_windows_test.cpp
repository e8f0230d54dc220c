// The windows of the exports on Windows: the native progress dialog driven
// from a host loop as a macro drives it (a click, Esc or close waiting in the
// thread's queue is seen by the next Progress call), and the preview
// window's modal loop inside the export.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <oleauto.h>

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

struct Bar {
    int min, max, pos;
    bool operator==(const Bar& o) const { return min == o.min && max == o.max && pos == o.pos; }
};

Bar barOf(HWND bar) {
    PBRANGE range{};
    SendMessageW(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    return {range.iLow, range.iHigh, static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0))};
}

// The dialog's children in creation order.
std::vector<HWND> childrenOf(HWND dialog) {
    std::vector<HWND> children;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) children.push_back(c);
    return children;
}

class ProgressExports : public ::testing::Test {
protected:
    void TearDown() override {
        ProgressDestroy();
        EXPECT_TRUE(openDialogs().empty());
    }
};

TEST_F(ProgressExports, TheDialogAsDesigned) {
    ProgressCreate(100, 40);
    EXPECT_EQ(lastError(), "");
    const auto dialogs = openDialogs();
    ASSERT_EQ(dialogs.size(), 1u);
    const HWND d = dialogs[0];
    EXPECT_TRUE(IsWindowVisible(d));
    EXPECT_EQ(textOf(d), L"データ変換中");
    const LONG_PTR style = GetWindowLongPtrW(d, GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_FALSE(style & WS_SYSMENU);  // no close button
    EXPECT_TRUE(GetWindowLongPtrW(d, GWL_EXSTYLE) & WS_EX_TOPMOST);

    const auto c = childrenOf(d);
    ASSERT_EQ(c.size(), 5u);
    EXPECT_EQ(textOf(c[0]), L"罫線");
    EXPECT_EQ(textOf(c[1]), L"文字");
    EXPECT_EQ(textOf(c[3]), L"キャンセル");
    EXPECT_TRUE(IsWindowVisible(c[3]));
    EXPECT_EQ(GetDlgCtrlID(c[3]), IDCANCEL);
    EXPECT_EQ(barOf(c[2]), (Bar{0, 100, 0}));
    EXPECT_EQ(barOf(c[4]), (Bar{0, 40, 0}));

    // Positions as the host gives them; past the end shows a full bar.
    EXPECT_EQ(Progress(30, 10), -1);
    EXPECT_EQ(barOf(c[2]), (Bar{0, 100, 30}));
    EXPECT_EQ(barOf(c[4]), (Bar{0, 40, 10}));
    EXPECT_EQ(Progress(250, -3), -1);
    EXPECT_EQ(barOf(c[2]), (Bar{0, 100, 100}));
    EXPECT_EQ(barOf(c[4]), (Bar{0, 40, 0}));

    // A second dialog replaces the first; a range of no width shows as one.
    ProgressCreate(0, 7);
    const auto again = openDialogs();
    ASSERT_EQ(again.size(), 1u);
    EXPECT_FALSE(IsWindow(d));
    EXPECT_EQ(barOf(childrenOf(again[0])[2]), (Bar{0, 1, 0}));
}

TEST_F(ProgressExports, AHostLoopSeesCancelAtItsNextCall) {
    // What the user may do: click Cancel, press Esc on the focused button,
    // close the dialog (Alt+F4).
    const auto click = [](HWND d) {
        const HWND button = GetDlgItem(d, IDCANCEL);
        PostMessageW(d, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    };
    const auto escape = [](HWND d) {
        const HWND button = GetDlgItem(d, IDCANCEL);
        PostMessageW(button, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        PostMessageW(button, WM_KEYUP, VK_ESCAPE, static_cast<LPARAM>(0xC0010001));
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
    // A new dialog goes on again.
    ProgressCreate(10, 10);
    EXPECT_EQ(Progress(1, 1), -1);
}

TEST_F(ProgressExports, TheHostsQuitMessageStaysForItsOwnLoop) {
    ProgressCreate(10, 10);
    PostQuitMessage(7);
    EXPECT_EQ(Progress(1, 1), -1);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(ProgressExports, WithoutADialogNothingHappens) {
    EXPECT_EQ(Progress(1, 1), -1);
    ProgressDestroy();
    ProgressDestroy();
    EXPECT_EQ(lastError(), "");
}

// The preview window is modal inside the export: a user's close action
// returns 1, closing it from the frame 2; the export drawing stays, the
// window is gone when the export returns, and the JWC drawing's preview
// leaves no export drawing behind.
TEST(PreviewExports, ModalInsideTheExportAndGoneAfterIt) {
    const tavo::test::TempDir settings;
    tavo::test::setEnv("TAVO_SETTINGS_DIR", settings.path().string().c_str());
    const char* name = "C:\\drawings\\plan.jwc";
    EXPECT_EQ(ShowJwBrws(&name), 0);
    EXPECT_NE(lastError().find("no current export drawing"), std::string::npos);
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

    JwcCreate(3, 1);
    AddSen(0, 0, 420, 0, 2, 17, 1, 0, 0);
    std::thread user([] {
        HWND form = nullptr;
        for (int i = 0; i < 200 && !(form = FindWindowW(L"TavoJwBrwsForm", nullptr)); ++i) Sleep(50);
        PostMessageW(form, WM_COMMAND, 100, 0);
    });
    EXPECT_EQ(ShowJwBrwsFromJwc(&name), 1);
    user.join();
    EXPECT_EQ(GetSenCount(), 1);
    ObjSaveToJwcFile(&name);
    EXPECT_NE(lastError().find("no current export drawing"), std::string::npos);
    JwcDestroy();
    EXPECT_TRUE(std::filesystem::exists(settings.path() / "tavo.ini"));
    tavo::test::setEnv("TAVO_SETTINGS_DIR", nullptr);
}

// The settings dialog inside its export, worked by a second thread through
// its controls as the user's clicks and keys reach them: typed characters
// pass the key filters, Enter moves on, the stores land in "tavo.ini".
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

void typeInto(HWND box, const wchar_t* text) {
    PostMessageW(box, EM_SETSEL, 0, -1);
    PostMessageW(box, WM_CHAR, VK_BACK, 1);
    for (const wchar_t* c = text; *c; ++c) PostMessageW(box, WM_CHAR, static_cast<WPARAM>(*c), 1);
}

void selectPage(HWND dialog, int page) {
    const HWND tree = findControl(dialog, TAVO_ID_tvContents);
    for (auto* item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)); item;) {
        TVITEMW data{};
        data.mask = TVIF_PARAM;
        data.hItem = item;
        SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data));
        if (data.lParam == page) {
            SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
            return;
        }
        auto* next = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
        if (!next) next = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
        for (HTREEITEM up = item; !next && up;) {
            up = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(up)));
            if (up) next = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(up)));
        }
        item = next;
    }
}

std::wstring textOfControl(HWND dialog, int id) { return textOf(findControl(dialog, id)); }

// Runs `user` on the dialog the export opens, from a second thread.
int16_t withDialog(int16_t (*show)(), const std::function<void(HWND)>& user) {
    std::thread worker([&] {
        HWND dialog = nullptr;
        // Shown: its modal loop runs.
        for (int i = 0; i < 200 && !((dialog = FindWindowW(L"TavoConfigForm", nullptr)) && IsWindowVisible(dialog)); ++i)
            Sleep(50);
        if (!dialog) {
            ADD_FAILURE() << "no dialog";
            return;
        }
        user(dialog);
    });
    const int16_t result = show();
    worker.join();
    EXPECT_EQ(FindWindowW(L"TavoConfigForm", nullptr), nullptr);
    return result;
}

// Posted actions are the dialog thread's to take in their turn.
bool waitFor(const std::function<bool()>& done) {
    for (int i = 0; i < 100; ++i) {
        if (done()) return true;
        Sleep(50);
    }
    return done();
}

HWND focusOf(HWND dialog) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
    return info.hwndFocus;
}

TEST(SettingsDialogExports, WorkedThroughItsControls) {
    const tavo::test::TempDir settings;
    tavo::test::setEnv("TAVO_SETTINGS_DIR", settings.path().string().c_str());
    const auto key = [&](const char* section, const char* name) {
        char value[256] = "";
        GetPrivateProfileStringA(section, name, "<none>", value, sizeof value,
                                 (settings.path() / "tavo.ini").string().c_str());
        return std::string(value);
    };
    // Esc and the close box store nothing.
    for (const UINT how : {UINT(WM_KEYDOWN), UINT(WM_CLOSE)}) {
        EXPECT_EQ(withDialog(&ShowExportForm,
                             [how](HWND d) {
                                 EXPECT_EQ(textOf(d), L"Tavo エクスポート");
                                 EXPECT_TRUE(IsWindowVisible(findControl(d, TAVO_ID_pnExpTarget)));
                                 EXPECT_EQ(SendMessageW(findControl(d, TAVO_ID_rbToPreview), BM_GETCHECK, 0, 0), BST_CHECKED);
                                 EXPECT_FALSE(IsWindowEnabled(findControl(d, TAVO_ID_edFName)));
                                 EXPECT_EQ(textOfControl(d, TAVO_ID_edScale), L"100");
                                 EXPECT_EQ(textOfControl(d, TAVO_ID_GRID_CELL(TAVO_ID_MOJI_CELLS, 0, 10)), L"[F10]");
                                 if (how == WM_KEYDOWN)
                                     PostMessageW(findControl(d, TAVO_ID_tvContents), WM_KEYDOWN, VK_ESCAPE, 1);
                                 else
                                     PostMessageW(d, WM_CLOSE, 0, 0);
                             }),
                  2);
    }
    EXPECT_FALSE(std::filesystem::exists(settings.path() / "tavo.ini"));
    EXPECT_EQ(lastError(), "");

    // Typed through the filters; the file name follows the target; Enter in
    // the text table's last cell goes back to its first.
    EXPECT_EQ(withDialog(&ShowExportForm,
                         [](HWND d) {
                             selectPage(d, 3);
                             EXPECT_TRUE(IsWindowVisible(findControl(d, TAVO_ID_pnExpScale)));
                             EXPECT_FALSE(IsWindowVisible(findControl(d, TAVO_ID_pnExpTarget)));
                             typeInto(findControl(d, TAVO_ID_edScale), L"2x50");
                             typeInto(findControl(d, TAVO_ID_edDimen), L"9.99");
                             selectPage(d, 2);
                             PostMessageW(findControl(d, TAVO_ID_rbToJwc), BM_CLICK, 0, 0);
                             typeInto(findControl(d, TAVO_ID_edFName), L"plan");
                             typeInto(findControl(d, TAVO_ID_edCom1), L"平面図");
                             PostMessageW(findControl(d, TAVO_ID_rbToJww), BM_CLICK, 0, 0);
                             EXPECT_TRUE(waitFor([d] { return textOfControl(d, TAVO_ID_edFName) == L"plan.txt"; }));
                             EXPECT_FALSE(IsWindowEnabled(findControl(d, TAVO_ID_edCom1)));
                             selectPage(d, 7);
                             const HWND last = findControl(d, TAVO_ID_GRID_CELL(TAVO_ID_MOJI_CELLS, 4, 10));
                             typeInto(last, L"1a2");
                             PostMessageW(last, WM_KEYDOWN, VK_RETURN, 1);
                             PostMessageW(last, WM_CHAR, VK_RETURN, 1);
                             const HWND first = findControl(d, TAVO_ID_GRID_CELL(TAVO_ID_MOJI_CELLS, 1, 1));
                             EXPECT_TRUE(waitFor([&] { return focusOf(d) == first; }));
                             selectPage(d, 5);
                             typeInto(findControl(d, TAVO_ID_EDIT_1), L"7");  // outside 1..6: swallowed
                             typeInto(findControl(d, TAVO_ID_EDIT_1 + 1), L"3");
                             PostMessageW(findControl(d, TAVO_ID_bnOk), BM_CLICK, 0, 0);
                         }),
              1);
    EXPECT_EQ(key("Export", "JwcScale"), "250");
    EXPECT_EQ(key("Export", "DimScale"), "3.500");
    EXPECT_EQ(key("Export", "ExportTarget"), "3");
    EXPECT_EQ(key("Export", "FileName"), "plan.txt");
    EXPECT_EQ(key("Export", "Comment1"), "\x95\xBD\x96\xCA\x90\x7D");
    EXPECT_EQ(key("MojiTable", "MojiPitch"), "0,0,5,5,5,10,10,10,10,12");
    EXPECT_EQ(key("Export", "BColorIndex").substr(0, 4), "1,2,");

    // Build mode: no coordinate-file target and no placement. Help opens
    // the page of the selected node; with no pages where it looks, a
    // message names the topic.
    tavo::test::setEnv("TAVO_HELP_DIR", settings.path().string().c_str());
    EXPECT_EQ(withDialog(&ShowBuildForm,
                         [](HWND d) {
                             EXPECT_EQ(textOf(d), L"Tavo ビルド");
                             EXPECT_FALSE(IsWindowVisible(findControl(d, TAVO_ID_rbToJww)));
                             EXPECT_FALSE(IsWindowVisible(findControl(d, TAVO_ID_gbPlace)));
                             selectPage(d, 33);
                             PostMessageW(findControl(d, TAVO_ID_bnHelp), BM_CLICK, 0, 0);
                             HWND box = nullptr;
                             EXPECT_TRUE(waitFor([&] { return (box = FindWindowW(L"#32770", L"Tavo")) != nullptr; }));
                             EXPECT_NE(textOfControl(box, 0xFFFF).find(L"topic 3040"), std::wstring::npos);
                             PostMessageW(box, WM_COMMAND, IDOK, 0);
                             EXPECT_TRUE(waitFor([&] { return !IsWindow(box); }));
                             selectPage(d, 101);
                             EXPECT_TRUE(IsWindowVisible(findControl(d, TAVO_ID_htLabel)));
                             PostMessageW(findControl(d, TAVO_ID_bnOk), BM_CLICK, 0, 0);
                         }),
              1);
    tavo::test::setEnv("TAVO_HELP_DIR", nullptr);
    EXPECT_EQ(key("Export", "ExportTarget"), "2");
    // Dump mode: the name gets its extension, the flags their boxes.
    EXPECT_EQ(withDialog(&ShowDumpForm,
                         [](HWND d) {
                             typeInto(findControl(d, TAVO_ID_edDumpName), L"first");
                             PostMessageW(findControl(d, TAVO_ID_cbCircle), BM_CLICK, 0, 0);
                             PostMessageW(findControl(d, TAVO_ID_bnOk), BM_CLICK, 0, 0);
                         }),
              1);
    EXPECT_EQ(key("Export", "DumpName"), "first.jwc");
    EXPECT_EQ(key("Dump", "CeckCircle"), "0");
    EXPECT_EQ(key("Dump", "CeckLine"), "1");
    tavo::test::setEnv("TAVO_SETTINGS_DIR", nullptr);
}

}  // namespace
