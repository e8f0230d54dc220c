#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "viewer/canvas.h"
#include "viewer/paint_cache.h"
#include "viewer/view_math.h"
#include "viewer/viewer_tables.h"

namespace tavo {

class TJwObject;
struct TLineItem;
struct TCircleItem;
struct TDotItem;
struct TTextItem;

enum class MouseButton : uint8_t { Left, Right };

// Key codes the control answers: the platform's virtual-key codes.
constexpr int kKeyLeft = 0x25;
constexpr int kKeyUp = 0x26;
constexpr int kKeyRight = 0x27;
constexpr int kKeyDown = 0x28;
constexpr int kKeyTab = 0x09;

// World rectangle: lower-left X0, Y0; upper-right X1, Y1 (paper mm).
struct TExtent {
    double X0 = 0, Y0 = 0, X1 = 100, Y1 = 100;
};

// The preview control: shows an export drawing, navigates by two-button
// gestures and arrow keys, and selects by range or by click. It owns no
// window: the host widget hands in mouse, key and paint events as plain
// calls (those that draw feedback with the canvas of the control's
// surface), and repaints when `OnInvalidate` fires.
class TJwBrws {
public:
    TJwBrws();
    ~TJwBrws();
    TJwBrws(const TJwBrws&) = delete;
    TJwBrws& operator=(const TJwBrws&) = delete;

    // The drawing shown, not owned; while null nothing is painted.
    TJwObject* Drawing = nullptr;
    TColorTable ColorTable;
    TLineTypes LineTypes;
    WorldPoint Origin;  // world point at the client area's top-left pixel
    WorldPoint PrevOrigin;
    double PixelScale = 1.0;  // pixels per paper millimetre
    double PrevPixelScale = 1.0;
    uint8_t LeftState = 0, RightState = 0;
    PixelPoint DownPoint;  // where the current gesture began
    PixelPoint MovePoint;  // last point seen while a gesture runs
    uint8_t Gesture = 0;
    uint8_t SelectMode = 0;  // 0 none, 1 first corner, 2 second corner, 3 selection made
    TExtent Extent;
    WorldPoint Corner1, Corner2;
    PixelRect ClipRect;
    TPaintCache Cache;  // of the last paint
    uint8_t HighlightMode = 0;
    bool IncludeTexts = false;
    std::function<void(TJwBrws& sender)> OnSelected;
    // Called whenever the control wants a full repaint.
    std::function<void()> OnInvalidate;

    // Size in pixels; the control has no border, so the client area is the
    // same. Resizing keeps the view.
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    int32_t ClientWidth() const { return width_; }
    int32_t ClientHeight() const { return height_; }
    void SetSize(int32_t width, int32_t height);

    bool MouseCaptured() const { return captured_; }
    // Invalidated since the last paint.
    bool NeedsPaint() const { return needsPaint_; }
    void Invalidate();

    // View.
    WorldPoint WorldFromClient(PixelPoint p) const;
    void FitPaper();
    void FitAll();
    void ZoomWindow(PixelPoint p1, PixelPoint p2);
    void ZoomOut();
    void PreviousView();
    void CenterAt(PixelPoint p);
    void PanLeft();
    void PanRight();
    void PanUp();
    void PanDown();

    // Events.
    void Paint(Canvas& canvas);
    void MouseDown(MouseButton button, int32_t x, int32_t y);
    void MouseDoubleClick(MouseButton button, int32_t x, int32_t y);
    void MouseMove(Canvas& canvas, int32_t x, int32_t y);
    void MouseUp(Canvas& canvas, MouseButton button, int32_t x, int32_t y);
    // Arrow keys pan; returns whether the key was used.
    bool KeyDown(int key);

    // Selection.
    void BeginRangeSelect();
    void ClearSelection();
    void SelectAll();
    void SelectInRect(WorldPoint c1, WorldPoint c2);
    TDotItem* HitDot(PixelPoint p);
    TLineItem* HitLine(PixelPoint p);
    TCircleItem* HitCircle(PixelPoint p);
    TTextItem* HitText(PixelPoint p);

    const Picture& GestureIconOf(uint8_t gesture) const;

private:
    TRenderContext RenderContext() const;
    void DrawGestureFeedback(Canvas& canvas) const;
    void DrawRubberBand(Canvas& canvas) const;
    void MouseDownStep(int32_t x, int32_t y);
    void MouseUpStep(Canvas& canvas, PixelPoint at);
    void SelectionClick(Canvas& canvas, PixelPoint at);
    uint8_t& StateOf(MouseButton b) { return b == MouseButton::Left ? LeftState : RightState; }
    const uint8_t& OtherState(MouseButton b) const { return b == MouseButton::Left ? RightState : LeftState; }
    void RecordView();

    std::array<Picture, 3> icons_;  // fit all, zoom out, previous view
    int32_t width_ = 200, height_ = 200;
    bool captured_ = false;
    bool needsPaint_ = true;
};

}  // namespace tavo
