// View, navigation and the two-button gestures of the preview control.
#include <gtest/gtest.h>

#include <cmath>

#include "viewer/mouse_gestures.h"
#include "viewer_support.h"

namespace tavo {
namespace {

using test::FlatDrawing;

// A two-button drag: both pressed at `from`, moved to `to`, both released.
// Returns the gesture seen before the release.
uint8_t DragBoth(TJwBrws& v, Canvas& c, PixelPoint from, PixelPoint to) {
    v.MouseDown(MouseButton::Left, from.x, from.y);
    v.MouseDown(MouseButton::Right, from.x, from.y);
    v.MouseMove(c, to.x, to.y);
    const uint8_t gesture = v.Gesture;
    v.MouseUp(c, MouseButton::Left, to.x, to.y);
    v.MouseUp(c, MouseButton::Right, to.x, to.y);
    return gesture;
}

TEST(ViewerView, PixelsRoundHalvesToEvenWithinTwoToThe28) {
    const double limit = 268435456.0;
    const struct {
        double value;
        int32_t pixel;
    } cases[] = {
        {2.5, 2}, {-1.5, -2}, {0.49999999999999994, 0}, {4e9, int32_t(limit)}, {-1e300, -int32_t(limit)},
        {INFINITY, int32_t(limit)}, {NAN, 0}, {limit - 0.5, int32_t(limit)},
    };
    for (const auto& c : cases) EXPECT_EQ(RoundPixel(c.value), c.pixel) << c.value;
    for (double v = -1000.25; v < 1000; v += 0.25) ASSERT_EQ(RoundPixel(v), int32_t(std::nearbyint(v))) << v;
}

TEST(ViewerView, FitPaperAnchorsTheA4SheetAtTheTopLeft) {
    TJwObject d = FlatDrawing();
    TJwBrws v;
    v.Drawing = &d;
    v.SetSize(594, 420);
    v.SelectMode = 3;
    v.FitPaper();
    const double y1 = 297 / std::sqrt(2.0);
    EXPECT_DOUBLE_EQ(v.Extent.X1, 297);
    EXPECT_DOUBLE_EQ(v.PixelScale, 420 / y1);
    EXPECT_DOUBLE_EQ(v.Origin.Y, y1);
    EXPECT_EQ(v.SelectMode, 0);
    EXPECT_EQ(v.PrevPixelScale, 1.0);  // the view before the fit

    // An empty control keeps a usable scale: 0 / 297 would make every
    // later division infinite; a reversed window would mirror the view.
    v.SetSize(0, 0);
    v.PixelScale = 2;
    v.FitPaper();
    EXPECT_EQ(v.PixelScale, 2);
    v.ZoomOut();
    EXPECT_TRUE(std::isfinite(v.Origin.X));
    v.SetSize(600, 400);
    v.ZoomWindow({100, 100}, {50, 50});
    v.SetSize(0, 400);
    v.ZoomWindow({0, 0}, {50, 50});
    EXPECT_EQ(v.PixelScale, 1.5);
}

TEST(ViewerView, ZoomsKeepTheScaleAtFiveHundredAndTheCentre) {
    TJwBrws v;
    v.SetSize(600, 400);
    v.PixelScale = 100;
    v.ZoomWindow({10, 20}, {20, 30});  // s = min(60, 40) * 100 = 4000
    EXPECT_EQ(v.PixelScale, 100);
    EXPECT_DOUBLE_EQ(v.Origin.X, 0.1);
    EXPECT_DOUBLE_EQ(v.Origin.Y, -0.2);

    v.PixelScale = 3;
    v.Origin = {10, 50};
    v.ZoomOut();
    EXPECT_DOUBLE_EQ(v.PixelScale, 2.25);
    EXPECT_NEAR(v.Origin.X + 300 / v.PixelScale, 10 + 100, 1e-9);
    EXPECT_NEAR(v.Origin.Y - 200 / v.PixelScale, 50 - 200.0 / 3, 1e-9);
}

TEST(ViewerView, ArrowKeysPanByAQuarterOfTheClientInWholePixels) {
    TJwBrws v;
    v.SetSize(601, 403);
    v.PixelScale = 2;
    EXPECT_TRUE(v.KeyDown(kKeyRight));
    EXPECT_DOUBLE_EQ(v.Origin.X, 75);  // 601 div 4 = 150 pixels
    EXPECT_TRUE(v.KeyDown(kKeyLeft));
    EXPECT_TRUE(v.KeyDown(kKeyLeft));
    EXPECT_DOUBLE_EQ(v.Origin.X, -75);
    EXPECT_TRUE(v.KeyDown(kKeyUp));
    EXPECT_DOUBLE_EQ(v.Origin.Y, 50);  // 403 div 4 = 100 pixels
    EXPECT_TRUE(v.KeyDown(kKeyDown));
    EXPECT_DOUBLE_EQ(v.Origin.Y, 0);
    EXPECT_FALSE(v.KeyDown(0x1B));
    EXPECT_EQ(v.PrevPixelScale, 1.0);  // pans record no previous view
    v.CenterAt({400, 101});
    EXPECT_DOUBLE_EQ(v.Origin.X, -75 + (400 - 300.5) / 2);
    EXPECT_DOUBLE_EQ(v.Origin.Y, -(101 - 201.5) / 2);
}

TEST(ViewerGestures, ButtonStatesFollowPressReleaseAndMove) {
    TJwBrws v;
    RecordingCanvas c;
    std::vector<int> left;
    const auto note = [&] { left.push_back(v.LeftState); };
    v.MouseDown(MouseButton::Left, 10, 10); note();
    EXPECT_TRUE(v.MouseCaptured());
    v.MouseUp(c, MouseButton::Left, 10, 10); note();  // a click
    EXPECT_FALSE(v.MouseCaptured());
    v.MouseDown(MouseButton::Left, 10, 10); note();  // pressed again at once
    v.MouseMove(c, 11, 10); note();
    v.MouseUp(c, MouseButton::Left, 11, 10); note();
    v.MouseDown(MouseButton::Left, 11, 10); note();  // a third press falls back
    v.MouseUp(c, MouseButton::Left, 11, 10);
    v.MouseDown(MouseButton::Left, 11, 10);
    v.MouseMove(c, 12, 10); note();
    v.MouseUp(c, MouseButton::Left, 12, 10); note();
    EXPECT_EQ(left, (std::vector<int>{1, 2, 5, 7, 8, 0, 3, 4}));
    v.MouseDoubleClick(MouseButton::Right, 5, 5);
    v.MouseUp(c, MouseButton::Right, 5, 5);
    EXPECT_EQ(v.RightState, 6);
    v.MouseMove(c, 6, 6);
    EXPECT_EQ(v.RightState, 0);
    // A lone button navigates nothing.
    EXPECT_EQ(v.Origin.X, 0);
    EXPECT_TRUE(c.Calls().empty());
}

TEST(ViewerGestures, FourPixelsIsTheCentreGestureFiveIsADirection) {
    const struct {
        PixelPoint to;
        uint8_t gesture;
    } cases[] = {{{104, 103}, kCenterGesture}, {{96, 96}, kCenterGesture},         {{105, 100}, kZoomWindowGesture},
                 {{100, 95}, kFitAllGesture},  {{95, 100}, kPreviousViewGesture}, {{95, 99}, kZoomOutGesture}};
    for (const auto& c : cases) EXPECT_EQ(ClassifyGesture({100, 100}, c.to), c.gesture) << c.to.x << "," << c.to.y;

    TJwBrws v;
    v.SetSize(600, 400);
    v.PixelScale = 2;
    RecordingCanvas c;
    v.MouseDown(MouseButton::Left, 100, 100);
    v.MouseMove(c, 101, 100);
    v.MouseDown(MouseButton::Right, 102, 101);  // the gesture starts here
    v.MouseMove(c, 106, 104);
    EXPECT_EQ(v.Gesture, kCenterGesture);
    EXPECT_TRUE(c.Calls().empty());  // the centre gesture shows nothing
    v.MouseUp(c, MouseButton::Left, 106, 104);
    EXPECT_EQ(v.Origin.X, 0);  // one button still down
    v.MouseUp(c, MouseButton::Right, 106, 104);
    EXPECT_EQ(v.Gesture, kNoGesture);
    EXPECT_EQ(v.LeftState + v.RightState, 0);
    EXPECT_DOUBLE_EQ(v.Origin.X, (102 - 300) / 2.0);
    EXPECT_DOUBLE_EQ(v.Origin.Y, -(101 - 200) / 2.0);
}

TEST(ViewerGestures, FeedbackIsDrawnAndRemovedAndTheLastMoveDecides) {
    TJwBrws v;
    v.SetSize(600, 400);
    v.PixelScale = 2;
    RecordingCanvas c;
    v.MouseDown(MouseButton::Right, 100, 100);
    v.MouseDown(MouseButton::Left, 100, 100);
    v.MouseMove(c, 160, 130);  // down-right: zoom window
    ASSERT_EQ(c.CallsOf(CanvasCall::Op::Rectangle).size(), 1u);
    EXPECT_EQ(c.CallsOf(CanvasCall::Op::Rectangle)[0].rect, (PixelRect{100, 100, 160, 130}));
    const CanvasCall pen = c.CallsOf(CanvasCall::Op::SetPen).back();
    EXPECT_EQ(pen.color, kRed);
    EXPECT_EQ(pen.penMix, PenMix::NotXor);

    c.Clear();
    v.MouseMove(c, 170, 90);  // up-right: fit all
    EXPECT_EQ(c.CallsOf(CanvasCall::Op::Rectangle).size(), 1u);  // the old rectangle removed
    ASSERT_EQ(c.CallsOf(CanvasCall::Op::XorPicture).size(), 1u);
    const CanvasCall icon = c.CallsOf(CanvasCall::Op::XorPicture)[0];
    EXPECT_EQ(icon.points[0], (PixelPoint{36, 36}));
    EXPECT_EQ(icon.picture, &v.GestureIconOf(kFitAllGesture));

    c.Clear();
    v.MouseMove(c, 160, 130);  // back to a zoom window over (100,100)-(160,130)
    v.MouseUp(c, MouseButton::Left, 300, 300);
    v.MouseUp(c, MouseButton::Right, 300, 300);
    EXPECT_EQ(c.CallsOf(CanvasCall::Op::Rectangle).size(), 2u);  // drawn, then removed at release
    EXPECT_DOUBLE_EQ(v.PixelScale, 20);  // the last move, not the release point
    EXPECT_DOUBLE_EQ(v.Origin.X, 50);

    // Down-right with no height: nothing happens on release.
    EXPECT_EQ(DragBoth(v, c, {100, 100}, {110, 100}), kZoomWindowGesture);
    EXPECT_DOUBLE_EQ(v.Origin.X, 50);
    // Up-left zooms out; down-left goes back, one step of memory only.
    EXPECT_EQ(DragBoth(v, c, {100, 100}, {80, 80}), kZoomOutGesture);
    EXPECT_DOUBLE_EQ(v.PixelScale, 15);
    EXPECT_EQ(DragBoth(v, c, {100, 100}, {80, 120}), kPreviousViewGesture);
    EXPECT_DOUBLE_EQ(v.PixelScale, 20);
    DragBoth(v, c, {100, 100}, {80, 120});
    EXPECT_DOUBLE_EQ(v.PixelScale, 20);
}

}  // namespace
}  // namespace tavo
