#include "win32/dib_surface.h"

#include "win32/windows_api.h"

#include <algorithm>

#include "base/error.h"

namespace tavo::win32 {

BITMAPINFO DibInfo(int32_t width, int32_t height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // rows from the top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

std::vector<uint32_t> DibPixelsOf(const Picture& picture) {
    std::vector<uint32_t> pixels;
    pixels.reserve(picture.Pixels.size());
    for (const WinColor c : picture.Pixels) pixels.push_back(((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF));
    return pixels;
}

DibSurface::~DibSurface() { Release(); }

void DibSurface::Release() {
    if (dc_) {
        SelectObject(dc_, static_cast<HGDIOBJ>(oldBitmap_));
        DeleteDC(dc_);
    }
    if (bitmap_) DeleteObject(bitmap_);
    dc_ = nullptr;
    bitmap_ = nullptr;
    oldBitmap_ = nullptr;
    bits_ = nullptr;
    width_ = height_ = 0;
}

void DibSurface::Resize(int32_t width, int32_t height) {
    Release();
    width = std::max(width, 1);
    height = std::max(height, 1);
    const BITMAPINFO info = DibInfo(width, height);
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    dc_ = CreateCompatibleDC(nullptr);
    if (!bitmap_ || !dc_ || !bits) {
        Release();
        throw Error("the preview cannot make a picture of " + std::to_string(width) + " x " + std::to_string(height) +
                    " pixels: out of memory");
    }
    oldBitmap_ = SelectObject(dc_, bitmap_);
    bits_ = static_cast<uint32_t*>(bits);
    width_ = width;
    height_ = height;
    std::fill_n(bits_, std::size_t(width) * std::size_t(height), 0xFFFFFFu);
}

const uint32_t* DibSurface::Pixels() const {
    GdiFlush();
    return bits_;
}

}  // namespace tavo::win32
