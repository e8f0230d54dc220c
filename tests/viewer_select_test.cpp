// Range selection, select all and the click tests.
#include <gtest/gtest.h>

#include <cmath>

#include "base/geometry.h"
#include "viewer/selection.h"
#include "viewer_support.h"

namespace tavo {
namespace {

using test::Click;
using test::FlatDrawing;
using test::Painted;
using test::ShowAt;
using Op = CanvasCall::Op;

// Range from client (5, 5) to (30, 30) at one pixel per millimetre: world
// x 5 to 30, y -30 to -5.
void SelectRange(TJwBrws& v, Canvas& c, MouseButton first) {
    v.BeginRangeSelect();
    Click(v, c, first, 5, 5);
    v.MouseMove(c, 30, 30);
    Click(v, c, MouseButton::Left, 30, 30);
}

TEST(ViewerSelect, ARangeTakesWhatLiesInsideEdgesIncluded) {
    TJwObject d = FlatDrawing();
    d.AddLine(5, -10, 10, -10, 0, 0, 1, 1);        // one end on the edge
    d.AddLine(4.999, -10, 10, -10, 0, 0, 1, 1);    // a hair outside
    d.AddLine(10, -10, 30, -30, 0, 0, 1, 1);       // corner to corner
    d.AddDot(20, -20, 3, 2, 1);                    // hidden, still taken
    d.LayerGroups[2].Visible = false;
    d.AddSolid(10, -10, 20, -20, 0, 0, 0xFF);
    d.AddSolid(10, -10, 40, -20, 0, 0, 0xFF);
    d.Solids.push_back(d.Solids[1]);
    d.Solids[2].Count = 3;
    d.Solids[2].X[3] = 40;  // the fourth corner of a triangle does not count
    d.Solids[2].X[1] = d.Solids[2].X[2] = 20;
    TJwBrws v;
    ShowAt(v, d, 1);
    Painted(v);
    int selectedEvents = 0;
    v.OnSelected = [&](TJwBrws& sender) {
        EXPECT_EQ(&sender, &v);
        ++selectedEvents;
    };
    RecordingCanvas c;
    SelectRange(v, c, MouseButton::Left);
    EXPECT_EQ(v.SelectMode, 3);
    EXPECT_EQ(selectedEvents, 1);
    const std::vector<bool> taken = {d.Lines[0].Selected,  d.Lines[1].Selected,  d.Lines[2].Selected, d.Dots[0].Selected,
                                     d.Solids[0].Selected, d.Solids[1].Selected, d.Solids[2].Selected};
    EXPECT_EQ(taken, (std::vector<bool>{true, false, true, true, true, false, true}));
    EXPECT_DOUBLE_EQ(v.Corner1.Y, -30);
    EXPECT_DOUBLE_EQ(v.Corner2.Y, -5);
    // The rubber band: drawn at each move, removed at the second corner,
    // dotted in the not-xor mix.
    const auto bands = c.CallsOf(Op::Rectangle);
    ASSERT_EQ(bands.size(), 3u);
    EXPECT_EQ(bands[2].rect, (PixelRect{5, 5, 30, 30}));
    EXPECT_EQ(c.CallsOf(Op::SetPen)[0].penMix, PenMix::NotXor);
}

TEST(ViewerSelect, OnlyARightFirstCornerTakesTexts) {
    TJwObject d = FlatDrawing();
    d.AddText(10, -20, 20, -20, 0, 0, 1, "AB", false);   // box to (12, -18): inside
    d.AddText(10, -20, 20, -20, 0, 0, 1, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", false);  // sticks out
    d.AddText(100, -100, 120, -100, 0, 0, 1, "AB", false);
    for (TTextItem& t : d.Texts) t.Selected = true;
    TJwBrws v;
    ShowAt(v, d, 1);
    Painted(v);
    RecordingCanvas c;
    SelectRange(v, c, MouseButton::Left);
    EXPECT_FALSE(v.IncludeTexts);
    for (const TTextItem& t : d.Texts) EXPECT_TRUE(t.Selected);  // untouched, even outside

    SelectRange(v, c, MouseButton::Right);  // clears everything first
    EXPECT_TRUE(v.IncludeTexts);
    EXPECT_TRUE(d.Texts[0].Selected);
    EXPECT_FALSE(d.Texts[1].Selected);
    EXPECT_FALSE(d.Texts[2].Selected);
}

TEST(ViewerSelect, ADraggedSecondCornerDoesNotFinishTheRange) {
    TJwObject d = FlatDrawing();
    d.AddLine(10, -10, 35, -35, 0, 0, 1, 1);
    TJwBrws v;
    ShowAt(v, d, 1);
    RecordingCanvas c;
    v.BeginRangeSelect();
    Click(v, c, MouseButton::Left, 5, 5);
    v.MouseDown(MouseButton::Left, 30, 30);
    v.MouseMove(c, 31, 31);
    v.MouseUp(c, MouseButton::Left, 31, 31);
    EXPECT_EQ(v.SelectMode, 2);
    v.MouseMove(c, 40, 40);
    Click(v, c, MouseButton::Left, 40, 40);
    EXPECT_DOUBLE_EQ(v.Corner2.X, 40);
    EXPECT_TRUE(d.Lines[0].Selected);
}

TEST(ViewerSelect, AGestureDuringTheRangeRepaintsAndResetsTheBand) {
    TJwObject d = FlatDrawing();
    TJwBrws v;
    ShowAt(v, d, 1);
    RecordingCanvas c;
    v.BeginRangeSelect();
    Click(v, c, MouseButton::Left, 5, 5);
    v.MouseMove(c, 50, 50);
    v.MouseDown(MouseButton::Left, 60, 60);
    v.MouseDown(MouseButton::Right, 60, 60);
    c.Clear();
    v.MouseUp(c, MouseButton::Left, 60, 60);
    v.MouseUp(c, MouseButton::Right, 60, 60);  // a centre gesture
    EXPECT_FALSE(c.CallsOf(Op::FillRect).empty());  // painted at once
    EXPECT_EQ(v.SelectMode, 2);
    EXPECT_EQ(v.Corner2.X, v.Corner1.X);
}

TEST(ViewerSelect, ClosedCirclesNeedTheirUnturnedBoxArcsTheirEnds) {
    TJwObject d = FlatDrawing();
    d.AddCircle(20, -20, 5, 0.4, 0, 0, 90, 0, 0, 1, 1);  // box x 15..25, y -22..-18
    d.AddCircle(20, -20, 5, 1, 0, 90, 0, 0, 0, 1, 1);    // ends (25, -20) and (20, -15)
    d.AddCircle(20, -20, 5, 0.5, 0, 90, 90, 0, 0, 1, 1); // ends turned: (20, -15) and (17.5, -20)
    SelectEntitiesInRect(d, {14, -23}, {26, -17}, false, {}, 1);
    EXPECT_TRUE(d.Circles[0].Selected);
    SelectEntitiesInRect(d, {17, -26}, {23, -14}, false, {}, 1);  // fits only when turned
    EXPECT_FALSE(d.Circles[0].Selected);
    SelectEntitiesInRect(d, {19, -21}, {26, -15}, false, {}, 1);
    EXPECT_TRUE(d.Circles[1].Selected);
    EXPECT_FALSE(d.Circles[2].Selected);
    SelectEntitiesInRect(d, {17, -21}, {21, -14}, false, {}, 1);
    EXPECT_FALSE(d.Circles[1].Selected);
    EXPECT_TRUE(d.Circles[2].Selected);
}

TEST(ViewerSelect, ClicksToggleSingleEntitiesPointsFirst) {
    TJwObject d = FlatDrawing();
    d.AddDot(50, -49, 0, 0, 1);
    d.AddLine(40, -51, 60, -51, 0, 0, 1, 1);
    d.AddCircle(100, -100, 10, 1, 0, 0, 0, 0, 0, 1, 1);
    d.AddText(100, -150, 130, -150, 0, 0, 4, "AB", false);
    TJwBrws v;
    ShowAt(v, d, 1);
    v.SelectMode = 3;
    Painted(v);
    RecordingCanvas c;
    Click(v, c, MouseButton::Left, 50, 50);  // 1 pixel from both
    EXPECT_FALSE(d.Lines[0].Selected);
    EXPECT_EQ(c.CallsOf(Op::SetPixel).at(0).color, kRed);  // drawn again at once
    v.MouseMove(c, 0, 0);  // the click state ends with a move
    Click(v, c, MouseButton::Left, 50, 50);
    EXPECT_FALSE(d.Dots[0].Selected);
    v.MouseMove(c, 0, 0);
    Click(v, c, MouseButton::Left, 42, 53);  // 8.9 pixels from the point
    EXPECT_TRUE(d.Lines[0].Selected);
    v.MouseMove(c, 0, 0);
    Click(v, c, MouseButton::Left, 100, 113);
    EXPECT_TRUE(d.Circles[0].Selected);
    v.MouseMove(c, 0, 0);
    Click(v, c, MouseButton::Right, 50, 50);  // right clicks take only texts
    EXPECT_FALSE(d.Dots[0].Selected);
    v.MouseMove(c, 0, 0);
    c.Clear();
    Click(v, c, MouseButton::Right, 110, 152);
    EXPECT_TRUE(d.Texts[0].Selected);
    ASSERT_FALSE(c.Segments().empty());  // the text pass ran again: a red box
    EXPECT_EQ(c.Segments()[0].color, kRed);
}

TEST(ViewerSelect, ReachIsEightPixelsAndSlantedDistancesRound) {
    TJwObject d = FlatDrawing();
    d.AddLine(0, -8.9, 100, -8.9, 0, 0, 1, 1);
    TJwBrws v;
    ShowAt(v, d, 2);  // reach 4 mm
    EXPECT_EQ(v.HitLine({20, 10}), &d.Lines[0]);  // world (10, -5): 3.9 mm away
    d.Lines[0].Y1 = d.Lines[0].Y2 = -9;
    EXPECT_EQ(v.HitLine({20, 10}), nullptr);  // 4.0 mm

    d = FlatDrawing();
    d.AddLine(0, 0, 1000, 1, 0, 0, 1, 1);  // slanted: 0.46 mm away rounds to 0
    d.AddLine(0, 0, 100, 0, 0, 0, 1, 1);   // horizontal: 0.45 mm
    v.Drawing = &d;
    v.PixelScale = 20;  // reach 0.4 mm
    EXPECT_EQ(v.HitLine({200, 9}), &d.Lines[0]);
    d.Lines[0].Group = 1;
    d.LayerGroups[1].Visible = false;
    EXPECT_TRUE(!v.HitLine({200, 9}) && !v.HitText({200, 9}));
    d.AddText(0, 0, 100, 0, 0, 0, 1, "A", false);
    d.AddText(0, 0, 1000, 1, 0, 0, 1, "A", false);
    EXPECT_EQ(v.HitText({200, 9}), nullptr);  // texts do not round: 0.46 mm is out of reach
    EXPECT_EQ(v.HitText({200, 7}), &d.Texts[0]);  // 0.35 mm beats 0.36 mm

    // A slanted line is not hit past its end.
    d = FlatDrawing();
    d.AddLine(0, 0, 10, -10, 0, 0, 1, 1);
    v.PixelScale = 1;
    EXPECT_TRUE(v.HitLine({5, 5}) && !v.HitLine({12, 12}));
}

TEST(ViewerSelect, ArcsAreHitOnlyWithinTheirSweep) {
    const struct {
        double start, end, angle;
        bool in;
    } angles[] = {{0, kPi / 2, kPi / 4, true},     {0, kPi / 2, kPi / 2, false} /* the bounds are outside */,
                  {0, kPi / 2, 0, false},          {3 * kPi / 2, kPi / 4, 0.1, true},
                  {3 * kPi / 2, kPi / 4, 5, true}, {3 * kPi / 2, kPi / 4, kPi, false},
                  {2 * kPi + 0.5, 2 * kPi + 1.5, 1, true} /* past a full turn */};
    for (const auto& a : angles) EXPECT_EQ(AngleInArc(a.start, a.end, a.angle), a.in) << a.start << " " << a.angle;

    TJwObject d = FlatDrawing();
    d.AddCircle(0, 0, 10, 1, 0, 90, 0, 0, 0, 1, 1);
    TJwBrws v;
    ShowAt(v, d, 1);
    const auto hits = [&](std::vector<PixelPoint> points) {
        std::vector<bool> out;
        for (PixelPoint p : points) out.push_back(v.HitCircle(p) == &d.Circles[0]);
        return out;
    };
    EXPECT_EQ(hits({{7, -7}, {-10, 0}, {7, 7}}), (std::vector<bool>{true, false, false}));
    d.Circles[0].Tilt = 180;  // drawn in the third quadrant: hit there
    EXPECT_EQ(hits({{7, -7}, {-7, 7}}), (std::vector<bool>{false, true}));
    d.Circles[0].Flatness = 0.5;  // ellipse: the distance to the turned ellipse
    d.Circles[0].StartAngle = d.Circles[0].EndAngle = d.Circles[0].Tilt = 0;
    // (0, -14) is 9 mm from the ellipse
    EXPECT_EQ(hits({{10, 0}, {0, -5}, {0, -14}, {17, 0}}), (std::vector<bool>{true, true, false, true}));
}

TEST(ViewerSelect, SelectAllTakesHiddenEntitiesAndClearSelectionDropsAll) {
    TJwObject d = FlatDrawing();
    d.AddLine(10, -10, 20, -10, 0, 5, 1, 1);
    d.LayerGroups[5].Visible = false;
    d.AddSolid(1, -1, 2, -2, 0, 0, 0);
    d.AddText(1, -1, 2, -1, 0, 0, 1, "A", false);
    TJwBrws v;
    ShowAt(v, d, 1);
    v.FitPaper();
    v.SelectAll();
    EXPECT_EQ(v.SelectMode, 3);
    EXPECT_TRUE(d.Lines[0].Selected && d.Solids[0].Selected && d.Texts[0].Selected);
    EXPECT_DOUBLE_EQ(v.Corner2.X, 297);

    v.FitPaper();  // leaves the flags
    EXPECT_EQ(v.SelectMode, 0);
    EXPECT_TRUE(d.Lines[0].Selected);
    v.BeginRangeSelect();  // from mode 0: nothing cleared
    EXPECT_TRUE(d.Lines[0].Selected);
    v.BeginRangeSelect();  // from mode 1: everything cleared
    EXPECT_FALSE(d.Lines[0].Selected || d.Solids[0].Selected || d.Texts[0].Selected);
    EXPECT_EQ(v.SelectMode, 1);
}

TEST(ViewerSelect, NoDrawingNoHitsAndNoSelection) {
    TJwBrws v;
    RecordingCanvas c;
    EXPECT_TRUE(!v.HitDot({0, 0}) && !v.HitText({0, 0}));
    v.SelectAll();
    v.SelectInRect({0, 0}, {1, 1});
    v.SelectMode = 3;
    Click(v, c, MouseButton::Left, 0, 0);
    v.ClearSelection();
    v.FitPaper();
    EXPECT_EQ(v.PixelScale, 200 / 297.0);
}

}  // namespace
}  // namespace tavo
