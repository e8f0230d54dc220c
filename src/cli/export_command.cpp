#include "cli/export_command.h"

#include "base/ascii_case.h"
#include "base/error.h"
#include "base/file_save.h"
#include "cli/cli_args.h"
#include "cli/csv_row.h"
#include "cli/drawing_export_calls.h"
#include "cli/error_report.h"
#include "cli/output_rule.h"
#include "cli/value_ranges.h"
#include "export/dxf_writer.h"
#include "export/export_jwc_writer.h"
#include "export/jw_object.h"
#include "export/jww_writer.h"
#include "jwc/jwc_writer.h"
#include "jwc/jwc_file.h"
#include "platform/encoding.h"
#include "settings/settings_access.h"
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
    "usage: tavo export BOOK.xlsx|BOOK.ods|IN.csv... [-o OUT|-o DIR/] [--to KIND]\n"
    "                   [--sheet NAME|N|all] [--range [SHEET!]A1:K40] [--paper A0..A4] [--scale N] [--dim-scale F]\n"
    "                   [--solid|--no-solid] [--caret|--no-caret] [--settings FILE] [--fit]\n"
    "                   [--jobs N] [--dxf jw|2000|2018] [--encoding sjis|utf8] [--strict]\n"
    "                   [--json] [-q|-v]\n"
    "\n"
    "Draws a worksheet as a CAD drawing: borders become lines, cell texts texts, filled\n"
    "cells fills (with --solid), drawn shapes lines, arcs and texts. Pictures, charts and\n"
    "form controls are not drawn; the summary counts them.\n"
    "\n"
    "Inputs: workbooks (.xlsx, .xlsm, .ods) and CSV rows of drawing calls (below), known by\n"
    "their content, not their name; - reads stdin, and named pipes work. Several inputs, or\n"
    "--sheet all, need -o DIR/ (an existing folder or a name ending in /): each output is\n"
    "named after its input and sheet, BOOK.jwc or with --sheet all BOOK-SHEET.jwc. A failed\n"
    "input never stops the others; each input's outcome is one line on stderr, and the\n"
    "status is 0 only when all succeeded. --jobs N converts N at a time.\n"
    "\n"
    "The sheet: --sheet names it or gives its position from 1 (default: the sheet active\n"
    "when the book was saved; the summary names it); --range the cells (default: the used\n"
    "area). A character with no Shift-JIS form is drawn as \"?\" with a warning naming the\n"
    "cell (--strict: an error instead).\n"
    "\n"
    "Where it goes: --to jwc|jww|jwt|dxf|clipboard|preview, else the kind of -o's name, else\n"
    "the stored target (tavo config get ExportTarget). The factory target is the preview\n"
    "window; without a display, or without -o for several outputs, tavo writes BOOK.jwc\n"
    "beside the book instead and says so.\n"
    "  OUT.jwc    JW_CAD drawing (an existing file becomes OUT.bak). It has no record for\n"
    "             fills: they are left out with a warning; JWW text and DXF keep them.\n"
    "  OUT.txt    JWW coordinate file (jww), real-world millimetres\n"
    "  OUT.jwt    JWT text, the text other CAD programs paste, real-world millimetres\n"
    "  OUT.dxf    DXF drawing, real-world millimetres; --dxf jw (the default: R12 in\n"
    "             Shift-JIS as JW_CAD reads it), 2000 (R2000 with ellipses and hatches,\n"
    "             for AutoCAD, BricsCAD and LibreCAD) or 2018 (UTF-8, current programs)\n"
    "  -          stdout; --to says which kind\n"
    "  clipboard  JWT text on the desktop's clipboard (needs a display)\n"
    "  preview    the preview window, which saves and copies as above (needs a display)\n"
    "Texts in files are Shift-JIS, as JW_CAD reads them. The books and settings files\n"
    "read are never overwritten.\n"
    "\n"
    "Settings for this run only (the stored ones, tavo config, stay as they are):\n"
    "  --paper A0..A4     the paper\n"
    "  --scale N          the scale 1:N for every group, 1-1000\n"
    "  --dim-scale F      paper millimetres per point of column width and row height,\n"
    "                     0.035-3.5\n"
    "  --solid, --no-solid  draw filled cells as fills, or not\n"
    "  --caret, --no-caret  carets in texts as they are, or not\n"
    "  --settings FILE    another tavo.ini instead of the stored settings\n"
    "  --fit              when the drawing exceeds the paper, the smallest standard scale\n"
    "                     at which it fits (the summary warns of the size in any case)\n"
    "\n"
    "The summary: one line per output on stderr with the sheet and range, the counts of\n"
    "lines, texts, arcs and fills, and the drawing's size on the paper, after any warnings.\n"
    "-q leaves it out (warnings and errors stay), -v adds the settings used. --json also\n"
    "prints one JSON object per output, one a line, on stdout; the README lists its keys.\n"
    "\n"
    "CSV rows: every row is one drawing call, its kind first:\n"
    "  AddLine,X1,Y1,X2,Y2,Color,Lay,LineType\n"
    "  AddText,X1,Y1,X2,Y2,MojiNo,Lay,Text      (AddTextV: vertical text)\n"
    "  AddCircle,X,Y,R,Flatness,StartAngle,EndAngle,Tilt,Color,Lay,LineType\n"
    "  AddSolid,X1,Y1,X2,Y2,Color,Lay           (Color: a Windows colour, red in the low byte)\n"
    "  Comment,Comment1,Comment2                (a .jwc file keeps 32 bytes of each)\n"
    "Coordinates are millimetres on the paper, angles degrees, Lay is group x 16 + layer.\n"
    "Color 1-9, LineType 1-9 (in the low four bits) and MojiNo 1-10 are what JW_CAD knows:\n"
    "a row with another value is refused. Texts are UTF-8 when the file starts with a\n"
    "byte-order mark or is valid UTF-8, else Shift-JIS; --encoding (or --utf8) forces it.\n"
    "\n"
    "examples:\n"
    "  tavo export 見積.xlsx -o 見積.jwc\n"
    "  tavo export *.xlsx --sheet all -o drawings/ --jobs 2\n"
    "  tavo export 材料.ods --sheet 材料表 --paper A1 --fit -o 材料.dxf\n"
    "  cat book.xlsx | tavo export - --to jww -o - > book.txt\n";

void ReplaySheetRows(workbook::ExportCalls& calls, const std::vector<CsvRow>& rows, const std::string& csvName) {
    for (const CsvRow& row : rows) {
        if (KindIs(row, "AddLine")) {
            RowReader in(row, csvName, 7);
            const float x1 = in.f32(), y1 = in.f32(), x2 = in.f32(), y2 = in.f32();
            const auto color = in.pen("Color");
            const auto lay = in.integer<uint8_t>();
            calls.AddLine(x1, y1, x2, y2, color, lay, in.lineType("LineType"));
        } else if (KindIs(row, "AddText") || KindIs(row, "AddTextV")) {
            RowReader in(row, csvName, 7);
            const float x1 = in.f32(), y1 = in.f32(), x2 = in.f32(), y2 = in.f32();
            const auto mojiNo = in.textSize("MojiNo");
            const auto lay = in.integer<uint8_t>();
            if (KindIs(row, "AddTextV"))
                calls.AddTextV(x1, y1, x2, y2, mojiNo, lay, in.text());
            else
                calls.AddText(x1, y1, x2, y2, mojiNo, lay, in.text());
        } else if (KindIs(row, "AddCircle")) {
            RowReader in(row, csvName, 10);
            const float x = in.f32(), y = in.f32(), r = in.f32(), flatness = in.f32();
            const float start = in.f32(), end = in.f32(), tilt = in.f32();
            const auto color = in.pen("Color");
            const auto lay = in.integer<uint8_t>();
            calls.AddCircle(x, y, r, flatness, start, end, tilt, color, lay, in.lineType("LineType"));
        } else if (KindIs(row, "AddSolid")) {
            RowReader in(row, csvName, 6);
            const float x1 = in.f32(), y1 = in.f32(), x2 = in.f32(), y2 = in.f32();
            const auto color = in.integer<int32_t>();
            calls.AddSolid(x1, y1, x2, y2, color, in.integer<uint8_t>());
        } else if (KindIs(row, "Comment")) {
            RowReader in(row, csvName, 2);
            const std::string comment1 = in.text();
            calls.SetObjComment(comment1, in.text());
        } else {
            throw Error::badFile(csvName, "line " + std::to_string(row.line) + ": unknown kind \"" + row.fields[0] +
                                              "\" (expected AddLine, AddText, AddTextV, AddCircle, AddSolid or "
                                              "Comment)");
        }
    }
}

void ReplaySheetText(workbook::ExportCalls& calls, std::string bytes, const std::string& name,
                     TextEncoding encoding) {
    const std::string text = TextFileToShiftJis(std::move(bytes), encoding, name);
    const std::vector<CsvRow> rows = ParseRecordCsv(text, isSheetKind);
    calls.ObjCreateByInifile();
    ReplaySheetRows(calls, rows, name);
}

void LoadSheetText(TJwObject& drawing, std::string bytes, const std::string& name, TextEncoding encoding) {
    DrawingExportCalls calls(drawing);
    ReplaySheetText(calls, std::move(bytes), name, encoding);
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
