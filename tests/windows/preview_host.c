/* A host that opens the preview window as a macro does (JwcLoadFrom, then
 * ShowJwBrwsFromJwc) while a second thread works the window as a user
 * would: it clicks the toolbar's buttons with the mouse messages the
 * buttons get, presses keys in the viewer, fills in and confirms the save
 * dialogs and closes the message boxes. It writes what it saw to
 * OUT\result.txt, the clipboard's text to OUT\clipboard.jwt and the saved
 * files to OUT\saved.jwc and OUT\saved.txt. TAVO_HELP_DIR should name a
 * folder without help pages.
 * preview_host DLL JWC OUT */
#include <windows.h>
#include <commctrl.h>
#include <stdio.h>
#include <string.h>

#include "host_window.h"
#include "tavo.h"
#include "c_host_check.h"

HOST_POINTER(JwcCreateByInifile)
HOST_POINTER(JwcLoadFrom)
HOST_POINTER(ShowJwBrwsFromJwc)
HOST_POINTER(TavoGetLastError)
HOST_POINTER(TavoFreeString)

static FILE* result;
static HWND form, toolbar, viewer;
static const char* out;

/* The command identifiers of the toolbar's buttons, in the order of the
 * form's actions. */
enum { CLOSE = 100, SAVE_JWC, SAVE_TXT, SELECT, SELECT_ALL, COPY, HELP };

static HWND wait_for(HWND (*find)(void), const char* what) {
    for (int i = 0; i < 400; ++i) {
        HWND w = find();
        if (w && IsWindowVisible(w)) return w;
        Sleep(50);
    }
    fprintf(result, "timeout: no %s\n", what);
    fflush(result);
    ExitProcess(3);
}

static HWND find_form(void) { return FindWindowW(L"TavoJwBrwsForm", NULL); }

/* A dialog of the window's own (the save dialog or a message box), other
 * than `not`. */
static HWND not_this;
static HWND found_dialog;
static BOOL CALLBACK dialog_of_form(HWND w, LPARAM unused) {
    (void)unused;
    char name[16];
    if (w != not_this && GetWindow(w, GW_OWNER) == form && GetClassNameA(w, name, sizeof name) &&
        strcmp(name, "#32770") == 0) {
        found_dialog = w;
        return FALSE;
    }
    return TRUE;
}
static HWND find_dialog(void) {
    found_dialog = NULL;
    EnumThreadWindows(GetWindowThreadProcessId(form, NULL), dialog_of_form, 0);
    return found_dialog;
}

static void settle(void) { wait_for_posted(form); }

/* A click in the middle of a button, as the mouse gives it. */
static void click(int command) {
    RECT r;
    const LRESULT index = SendMessageW(toolbar, TB_COMMANDTOINDEX, command, 0);
    SendMessageW(toolbar, TB_GETITEMRECT, index, (LPARAM)&r);
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    PostMessageW(toolbar, WM_MOUSEMOVE, 0, at);
    PostMessageW(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(toolbar, WM_LBUTTONUP, 0, at);
    settle();
}

static void key(UINT vk) {
    PostMessageW(viewer, WM_KEYDOWN, vk, 1);
    PostMessageW(viewer, WM_KEYUP, vk, 0xC0000001);
    settle();
}

/* A click of the left button in the viewer. */
static void click_viewer(int x, int y) {
    const LPARAM at = MAKELPARAM(x, y);
    PostMessageW(viewer, WM_MOUSEMOVE, 0, at);
    PostMessageW(viewer, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(viewer, WM_LBUTTONUP, 0, at);
    settle();
}

/* The hint the toolbar's tooltip shows for a button, as the tooltip control
 * asks the window for it. */
static void report_hint(int command, const char* name) {
    HWND tips = (HWND)SendMessageW(toolbar, TB_GETTOOLTIPS, 0, 0);
    wchar_t text[256] = L"";
    TTTOOLINFOW tool;
    memset(&tool, 0, sizeof tool);
    tool.cbSize = sizeof tool;
    tool.hwnd = toolbar;
    tool.uId = (UINT_PTR)command;
    tool.lpszText = text;
    if (tips) SendMessageW(tips, TTM_GETTEXTW, sizeof text / sizeof text[0], (LPARAM)&tool);
    char bytes[512] = "";
    WideCharToMultiByte(932, 0, text, -1, bytes, sizeof bytes, NULL, NULL);
    fprintf(result, "hint of %s: %s\n", name, bytes);
}

static void report_buttons(const char* when) {
    fprintf(result, "%s: copy %s, range selection %s\n", when,
            SendMessageW(toolbar, TB_ISBUTTONENABLED, COPY, 0) ? "enabled" : "disabled",
            SendMessageW(toolbar, TB_ISBUTTONCHECKED, SELECT, 0) ? "pressed" : "up");
}

/* The text of the message box the window shows, then the box closed. */
static void report_message_box(const char* what) {
    not_this = NULL;
    HWND box = wait_for(find_dialog, what);
    settle();
    char text[1024] = "";
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    fprintf(result, "%s: %s\n", what, text);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    for (int i = 0; i < 100 && IsWindow(box); ++i) Sleep(50);
    settle();
}

/* Types the name into the save dialog, confirms it, and reports the
 * message box that follows before closing it. */
static void save_as(int command, const char* name) {
    char path[MAX_PATH];
    snprintf(path, sizeof path, "%s\\%s", out, name);
    click(command);
    not_this = NULL;
    HWND dialog = wait_for(find_dialog, "save dialog");
    settle();
    HWND edit = GetDlgItem(dialog, 0x47c); /* cmb13: the file name */
    if (!edit) edit = GetDlgItem(dialog, 0x480);
    SetWindowTextA(edit, path);
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    not_this = dialog;
    for (int i = 0; i < 100 && IsWindow(dialog); ++i) Sleep(50);
    report_message_box("message");
}

static DWORD WINAPI user(LPVOID unused) {
    (void)unused;
    form = wait_for(find_form, "preview window");
    toolbar = FindWindowExW(form, NULL, TOOLBARCLASSNAMEW, NULL);
    viewer = FindWindowExW(form, NULL, L"TavoJwBrws", NULL);
    settle();
    RECT r;
    GetWindowRect(form, &r);
    fprintf(result, "window: %ld x %ld\n", r.right - r.left, r.bottom - r.top);
    report_buttons("shown");
    report_hint(SAVE_JWC, "JWC save");
    click(SELECT);
    report_buttons("range selection begun");
    key(VK_ESCAPE);
    report_buttons("after Esc");
    /* A range around the whole drawing, by its two corners. */
    RECT client;
    GetClientRect(viewer, &client);
    click(SELECT);
    click_viewer(2, 2);
    click_viewer(client.right - 2, client.bottom - 2);
    report_buttons("range selected");
    key(VK_ESCAPE);
    click(SELECT_ALL);
    report_buttons("all selected");
    click(COPY);
    report_buttons("copied");
    key(VK_LEFT);
    key(VK_RIGHT);
    save_as(SAVE_JWC, "saved.jwc");
    save_as(SAVE_TXT, "saved.txt");
    /* With no help pages where the help looks, a message says so. */
    click(HELP);
    report_message_box("help");
    click(CLOSE);
    return 0;
}

static void write_clipboard(void) {
    char file[MAX_PATH];
    snprintf(file, sizeof file, "%s\\clipboard.jwt", out);
    if (!OpenClipboard(NULL)) return;
    HANDLE data = GetClipboardData(CF_TEXT);
    const char* text = data ? (const char*)GlobalLock(data) : NULL;
    FILE* f = fopen(file, "wb");
    if (f && text) fwrite(text, 1, strlen(text), f);
    if (f) fclose(f);
    if (text) GlobalUnlock(data);
    CloseClipboard();
}

int main(int argc, char** argv) {
    if (argc != 4) {
        fprintf(stderr, "usage: preview_host DLL JWC OUT\n");
        return 2;
    }
    out = argv[3];
    char file[MAX_PATH];
    snprintf(file, sizeof file, "%s\\result.txt", out);
    result = fopen(file, "w");
    if (!result) return 2;
    setvbuf(result, NULL, _IONBF, 0);
    if (!host_load(argv[1])) {
        fprintf(result, "cannot load %s\n", argv[1]);
        return 1;
    }
    HOST_IMPORT(JwcCreateByInifile)
    HOST_IMPORT(JwcLoadFrom)
    HOST_IMPORT(ShowJwBrwsFromJwc)
    HOST_IMPORT(TavoGetLastError)
    HOST_IMPORT(TavoFreeString)
    if (failures) return 1;
    const char* jwc = argv[2];
    const char* none = "";
    pJwcCreateByInifile();
    pJwcLoadFrom(&jwc);
    watch_posted();
    HANDLE thread = CreateThread(NULL, 0, user, NULL, 0, NULL);
    const int16_t modal = pShowJwBrwsFromJwc(&none);
    WaitForSingleObject(thread, 20000);
    TavoString error = pTavoGetLastError();
    fprintf(result, "modal result: %d\nlast error: %s\nwindow gone: %s\n", modal, error ? (const char*)error : "",
            FindWindowW(L"TavoJwBrwsForm", NULL) ? "no" : "yes");
    pTavoFreeString(error);
    write_clipboard();
    fclose(result);
    return 0;
}
