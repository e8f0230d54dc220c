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
#include <cstdlib>
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
static std::string mode;
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

/* The starting "tavo.ini" in Shift-JIS, as the Linux side writes it. */
static void write_ini(const char* folder) {
    std::string ini;
    for (const std::string& line : scenario.Ini) ini += line + "\r\n";
    if (ini.empty()) return;
    static WCHAR wide[4096];
    static char cp932[8192];
    const int n = MultiByteToWideChar(CP_UTF8, 0, ini.c_str(), -1, wide, 4096);
    const int bytes = WideCharToMultiByte(932, 0, wide, n, cp932, sizeof cp932, NULL, NULL);
    FILE* f = fopen((std::string(folder) + "\\tavo.ini").c_str(), "wb");
    if (f) {
        fwrite(cp932, 1, bytes > 0 ? (size_t)bytes - 1 : 0, f);
        fclose(f);
    }
}

/* ---- controls by their designed names */

#define TAVO_CONTROL_NAME(name) {#name, TAVO_ID_##name},
static const struct {
    const char* name;
    int id;
} controls[] = {TAVO_CONFIG_CONTROLS(TAVO_CONTROL_NAME)};

static int id_of(const char* name) {
    int n;
    if (sscanf(name, "Edit%d", &n) == 1 && n >= 1 && n <= 40) return TAVO_ID_EDIT_1 + n - 1;
    if (sscanf(name, "edtT%d", &n) == 1 && n >= 1 && n <= 13) return TAVO_ID_EDT_T_1 + n - 1;
    for (size_t i = 0; i < sizeof controls / sizeof controls[0]; ++i)
        if (!strcmp(controls[i].name, name)) return controls[i].id;
    return 0;
}

static int cells_of(const char* grid) {
    if (!strcmp(grid, "sgTable")) return TAVO_ID_MOJI_CELLS;
    if (!strcmp(grid, "sgGroupScale")) return TAVO_ID_GROUP_SCALE_CELLS;
    return 0;
}

/* The name of a control identifier, as the scenarios write it. */
static void name_of(int id, char* name, size_t size) {
    for (size_t i = 0; i < sizeof controls / sizeof controls[0]; ++i)
        if (controls[i].id == id) {
            snprintf(name, size, "%s", controls[i].name);
            return;
        }
    if (id >= TAVO_ID_EDIT_1 && id < TAVO_ID_EDIT_1 + 40) snprintf(name, size, "Edit%d", id - TAVO_ID_EDIT_1 + 1);
    else if (id >= TAVO_ID_EDT_T_1 && id < TAVO_ID_EDT_T_1 + 13)
        snprintf(name, size, "edtT%d", id - TAVO_ID_EDT_T_1 + 1);
    else if (id >= TAVO_ID_MOJI_CELLS && id < TAVO_ID_MOJI_CELLS + 32 * 32)
        snprintf(name, size, "sgTable %d %d", (id - TAVO_ID_MOJI_CELLS) % 32, (id - TAVO_ID_MOJI_CELLS) / 32);
    else if (id >= TAVO_ID_GROUP_SCALE_CELLS && id < TAVO_ID_GROUP_SCALE_CELLS + 32 * 32)
        snprintf(name, size, "sgGroupScale %d %d", (id - TAVO_ID_GROUP_SCALE_CELLS) % 32,
                 (id - TAVO_ID_GROUP_SCALE_CELLS) / 32);
    else
        snprintf(name, size, "control %d", id);
}

static HWND found;
static BOOL CALLBACK match_id(HWND w, LPARAM id) {
    if (GetDlgCtrlID(w) == (int)id) {
        found = w;
        return FALSE;
    }
    return TRUE;
}

static HWND control(int id) {
    found = NULL;
    if (id) EnumChildWindows(dialog, match_id, id);
    return found;
}

/* Neither the window nor one it lies in is disabled. */
static int enabled(HWND w) {
    for (HWND up = w; up && up != dialog; up = GetParent(up))
        if (!IsWindowEnabled(up)) return 0;
    return 1;
}

/* A control the person can reach: shown, and neither it nor a window it
 * lies in disabled. */
static HWND usable(const ScenarioStep& s, int id, const char* name) {
    HWND w = control(id);
    if (!w) {
        fail(s.Line, "no control %s (identifier %d)", name, id);
        return NULL;
    }
    if (!IsWindowVisible(w)) {
        fail(s.Line, "%s is not shown", name);
        return NULL;
    }
    if (!enabled(w)) {
        fail(s.Line, "%s is disabled", name);
        return NULL;
    }
    return w;
}

static HWND focused(void) {
    GUITHREADINFO info;
    memset(&info, 0, sizeof info);
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(dialog_thread, &info) ? info.hwndFocus : NULL;
}

/* The named control or a grid's cell: "NAME" or "GRID COL ROW". */
static HWND target(const ScenarioStep& s) {
    const std::string& first = s.Words.at(0);
    if (s.Words.size() < 3 && s.Verb != "cell") return usable(s, id_of(first.c_str()), first.c_str());
    const int base = cells_of(first.c_str());
    const int col = std::stoi(s.Words.at(1)), row = std::stoi(s.Words.at(2));
    const std::string name = first + " " + std::to_string(col) + " " + std::to_string(row);
    return usable(s, base ? TAVO_ID_GRID_CELL(base, col, row) : 0, name.c_str());
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

static void select_page(const ScenarioStep& s) {
    HWND tree = control(TAVO_ID_tvContents);
    const LPARAM page = std::stoi(s.Words.at(0));
    /* Roots and their children, as the tree has them. */
    for (HTREEITEM root = (HTREEITEM)SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0); root;
         root = (HTREEITEM)SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, (LPARAM)root)) {
        HTREEITEM item = root;
        while (item) {
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
            item = item == root ? (HTREEITEM)SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, (LPARAM)root)
                                : (HTREEITEM)SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, (LPARAM)item);
        }
    }
    fail(s.Line, "no tree node of page %ld", (long)page);
}

static void expect_focus(const ScenarioStep& s) {
    std::string want;
    for (const std::string& word : s.Words) want += (want.empty() ? "" : " ") + word;
    char at[96] = "nothing";
    HWND f = focused();
    if (f) name_of(GetDlgCtrlID(f), at, sizeof at);
    if (want != at) fail(s.Line, "the focus is on %s", at);
}

static void expect_state(const ScenarioStep& s) {
    const char* name = s.Words.at(0).c_str();
    HWND w = control(id_of(name));
    if (!w) {
        fail(s.Line, "no control %s", name);
        return;
    }
    if (s.Verb == "disabled" && enabled(w)) fail(s.Line, "%s is enabled", name);
    if (s.Verb == "hidden" && IsWindowVisible(w)) fail(s.Line, "%s is shown", name);
    if (s.Verb == "checked") {
        const int on = SendMessageW(w, BM_GETCHECK, 0, 0) == BST_CHECKED;
        if (on != (std::stoi(s.Words.at(1)) != 0)) fail(s.Line, "%s is%s checked", name, on ? "" : " not");
    }
    if (s.Verb == "shows") {
        WCHAR wide[512];
        char text[1536];
        GetWindowTextW(w, wide, 512);
        WideCharToMultiByte(CP_UTF8, 0, wide, -1, text, sizeof text, NULL, NULL);
        if (s.Text != text) fail(s.Line, "%s shows \"%s\"", name, text);
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
        expect_focus(s);
    } else if (v == "shows" || v == "checked" || v == "disabled" || v == "hidden") {
        expect_state(s);
    } else if (v == "click" || v == "ok" || v == "cancel") {
        ScenarioStep named = s;
        named.Words = {v == "click" ? s.Words.at(0) : v == "ok" ? "bnOk" : "bnCancel"};
        if (!(w = target(named))) return 0;
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

static HWND find_dialog(void) {
    HWND w = FindWindowW(L"TavoConfigForm", NULL);
    return w && IsWindowVisible(w) ? w : NULL;
}

static int wait_for_dialog(void) {
    for (int i = 0; i < 400 && !(dialog = find_dialog()); ++i) Sleep(50);
    if (!dialog) return 0;
    dialog_thread = GetWindowThreadProcessId(dialog, NULL);
    settle();
    return 1;
}

static DWORD WINAPI person(LPVOID unused) {
    (void)unused;
    if (!wait_for_dialog()) {
        fail(0, "the dialog never opened");
        return 1;
    }
    for (const ScenarioStep& step : scenario.Steps)
        if (!play(step)) break;
    /* Wine without a window manager waits up to 2 s for a hidden window's
     * withdrawal. */
    for (int i = 0; i < 200 && !returned; ++i) Sleep(50);
    if (!returned) {
        fail(0, "the dialog is still open after the last action");
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    }
    return 0;
}

static const char* keys_out;

/* Real keys come from X (the test types them with xdotool): where they go
 * is told in OUT\window.txt, the X window of the dialog (Wine's property)
 * and the middle of OK on the screen; then the dialog is waited for. */
static DWORD WINAPI keyboard(LPVOID unused) {
    (void)unused;
    if (!wait_for_dialog()) {
        fail(0, "the dialog never opened");
        return 1;
    }
    RECT ok;
    GetWindowRect(control(TAVO_ID_bnOk), &ok);
    char file[MAX_PATH], temporary[MAX_PATH];
    snprintf(file, sizeof file, "%s\\window.txt", keys_out);
    snprintf(temporary, sizeof temporary, "%s\\window.tmp", keys_out);
    FILE* f = fopen(temporary, "w");
    if (f) {
        fprintf(f, "%lu %ld %ld\n", (unsigned long)(ULONG_PTR)GetPropA(dialog, "__wine_x11_whole_window"),
                (ok.left + ok.right) / 2, (ok.top + ok.bottom) / 2);
        fclose(f);
        MoveFileA(temporary, file);
    }
    /* Where the keys put the focus, for the test's log. */
    HWND last = NULL;
    for (int i = 0; i < 1200 && !returned; ++i) {
        HWND f = focused();
        if (f && f != last) {
            char name[96];
            name_of(GetDlgCtrlID(f), name, sizeof name);
            printf("focus: %s\n", name);
            last = f;
        }
        Sleep(50);
    }
    if (!returned) {
        fail(0, "the keys did not close the dialog");
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    }
    return 0;
}

static int16_t open_dialog(LPTHREAD_START_ROUTINE worker) {
    int16_t(TAVO_CALL * show)(void) = mode == "dump" ? pShowDumpForm : mode == "build" ? pShowBuildForm : pShowExportForm;
    dialog = NULL;
    returned = 0;
    HANDLE thread = CreateThread(NULL, 0, worker, NULL, 0, NULL);
    const int16_t result = show();
    InterlockedExchange(&returned, 1);
    WaitForSingleObject(thread, 30000);
    CloseHandle(thread);
    /* The window goes once the messages posted to this thread are handled. */
    for (int i = 0; i < 20 && dialog && IsWindow(dialog); ++i) {
        MSG message;
        while (PeekMessageW(&message, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(50);
    }
    if (dialog && IsWindow(dialog)) fail(0, "the dialog's window is still there after the export returned");
    return result;
}

static void use_settings_folder(const char* folder) {
    char settings[MAX_PATH];
    snprintf(settings, sizeof settings, "%s\\", folder);
    SetEnvironmentVariableA("TAVO_SETTINGS_DIR", settings);
}

/* One scenario in FOLDER; whether it went as written. */
static int run_scenario(const char* file, const char* folder) {
    printf("scenario %s\n", folder);
    failures = 0;
    try {
        scenario = tavo::test::ReadScenario(file);
    } catch (const std::exception& e) {
        printf("error: line 0: %s\n", e.what());
        return 0;
    }
    mode = scenario.Mode;
    use_settings_folder(folder);
    write_ini(folder);
    const int16_t result = open_dialog(person);
    printf("result %d\n", result);
    if (result != scenario.Result) fail(0, "the export returned %d", result);
    fflush(stdout);
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
        keys_out = argv[3];
        mode = argv[2] + 5;
        use_settings_folder(keys_out);
        printf("result %d\n", open_dialog(keyboard));
        return failures ? 1 : 0;
    }
    int all = 1;
    for (int i = 2; i + 1 < argc; i += 2) all &= run_scenario(argv[i], argv[i + 1]);
    return all ? 0 : 1;
}
