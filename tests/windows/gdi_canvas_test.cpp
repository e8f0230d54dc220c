// GdiCanvas on a DIB section under Wine keeps the canvas contract.
#include <gtest/gtest.h>

#include "canvas_contract.h"
#include "win32/dib_surface.h"
#include "win32/gdi_canvas.h"

namespace tavo::win32 {
namespace {

std::vector<uint32_t> GdiPasses(int32_t width, int32_t height, const std::vector<test::Paint>& passes) {
    DibSurface dib;
    dib.Resize(width, height);
    for (const test::Paint& pass : passes) {
        GdiCanvas canvas(dib.Dc());
        pass(canvas);
    }
    std::vector<uint32_t> pixels(dib.Pixels(), dib.Pixels() + std::size_t(width) * std::size_t(height));
    for (uint32_t& p : pixels) p &= 0xFFFFFFu;
    return pixels;
}

TEST(GdiCanvas, KeepsTheCanvasContract) { test::CheckCanvasContract(GdiPasses); }

}  // namespace
}  // namespace tavo::win32
