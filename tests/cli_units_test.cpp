// The command's parsing helpers: options, text encodings, CSV habits and the
// value ranges every writing route shares.
#include <gtest/gtest.h>

#include <tuple>

#include "base/error.h"
#include "cli/cli_args.h"
#include "cli/csv.h"
#include "cli/csv_row.h"
#include "cli/text_encoding.h"
#include "cli/value_ranges.h"

namespace tavo::cli {
namespace {

std::string joined(const std::vector<std::string>& items) {
    std::string out;
    for (const std::string& s : items) out += "[" + s + "]";
    return out;
}

TEST(CliArgs, OptionForms) {
    const std::vector<std::string> valued = {"-o", "--scale"};
    const std::vector<std::string> flags = {"--mm"};
    const Args a({"in.csv", "-o", "out.jwc", "--mm", "--scale=50"}, valued, flags);
    EXPECT_EQ(joined({joined(a.positional()), a.value("-o"), a.value("--scale")}), "[[in.csv]][out.jwc][50]");
    EXPECT_TRUE(a.has("--mm"));
    const Args dash({"-o", "-", "-"}, valued, flags);  // stdout and stdin
    EXPECT_EQ(joined({joined(dash.positional()), dash.value("-o")}), "[[-]][-]");
    const Args ended({"--scale=", "--", "--mm", "-o"}, valued, flags);
    EXPECT_EQ(joined({joined(ended.positional()), ended.value("--scale", "x")}), "[[--mm][-o]][]");
    EXPECT_TRUE(ended.has("--scale"));

    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
             {"-o", "a", "-o", "b"}, {"--mm=1"}, {"-o"}, {"--nope"}, {"-x"}, {"--scale-less=1"}})
        EXPECT_THROW(Args(bad, valued, flags), UsageError) << joined(bad);
    EXPECT_TRUE(AsksForHelp({"a", "-h"}));
    EXPECT_FALSE(AsksForHelp({"--", "--help"}));
}

TEST(TextEncoding, Detection) {
    const std::pair<std::string, TextEncoding> cases[] = {
        {"AddLine,1,2\n", TextEncoding::ShiftJis},                      // ASCII reads the same either way
        {"\xEF\xBB\xBF" "Comment,a\n", TextEncoding::Utf8},             // byte-order mark
        {"Comment,\xE5\xB9\xB3\xE9\x9D\xA2\xE5\x9B\xB3\n", TextEncoding::Utf8},  // 平面図, valid in both
        {"Comment,\x95\xBD\x96\xCA\x90\x7D\n", TextEncoding::ShiftJis},  // 平面図 in Shift-JIS
        {"Comment,\xC3\xBD\xC4\n", TextEncoding::ShiftJis},             // half-width kana, broken UTF-8
        {"\xED\xA0\x80", TextEncoding::ShiftJis},                       // a surrogate is no UTF-8
        {"\xC0\xAF", TextEncoding::ShiftJis},                           // nor an overlong form
        {"# encoding: shift_jis\nComment,\xE5\xB9\xB3\n", TextEncoding::ShiftJis},
        {"# encoding: UTF-8\nComment,a\n", TextEncoding::Utf8},
    };
    for (const auto& [bytes, expected] : cases) EXPECT_EQ(DetectEncoding(bytes), expected) << bytes;
}

TEST(TextEncoding, ConversionToShiftJis) {
    EXPECT_EQ(TextFileToShiftJis("\xEF\xBB\xBF\xE5\xB9\xB3,\xE3\x80\x9C", TextEncoding::Detect, "f"),
              "\x95\xBD,\x81\x60");  // the BOM goes; a wave dash becomes 0x8160
    EXPECT_EQ(TextFileToShiftJis("\x95\xBD\xFF", TextEncoding::Detect, "f"), "\x95\xBD\xFF");  // kept as it is
    const auto refusal = [](const std::string& bytes) {
        try {
            TextFileToShiftJis(bytes, TextEncoding::Utf8, "f.csv");
        } catch (const CommandError& e) {
            return e.file + ": " + e.message;
        }
        return std::string("accepted");
    };
    EXPECT_EQ(refusal("a\nb\nComment,\xF0\x9F\x98\x80\n"), "f.csv: line 3: \"\xF0\x9F\x98\x80\" (U+1F600) has no Shift-JIS form");
    EXPECT_EQ(refusal("x\n\x95\xBD"), "f.csv: line 2: the byte 0x95, which is not UTF-8, has no Shift-JIS form");
    EXPECT_THROW(TextFileToShiftJis("\xEF\xBB\xBFx", TextEncoding::ShiftJis, "f"), CommandError);
}

TEST(Csv, SpreadsheetHabits) {
    const auto isKind = [](std::string_view k) { return k == "Sen"; };
    const std::pair<std::string, std::string> cases[] = {  // the text, each row's fields joined
        {"Kind,X1,Y1\nSen,1,2\n", "[Sen][1][2];"},                       // header row dropped
        {"Sen,1,2\nKind,X1\n", "[Sen][1][2];[Kind][X1];"},               // only the first row is a header
        {"Oops,1,2\n", "[Oops][1][2];"},                                 // a row with numbers is data
        {"# c\nKind;X\nSen;1,5;\"a;b\"\n;;;\n", "[Sen][1,5][a;b];"},     // ";" separator, blank row skipped
        {"Sen,\"a,b\",\"x\"\"y\"\r\n,,\r\n", "[Sen][a,b][x\"y];"},
    };
    for (const auto& [text, rows] : cases) {
        std::string got;
        for (const CsvRow& row : ParseRecordCsv(text, isKind)) got += joined(row.fields) + ";";
        EXPECT_EQ(got, rows) << text;
    }
}

TEST(Csv, RowReaderTrailingCellsAndDecimalComma) {
    const std::string file = "f.csv";
    CsvRow row{4, {"addline", " 1.5", "2", "", ""}, ','};
    EXPECT_TRUE(KindIs(row, "AddLine"));
    RowReader in(row, file, 2);
    EXPECT_FLOAT_EQ(in.f32(), 1.5f);
    EXPECT_EQ(in.integer<uint8_t>(), 2);
    CsvRow semi{1, {"Sen", "2,25"}, ';'}, comma{1, {"Sen", "2,25"}, ','}, big{1, {"Sen", "300"}, ','};
    EXPECT_FLOAT_EQ(RowReader(semi, file, 1).f32(), 2.25f);
    EXPECT_THROW(RowReader(comma, file, 1).f32(), Error);
    EXPECT_THROW(RowReader(big, file, 1).integer<uint8_t>(), Error);
    CsvRow filled{7, {"Sen", "1", "2", "x"}, ','};
    try {
        RowReader reader(filled, file, 2);
        ADD_FAILURE() << "a filled extra cell is refused";
    } catch (const Error& e) {
        EXPECT_EQ(e.detail(), "line 7: Sen needs 2 fields after the kind, not 3");
    }
}

TEST(ValueRanges, OneTableForEveryRoute) {
    std::string swatches = "1";
    for (int i = 1; i < 56; ++i) swatches += i >= 16 && i < 32 ? ",0" : ",6";
    const std::string first0 = "0" + swatches.substr(1);
    const std::tuple<const char*, const char*, const char*> cases[] = {  // key, text, problem (empty when accepted)
        {"JwcScale", "1000", ""},
        {"jwcscale", "0x32", ""},
        {"JwcScale", "0", "JwcScale is a whole number from 1 to 1000, not \"0\""},
        {"PlotSize", "5", "PlotSize is a whole number from 0 to 4, not \"5\""},  // one past the end
        {"PlotSize", "A3", "PlotSize is a whole number from 0 to 4, not \"A3\""},
        {"PenNo", "1,1,2,2,3,3,4,4,5,6", ""},
        {"PenNo", "1,1,2", "PenNo is a list of 10 whole numbers from 1 to 6 separated by commas"},
        {"PenNo", "1,1,2,2,3,3,4,4,5,7", "PenNo item 10 is a whole number from 1 to 6, not \"7\""},
        {"BColorIndex", swatches.c_str(), ""},  // entries 17 to 32 have no swatch and hold 0
        {"BColorIndex", first0.c_str(), "BColorIndex item 1 is a whole number from 1 to 6, not \"0\""},
        {"DimScale", "0.035", ""},
        {"DimScale", "3.6", "DimScale is a number from 0.035 to 3.5 with at most 3 decimals, not \"3.6\""},
        {"DoubleSenPitch", "0.1234", "DoubleSenPitch is a number from 0 to 10 with at most 3 decimals, not \"0.1234\""},
        {"IsSameScale", "2", "IsSameScale is 0 or 1, not \"2\""},
        {"Comment1", "0123456789012345678901234567890123", "Comment1 is 34 bytes in Shift-JIS; a .jwc file keeps 32"},
        {"Comment2", "a\nb", "Comment2 holds no line break"},
    };
    for (const auto& [key, text, problem] : cases) {
        const ValueRule* rule = FindValueRule(key);
        ASSERT_NE(rule, nullptr) << key;
        EXPECT_EQ(ValueProblem(*rule, text), problem) << key << "=" << text;
    }
    EXPECT_EQ(FindValueRule("NoSuchKey"), nullptr);
    EXPECT_EQ(RangedInt("PlotSize", "4", "--paper"), 4);
    try {
        RangedInt("JwcScale", "-1", "--scale");
        ADD_FAILURE();
    } catch (const UsageError& e) {
        EXPECT_EQ(e.message, "--scale: JwcScale is a whole number from 1 to 1000, not \"-1\"");
    }
}

}  // namespace
}  // namespace tavo::cli
