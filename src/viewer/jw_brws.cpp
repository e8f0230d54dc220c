#include "viewer/jw_brws.h"

#include <algorithm>
#include <cmath>

#include "base/geometry.h"
#include "export/jw_object.h"
#include "viewer/gesture_icons.h"
#include "viewer/mouse_gestures.h"
#include "viewer/selection.h"
#include "viewer/shape_passes.h"
#include "viewer/text_pass.h"

namespace tavo {

namespace {

PixelRect Normalized(PixelPoint a, PixelPoint b) {
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

// Keeps the scale only when it is a usable one: an empty control or extent
// would give zero, infinity or NaN and spoil every later division.
bool UsableScale(double s) { return std::isfinite(s) && s > 0; }

}  // namespace

TJwBrws::TJwBrws()
    : ColorTable(DefaultColorTable()),
      LineTypes(DefaultLineTypes()),
      icons_{LoadGestureIcon(GestureIcon::FitAll), LoadGestureIcon(GestureIcon::ZoomOut),
             LoadGestureIcon(GestureIcon::PreviousView)} {}

TJwBrws::~TJwBrws() { captured_ = false; }

void TJwBrws::SetSize(int32_t width, int32_t height) {
    width_ = std::max(0, width);
    height_ = std::max(0, height);
}

void TJwBrws::Invalidate() {
    needsPaint_ = true;
    if (OnInvalidate) OnInvalidate();
}

WorldPoint TJwBrws::WorldFromClient(PixelPoint p) const {
    return {p.x / PixelScale + Origin.X, Origin.Y - p.y / PixelScale};
}

void TJwBrws::RecordView() {
    PrevOrigin = Origin;
    PrevPixelScale = PixelScale;
}

void TJwBrws::FitPaper() {
    const double l = PaperLength(Drawing ? Drawing->PlotSize : -1);
    Extent = {0, 0, l, l / std::sqrt(2.0)};
    SelectMode = 0;
    FitAll();
}

void TJwBrws::FitAll() {
    RecordView();
    Origin = {Extent.X0, Extent.Y1};
    const double s = std::min(Width() / (Extent.X1 - Extent.X0), Height() / (Extent.Y1 - Extent.Y0));
    if (UsableScale(s)) PixelScale = s;
    Invalidate();
}

void TJwBrws::ZoomWindow(PixelPoint p1, PixelPoint p2) {
    if (p1.x == p2.x || p1.y == p2.y) return;
    PrevOrigin = Origin;
    Origin.X += p1.x / PixelScale;
    Origin.Y -= p1.y / PixelScale;
    PrevPixelScale = PixelScale;
    const double s = std::min(ClientWidth() / double(int64_t{p2.x} - p1.x),
                              ClientHeight() / double(int64_t{p2.y} - p1.y)) *
                     PixelScale;
    // A reversed rectangle or an empty client would give a mirrored or a
    // zero scale: the scale then stays, as it does at 500 and above.
    if (UsableScale(s) && s < 500) PixelScale = s;
    Invalidate();
}

void TJwBrws::ZoomOut() {
    RecordView();
    const WorldPoint c{Origin.X + ClientWidth() * 0.5 / PixelScale, Origin.Y - ClientHeight() * 0.5 / PixelScale};
    PixelScale *= 0.75;
    Origin = {c.X - ClientWidth() * 0.5 / PixelScale, c.Y + ClientHeight() * 0.5 / PixelScale};
    Invalidate();
}

void TJwBrws::PreviousView() {
    Origin = PrevOrigin;
    PixelScale = PrevPixelScale;
    Invalidate();
}

void TJwBrws::CenterAt(PixelPoint p) {
    Origin.X += (p.x - ClientWidth() * 0.5) / PixelScale;
    Origin.Y -= (p.y - ClientHeight() * 0.5) / PixelScale;
    Invalidate();
}

namespace {

// A pan step: a quarter of the client in whole pixels, rounded toward zero.
int quarterOf(int pixels) { return pixels / 4; }

}  // namespace

void TJwBrws::PanLeft() {
    Origin.X -= quarterOf(ClientWidth()) / PixelScale;
    Invalidate();
}

void TJwBrws::PanRight() {
    Origin.X += quarterOf(ClientWidth()) / PixelScale;
    Invalidate();
}

void TJwBrws::PanUp() {
    Origin.Y += quarterOf(ClientHeight()) / PixelScale;
    Invalidate();
}

void TJwBrws::PanDown() {
    Origin.Y -= quarterOf(ClientHeight()) / PixelScale;
    Invalidate();
}

bool TJwBrws::KeyDown(int key) {
    switch (key) {
        case kKeyLeft: PanLeft(); return true;
        case kKeyUp: PanUp(); return true;
        case kKeyRight: PanRight(); return true;
        case kKeyDown: PanDown(); return true;
        default: return false;
    }
}

TRenderContext TJwBrws::RenderContext() const {
    return {*Drawing, Cache, LineTypes, ClipRect, Origin, PixelScale, HighlightMode == 3};
}

void TJwBrws::Paint(Canvas& canvas) {
    needsPaint_ = false;
    if (!Drawing) return;
    ClipRect = {0, 0, Width(), Height()};
    canvas.FillRect(ClipRect, ColorTable[0]);
    Cache = FillPaintCache(*Drawing, PixelScale, ColorTable, LineTypes);
    HighlightMode = SelectMode == 3 ? 3 : 0;
    const TRenderContext ctx = RenderContext();
    if (HighlightMode == 3) {
        const auto screen = [&](WorldPoint c) {
            return PixelPoint{RoundPixel((c.X - Origin.X) * PixelScale), RoundPixel((Origin.Y - c.Y) * PixelScale)};
        };
        canvas.SetPen(kRed, PenStyle::Dot, PenMix::Copy);
        canvas.SetBrush(ColorTable[0], BrushStyle::Solid);
        canvas.Rectangle(Normalized(screen(Corner1), screen(Corner2)));
    }
    DrawSolids(canvas, ctx);
    DrawLines(canvas, ctx);
    DrawCircles(canvas, ctx);
    DrawTexts(canvas, ctx);
    DrawDots(canvas, ctx);
}

const Picture& TJwBrws::GestureIconOf(uint8_t gesture) const {
    switch (gesture) {
        case kZoomOutGesture: return icons_[1];
        case kPreviousViewGesture: return icons_[2];
        default: return icons_[0];
    }
}

void TJwBrws::DrawGestureFeedback(Canvas& canvas) const {
    switch (Gesture) {
        case kZoomWindowGesture:
            canvas.SetPen(kRed, PenStyle::Solid, PenMix::NotXor);
            canvas.SetBrush(0, BrushStyle::Clear);
            canvas.Rectangle(Normalized(DownPoint, MovePoint));
            break;
        case kZoomOutGesture:
        case kFitAllGesture:
        case kPreviousViewGesture:
            canvas.XorPicture(DownPoint.x - 64, DownPoint.y - 64, GestureIconOf(Gesture));
            break;
        default: break;
    }
}

void TJwBrws::DrawRubberBand(Canvas& canvas) const {
    const auto screen = [&](WorldPoint c) {
        return PixelPoint{RoundPixel((c.X - Origin.X) * PixelScale), RoundPixel((Origin.Y - c.Y) * PixelScale)};
    };
    canvas.SetPen(kRed, PenStyle::Dot, PenMix::NotXor);
    canvas.SetBrush(0, BrushStyle::Clear);
    canvas.Rectangle(Normalized(screen(Corner1), screen(Corner2)));
}

void TJwBrws::MouseDownStep(int32_t x, int32_t y) {
    const WorldPoint w = WorldFromClient({x, y});
    if (SelectMode == 1) {
        Corner1 = Corner2 = w;
    } else if (SelectMode == 2) {
        Corner2 = w;
    }
    if (Gesture == kNoGesture) {
        if (IsDown(LeftState) && IsDown(RightState)) Gesture = kCenterGesture;
        DownPoint = {x, y};
    }
}

void TJwBrws::MouseDown(MouseButton button, int32_t x, int32_t y) {
    captured_ = true;
    uint8_t& state = StateOf(button);
    state = StateAfterDown(state, Gesture != kNoGesture);
    MouseDownStep(x, y);
}

void TJwBrws::MouseDoubleClick(MouseButton button, int32_t x, int32_t y) {
    captured_ = true;
    StateOf(button) = kButtonPressedAgain;
    MouseDownStep(x, y);
}

void TJwBrws::MouseMove(Canvas& canvas, int32_t x, int32_t y) {
    const bool running = Gesture != kNoGesture;
    LeftState = StateAfterMove(LeftState, running);
    RightState = StateAfterMove(RightState, running);
    if (running) {
        DrawGestureFeedback(canvas);
        MovePoint = {x, y};
        Gesture = ClassifyGesture(DownPoint, MovePoint);
        DrawGestureFeedback(canvas);
    } else if (SelectMode == 2) {
        DrawRubberBand(canvas);
        Corner2 = WorldFromClient({x, y});
        DrawRubberBand(canvas);
    }
}

void TJwBrws::MouseUp(Canvas& canvas, MouseButton button, int32_t x, int32_t y) {
    if (IsUpState(OtherState(button))) captured_ = false;
    uint8_t& state = StateOf(button);
    state = StateAfterUp(state);
    MouseUpStep(canvas, {x, y});
}

void TJwBrws::MouseUpStep(Canvas& canvas, PixelPoint at) {
    if (Gesture == kNoGesture) {
        SelectionClick(canvas, at);
        return;
    }
    if (!IsReleased(LeftState) || !IsReleased(RightState)) return;
    DrawGestureFeedback(canvas);
    const uint8_t gesture = Gesture;
    LeftState = RightState = 0;
    Gesture = kNoGesture;
    switch (gesture) {
        case kZoomWindowGesture: ZoomWindow(DownPoint, MovePoint); break;
        case kZoomOutGesture: ZoomOut(); break;
        case kFitAllGesture: FitAll(); break;
        case kPreviousViewGesture: PreviousView(); break;
        case kCenterGesture: CenterAt(DownPoint); break;
        default: break;
    }
    if (SelectMode == 2) {
        Paint(canvas);
        Corner2 = Corner1;
    }
}

void TJwBrws::SelectionClick(Canvas& canvas, PixelPoint at) {
    switch (SelectMode) {
        case 1:
            SelectMode = 2;
            IncludeTexts = RightState == kButtonClicked;
            break;
        case 2:
            if (LeftState != kButtonClicked && RightState != kButtonClicked) break;
            SelectMode = 3;
            DrawRubberBand(canvas);
            SelectInRect(Corner1, Corner2);
            if (OnSelected) OnSelected(*this);
            Invalidate();
            break;
        case 3: {
            if (!Drawing) break;
            const TRenderContext ctx = RenderContext();
            if (LeftState == kButtonClicked) {
                if (TDotItem* dot = HitDot(at)) {
                    dot->Selected = !dot->Selected;
                    DrawDots(canvas, ctx, dot);
                } else if (TLineItem* line = HitLine(at)) {
                    line->Selected = !line->Selected;
                    DrawLines(canvas, ctx, line);
                } else if (TCircleItem* circle = HitCircle(at)) {
                    circle->Selected = !circle->Selected;
                    DrawCircles(canvas, ctx, circle);
                }
            } else if (RightState == kButtonClicked) {
                if (TTextItem* text = HitText(at)) {
                    text->Selected = !text->Selected;
                    DrawTexts(canvas, ctx, text);
                }
            }
            break;
        }
        default: break;
    }
}

void TJwBrws::BeginRangeSelect() {
    if (SelectMode != 0) ClearSelection();
    SelectMode = 1;
}

namespace {

template <class F>
void ForEveryEntity(TJwObject& d, F f) {
    for (auto& e : d.Lines) f(e);
    for (auto& e : d.Circles) f(e);
    for (auto& e : d.Dots) f(e);
    for (auto& e : d.Texts) f(e);
    for (auto& e : d.Solids) f(e);
}

}  // namespace

void TJwBrws::ClearSelection() {
    SelectMode = 0;
    if (Drawing) ForEveryEntity(*Drawing, [](auto& e) { e.Selected = false; });
    Invalidate();
}

void TJwBrws::SelectAll() {
    SelectMode = 3;
    if (Drawing) ForEveryEntity(*Drawing, [](auto& e) { e.Selected = true; });
    Corner1 = {Extent.X0, Extent.Y0};
    Corner2 = {Extent.X1, Extent.Y1};
    Invalidate();
}

void TJwBrws::SelectInRect(WorldPoint c1, WorldPoint c2) {
    Corner1 = {std::min(c1.X, c2.X), std::min(c1.Y, c2.Y)};
    Corner2 = {std::max(c1.X, c2.X), std::max(c1.Y, c2.Y)};
    if (Drawing) SelectEntitiesInRect(*Drawing, Corner1, Corner2, IncludeTexts, Cache, PixelScale);
}

TDotItem* TJwBrws::HitDot(PixelPoint p) {
    return Drawing ? NearestDot(*Drawing, WorldFromClient(p), PixelScale) : nullptr;
}

TLineItem* TJwBrws::HitLine(PixelPoint p) {
    return Drawing ? NearestLine(*Drawing, WorldFromClient(p), PixelScale) : nullptr;
}

TCircleItem* TJwBrws::HitCircle(PixelPoint p) {
    return Drawing ? NearestCircle(*Drawing, WorldFromClient(p), PixelScale) : nullptr;
}

TTextItem* TJwBrws::HitText(PixelPoint p) {
    return Drawing ? NearestText(*Drawing, WorldFromClient(p), PixelScale) : nullptr;
}

}  // namespace tavo
