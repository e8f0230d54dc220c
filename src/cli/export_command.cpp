#include "cli/export_command.h"

#include "base/ascii_case.h"
#include "base/error.h"
#include "base/file_save.h"
#include "cli/cli_args.h"
#include "cli/csv_row.h"
#include "cli/error_report.h"
#include "cli/output_rule.h"
#include "cli/value_ranges.h"
#include "export/dxf_writer.h"
#include "export/export_jwc_writer.h"
#include "export/jw_object.h"
#include "export/jww_writer.h"
#include "export/sheet_conversion.h"
#include "interface/settings_access.h"
#include "jwc/jwc_writer.h"
#include "jwc/jwc_file.h"
#include "platform/encoding.h"
#include "settings/settings_store.h"

namespace tavo::cli {

namespace {

const char* const kSheetKinds[] = {"AddLine", "AddText", "AddTextV", "AddCircle", "AddSolid", "Comment"};

bool isSheetKind(std::string_view kind) {
    for (const char* k : kSheetKinds)
        if (EqualsIgnoringAsciiCase(k, kind)) return true;
    return false;
}

}  // namespace

const char* const kExportHelp =
    "usage: tavo export BOOK.xlsx|BOOK.ods [-o OUT.jwc|OUT.txt|OUT.dxf|-]\n"
    "                   [--to jwc|jww|dxf|clipboard|preview] [--dxf jw|2000|2018]\n"
    "                   [--sheet NAME|N] [--range [SHEET!]A1:K40] [--strict] [--json]\n"
    "       tavo export IN.csv -o OUT.jwc|OUT.txt|OUT.dxf|- [--to jwc|jww|dxf] [--dxf jw|2000|2018]\n"
    "                   [--encoding sjis|utf8]\n"
    "\n"
    "Plays the host's export: a drawing is made from the stored settings (tavo config)\n"
    "and filled through the export calls.\n"
    "\n"
    "From a workbook (.xlsx, .xlsm, .ods) one worksheet is converted as the host macro\n"
    "converts it: borders become lines, cell texts texts, filled cells solids (with\n"
    "ExchangeSolid). --sheet names the sheet or gives its position from 1 (default: the\n"
    "active sheet), --range the cells (default: the used area; SHEET! picks the sheet).\n"
    "Drawn shapes (lines, arrows, rectangles, ellipses, text boxes) become lines, arcs\n"
    "and texts; pictures, charts and form controls are counted on stderr, not drawn. A\n"
    "character with no Shift-JIS form is drawn as \"?\" with a warning naming the cell\n"
    "(--strict: an error instead). --json prints what was not drawn and the warnings as\n"
    "one JSON object. Column widths and row\n"
    "heights in points times DimScale are millimetres on the paper. The target is --to,\n"
    "else the name after -o, else the stored ExportTarget with the stored FileName. A\n"
    "progress bar shows on a terminal when a sheet takes more than a moment.\n"
    "\n"
    "From IN.csv every row is one export call, its kind first:\n"
    "  AddLine,X1,Y1,X2,Y2,Color,Lay,LineType\n"
    "  AddText,X1,Y1,X2,Y2,MojiNo,Lay,Text      (AddTextV: vertical text)\n"
    "  AddCircle,X,Y,R,Flatness,StartAngle,EndAngle,Tilt,Color,Lay,LineType\n"
    "  AddSolid,X1,Y1,X2,Y2,Color,Lay           (Color: a Windows colour, red in the low byte)\n"
    "  Comment,Comment1,Comment2                (a .jwc file keeps 32 bytes of each)\n"
    "Coordinates are millimetres on the paper, angles degrees (kept from 0 up to 360), Lay is\n"
    "group x 16 + layer. Color 1-9, LineType 1-9 (in the low four bits) and MojiNo 1-10 are\n"
    "what JW_CAD knows: a row with another value is refused. A .jwc leaves out empty texts.\n"
    "The texts of IN.csv are UTF-8 when the file starts with a byte-order mark or is valid\n"
    "UTF-8, else Shift-JIS; --encoding (or --utf8) forces it. A header row, empty trailing\n"
    "cells, \";\" as separator and kinds in any case are accepted. IN.csv may be - (stdin).\n"
    "\n"
    "Units of the output:\n"
    "  OUT.jwc    JW_CAD drawing in drawing units (paper millimetres x 518 / paper\n"
    "             length); an existing file becomes OUT.bak\n"
    "  OUT.txt    JWW coordinate file: real-world millimetres (paper millimetres x group\n"
    "             scale)\n"
    "  OUT.dxf    DXF drawing in real-world millimetres as in OUT.txt, in model space; an\n"
    "             existing file becomes OUT.bak. --dxf says for whom:\n"
    "               jw    R12 in Shift-JIS as JW_CAD reads it back (the default)\n"
    "               2000  R2000 in Shift-JIS with ellipses and hatches: AutoCAD, BricsCAD,\n"
    "                     LibreCAD and older programs\n"
    "               2018  R2018 in UTF-8, the same entities: current programs\n"
    "  -          standard output; --to jwc|jww|dxf says which\n"
    "  clipboard  (workbooks) JWT text in Shift-JIS, real-world millimetres as in OUT.txt;\n"
    "             needs a display (DISPLAY or WAYLAND_DISPLAY) and fails without one or\n"
    "             when the clipboard cannot be reached. A background process of tavo keeps\n"
    "             the text there until another program copies something.\n"
    "  preview    (workbooks) the preview window, as tavo view shows it, which saves and\n"
    "             copies the units above; needs a display and waits until it is closed.\n"
    "             ExportTarget 0 (the factory setting) stands for it.\n"
    "The workbook and the settings files are inputs: the output may be none of them.\n";

void ReplaySheetRows(TJwObject& d, const std::vector<CsvRow>& rows, const std::string& csvName) {
    for (const CsvRow& row : rows) {
        if (KindIs(row, "AddLine")) {
            RowReader in(row, csvName, 7);
            const float x1 = in.f32(), y1 = in.f32(), x2 = in.f32(), y2 = in.f32();
            const auto color = in.pen("Color");
            const auto lay = in.integer<uint8_t>();
            AddSheetLine(d, x1, y1, x2, y2, color, lay, in.lineType("LineType"));
        } else if (KindIs(row, "AddText") || KindIs(row, "AddTextV")) {
            RowReader in(row, csvName, 7);
            const float x1 = in.f32(), y1 = in.f32(), x2 = in.f32(), y2 = in.f32();
            const auto mojiNo = in.textSize("MojiNo");
            const auto lay = in.integer<uint8_t>();
            AddSheetText(d, x1, y1, x2, y2, mojiNo, lay, in.text(), KindIs(row, "AddTextV"));
        } else if (KindIs(row, "AddCircle")) {
            RowReader in(row, csvName, 10);
            const float x = in.f32(), y = in.f32(), r = in.f32(), flatness = in.f32();
            const float start = in.f32(), end = in.f32(), tilt = in.f32();
            const auto color = in.pen("Color");
            const auto lay = in.integer<uint8_t>();
            AddSheetCircle(d, x, y, r, flatness, start, end, tilt, color, lay, in.lineType("LineType"));
        } else if (KindIs(row, "AddSolid")) {
            RowReader in(row, csvName, 6);
            const float x1 = in.f32(), y1 = in.f32(), x2 = in.f32(), y2 = in.f32();
            const auto color = in.integer<int32_t>();
            AddSheetSolid(d, x1, y1, x2, y2, color, in.integer<uint8_t>());
        } else if (KindIs(row, "Comment")) {
            RowReader in(row, csvName, 2);
            d.Comment1 = in.text();
            d.Comment2 = in.text();
        } else {
            throw Error::badFile(csvName, "line " + std::to_string(row.line) + ": unknown kind \"" + row.fields[0] +
                                              "\" (expected AddLine, AddText, AddTextV, AddCircle, AddSolid or "
                                              "Comment)");
        }
    }
}

void LoadSheetText(TJwObject& drawing, std::string bytes, const std::string& name, TextEncoding encoding) {
    const std::string text = TextFileToShiftJis(std::move(bytes), encoding, name);
    ApplySettings(drawing, ReadStoredSettings());
    ReplaySheetRows(drawing, ParseRecordCsv(text, isSheetKind), name);
}

void LoadSheet(TJwObject& drawing, const std::string& path, TextEncoding encoding) {
    LoadSheetText(drawing, ReadInput(path), InputName(path), encoding);
}

std::vector<std::string> SettingsInputs() {
    const SettingsStore store = CurrentSettingsStore();
    return {store.iniPath(), store.datPath()};
}

std::vector<std::string> ExportInputs(const std::string& input) {
    std::vector<std::string> inputs = SettingsInputs();
    inputs.push_back(input);
    return inputs;
}

DxfProfile DxfProfileOption(const Args& args, const Output& output) {
    if (!args.has("--dxf")) return DxfProfile::Jw;
    if (&output.kind() != &kDxfOutput) throw UsageError{"--dxf is for DXF output (OUT.dxf or --to dxf)"};
    return DxfProfileOption(args);
}

DxfProfile DxfProfileOption(const Args& args) {
    const std::string name = args.value("--dxf");
    if (name == "jw") return DxfProfile::Jw;
    if (name == "2000") return DxfProfile::R2000;
    if (name == "2018") return DxfProfile::R2018;
    throw UsageError{"--dxf takes jw, 2000 or 2018, not \"" + name + "\""};
}

void WriteExportDrawing(const TJwObject& drawing, const Output& output, DxfProfile profile,
                        std::vector<std::string>* notes) {
    if (&output.kind() == &kDxfOutput) {
        try {
            output.write([&](ByteSink& sink) { WriteDxf(drawing, sink, {profile, platform::Cp932ToUtf8}); },
                         Backup::RenameOldToBak);
        } catch (const Error& e) {
            if (!e.file().empty()) throw;
            throw CommandError{output.isStandardOutput() ? "stdout" : output.name(), e.detail()};
        }
    } else if (&output.kind() == &kJwcOutput) {
        const std::unique_ptr<TJwcFile> jwc = MakeJwcFromExport(drawing);
        output.write([&](ByteSink& sink) { WriteJwc(*jwc, sink); }, Backup::RenameOldToBak);
        if (const int64_t empty = TextsLeftOutOfJwc(drawing)) {
            const std::string note = std::to_string(empty) + (empty == 1 ? " empty text" : " empty texts") +
                                     " left out (readers refuse empty texts in a .jwc)";
            if (notes)
                notes->push_back(note);
            else
                ReportNote(output.isStandardOutput() ? "stdout" : output.name(), note);
        }
    } else {
        output.write([&](ByteSink& sink) { WriteJww(drawing, sink); });
    }
}

}  // namespace tavo::cli
