/* What the test hosts that work a window from a second thread share. */
#ifndef TAVO_TESTS_HOST_WINDOW_H
#define TAVO_TESTS_HOST_WINDOW_H

#include <windows.h>
#include <stdio.h>
#include <string.h>

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

/* A 24-bit BMP of what the screen shows in `area` (screen coordinates). */
static inline void write_screen_bmp(RECT area, const char* file) {
    const int w = area.right - area.left, h = area.bottom - area.top;
    BITMAPINFO info;
    memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = NULL;
    HDC screen = GetDC(NULL), memory = CreateCompatibleDC(screen);
    HBITMAP picture = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    HGDIOBJ old = SelectObject(memory, picture);
    BitBlt(memory, 0, 0, w, h, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    const DWORD stride = ((DWORD)w * 3 + 3) & ~3u, size = stride * (DWORD)h;
    BITMAPFILEHEADER head;
    memset(&head, 0, sizeof head);
    head.bfType = 0x4D42;
    head.bfOffBits = sizeof head + sizeof(BITMAPINFOHEADER);
    head.bfSize = head.bfOffBits + size;
    FILE* f = fopen(file, "wb");
    if (f) {
        fwrite(&head, sizeof head, 1, f);
        fwrite(&info.bmiHeader, sizeof(BITMAPINFOHEADER), 1, f);
        fwrite(bits, 1, size, f);
        fclose(f);
    }
    SelectObject(memory, old);
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(NULL, screen);
}

#endif
