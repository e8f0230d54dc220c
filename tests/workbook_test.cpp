// The workbook host's rules, each on a small sheet written by libxlsxwriter
// (or the .ods fixture), checked on the export calls it makes.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "platform/encoding.h"
#include "test_support.h"
#include "workbook_support.h"

namespace {

using tavo::test::BoxFormat;
using tavo::test::FactoryHostSettings;
using tavo::test::RecordExport;
using tavo::test::TempDir;
using tavo::test::WriteXlsx;
using tavo::workbook::RecordedCall;
using Fill = std::function<void(lxw_workbook*, lxw_worksheet*)>;
using Xy = std::array<float, 4>;

// Half a millimetre per point and the figure's lower-left corner at the
// paper's, so that coordinates read as sums of the cells' sizes.
TavoSettings Plain() {
    TavoSettings s = FactoryHostSettings();
    s.DimScale = 0.5f;
    s.PlotOffset = 2;
    return s;
}

std::vector<RecordedCall> Calls(const Fill& fill, const TavoSettings& settings, const char* name) {
    TempDir dir;
    const std::string path = dir.file("sheet.xlsx");
    WriteXlsx(path, fill);
    return RecordExport(path, settings).named(name);
}

std::vector<Xy> Coordinates(const std::vector<RecordedCall>& calls) {
    std::vector<Xy> out;
    for (const RecordedCall& c : calls) out.push_back(c.xy);
    return out;
}

void ExpectXy(const std::vector<Xy>& got, const std::vector<Xy>& want, const std::string& what) {
    ASSERT_EQ(got.size(), want.size()) << what;
    for (std::size_t i = 0; i < got.size(); ++i)
        for (std::size_t k = 0; k < 4; ++k) EXPECT_NEAR(got[i][k], want[i][k], 1e-3) << what << ", call " << i;
}

std::string Utf8(const std::string& cp932) { return tavo::platform::Cp932ToUtf8(cp932); }

// Ruled blank cells, `rows` by `cols` from A1.
void Boxes(lxw_workbook* wb, lxw_worksheet* ws, int rows, int cols) {
    lxw_format* box = BoxFormat(wb);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) worksheet_write_blank(ws, r, c, box);
}

TEST(WorkbookGeometry, SizesHiddenRowsAndColumnsAndPlacement) {
    const double s = 420 / std::sqrt(2.0);  // A3's short side
    struct Case {
        const char* name;
        Fill fill;
        uint8_t plotOffset;
        std::vector<Xy> lines;
    };
    const Case cases[] = {
        {"column A 20 characters (145 px), row 1 30 pt",
         [](lxw_workbook* wb, lxw_worksheet* ws) {
             Boxes(wb, ws, 2, 2);
             worksheet_set_column(ws, 0, 0, 20, nullptr);
             worksheet_set_row(ws, 0, 30, nullptr);
         },
         2,
         {{0, 22.5f, 78.375f, 22.5f}, {0, 7.5f, 78.375f, 7.5f}, {0, 0, 78.375f, 0},
          {0, 22.5f, 0, 0}, {54.375f, 22.5f, 54.375f, 0}, {78.375f, 22.5f, 78.375f, 0}}},
        {"column B and row 2 hidden",
         [](lxw_workbook* wb, lxw_worksheet* ws) {
             Boxes(wb, ws, 3, 3);
             lxw_row_col_options hidden{};
             hidden.hidden = 1;
             worksheet_set_column_opt(ws, 1, 1, LXW_DEF_COL_WIDTH, nullptr, &hidden);
             worksheet_set_row_opt(ws, 1, LXW_DEF_ROW_HEIGHT, nullptr, &hidden);
         },
         2,
         {{0, 15, 48, 15}, {0, 7.5f, 48, 7.5f}, {0, 0, 48, 0}, {0, 15, 0, 0}, {24, 15, 24, 0}, {48, 15, 48, 0}}},
        {"top-left on the paper", [](lxw_workbook* wb, lxw_worksheet* ws) { Boxes(wb, ws, 1, 1); }, 1,
         {{0, float(s), 24, float(s)}, {0, float(s - 7.5), 24, float(s - 7.5)}, {0, float(s), 0, float(s - 7.5)},
          {24, float(s), 24, float(s - 7.5)}}},
        {"centred on the paper", [](lxw_workbook* wb, lxw_worksheet* ws) { Boxes(wb, ws, 1, 1); }, 0,
         {{198, float((s + 7.5) / 2), 222, float((s + 7.5) / 2)}, {198, float((s - 7.5) / 2), 222, float((s - 7.5) / 2)},
          {198, float((s + 7.5) / 2), 198, float((s - 7.5) / 2)}, {222, float((s + 7.5) / 2), 222, float((s - 7.5) / 2)}}},
    };
    for (const Case& c : cases) {
        TavoSettings settings = Plain();
        settings.PlotOffset = c.plotOffset;
        const auto lines = Calls(c.fill, settings, "AddLine");
        ExpectXy(Coordinates(lines), c.lines, c.name);
        for (const RecordedCall& l : lines) EXPECT_EQ(l.lay, 241) << c.name;
    }
}

// A line type telling the style apart: k in the high four bits, a type
// JW_CAD knows in the low four.
uint8_t TypeMarker(int k) { return static_cast<uint8_t>(16 * k + 1); }

TEST(WorkbookBorders, ThirteenStylesThroughBTypeIndexAndDoubleLines) {
    // In the dialog's order: hair ... double.
    const uint8_t styles[13] = {LXW_BORDER_HAIR, LXW_BORDER_DOTTED, LXW_BORDER_DASH_DOT_DOT, LXW_BORDER_DASH_DOT,
                                LXW_BORDER_DASHED, LXW_BORDER_THIN, LXW_BORDER_MEDIUM_DASH_DOT_DOT,
                                LXW_BORDER_SLANT_DASH_DOT, LXW_BORDER_MEDIUM_DASH_DOT, LXW_BORDER_MEDIUM_DASHED,
                                LXW_BORDER_MEDIUM, LXW_BORDER_THICK, LXW_BORDER_DOUBLE};
    TavoSettings settings = Plain();
    for (int k = 0; k < 13; ++k) settings.BTypeIndex[k] = TypeMarker(k);
    settings.DoubleSenPitch = 1.0f;
    const auto lines = Calls(
        [&](lxw_workbook* wb, lxw_worksheet* ws) {
            for (int k = 0; k < 13; ++k) {
                lxw_format* f = workbook_add_format(wb);
                format_set_bottom(f, styles[k]);
                worksheet_write_blank(ws, 2 * k, 0, f);
            }
        },
        settings, "AddLine");
    ASSERT_EQ(lines.size(), 14u);  // the double border is two lines
    for (int k = 0; k < 13; ++k) EXPECT_EQ(lines[k].kind, TypeMarker(k)) << "style " << k + 1;
    EXPECT_EQ(lines[13].kind, TypeMarker(12));
    // Row 25's bottom lies 7.5 mm above the figure's foot; the double's lines straddle it.
    EXPECT_FLOAT_EQ(lines[12].xy[1], 0.5f);
    EXPECT_FLOAT_EQ(lines[13].xy[1], -0.5f);

    // An entry naming no type JW_CAD knows draws solid lines (type 1).
    for (uint8_t unknown : {0, 0x10, 10}) {
        settings.BTypeIndex[5] = unknown;
        const auto thin = Calls([](lxw_workbook* wb, lxw_worksheet* ws) { Boxes(wb, ws, 1, 1); }, settings, "AddLine");
        EXPECT_EQ(thin.at(0).kind, 1) << +unknown;
    }
}

TEST(WorkbookBorders, ColoursThroughThePaletteAndBColorIndex) {
    struct Case {
        uint32_t color;  // 0: automatic
        int pen;
        const char* why;
    };
    const Case cases[] = {
        {0, 8, "automatic: SenColor"},
        {LXW_COLOR_BLACK, 2, "black is index 1"},
        {0xFF0000, 3, "red is index 3"},
        {0xFE0303, 3, "nearest to red"},
        {0x000080, 4, "navy is 11 and 25: the swatch's 11"},
        {0x993366, 6, "993366 is 18 and 54: the swatch's 54"},
        {0x9999FF, 8, "index 17 has entry 0: SenColor"},
        {0x0000FF, 8, "blue is index 5, whose entry 12 is no pen: SenColor"},
    };
    TavoSettings settings = Plain();
    settings.SenColor = 8;
    for (int k = 0; k < 56; ++k) settings.BColorIndex[k] = k >= 16 && k < 32 ? 0 : 1;
    const struct {
        int index, pen;
    } entries[] = {{1, 2}, {3, 3}, {11, 4}, {25, 5}, {54, 6}, {5, 12}};
    for (const auto& e : entries) settings.BColorIndex[e.index - 1] = static_cast<uint8_t>(e.pen);
    const auto sheet = [&](lxw_workbook* wb, lxw_worksheet* ws) {
        int row = 0;
        for (const Case& c : cases) {
            lxw_format* f = workbook_add_format(wb);
            format_set_bottom(f, LXW_BORDER_THIN);
            if (c.color) format_set_bottom_color(f, c.color);
            worksheet_write_blank(ws, row, 0, f);
            row += 2;
        }
    };
    const auto lines = Calls(sheet, settings, "AddLine");
    ASSERT_EQ(lines.size(), std::size(cases));
    for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i].color, cases[i].pen) << cases[i].why;

    // A SenColor that is no pen (a hand-edited tavo.ini): pen 1.
    settings.SenColor = 0;
    const auto fallback = Calls(sheet, settings, "AddLine");
    EXPECT_EQ(fallback[0].color, 1);
    EXPECT_EQ(fallback[7].color, 1);
}

TEST(WorkbookBorders, SharedEdgesOnceAndCollinearEdgesJoined) {
    TavoSettings settings = Plain();
    for (int k = 0; k < 13; ++k) settings.BTypeIndex[k] = TypeMarker(k);
    const auto framed = Calls(
        [](lxw_workbook* wb, lxw_worksheet* ws) {
            Boxes(wb, ws, 3, 3);
            worksheet_write_blank(ws, 1, 1, BoxFormat(wb, LXW_BORDER_MEDIUM));
        },
        settings, "AddLine");
    ASSERT_EQ(framed.size(), 16u) << "3 x 3 thin: four lines each way, the middle cell's sides cut them";
    // The line between rows 1 and 2: thin, the middle cell's medium top, thin.
    ExpectXy(Coordinates({framed[1], framed[2], framed[3]}), {{0, 15, 24, 15}, {24, 15, 48, 15}, {48, 15, 72, 15}},
             "the heavier border takes a shared edge");
    EXPECT_EQ(framed[1].kind, TypeMarker(5));  // thin
    EXPECT_EQ(framed[2].kind, TypeMarker(10));  // medium

    // A shared edge between a dashed and a thin side is thin, whichever cell says which.
    for (bool upperThin : {true, false}) {
        const auto lines = Calls(
            [upperThin](lxw_workbook* wb, lxw_worksheet* ws) {
                lxw_format* upper = workbook_add_format(wb);
                format_set_bottom(upper, upperThin ? LXW_BORDER_THIN : LXW_BORDER_DASHED);
                lxw_format* lower = workbook_add_format(wb);
                format_set_top(lower, upperThin ? LXW_BORDER_DASHED : LXW_BORDER_THIN);
                worksheet_write_blank(ws, 0, 0, upper);
                worksheet_write_blank(ws, 1, 0, lower);
            },
            settings, "AddLine");
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0].kind, TypeMarker(5));
    }
}

TEST(WorkbookTexts, PlacedByAlignmentAndSizedByFontHeight) {
    // A1 is 24 x 15 mm at the paper's corner; 11 pt is 5.5 mm: text size 5
    // (5 mm high, 5 wide, 0.5 apart), so "AB" is 5.5 mm long; margins 0.75 mm.
    struct Case {
        const char* name;
        std::function<void(lxw_workbook*, lxw_worksheet*, lxw_format*)> write;
        const char* call;
        int size;
        std::vector<Xy> xy;
    };
    const auto aligned = [](uint8_t h, uint8_t v, const char* t) {
        return [=](lxw_workbook*, lxw_worksheet* ws, lxw_format* f) {
            format_set_align(f, h);
            format_set_align(f, v);
            worksheet_write_string(ws, 0, 0, t, f);
        };
    };
    const auto turned = [](int16_t angle) {
        return [=](lxw_workbook*, lxw_worksheet* ws, lxw_format* f) {
            format_set_rotation(f, angle);
            worksheet_write_string(ws, 0, 0, "AB", f);
        };
    };
    const Case cases[] = {
        {"left, bottom", aligned(LXW_ALIGN_LEFT, LXW_ALIGN_VERTICAL_BOTTOM, "AB"), "AddText", 5, {{0.75f, 0.75f, 6.25f, 0.75f}}},
        {"centre, centre", aligned(LXW_ALIGN_CENTER, LXW_ALIGN_VERTICAL_CENTER, "AB"), "AddText", 5, {{9.25f, 5, 14.75f, 5}}},
        {"right, top", aligned(LXW_ALIGN_RIGHT, LXW_ALIGN_VERTICAL_TOP, "AB"), "AddText", 5, {{17.75f, 9.25f, 23.25f, 9.25f}}},
        {"a number stands right", [](lxw_workbook*, lxw_worksheet* ws, lxw_format* f) { worksheet_write_number(ws, 0, 0, 12, f); },
         "AddText", 5, {{17.75f, 0.75f, 23.25f, 0.75f}}},
        {"16 pt is 8 mm: size 8", [](lxw_workbook*, lxw_worksheet* ws, lxw_format* f) {
             format_set_font_size(f, 16);
             worksheet_write_string(ws, 0, 0, "AB", f);
         },
         "AddText", 8, {{0.75f, 0.75f, 9.75f, 0.75f}}},
        {"vertical text", turned(270), "AddTextV", 5, {{9.5f, 6.25f, 9.5f, 0.75f}}},
        {"turned 90 degrees", turned(90), "AddText", 5, {{14.5f, 4.75f, 14.5f, 10.25f}}},
        {"two lines from the top", aligned(LXW_ALIGN_LEFT, LXW_ALIGN_VERTICAL_TOP, "A\nB"), "AddText", 5,
         {{0.75f, 9.25f, 3.5f, 9.25f}, {0.75f, 2.1f, 3.5f, 2.1f}}},
    };
    for (const Case& c : cases) {
        const auto calls = Calls(
            [&](lxw_workbook* wb, lxw_worksheet* ws) {
                worksheet_set_row(ws, 0, 30, nullptr);
                c.write(wb, ws, workbook_add_format(wb));
            },
            Plain(), c.call);
        ExpectXy(Coordinates(calls), c.xy, c.name);
        for (const RecordedCall& t : calls) {
            EXPECT_EQ(t.kind, c.size) << c.name;
            EXPECT_EQ(t.lay, 240) << c.name;
        }
    }
}

TEST(WorkbookTexts, SuperscriptsAndSubscriptsWithExchangeCaret) {
    const Fill fill = [](lxw_workbook* wb, lxw_worksheet* ws) {
        lxw_format* sup = workbook_add_format(wb);
        format_set_font_script(sup, LXW_FONT_SUPERSCRIPT);
        lxw_format* sub = workbook_add_format(wb);
        format_set_font_script(sub, LXW_FONT_SUBSCRIPT);
        lxw_rich_string_tuple a{nullptr, const_cast<char*>("面積m")}, b{sup, const_cast<char*>("2")},
            c{nullptr, const_cast<char*>("H")}, d{sub, const_cast<char*>("2")}, e{nullptr, const_cast<char*>("O")};
        lxw_rich_string_tuple* area[] = {&a, &b, nullptr};
        lxw_rich_string_tuple* water[] = {&c, &d, &e, nullptr};
        worksheet_write_rich_string(ws, 0, 0, area, nullptr);
        worksheet_write_rich_string(ws, 1, 0, water, nullptr);
        worksheet_write_string(ws, 2, 0, "xy", sup);
    };
    TavoSettings settings = Plain();
    settings.ExchangeCaret = -1;
    std::vector<std::string> texts;
    for (const RecordedCall& t : Calls(fill, settings, "AddText")) texts.push_back(Utf8(t.text));
    EXPECT_EQ(texts, (std::vector<std::string>{"面積m^u2", "H^d2O", "^ux^uy"}));
}

TEST(WorkbookSheets, ChosenByNameOrPositionElseTheActiveOne) {
    TempDir dir;
    const std::string path = dir.file("book.xlsx");
    lxw_workbook* wb = workbook_new(path.c_str());
    lxw_worksheet* one = workbook_add_worksheet(wb, "One");
    lxw_worksheet* two = workbook_add_worksheet(wb, "二");
    workbook_add_worksheet(wb, "Three");
    worksheet_write_string(one, 0, 0, "first", nullptr);
    worksheet_write_formula_num(two, 0, 0, "=1+1", nullptr, 2);  // a formula shows its last result
    worksheet_activate(two);
    ASSERT_EQ(workbook_close(wb), LXW_NO_ERROR);
    for (const auto& [sheet, text] : std::vector<std::pair<std::optional<std::string>, std::string>>{
             {std::nullopt, "2"}, {"二", "2"}, {"One", "first"}, {"1", "first"}}) {
        tavo::workbook::WorkbookExportOptions options;
        options.sheet = sheet;
        const auto texts = RecordExport(path, Plain(), options).named("AddText");
        ASSERT_EQ(texts.size(), 1u) << sheet.value_or("the active sheet");
        EXPECT_EQ(Utf8(texts[0].text), text) << sheet.value_or("the active sheet");
    }
}

TEST(WorkbookOds, FixtureWithMergesRepeatsHiddenPartsAndScripts) {
    TavoSettings settings = Plain();
    settings.ExchangeCaret = -1;
    settings.ExchangeSolid = -1;
    const auto calls = RecordExport(std::string(TAVO_TEST_DATA_DIR) + "/form.ods", settings);
    std::vector<std::string> texts;
    for (const RecordedCall& c : calls.calls)
        if (c.name == "AddText" || c.name == "AddTextV") texts.push_back(c.name + " " + Utf8(c.text));
    EXPECT_EQ(texts, (std::vector<std::string>{"AddText 見積書", "AddTextV 縦書", "AddText 品名", "AddText 数量",
                                               "AddText 単位", "AddText m^u2H^d2O", "AddText 1,234.50",
                                               "AddText 2024/3/5"}))
        << "the active sheet; the hidden row and column left out";

    // Columns 3 cm, 2 cm, 2 cm, (hidden), 2 cm; rows 1 cm, then five of 0.5 cm.
    const float a = 42.51969f, ab = a + 28.34646f, abc = ab + 28.34646f, all = abc + 28.34646f;
    const float top = 14.17323f + 5 * 7.08661f, row2 = top - 14.17323f;
    const auto lines = calls.named("AddLine");
    const auto has = [&](const Xy& want) {
        for (const RecordedCall& l : lines) {
            bool same = true;
            for (std::size_t k = 0; k < 4; ++k) same = same && std::fabs(l.xy[k] - want[k]) < 1e-3;
            if (same) return true;
        }
        return false;
    };
    EXPECT_TRUE(has({0, top, all, top})) << "the title's and the vertical text's tops join";
    EXPECT_TRUE(has({0, row2 + 0.25f, abc, row2 + 0.25f}) && has({0, row2 - 0.25f, abc, row2 - 0.25f}))
        << "the title's double bottom";
    EXPECT_TRUE(has({a, row2, a, 0})) << "one line down the repeated rows, none through the title";
    EXPECT_TRUE(has({ab, row2, ab, 0}));
    EXPECT_FALSE(has({a, top, a, row2}));
    const auto solids = calls.named("AddSolid");
    ASSERT_EQ(solids.size(), 1u);
    ExpectXy(Coordinates(solids), {{0, row2, abc, row2 - 7.08661f}}, "the header row's fill");
    EXPECT_EQ(solids[0].color, 0xCCFFCC);
}

}  // namespace
