/* What the test hosts that work a window from a second thread share. */
#ifndef TAVO_TESTS_HOST_WINDOW_H
#define TAVO_TESTS_HOST_WINDOW_H

#include <windows.h>

/* The window's thread has taken every message posted to it so far, and
 * those they posted in turn: a mark posted behind them is seen twice. Call
 * watch_posted() on that thread first. */
#define POSTED_MARK 0x7A5E
static HANDLE posted_taken;
static LRESULT CALLBACK on_get_message(int code, WPARAM removed, LPARAM message) {
    const MSG* m = (const MSG*)message;
    if (code >= 0 && removed == PM_REMOVE && m->message == WM_NULL && m->wParam == POSTED_MARK) SetEvent(posted_taken);
    return CallNextHookEx(NULL, code, removed, message);
}

static inline void watch_posted(void) {
    posted_taken = CreateEventW(NULL, FALSE, FALSE, NULL);
    SetWindowsHookExW(WH_GETMESSAGE, on_get_message, NULL, GetCurrentThreadId());
}

static inline void wait_for_posted(HWND window) {
    for (int round = 0; round < 2; ++round) {
        if (!IsWindowVisible(window) || !PostMessageW(window, WM_NULL, POSTED_MARK, 0)) return;
        for (int i = 0; i < 100 && IsWindowVisible(window); ++i)
            if (WaitForSingleObject(posted_taken, 50) == WAIT_OBJECT_0) break;
    }
    Sleep(80); /* what X sends back: focus, activation */
}

#endif
