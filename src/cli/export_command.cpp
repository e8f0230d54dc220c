#include "cli/export_command.h"

#include "base/file_save.h"
#include "base/ascii_case.h"
#include "base/path_text.h"
#include "cli/cli_args.h"
#include "cli/csv_row.h"
#include "export/export_jwc_writer.h"
#include "export/jw_object.h"
#include "export/jww_writer.h"
#include "export/sheet_conversion.h"
#include "interface/settings_access.h"
#include "platform/encoding.h"

namespace tavo::cli {

void ReplaySheetRows(TJwObject& d, const std::vector<CsvRow>& rows, bool utf8, const std::string& csvName) {
    const auto text = [utf8](const std::string& t) { return utf8 ? platform::Utf8ToCp932(t) : t; };
    for (const CsvRow& row : rows) {
        const std::string& kind = row.fields[0];
        if (kind == "AddLine") {
            RowReader in(row, csvName, 7);
            const float x1 = in.f32(), y1 = in.f32(), x2 = in.f32(), y2 = in.f32();
            const auto color = in.integer<uint8_t>();
            const auto lay = in.integer<uint8_t>();
            AddSheetLine(d, x1, y1, x2, y2, color, lay, in.integer<uint8_t>());
        } else if (kind == "AddText" || kind == "AddTextV") {
            RowReader in(row, csvName, 7);
            const float x1 = in.f32(), y1 = in.f32(), x2 = in.f32(), y2 = in.f32();
            const auto mojiNo = in.integer<uint8_t>();
            const auto lay = in.integer<uint8_t>();
            AddSheetText(d, x1, y1, x2, y2, mojiNo, lay, text(in.text()), kind == "AddTextV");
        } else if (kind == "AddCircle") {
            RowReader in(row, csvName, 10);
            const float x = in.f32(), y = in.f32(), r = in.f32(), flatness = in.f32();
            const float start = in.f32(), end = in.f32(), tilt = in.f32();
            const auto color = in.integer<uint8_t>();
            const auto lay = in.integer<uint8_t>();
            AddSheetCircle(d, x, y, r, flatness, start, end, tilt, color, lay, in.integer<uint8_t>());
        } else if (kind == "AddSolid") {
            RowReader in(row, csvName, 6);
            const float x1 = in.f32(), y1 = in.f32(), x2 = in.f32(), y2 = in.f32();
            const auto color = in.integer<int32_t>();
            AddSheetSolid(d, x1, y1, x2, y2, color, in.integer<uint8_t>());
        } else if (kind == "Comment") {
            RowReader in(row, csvName, 2);
            d.Comment1 = text(in.text());
            d.Comment2 = text(in.text());
        } else {
            throw Error::badFile(csvName, "line " + std::to_string(row.line) + ": unknown kind \"" + kind +
                                              "\" (expected AddLine, AddText, AddTextV, AddCircle, AddSolid or "
                                              "Comment)");
        }
    }
}

int RunExport(const std::vector<std::string>& argv) {
    const Args args(argv, {"-o", "--to"}, {"--utf8"});
    if (args.positional().size() != 1) throw UsageError{"give one IN.csv"};
    if (!args.has("-o")) throw UsageError{"export needs -o OUT"};
    const std::string input = args.positional()[0];
    const std::string output = args.value("-o");
    std::string target = args.value("--to");
    if (target.empty()) {
        target = EqualsIgnoringAsciiCase(extractFileExt(output), ".jwc") ? "jwc" : "jww";
    }
    if (target != "jwc" && target != "jww") throw UsageError{"--to takes jwc or jww, not \"" + target + "\""};

    TJwObject drawing;
    ApplySettings(drawing, ReadStoredSettings());
    ReplaySheetRows(drawing, ParseCsv(readWholeFile(input)), args.has("--utf8"), input);
    if (target == "jwc")
        SaveExportAsJwc(drawing, output);
    else
        SaveJww(drawing, output);
    return 0;
}

}  // namespace tavo::cli
