#include "cli/workbook_command.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <iostream>

#include "base/ascii_case.h"
#include "base/path_text.h"
#include "cli/cli_args.h"
#include "cli/clipboard_copy.h"
#include "cli/export_command.h"
#include "cli/json_text.h"
#include "cli/output_rule.h"
#include "cli/terminal_progress.h"
#include "cli/text_encoding.h"
#include "cli/view_command.h"
#include "export/export_jwt_writer.h"
#include "export/jw_object.h"
#include "interface/library_state.h"
#include "workbook/cell_address.h"
#include "workbook/workbook_export.h"

namespace tavo::cli {

namespace {

bool startsLikeWorkbook(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::array<char, 4> head{};
    in.read(head.data(), head.size());
    const std::string start(head.data(), static_cast<std::size_t>(in.gcount()));
    return start == std::string("PK\x03\x04", 4) || start == std::string("\xD0\xCF\x11\xE0", 4);
}

workbook::WorkbookExportOptions sheetOptions(const Args& args) {
    workbook::WorkbookExportOptions o;
    // Sheet names in a workbook are Unicode; the argument is in the locale's set.
    if (args.has("--sheet")) o.sheet = ArgumentToUtf8(args.value("--sheet"));
    if (args.has("--range")) {
        const std::string range = ArgumentToUtf8(args.value("--range"));
        o.range = workbook::ParseCellRange(range);
        if (!o.range) throw UsageError{"--range takes cells such as A1:K40 or Sheet1!A1:K40, not \"" + range + "\""};
        if (const auto sheet = workbook::RangeSheetName(range)) {
            if (o.sheet && *o.sheet != *sheet)
                throw UsageError{"--range is on sheet \"" + *sheet + "\" but --sheet names \"" + *o.sheet + "\""};
            o.sheet = sheet;
        }
    }
    o.strict = args.has("--strict");
    return o;
}

// What the export left out or changed, one line each on stderr.
void reportNotes(const std::string& book, const workbook::WorkbookExportReport& report) {
    const std::string where = "tavo: " + book + ": sheet \"" + report.sheet + "\": ";
    std::cout.flush();
    for (const std::string& w : report.warnings) std::cerr << Utf8ForPerson(where + w) << "\n";
    if (report.notDrawn.any()) std::cerr << Utf8ForPerson(where + report.notDrawnText() + " not drawn") << "\n";
}

// What the stored ExportTarget asks for when neither --to nor -o says.
std::string storedTarget(workbook::LibraryExportCalls& calls) {
    switch (calls.ReadInifile().ExportTarget) {
        case 1: return "clipboard";
        case 2: return "jwc";
        case 3: return "jww";
        default: return "preview";
    }
}

// The stored FileName, its extension the one of the target.
std::string storedOutput(workbook::LibraryExportCalls& calls, const std::string& target) {
    std::string stored = calls.ReadIniString(3);
    if (stored.empty()) throw UsageError{"export needs -o OUT (no file name is stored)"};
    if (EqualsIgnoringAsciiCase(target, kJwcOutput.name)) return changeFileExt(stored, kJwcOutput.extension);
    if (EqualsIgnoringAsciiCase(target, kJwwOutput.name)) return changeFileExt(stored, kJwwOutput.extension);
    if (EqualsIgnoringAsciiCase(target, kDxfOutput.name)) return changeFileExt(stored, kDxfOutput.extension);
    return stored;
}

}  // namespace

bool IsWorkbookInput(const std::string& path) {
    if (path == "-") return false;
    const std::string ext = extractFileExt(path);
    for (const char* e : {".xlsx", ".xlsm", ".xltx", ".xltm", ".ods", ".ots"})
        if (EqualsIgnoringAsciiCase(ext, e)) return true;
    return startsLikeWorkbook(path);
}

void RefuseWorkbookOptions(const Args& args) {
    if (args.has("--sheet") || args.has("--range") || args.has("--strict"))
        throw UsageError{"--sheet, --range and --strict are for workbooks (.xlsx, .ods)"};
}

int RunWorkbookExport(const Args& args) {
    const std::string& book = args.positional()[0];
    workbook::LibraryExportCalls calls;
    std::string target = args.value("--to");
    if (target.empty() && !args.has("-o")) target = storedTarget(calls);

    const bool json = args.has("--json");
    if (json && args.value("-o") == "-") throw UsageError{"--json prints to stdout; write the drawing to a file"};
    if (args.has("--dxf") && (EqualsIgnoringAsciiCase(target, "preview") || EqualsIgnoringAsciiCase(target, "clipboard")))
        throw UsageError{"--dxf is for DXF output (OUT.dxf or --to dxf)"};
    if (EqualsIgnoringAsciiCase(target, "preview")) {
        if (args.has("-o")) throw UsageError{"--to preview writes no file; leave out -o"};
        const workbook::WorkbookExportReport report = MakeWorkbookDrawingCurrent(book, args);
        const int status = ShowCurrentExportDrawing(calls.ReadIniString(3));
        if (json) std::cout << Utf8ForPerson(WorkbookReportJson(book, report)) << "\n";
        return status;
    }
    if (EqualsIgnoringAsciiCase(target, "clipboard")) {
        if (args.has("-o")) throw UsageError{"--to clipboard writes no file; leave out -o"};
        TJwObject drawing;
        const workbook::WorkbookExportReport report = LoadWorkbookDrawing(book, args, drawing);
        CopyToDesktopClipboard(ExportToJwt(drawing));  // the text ObjCopyToAsJwt gives, kept past tavo's end
        if (json) std::cout << Utf8ForPerson(WorkbookReportJson(book, report)) << "\n";
        return 0;
    }
    const OutputKinds files{&kJwcOutput, &kJwwOutput, &kDxfOutput};
    if (!target.empty() && std::none_of(files.begin(), files.end(), [&](const OutputKind* k) {
            return EqualsIgnoringAsciiCase(target, k->name);
        }))
        throw UsageError{"--to takes jwc, jww, dxf, clipboard or preview, not \"" + target + "\""};
    const std::string name = args.has("-o") ? args.value("-o") : storedOutput(calls, target);
    const Output output(name, files, target, ExportInputs(book));
    const DxfProfile profile = DxfProfileOption(args, output);
    TJwObject drawing;
    const workbook::WorkbookExportReport report = LoadWorkbookDrawing(book, args, drawing);
    WriteExportDrawing(drawing, output, profile);
    if (json) std::cout << Utf8ForPerson(WorkbookReportJson(book, report)) << "\n";
    return 0;
}

workbook::WorkbookExportReport MakeWorkbookDrawingCurrent(const std::string& book, const Args& args) {
    const workbook::WorkbookExportOptions options = sheetOptions(args);
    workbook::WorkbookExportReport report;
    {
        TerminalProgress bar(book);
        report = workbook::MakeExportDrawingCurrent(book, options, [&bar](double f) { bar.update(f); });
    }
    reportNotes(book, report);
    return report;
}

workbook::WorkbookExportReport LoadWorkbookDrawing(const std::string& book, const Args& args, TJwObject& drawing) {
    workbook::WorkbookExportReport report = MakeWorkbookDrawingCurrent(book, args);
    drawing = std::move(State().exportDrawing());
    ObjDestroy();
    return report;
}

std::string WorkbookReportJson(const std::string& book, const workbook::WorkbookExportReport& report) {
    JsonObject notDrawn;
    notDrawn.number("pictures", report.notDrawn.pictures)
        .number("charts", report.notDrawn.charts)
        .number("controls", report.notDrawn.controls)
        .number("shapes", report.notDrawn.shapes);
    std::string warnings = "[";
    for (const std::string& w : report.warnings) warnings += (warnings.size() > 1 ? ", " : "") + JsonString(w);
    warnings += "]";
    return JsonObject()
        .text("input", book)
        .text("sheet", report.sheet)
        .raw("not_drawn", notDrawn.str())
        .raw("warnings", warnings)
        .str();
}

}  // namespace tavo::cli
