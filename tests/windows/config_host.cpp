/* A host that opens the native settings dialog through its export while a
 * second thread works it as a person would, by the lines of scenarios of
 * tests/data/config (read as config_script reads them): controls found by
 * their identifiers, typed characters as WM_CHAR, clicks as BM_CLICK. Each
 * scenario's "tavo.ini" is left in its FOLDER, the settings folder; the
 * result code and every failed expectation go to stdout after a line
 * "scenario FOLDER".
 *   config_host DLL SCENARIO FOLDER [SCENARIO FOLDER...]
 * The "keys" mode opens the dialog of MODE and leaves it to real keys.
 *   config_host DLL keys:MODE FOLDER */
#include <windows.h>
#include <commctrl.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>

#include "config_scenario.h"
#include "forms/config_controls.h"
#include "host_window.h"
#include "tavo.h"
#include "c_host_check.h"

HOST_POINTER(ShowExportForm)
HOST_POINTER(ShowDumpForm)
HOST_POINTER(ShowBuildForm)

using tavo::test::ScenarioStep;

static tavo::test::Scenario scenario;
static std::string mode, folder;
static HWND dialog;
static DWORD dialog_thread;
static volatile LONG returned; /* the export has returned */

static void fail(int line, const char* format, ...) {
    va_list args;
    va_start(args, format);
    printf("error: line %d: ", line);
    vprintf(format, args);
    printf("\n");
    fflush(stdout);
    va_end(args);
    ++failures;
}

static void settle(void) { wait_for_posted(dialog); }

static std::string utf8_of(const WCHAR* wide) {
    char text[2048];
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, text, sizeof text, NULL, NULL);
    return text;
}

/* ---- controls by the names the scenarios give them */

#define TAVO_CONTROL_NAME(name) {#name, TAVO_ID_##name},
static const struct {
    const char* name;
    int id;
} controls[] = {TAVO_CONFIG_CONTROLS(TAVO_CONTROL_NAME)};

static std::string name_of(int id) {
    for (const auto& c : controls)
        if (c.id == id) return c.name;
    const auto in = [id](int first, int count) { return id >= first && id < first + count; };
    if (in(TAVO_ID_EDIT_1, 40)) return "Edit" + std::to_string(id - TAVO_ID_EDIT_1 + 1);
    if (in(TAVO_ID_EDT_T_1, 13)) return "edtT" + std::to_string(id - TAVO_ID_EDT_T_1 + 1);
    for (const auto& grid : {std::make_pair("sgTable", TAVO_ID_MOJI_CELLS),
                             std::make_pair("sgGroupScale", TAVO_ID_GROUP_SCALE_CELLS)})
        if (in(grid.second, 32 * 32))
            return std::string(grid.first) + " " + std::to_string((id - grid.second) % 32) + " " +
                   std::to_string((id - grid.second) / 32);
    return "control " + std::to_string(id);
}

/* The control of a step's words: "NAME" or a grid's cell "GRID COL ROW". */
static HWND control_named(const std::string& name) {
    struct Search {
        const std::string& name;
        HWND found;
    } search{name, NULL};
    EnumChildWindows(
        dialog,
        [](HWND w, LPARAM data) {
            auto* s = (Search*)data;
            if (name_of(GetDlgCtrlID(w)) != s->name) return TRUE;
            s->found = w;
            return FALSE;
        },
        (LPARAM)&search);
    return search.found;
}

static std::string words_of(const ScenarioStep& s, size_t count) {
    std::string name;
    for (size_t i = 0; i < count && i < s.Words.size(); ++i) name += (i ? " " : "") + s.Words[i];
    return name;
}

/* Neither the window nor one it lies in is disabled. */
static int enabled(HWND w) {
    for (HWND up = w; up && up != dialog; up = GetParent(up))
        if (!IsWindowEnabled(up)) return 0;
    return 1;
}

/* A control the person can reach: shown and enabled. */
static HWND usable(const ScenarioStep& s, const std::string& name) {
    HWND w = control_named(name);
    const char* wrong = !w ? "does not exist" : !IsWindowVisible(w) ? "is not shown" : !enabled(w) ? "is disabled" : NULL;
    if (wrong) fail(s.Line, "%s %s", name.c_str(), wrong);
    return wrong ? NULL : w;
}

static HWND target(const ScenarioStep& s) { return usable(s, words_of(s, s.Verb == "cell" || s.Words.size() > 2 ? 3 : 1)); }

static HWND focused(void) {
    GUITHREADINFO info;
    memset(&info, 0, sizeof info);
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(dialog_thread, &info) ? info.hwndFocus : NULL;
}

/* ---- what the person does */

/* A click in the box puts the focus there (unless it is there). */
static void focus_box(HWND box) {
    if (focused() == box) return;
    PostMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    PostMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

static void type_into(HWND box, const char* utf8) {
    focus_box(box);
    PostMessageW(box, EM_SETSEL, 0, -1);
    PostMessageW(box, WM_CHAR, VK_BACK, 1);
    WCHAR text[512];
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, text, 512);
    for (int i = 0; i + 1 < n; ++i) PostMessageW(box, WM_CHAR, text[i], 1);
    settle();
}

static void press(HWND w, WPARAM key, WCHAR ch) {
    PostMessageW(w, WM_KEYDOWN, key, 1);
    if (ch) PostMessageW(w, WM_CHAR, ch, 1);
    PostMessageW(w, WM_KEYUP, key, 0xC0000001);
    settle();
}

/* The tree is fully expanded: every node is a visible one. */
static void select_page(const ScenarioStep& s) {
    HWND tree = control_named("tvContents");
    const LPARAM page = std::stoi(s.Words.at(0));
    for (auto item = (HTREEITEM)SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0); item;
         item = (HTREEITEM)SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXTVISIBLE, (LPARAM)item)) {
        TVITEMW it;
        memset(&it, 0, sizeof it);
        it.mask = TVIF_PARAM;
        it.hItem = item;
        SendMessageW(tree, TVM_GETITEMW, 0, (LPARAM)&it);
        if (it.lParam == page) {
            SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, (LPARAM)item);
            settle();
            return;
        }
    }
    fail(s.Line, "no tree node of page %ld", (long)page);
}

static void expect_state(const ScenarioStep& s) {
    const std::string name = s.Words.at(0);
    HWND w = control_named(name);
    if (!w) return fail(s.Line, "no control %s", name.c_str());
    if (s.Verb == "disabled" && enabled(w)) fail(s.Line, "%s is enabled", name.c_str());
    if (s.Verb == "hidden" && IsWindowVisible(w)) fail(s.Line, "%s is shown", name.c_str());
    if (s.Verb == "checked") {
        const int on = SendMessageW(w, BM_GETCHECK, 0, 0) == BST_CHECKED;
        if (on != (std::stoi(s.Words.at(1)) != 0)) fail(s.Line, "%s is%s checked", name.c_str(), on ? "" : " not");
    }
    if (s.Verb == "shows") {
        WCHAR wide[512];
        GetWindowTextW(w, wide, 512);
        if (s.Text != utf8_of(wide)) fail(s.Line, "%s shows \"%s\"", name.c_str(), utf8_of(wide).c_str());
    }
}

static int play(const ScenarioStep& s) {
    const std::string& v = s.Verb;
    HWND w;
    if (!IsWindow(dialog)) {
        fail(s.Line, "the dialog has closed already");
        return 0;
    }
    if (v == "page") {
        select_page(s);
    } else if (v == "type" || v == "cell") {
        if (!(w = target(s))) return 0;
        type_into(w, s.Text.c_str());
    } else if (v == "enter") {
        if (!(w = target(s))) return 0;
        focus_box(w);
        press(w, VK_RETURN, L'\r');
    } else if (v == "focus") {
        HWND f = focused();
        const std::string at = f ? name_of(GetDlgCtrlID(f)) : "nothing";
        if (at != words_of(s, 3)) fail(s.Line, "the focus is on %s", at.c_str());
    } else if (v == "shows" || v == "checked" || v == "disabled" || v == "hidden") {
        expect_state(s);
    } else if (v == "click" || v == "ok" || v == "cancel") {
        if (!(w = usable(s, v == "click" ? s.Words.at(0) : v == "ok" ? "bnOk" : "bnCancel"))) return 0;
        PostMessageW(w, BM_CLICK, 0, 0);
        settle();
    } else if (v == "choose") {
        if (!(w = target(s))) return 0;
        const int index = std::stoi(s.Words.at(1));
        SendMessageW(w, CB_SETCURSEL, index, 0);
        PostMessageW(GetParent(w), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(w), CBN_SELCHANGE), (LPARAM)w);
        settle();
        const LRESULT at = SendMessageW(w, CB_GETCURSEL, 0, 0);
        if (at != index) fail(s.Line, "the list stands at %ld", (long)at);
    } else if (v == "escape") {
        HWND f = focused();
        press(f ? f : dialog, VK_ESCAPE, 0);
    } else if (v == "close") {
        PostMessageW(dialog, WM_CLOSE, 0, 0);
        settle();
    } else {
        fail(s.Line, "no such action: %s", v.c_str());
        return 0;
    }
    return 1;
}

static int wait_for_dialog(void) {
    for (int i = 0; i < 400; ++i, Sleep(50)) {
        dialog = FindWindowW(L"TavoConfigForm", NULL);
        if (dialog && IsWindowVisible(dialog)) break;
    }
    if (!dialog || !IsWindowVisible(dialog)) {
        fail(0, "the %s dialog never opened", mode.c_str());
        return 0;
    }
    dialog_thread = GetWindowThreadProcessId(dialog, NULL);
    settle();
    return 1;
}

/* Wine without a window manager waits up to 2 s for a hidden window's
 * withdrawal. */
static void wait_for_return(const char* what) {
    for (int i = 0; i < 200 && !returned; ++i) Sleep(50);
    if (returned) return;
    fail(0, "%s", what);
    PostMessageW(dialog, WM_CLOSE, 0, 0);
}

static DWORD WINAPI person(LPVOID) {
    if (!wait_for_dialog()) return 1;
    for (const ScenarioStep& step : scenario.Steps)
        if (!play(step)) break;
    wait_for_return("the dialog is still open after the last action");
    return 0;
}

/* Real keys come from X (the test types them with xdotool): where they go
 * is told in FOLDER\window.txt, the X window of the dialog (Wine's property)
 * and the middle of OK on the screen. */
static DWORD WINAPI keyboard(LPVOID) {
    if (!wait_for_dialog()) return 1;
    RECT ok;
    GetWindowRect(control_named("bnOk"), &ok);
    const std::string file = folder + "\\window.txt", temporary = folder + "\\window.tmp";
    if (FILE* f = fopen(temporary.c_str(), "w")) {
        fprintf(f, "%lu %ld %ld\n", (unsigned long)(ULONG_PTR)GetPropA(dialog, "__wine_x11_whole_window"),
                (ok.left + ok.right) / 2, (ok.top + ok.bottom) / 2);
        fclose(f);
        MoveFileA(temporary.c_str(), file.c_str());
    }
    /* Where the keys put the focus, for the test's log. */
    HWND last = NULL;
    for (int i = 0; i < 1200 && !returned; ++i, Sleep(50))
        if (HWND f = focused(); f && f != last) printf("focus: %s\n", name_of(GetDlgCtrlID(last = f)).c_str());
    wait_for_return("the keys did not close the dialog");
    return 0;
}

static int16_t open_dialog(LPTHREAD_START_ROUTINE worker) {
    char settings[MAX_PATH];
    snprintf(settings, sizeof settings, "%s\\", folder.c_str());
    SetEnvironmentVariableA("TAVO_SETTINGS_DIR", settings);
    int16_t(TAVO_CALL * show)(void) = mode == "dump" ? pShowDumpForm : mode == "build" ? pShowBuildForm : pShowExportForm;
    dialog = NULL;
    returned = 0;
    HANDLE thread = CreateThread(NULL, 0, worker, NULL, 0, NULL);
    const int16_t result = show();
    InterlockedExchange(&returned, 1);
    WaitForSingleObject(thread, 30000);
    CloseHandle(thread);
    /* The window goes once the messages posted to this thread are handled. */
    for (int i = 0; i < 20 && dialog && IsWindow(dialog); ++i, Sleep(50)) {
        MSG message;
        while (PeekMessageW(&message, NULL, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
    if (dialog && IsWindow(dialog)) fail(0, "the dialog's window is still there after the export returned");
    printf("result %d\n", result);
    fflush(stdout);
    return result;
}

/* One scenario; whether it went as written. */
static int run_scenario(const char* file) {
    printf("scenario %s\n", folder.c_str());
    failures = 0;
    try {
        scenario = tavo::test::ReadScenario(file);
    } catch (const std::exception& e) {
        printf("error: line 0: %s\n", e.what());
        return 0;
    }
    mode = scenario.Mode;
    /* The starting "tavo.ini" in Shift-JIS, as the Linux side writes it. */
    std::string ini;
    for (const std::string& line : scenario.Ini) ini += line + "\r\n";
    static WCHAR wide[4096];
    static char cp932[8192];
    MultiByteToWideChar(CP_UTF8, 0, ini.c_str(), -1, wide, 4096);
    const int bytes = WideCharToMultiByte(932, 0, wide, -1, cp932, sizeof cp932, NULL, NULL);
    FILE* f = ini.empty() ? NULL : fopen((folder + "\\tavo.ini").c_str(), "wb");
    if (f) fwrite(cp932, 1, bytes - 1, f), fclose(f);
    const int16_t result = open_dialog(person);
    if (result != scenario.Result) fail(0, "the export returned %d", result);
    return failures == 0;
}

int main(int argc, char** argv) {
    if (argc < 4 || argc % 2) {
        fprintf(stderr, "usage: config_host DLL SCENARIO FOLDER [SCENARIO FOLDER...] | keys:MODE FOLDER\n");
        return 2;
    }
    if (!host_load(argv[1])) {
        printf("error: line 0: cannot load %s\n", argv[1]);
        return 1;
    }
    HOST_IMPORT(ShowExportForm)
    HOST_IMPORT(ShowDumpForm)
    HOST_IMPORT(ShowBuildForm)
    watch_posted();
    if (!strncmp(argv[2], "keys:", 5)) {
        folder = argv[3];
        mode = argv[2] + 5;
        open_dialog(keyboard);
        return failures ? 1 : 0;
    }
    int all = 1;
    for (int i = 2; i + 1 < argc; i += 2) {
        folder = argv[i + 1];
        all &= run_scenario(argv[i]);
    }
    return all ? 0 : 1;
}
