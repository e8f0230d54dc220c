#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "export/export_jwc_writer.h"
#include "export/jw_object.h"
#include "export/jwc_import.h"
#include "export/jww_writer.h"
#include "export/sheet_conversion.h"
#include "jwc/jwc_file.h"
#include "jwc/jwc_session.h"
#include "settings/settings_keys.h"

namespace tavo {
namespace {

using V = std::vector<double>;

// A drawing with every group at one scale, as the factory settings give it.
TJwObject drawingAt(double scale, int32_t plotSize = 3) {
    TJwObject d;
    TSettings s = FactorySettings();
    s.JwcScale = static_cast<int16_t>(scale);
    s.PlotSize = static_cast<int16_t>(plotSize);
    ApplySettings(d, s);
    return d;
}

// The settings give the scales (the drawing's, or each group its own) and
// text sizes; the sheet's millimetres are scaled by the group.
TEST(SheetConversion, ScalesCoordinatesByTheGroupAndKeepsEverythingElse) {
    TSettings settings = FactorySettings();
    settings.IsSameScale = 0;
    settings.GroupScale[2] = 50;
    settings.MojiWidth[1] = 25;
    settings.PenNo[9] = 6;
    TJwObject d;
    ApplySettings(d, settings);
    EXPECT_EQ((V{d.LayerGroups[3].Scale, d.JwcScale, d.MojiProp(2)->Width, double(d.MojiProp(10)->PenNo)}), (V{100, 100, 2.5, 6}));
    AddSheetLine(d, 10, 20, 30, 20, 2, 241, 1);
    const TLineItem& l = d.Lines[0];
    EXPECT_EQ((V{l.X1, l.Y1, l.X2}), (V{1000, 2000, 3000}));
    EXPECT_EQ((std::vector<int>{l.Group, l.Layer, l.Color, l.LineType}), (std::vector<int>{15, 1, 2, 1}));
    // The product of two f32 values, exact in 64 bits.
    AddSheetLine(d, 0.1f, 0, 0, 0, 1, 0, 1);
    EXPECT_EQ(d.Lines[1].X1, static_cast<double>(0.1f) * 100.0);

    AddSheetCircle(d, 1, 1, 3, 0.5f, 30, 120, 15, 3, 0x2F, 2);
    const TCircleItem& c = d.Circles[0];
    EXPECT_EQ((V{c.R, c.StartAngle, c.EndAngle, c.Flatness, c.Tilt, double(c.Layer)}), (V{150, 30, 120, 0.5, 15, 15}));
    AddSheetSolid(d, 0, 0, 10, 5, static_cast<int32_t>(0xFF0000FFu), 0x20);
    const TSolidItem& s = d.Solids[0];
    EXPECT_EQ(V(s.X, s.X + 4), (V{0, 500, 500, 0}));
    EXPECT_EQ(V(s.Y, s.Y + 4), (V{0, 0, 250, 250}));
    EXPECT_EQ(s.Color, 0xFF0000FFu);
    AddSheetText(d, 1, 0, 1, 0, 3, 0x23, "x^uy", true);
    EXPECT_EQ((V{d.Texts[0].X1, double(d.Texts[0].Group), double(d.Texts[0].Layer)}), (V{50, 2, 3}));
    EXPECT_TRUE(d.Texts[0].Vertical);
}

// What a round trip through the import leaves unseen: texts left out,
// rounded text sizes, zero group scales, the header. (A drawing of solids
// alone is an empty one: the format has no fills.)
TEST(ExportJwcWriter, MapsWhatTheImportCannotGiveBack) {
    TJwObject d = drawingAt(100);
    d.LayerGroups[4].Scale = 0;  // taken as 1
    d.AddLine(0, 0, 81.08108, 0, 0, 4, 1, 1);
    d.AddText(0, 0, 10, 0, 0, 0, 3, "AB", true);
    d.AddText(0, 0, 10, 0, 0, 0, 3, "", false);  // readers refuse it
    d.AddText(0, 0, 10, 0, 0, 0, 3, "CDE", false);
    d.MojiProp(2)->Width = 2.5;
    d.MojiProp(2)->Pitch = 0.25;
    d.MojiProp(3)->Pitch = 0.35;
    d.Comment1 = "one";
    d.JwcScale = 200;
    std::unique_ptr<TJwcFile> j = MakeJwcFromExport(d);
    EXPECT_NEAR(j->senAt(0)->X2, 100.0f, 1e-3);
    EXPECT_EQ(TextsLeftOutOfJwc(d), 1);
    ASSERT_EQ(j->mojiCount(), 2);
    EXPECT_EQ((std::vector<int>{j->mojiAt(1)->TextOffset, j->textAreaLength, j->groupScaleInt[4]}), (std::vector<int>{3, 7, 0}));
    const MojiTable& t = j->head.Table;
    // 2.5 goes to the even 2; 3.5 (as the double 0.35 * 10) to 4.
    EXPECT_EQ((std::vector<int>{t.Width[2], t.Spacing[2], t.Spacing[3], t.Pen[0] + t.Width[0]}), (std::vector<int>{25, 2, 4, 0}));
    EXPECT_EQ((std::vector<int>{j->scale, j->paperSize, j->tables.GroupDisplay[9], j->tables.LayerDisplay[200]}),
              (std::vector<int>{200, 3, 1, 1}));
    EXPECT_EQ(j->comment1, "one");

}

// Angles from 0 up to a whole turn where they enter and again in fixed
// point, where one that rounds to 360 degrees is 0; a closed figure stays closed.
TEST(ExportJwcWriter, ArcAnglesWithinAWholeTurn) {
    TJwObject d = drawingAt(1);
    AddSheetCircle(d, 0, 0, 1, 1, -90, 400, 370, 1, 0, 1);
    AddSheetCircle(d, 0, 0, 1, 1, -30, -30, 0, 1, 0, 1);
    EXPECT_EQ((V{d.Circles[0].StartAngle, d.Circles[0].EndAngle, d.Circles[0].Tilt}), (V{270, 40, 10}));
    EXPECT_EQ(d.Circles[1].EndAngle, d.Circles[1].StartAngle);
    d.AddCircle(0, 0, 1, 1, 359.9999999, -1e-9, NAN, 0, 0, 1, 1);  // as an import may bring them
    d.AddCircle(0, 0, 1, 1, 40000, 0, -45, 0, 0, 1, 1);  // past what fixed point holds
    std::unique_ptr<TJwcFile> j = MakeJwcFromExport(d);
    const std::vector<int32_t> fixed[] = {
        {270 << 16, 40 << 16, 10 << 16}, {330 << 16, 330 << 16, 0}, {0, 0, 0}, {40 << 16, 0, 315 << 16}};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ((std::vector<int32_t>{j->enkoAt(i)->StartAngle, j->enkoAt(i)->EndAngle, j->enkoAt(i)->Tilt}), fixed[i]) << i;
}

// A base line without length gets the length the text is drawn with,
// rightward, or downward for vertical writing; an empty text (up to its
// first NUL) is left out.
TEST(ExportJwcWriter, TextsEveryReaderTakes) {
    TJwObject d = drawingAt(100, 4);  // A4: 297/518 mm a unit
    d.MojiProp(3)->Width = 3;
    d.MojiProp(3)->Pitch = 0.5;
    d.MojiProp(4)->Pitch = -d.MojiProp(4)->Width;  // spacing swallows the width
    const struct {
        uint8_t size;
        const char* text;
        bool vertical;
        double lengthMm;  // along the base line; 0: one drawing unit
    } texts[] = {{3, "\x95\xBD", false, 3.5}, {3, "A", true, 1.75}, {3, "AB^u2", false, 5.25},
                 {4, "A", false, 4.0}, {0, "A", false, 0}};
    for (const auto& t : texts) d.AddText(1000, 2000, 1000, 2000, 0, 0, t.size, t.text, t.vertical);
    d.AddText(0, 0, 10, 0, 0, 0, 3, std::string("\0hidden", 7), false);
    std::unique_ptr<TJwcFile> j = MakeJwcFromExport(d);
    ASSERT_EQ(j->mojiCount(), 5);
    const float unit = 297.0f / 518;
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(texts[i].text);
        const Moji& m = *j->mojiAt(i);
        const double length = texts[i].lengthMm > 0 ? texts[i].lengthMm / unit : 1;
        EXPECT_NEAR(texts[i].vertical ? m.Y1 - m.Y2 : m.X2 - m.X1, length, 1e-3);
        EXPECT_EQ(+(texts[i].vertical ? m.X2 : m.Y2), +(texts[i].vertical ? m.X1 : m.Y1));
    }
    EXPECT_EQ(TextsLeftOutOfJwc(d), 1);

    TJwObject distant = drawingAt(1);  // so far out that the length is lost in the rounding
    distant.AddText(1e12, 0, 1e12, 0, 0, 0, 1, "A", false);
    std::unique_ptr<TJwcFile> f = MakeJwcFromExport(distant);
    EXPECT_GT(+f->mojiAt(0)->X2, +f->mojiAt(0)->X1);
}

TEST(JwwWriter, WritesAttributesOnlyWhenTheyChange) {
    TJwObject d = drawingAt(100);
    d.AddLine(0, 0, -0.25, 1, 0, 10, 0, 0);  // pen 0 and line type 0 match the start values
    d.AddCircle(0, 0, 5, 0.5, 0, 0, 0, 0, 10, 0, 0);
    d.AddCircle(0, 0, 5, 1, 0, 360, 0, 1, 15, 2, 3);
    d.AddDot(1, 2, 1, 15, 3);  // the circle's pen
    d.AddText(0, 0, 30, 4, 1, 15, 3, "\x95\\\"q", true);
    d.AddSolid(0, 0, 1, 1, 1, 15, 2);  // colour 2 is not pen 2
    d.AddSolid(0, 0, 1, 1, 1, 15, 2);
    d.AddSolid(0, 0, 1, 1, 1, 15, 0xFFFFFFFF);
    d.Solids.back().Count = 3;
    StringSink sink;
    WriteJww(d, sink);
    const std::string corners = " 0.000000E+000 0.000000E+000 1.000000E+000 0.000000E+000 1.000000E+000 1.000000E+000";
    EXPECT_EQ(sink.take(),
              "hd\r\nlgA\r\nly0\r\n 0.000000E+000 0.000000E+000 -2.500000E-001 1.000000E+000\r\n"
              "ci 0.000000E+000 0.000000E+000 5.000000E+000\r\n"
              "lgF\r\nly1\r\nlc3\r\nlt2\r\n"
              "ci 0.000000E+000 0.000000E+000 5.000000E+000 0.000000E+000 3.600000E+002 1.000000E+000 "
              "0.000000E+000\r\n"
              "pt 1.000000E+000 2.000000E+000\r\ncn3\r\n"
              "ch 0.000000E+000 0.000000E+000 3.000000E+001 4.000000E+000 \"\x95\\\"q\r\n"
              "lc10 2\r\nsl" + corners + " 0.000000E+000 1.000000E+000\r\nsl" + corners + " 0.000000E+000 1.000000E+000\r\n"
              "lc10 -1\r\nsl" + corners + "\r\n");
}

TEST(JwcImport, UnitsTablesNamesAndVisibility) {
    TJwcFile j;
    j.paperSize = 3;
    j.unitDivisor = UnitDivisorFor(3);
    for (int g = 0; g < 16; ++g) j.groupScaleFloat[g] = 100;
    j.groupScaleFloat[1] = 50;
    j.groupScaleFloat[2] = 0;
    j.tables.GroupDisplay[0] = 1;
    j.tables.GroupDisplay[1] = 2;  // only 1 means shown
    j.tables.LayerDisplay[0x03] = 1;
    std::memcpy(j.names.GroupNames, "  first floor   ", 16);
    std::memcpy(j.names.LayerNames[0x03], " wall\t  ", 8);
    j.head.Table.Spacing[3] = static_cast<uint16_t>(-5);
    j.head.Table.Pen[4] = 0x0103;
    for (const uint8_t lay : {0x03, 0x10, 0x20}) j.addSen() = Sen{5, 5, 100, 0, 1, 2, lay, 7, 9};
    j.addEnko() = Enko{1, 1, 1, 10000, 0, 90 * 65536, 65535, 3, 4, 0x05, 0, 0};
    j.addMoji() = Moji{0, 0, 1, 0, 0, 3, 0x01, 33};
    j.addMoji() = Moji{0, 0, 1, 0, 0, 3, 0x01, 0};
    j.appendText("only one text");
    j.scale = 40;
    j.addTen() = Ten{1, 2, 0xFF, 6, 0};

    TJwObject o;
    ImportJwc(j, o);
    // Group 1 at 1:50; a zero scale gives zeros, as the file says.
    EXPECT_NEAR(o.Lines[0].X2 - 2 * o.Lines[1].X2 + o.Lines[2].X2, 0, 1e-9);
    EXPECT_EQ((std::vector<int>{int(o.Lines[0].X2 * 1000), int(o.Lines[2].X1)}), (std::vector<int>{8108108, 0}));
    EXPECT_EQ((std::vector<int>{o.PlotSize, o.Lines[0].Layer, o.Lines[0].Group, o.Dots[0].Group, o.Dots[0].Color}),
              (std::vector<int>{3, 3, 0, 15, 6}));
    EXPECT_EQ((std::vector<bool>{o.LayerGroups[0].Visible, o.LayerGroups[1].Visible, o.LayerGroups[0].Layers[3].Visible,
                                 o.LayerGroups[0].Layers[4].Visible}),
              (std::vector<bool>{true, false, true, false}));
    EXPECT_EQ((std::vector<std::string>{o.LayerGroups[0].Name, o.LayerGroups[0].Layers[3].Name, o.LayerGroups[1].Layers[3].Name}),
              (std::vector<std::string>{"first floor", "wall", ""}));
    EXPECT_EQ((V{o.MojiProp(3)->Pitch, double(o.MojiProp(4)->PenNo), o.JwcScale}), (V{-0.5, 3, 40}));
    const TCircleItem& c = o.Circles[0];
    EXPECT_EQ((V{c.Flatness, c.StartAngle, c.EndAngle, c.Tilt}), (V{1, 0, 90, 65535.0 / 65536}));  // not rounded to f32
    // More records than texts: the last is empty.
    EXPECT_TRUE(o.Texts[0].Vertical && !o.Texts[1].Vertical && o.Texts[0].Text == "only one text" && o.Texts[1].Text.empty());
}

// A .jwc imported into an export drawing and written again keeps its
// records, for every paper and with groups at different scales.
TEST(JwcImport, WrittenAgainKeepsTheRecords) {
    const int16_t scales[16] = {1, 50, 100, 200, 3, 7, 1000, 25, 1, 1, 1, 1, 1, 1, 1, 500};
    for (int32_t paper = 0; paper <= 4; ++paper) {
        SCOPED_TRACE(paper);
        JwcSession built;
        built.create(paper, 1);
        for (int g = 0; g < 16; ++g) SetGroupScale(built.drawing(), g, scales[g]);
        built.setMojiTable(3, 2, 30, 35, 5);
        for (int i = 0; i < 40; ++i) {
            const auto lay = static_cast<uint8_t>((i * 37) % 256);
            const float x = 0.37f * static_cast<float>(i) - 3.1f;
            const auto small = static_cast<uint8_t>(1 + i % 9);
            built.addSen(x, x * 2, x + 100.3f, -x, small, lay, small, 0, 0);
            built.addEnko(x, x, 3.3f + static_cast<float>(i), static_cast<uint16_t>(1000 + i * 200), i * 65536 * 9,
                          -i * 1000, i * 3, 2, lay, 3, 0, 0);
            built.addMoji(x, x, x + 20, x + 1, static_cast<uint8_t>(1 + i % 10), lay, i % 2 ? 32 : 0,
                          std::string(static_cast<std::size_t>(1 + i % 5), 'a'));
            built.addTen(x, -x, 3, lay, 0);
        }
        TJwcFile& loaded = built.drawing();
        TJwObject drawing;
        ImportJwc(loaded, drawing);
        std::unique_ptr<TJwcFile> again = MakeJwcFromExport(drawing);
        ASSERT_EQ(again->senCount(), loaded.senCount());
        for (int32_t i = 0; i < loaded.senCount(); ++i) {
            EXPECT_EQ(std::memcmp(again->senAt(i), loaded.senAt(i), sizeof(Sen)), 0) << i;
            EXPECT_EQ(std::memcmp(again->enkoAt(i), loaded.enkoAt(i), sizeof(Enko)), 0) << i;
            EXPECT_EQ(std::memcmp(again->mojiAt(i), loaded.mojiAt(i), sizeof(Moji)), 0) << i;
            EXPECT_EQ(std::memcmp(again->tenAt(i), loaded.tenAt(i), sizeof(Ten)), 0) << i;
            EXPECT_EQ(again->textAt(i), loaded.textAt(i));
        }
        EXPECT_EQ(again->paperSize, paper);
        EXPECT_EQ(std::memcmp(again->groupScaleInt, loaded.groupScaleInt, sizeof loaded.groupScaleInt), 0);
        EXPECT_EQ(std::memcmp(&again->head.Table, &loaded.head.Table, sizeof loaded.head.Table), 0);
    }
}

}  // namespace
}  // namespace tavo
