#pragma once

#include <cstdint>
#include <vector>

#include "viewer/canvas.h"
#include "win32/windows_api.h"

struct HDC__;
struct HBITMAP__;

namespace tavo::win32 {

// The header of a 32-bit top-down DIB of width x height.
BITMAPINFO DibInfo(int32_t width, int32_t height);
// A picture's colour values (0x00BBGGRR) as such a DIB's pixels (0x00RRGGBB).
std::vector<uint32_t> DibPixelsOf(const Picture& picture);

// An off-screen picture for GDI: a 32-bit top-down DIB section selected
// into a memory DC of its own. The viewer paints on it; the window blits it.
class DibSurface {
public:
    DibSurface() = default;
    ~DibSurface();
    DibSurface(const DibSurface&) = delete;
    DibSurface& operator=(const DibSurface&) = delete;

    // A new picture of width x height (at least 1 x 1), filled with white;
    // throws tavo::Error when GDI cannot make it.
    void Resize(int32_t width, int32_t height);

    HDC__* Dc() const { return dc_; }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    // Pixels as 0x00RRGGBB, rows from the top; GDI's pending drawing is
    // flushed first.
    const uint32_t* Pixels() const;

private:
    void Release();

    HDC__* dc_ = nullptr;
    HBITMAP__* bitmap_ = nullptr;
    void* oldBitmap_ = nullptr;
    uint32_t* bits_ = nullptr;
    int32_t width_ = 0, height_ = 0;
};

}  // namespace tavo::win32
