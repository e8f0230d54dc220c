/* A 24-bit BMP of what the screen shows in `area` (screen coordinates),
 * for the test hosts' pictures. */
#ifndef TAVO_TESTS_SCREEN_PICTURE_H
#define TAVO_TESTS_SCREEN_PICTURE_H

#include <windows.h>
#include <stdio.h>
#include <string.h>

static void write_screen_bmp(RECT area, const char* file) {
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
