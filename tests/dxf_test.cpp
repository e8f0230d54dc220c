#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "export/dxf_colors.h"
#include "export/dxf_names.h"
#include "export/dxf_writer.h"
#include "export/jw_line_types.h"
#include "export/jw_object.h"

namespace tavo {
namespace {

constexpr DxfProfile kProfiles[] = {DxfProfile::Jw, DxfProfile::R2000, DxfProfile::R2018};

std::vector<DxfEntity> entities(const TJwObject& d, DxfProfile profile) {
    RecordingDxfSink sink;
    EmitDxfEntities(d, profile, sink);
    return sink.Entities;
}

double distance(WorldPoint a, WorldPoint b) { return std::hypot(a.X - b.X, a.Y - b.Y); }

// The preview's point of a circle record at parameter t (degrees).
WorldPoint shapeAt(const TCircleItem& c, double degrees) {
    const double t = degrees * kPi / 180;
    const WorldPoint v = RotateVector({c.R * std::cos(t), c.R * c.Flatness * std::sin(t)}, c.Tilt * kPi / 180);
    return {c.X + v.X, c.Y + v.Y};
}

// A DXF ellipse's point at parameter p: the minor axis is the major one
// turned a quarter counter-clockwise and shortened by the ratio.
WorldPoint ellipseAt(const DxfEntity& e, double p) {
    const WorldPoint n = RotateVector({e.MajorAxis.X * e.Ratio, e.MajorAxis.Y * e.Ratio}, kPi / 2);
    return {e.Points[0].X + e.MajorAxis.X * std::cos(p) + n.X * std::sin(p),
            e.Points[0].Y + e.MajorAxis.Y * std::cos(p) + n.Y * std::sin(p)};
}

TEST(DxfEntities, CirclesArcsAndEllipsesKeepThePreviewsShape) {
    const struct {
        double flatness, start, end, tilt;
        DxfKind full;
        double arcStart, arcEnd;  // degrees, for arcs
    } cases[] = {
        {1, 10, 370, 0, DxfKind::Circle, 0, 0},    {1, 30, 120, 15, DxfKind::Arc, 45, 135},
        {1, -90, 0, 0, DxfKind::Arc, 270, 0},      {0.5, 20, 200, 30, DxfKind::Ellipse, 0, 0},
        {2, 20, 200, 30, DxfKind::Ellipse, 0, 0},  {-0.5, 20, 200, 30, DxfKind::Ellipse, 0, 0},
        {-2, 250, 40, 10, DxfKind::Ellipse, 0, 0}, {0.3, 0, 0, 45, DxfKind::Ellipse, 0, 0},
        {0, 0, 90, 0, DxfKind::Polyline, 0, 0},
    };
    for (const auto& k : cases) {
        TJwObject d;
        d.AddCircle(1000, 2000, 500, k.flatness, k.start, k.end, k.tilt, 3, 2, 4, 5);
        const TCircleItem& c = d.Circles[0];
        SCOPED_TRACE("flatness " + std::to_string(k.flatness) + " from " + std::to_string(k.start));
        const double sweep = k.start == k.end ? 360 : std::fmod(k.end - k.start + 720, 360);
        const std::vector<DxfEntity> full = entities(d, DxfProfile::R2018);
        ASSERT_EQ(full.size(), 1u);
        const DxfEntity& e = full[0];
        EXPECT_EQ((std::vector<int>{int(e.Kind), e.Layer, e.LineType, e.Aci}), (std::vector<int>{int(k.full), 0x23, 4, AciOfPen(5)}));
        if (e.Kind == DxfKind::Arc) {
            EXPECT_EQ((std::vector<double>{e.Start, e.End}), (std::vector<double>{k.arcStart, k.arcEnd}));
        }
        if (e.Kind == DxfKind::Ellipse) {
            EXPECT_LE(e.Ratio, 1);
            const double ps = e.Start, pe = e.End + (e.End <= e.Start ? 2 * kPi : 0);
            EXPECT_NEAR((pe - ps) * 180 / kPi, sweep, 1e-9);
            // Ends and middle where the preview has them: counter-clockwise,
            // whichever way the record runs.
            const bool back = c.Flatness < 0;
            EXPECT_LT(distance(ellipseAt(e, ps), shapeAt(c, back ? k.start + sweep : k.start)), 1e-9);
            EXPECT_LT(distance(ellipseAt(e, pe), shapeAt(c, back ? k.start : k.start + sweep)), 1e-9);
            EXPECT_LT(distance(ellipseAt(e, (ps + pe) / 2), shapeAt(c, k.start + sweep / 2)), 1e-9);
        }

        // JW_CAD takes no ellipses: short lines from end to end, none
        // straying more than 0.01 mm on the sheet from the curve.
        const std::vector<DxfEntity> jw = entities(d, DxfProfile::Jw);
        if (k.flatness == 1) {
            ASSERT_EQ(jw.size(), 1u);
            EXPECT_EQ(jw[0].Kind, k.full);
            continue;
        }
        ASSERT_GT(jw.size(), 8u);
        EXPECT_LT(distance(jw.front().Points[0], shapeAt(c, k.start)), 1e-9);
        double worst = 0;
        for (std::size_t i = 0; i < jw.size(); ++i) {
            const WorldPoint end = i + 1 < jw.size() ? jw[i + 1].Points[0] : shapeAt(c, k.start + sweep);
            const WorldPoint m{(jw[i].Points[0].X + jw[i].Points[1].X) / 2, (jw[i].Points[0].Y + jw[i].Points[1].Y) / 2};
            EXPECT_TRUE(jw[i].Kind == DxfKind::Line && distance(jw[i].Points[1], end) < 1e-9) << i;
            worst = std::max(worst, distance(m, shapeAt(c, k.start + sweep * (i + 0.5) / jw.size())));
        }
        EXPECT_LE(worst, kDxfEllipseTolerance * 100);  // group scale 100
        EXPECT_GT(worst, k.flatness == 0 ? -1 : kDxfEllipseTolerance * 100 / 4) << "more lines than needed";
    }

    TJwObject none;
    none.AddCircle(0, 0, 0, 1, 0, 0, 0, 0, 0, 1, 1);  // the preview draws nothing of it
    none.AddCircle(0, 0, -5, 1, 0, 0, 0, 0, 0, 1, 1);
    const std::vector<DxfEntity> left = entities(none, DxfProfile::R2000);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].Radius, 5);
}

TEST(DxfEntities, FillsComeFirstAsSolidsOrHatchesInTheirColour) {
    TJwObject d;
    d.AddLine(0, 0, 1, 1, 1, 15, 1, 2);
    d.AddSolid(0, 0, 10, 5, 1, 2, 0xFF4080FFu);  // a Windows colour: red lowest, high byte ignored
    d.AddSolid(3, 3, 3, 8, 1, 2, 0x0000FF);      // no area: its outline
    d.Solids.push_back(d.Solids[0]);
    d.Solids.back().Count = 3;
    for (const DxfProfile p : kProfiles) {
        const std::vector<DxfEntity> e = entities(d, p);
        const bool jw = p == DxfProfile::Jw;
        std::vector<std::pair<DxfKind, std::size_t>> kinds;  // and corners
        for (const DxfEntity& x : e) kinds.emplace_back(x.Kind, x.Points.size());
        const DxfKind fill = jw ? DxfKind::Solid : DxfKind::Hatch;
        using K = std::vector<std::pair<DxfKind, std::size_t>>;
        const K expected = jw ? K{{fill, 4}, {DxfKind::Line, 2}, {DxfKind::Line, 2}, {fill, 3}, {DxfKind::Line, 2}}
                              : K{{fill, 4}, {DxfKind::Polyline, 4}, {fill, 3}, {DxfKind::Line, 2}};
        EXPECT_EQ(kinds, expected);
        EXPECT_EQ((std::vector<int>{e[0].Aci, e[0].TrueColor, e[0].Layer, e[1].Aci, e[1].Closed || jw}),
                  (std::vector<int>{NearestAci(0xFF8040), p == DxfProfile::R2018 ? 0xFF8040 : -1, 0x21, NearestAci(0xFF0000), 1}));
    }
    // Exact palette colours map to themselves, the first of equal ones.
    std::set<uint32_t> seen;
    for (int aci = 1; aci <= 255; ++aci)
        if (seen.insert(AciRgb(aci)).second) {
            EXPECT_EQ(NearestAci(AciRgb(aci)), aci);
        }
    EXPECT_EQ(AciOfPen(0), AciOfPen(2));  // as the preview draws unknown pens
    EXPECT_EQ(AciOfPen(10), AciOfPen(2));
}

TEST(DxfEntities, TextsAsThePreviewPlacesThem) {
    TJwObject d;  // text size 4: 4 mm high and wide, 0.5 mm apart; group scale 100
    const auto add = [&](const char* text, double x2, double y2, DxfProfile p, bool vertical = false, uint8_t size = 4) {
        d.Texts.clear();
        d.AddText(1000, 2000, x2, y2, 1, 0, size, text, vertical);
        return entities(d, p);
    };
    const double h = 400, pitch = (400 + 50) / 2.0;
    const auto at = [](const DxfEntity& e, int point, WorldPoint p) { return distance(e.Points[point], p) < 1e-9; };

    std::vector<DxfEntity> e = add("A^uB", 1000, 3000, DxfProfile::Jw);  // a base line going up
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0].Text, "A^uB");  // JW_CAD reads its escapes itself
    EXPECT_EQ((std::vector<double>{e[0].Rotation, e[0].Height, e[0].WidthFactor, double(e[0].Fit), double(e[0].Aci)}),
              (std::vector<double>{90, h, 1, 0, double(AciOfPen(d.MojiProp(4)->PenNo))}));

    e = add("A^uB", 9000, 2000, DxfProfile::R2000);
    ASSERT_EQ(e.size(), 2u);
    EXPECT_TRUE(e[0].Text == "A" && e[0].Fit && at(e[0], 1, {1000 + pitch, 2000}));
    // Raised: half height, at the top of the next cell; the small font keeps the full width.
    EXPECT_TRUE(e[1].Text == "B" && e[1].Height == h / 2 && e[1].WidthFactor == 2 && at(e[1], 0, {1000 + pitch, 2000 + h / 2}));
    e = add("AB", 9000, 2000, DxfProfile::R2018);  // fitted to its cells
    EXPECT_TRUE(e.size() == 1 && at(e[0], 1, {1000 + 2 * pitch, 2000}));
    // Trailing middle dots are dropped and the characters spread over the
    // length, each at its place.
    e = add("\x90\xa1\x96\x40\x81\x45\x81\x45", 9000, 2000, DxfProfile::R2018);
    ASSERT_EQ(e.size(), 2u);
    EXPECT_TRUE(e[1].Text == "\x96\x40" && !e[1].Fit && at(e[1], 0, {1000 + 2 * (7 * pitch / 3), 2000}));

    // Upright characters down the base line, each a TEXT of its own.
    for (const DxfProfile p : kProfiles) {
        e = add("\x8a\xbfX", 1000, 0, p, true);
        ASSERT_EQ(e.size(), 2u);
        EXPECT_EQ(e[0].Text, "\x8a\xbf");
        EXPECT_NEAR(e[0].Rotation, 0, 1e-9);
        EXPECT_TRUE(at(e[0], 0, {1000, 2000 - h}) && at(e[1], 0, {1000, 2000 - 2 * pitch - h}));
    }

    // One line per value; a caret that starts nothing is "^ " outside JW_CAD,
    // and a lead byte without its trail byte cannot join the line end.
    EXPECT_EQ(add("a\nb^x\x81", 9000, 2000, DxfProfile::Jw)[0].Text, "a b^x?");
    EXPECT_EQ(add("a\nb^x\x81", 9000, 2000, DxfProfile::R2018)[0].Text, "a^Jb^ x?");
    EXPECT_TRUE(add("", 9000, 2000, DxfProfile::R2000).empty());
    EXPECT_TRUE(add("A", 9000, 2000, DxfProfile::Jw, false, 0).empty());  // no text size 0: nothing shown
}

TEST(DxfNames, LayersFromTheirNamesAndLineTypesFromTheirPatterns) {
    TJwObject d;
    std::tie(d.LayerGroups[2].Name, d.LayerGroups[2].Layers[1].Name) = std::make_pair("\x95\xc7", " a/b ");  // 壁
    std::tie(d.LayerGroups[3].Name, d.LayerGroups[3].Layers[1].Name) = std::make_pair("\x8f\xb0", "A/B");   // 床
    std::tie(d.LayerGroups[4].Name, d.LayerGroups[4].Layers[0].Name) = std::make_pair("", " ");
    for (const uint8_t slot : {0xF1, 0x21, 0x31, 0x40}) d.AddDot(0, 0, slot & 15, slot >> 4, 1);
    const DxfLayersUsed used = DxfLayersInUse(d);
    EXPECT_EQ(std::count(used.begin(), used.end(), true), 4);
    const std::map<DxfProfile, std::vector<std::string>> expected = {
        {DxfProfile::Jw, {"_-A_B", "_-A_B_2", "4-0", "GROUP-F-LAYER-1", ""}},
        {DxfProfile::R2018, {"\x95\xc7-a_b", "\x8f\xb0-A_B", "4-0", "Group-F-Layer-1", ""}},
    };
    for (const auto& [profile, names] : expected) {
        const std::array<std::string, 256> got = DxfLayerNames(d, used, profile);
        EXPECT_EQ((std::vector<std::string>{got[0x21], got[0x31], got[0x40], got[0xF1], got[0x22]}), names);
    }

    // Each dashed type's dashes and gaps give back its dot pattern.
    for (int type = 2; type <= kJwLineTypes; ++type) {
        const std::vector<double> dashes = DxfLineTypeDashes(type);
        ASSERT_FALSE(dashes.empty()) << type;
        EXPECT_GT(dashes.front(), 0) << type;
        std::string dots, pattern;
        while (dots.size() < 64)
            for (const double x : dashes) dots.append(static_cast<std::size_t>(std::lround(std::fabs(x) / kDxfLineTypeDot)), x > 0 ? '1' : '0');
        for (int k = 0; k < 32; ++k) pattern += (JwLineTypePattern(type) >> ((k + 1) & 31)) & 1 ? '1' : '0';
        EXPECT_NE((pattern + pattern).find(dots.substr(0, 32)), std::string::npos) << type;
        EXPECT_NE(DxfLineTypeName(type, DxfProfile::Jw), DxfLineTypeName(1, DxfProfile::Jw));
    }
    EXPECT_EQ(DxfLineTypeName(0, DxfProfile::Jw), "CONTINUOUS");
    EXPECT_EQ(DxfLineTypeName(12, DxfProfile::R2000), "Continuous");
}

// Handles unique and under the seed, none for JW_CAD, which reads R12;
// numbers as the shortest decimals that read back as the same doubles,
// without exponents.
TEST(DxfWriter, HandlesVersionsAndNumbers) {
    TJwObject d;
    d.AddLine(0.1 + 0.2, -0.0, 1e-7, 1e21, 1, 15, 1, 2);
    for (const DxfProfile p : {DxfProfile::Jw, DxfProfile::R2018}) {
        StringSink sink;
        WriteDxf(d, sink, {p, [](std::string_view s) { return std::string(s); }});
        const std::string bytes = sink.bytes();
        std::set<std::string> handles;
        std::map<std::string, std::string> header;
        std::string variable, entity;
        std::vector<std::string> numbers;
        int markers = 0;
        for (std::size_t at = 0, end; at < bytes.size(); at = end + 2) {
            const std::size_t codeEnd = bytes.find("\r\n", at);
            end = bytes.find("\r\n", codeEnd + 2);
            const int code = std::stoi(bytes.substr(at, codeEnd - at));
            const std::string value = bytes.substr(codeEnd + 2, end - codeEnd - 2);
            if (code == 0) entity = entity.empty() && value != "ENDSEC" ? "" : value;  // empty in the header
            if (entity.empty() && !variable.empty()) header[variable] = value;
            variable = code == 9 ? value : "";
            markers += code == 100 || code == 330;
            if ((code == 5 || code == 105) && !entity.empty()) {
                EXPECT_TRUE(handles.insert(value).second) << value;
            }
            if (entity == "LINE" && code >= 10 && code <= 21) numbers.push_back(value);
        }
        if (p == DxfProfile::Jw) {
            EXPECT_EQ(handles.size() + markers, 0u);
            EXPECT_EQ((std::vector<std::string>{header["$ACADVER"], header["$DWGCODEPAGE"]}),
                      (std::vector<std::string>{"AC1009", "ANSI_932"}));
        } else {
            ASSERT_GT(handles.size(), 10u);
            for (const std::string& h : handles) EXPECT_LT(std::stoull(h, nullptr, 16), std::stoull(header["$HANDSEED"], nullptr, 16));
        }
        EXPECT_EQ(numbers, (std::vector<std::string>{"0.30000000000000004", "0.0", "0.0000001", "1000000000000000000000.0"}));
    }
}

}  // namespace
}  // namespace tavo
