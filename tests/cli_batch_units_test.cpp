// The pieces of a batch export: what an input is, the names of its outputs,
// and how large its drawing is against the paper.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>

#include "cli/export_run.h"
#include "cli/input_kind.h"
#include "export/drawing_extent.h"
#include "export/jw_object.h"
#include "export/sheet_conversion.h"
#include "settings/settings_keys.h"
#include "stored_zip.h"

namespace tavo::cli {
namespace {

TEST(InputKind, KnownByContentNotByName) {
    using test::StoredZip;
    const std::string types = "<Types/>";
    const std::tuple<const char*, std::string, InputKind> cases[] = {
        {"xlsx", StoredZip({{"[Content_Types].xml", types}, {"xl/workbook.xml", "<workbook/>"}}), InputKind::Workbook},
        {"xlsx, part names in capitals", StoredZip({{"[Content_Types].xml", types}, {"XL/Workbook.xml", "<w/>"}}),
         InputKind::Workbook},
        {"ods", StoredZip({{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"}}), InputKind::Workbook},
        {"docx", StoredZip({{"[Content_Types].xml", types}, {"word/document.xml", "<d/>"}}), InputKind::OtherZip},
        {"odt", StoredZip({{"mimetype", "application/vnd.oasis.opendocument.text"}}), InputKind::OtherZip},
        {"plain zip", StoredZip({{"notes.txt", "hello"}}), InputKind::OtherZip},
        {"xls", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\0\0", 10), InputKind::CompoundFile},
        {"jwc", std::string("jw_cad(c)data\0\0\0", 16), InputKind::Jwc},
        {"JWW text, CR LF", "hd\r\nlg0\r\n", InputKind::JwwText},
        {"JWW text, LF", "hd\nlg0\n", InputKind::JwwText},
        {"CSV starting with hd", "hdr,1,2\n", InputKind::Text},
        {"CSV", "AddLine,0,0,10,10,1,0,1\n", InputKind::Text},
        {"empty", "", InputKind::Text},
    };
    for (const auto& [what, bytes, kind] : cases) EXPECT_EQ(DetectInputKind(bytes), kind) << what;
}

TEST(OutputName, FromTheInputAndTheSheet) {
    const std::tuple<const char*, std::optional<std::string>, const char*, const char*, const char*> cases[] = {
        {"books/見積.xlsx", std::nullopt, ".jwc", "out/", "out/見積.jwc"},
        {"books/見積.xlsx", "材料表", ".jwc", "out/", "out/見積-材料表.jwc"},
        {"books/見積.xlsx", std::nullopt, ".txt", "", "books/見積.txt"},
        {"a.b.ods", std::nullopt, ".dxf", "", "a.b.dxf"},
        {"x.xlsx", "a/b:c*?", ".jwc", "o/", "o/x-a_b_c__.jwc"},  // no folder made of a sheet name
        {"stdin", "S", ".jwt", "o/", "o/stdin-S.jwt"},
    };
    for (const auto& [input, sheet, extension, folder, name] : cases)
        EXPECT_EQ(OutputNameFor(input, sheet, extension, folder), name) << input;
}

TEST(DrawingExtent, TheSmallestStandardScaleThatFits) {
    const std::tuple<double, double, std::optional<int32_t>> cases[] = {  // times the paper, scale, fitting scale
        {1.2, 100, 150}, {2.0, 100, 200},  // exactly twice fits at twice the scale
        {7.07, 100, 1000}, {2.4, 1, 3}, {1.0001, 1000, std::nullopt}, {50, 30, std::nullopt},
    };
    for (const auto& [times, scale, fits] : cases) EXPECT_EQ(FittingScale(times, scale), fits) << times << " at 1:" << scale;
    const std::vector<int32_t>& scales = StandardScales();
    EXPECT_TRUE(std::is_sorted(scales.begin(), scales.end()));
}

// A drawing at 1:`scale` on A3 with one line, `length` paper millimetres
// long, from the sheet's bottom-left corner.
TJwObject drawingWithLine(int16_t scale, float length) {
    TJwObject d;
    TSettings s = FactorySettings();
    s.JwcScale = scale;
    s.PlotSize = 3;
    ApplySettings(d, s);
    AddSheetLine(d, 0, 0, length, 0, 1, 0, 1);
    return d;
}

TEST(DrawingExtent, RescalingKeepsRealWorldLengthsAndThePlacement) {
    const PaperSheet a3 = PaperSheetOf(3);
    // The plot offset, and the paper point that stays where it is.
    for (const auto& [plotOffset, anchorX] : {std::pair{0, a3.width / 2}, {2, 0.0}}) {
        TJwObject d = drawingWithLine(100, 840);
        const PaperBox before = DrawingPaperBox(d);
        EXPECT_NEAR(TimesPaper(before, a3), 2.0, 1e-6);
        const TLineItem line = d.Lines.at(0);
        RescaleDrawing(d, 200, plotOffset);
        EXPECT_EQ(d.JwcScale, 200);
        const PaperBox after = DrawingPaperBox(d);
        EXPECT_NEAR(after.width(), 420, 1e-3) << plotOffset;
        EXPECT_NEAR(TimesPaper(after, a3), 1.0, 1e-6);
        // The same real-world length, and the anchor's distance halved.
        const TLineItem& moved = d.Lines.at(0);
        EXPECT_NEAR(moved.X2 - moved.X1, line.X2 - line.X1, 1e-3);
        EXPECT_NEAR(after.minX - anchorX, (before.minX - anchorX) / 2, 1e-3) << plotOffset;
    }
}

}  // namespace
}  // namespace tavo::cli
