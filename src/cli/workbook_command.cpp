#include "cli/workbook_command.h"

#include <iostream>

#include "base/ascii_case.h"
#include "base/error.h"
#include "base/path_text.h"
#include "cli/cli_args.h"
#include "cli/drawing_export_calls.h"
#include "cli/input_kind.h"
#include "cli/terminal_progress.h"
#include "cli/text_encoding.h"
#include "export/jw_object.h"
#include "workbook/cell_address.h"
#include "workbook/workbook_export.h"

namespace tavo::cli {

// What the export left out or changed, one line each on stderr.
void ReportWorkbookNotes(const std::string& book, const workbook::WorkbookExportReport& report) {
    const std::string where = "tavo: " + book + ": sheet \"" + report.sheet + "\": ";
    std::cout.flush();
    for (const std::string& w : report.warnings) std::cerr << Utf8ForPerson(where + w) << "\n";
    if (report.notDrawn.any()) std::cerr << Utf8ForPerson(where + report.notDrawnText() + " not drawn") << "\n";
}

workbook::WorkbookExportOptions SheetOptions(const Args& args) {
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

bool IsWorkbookInput(const Input& input) {
    if (input.kind() == InputKind::Workbook || input.kind() == InputKind::OtherZip ||
        input.kind() == InputKind::CompoundFile)
        return true;
    if (input.bytes()) return false;
    const std::string ext = extractFileExt(input.path());
    for (const char* e : {".xlsx", ".xlsm", ".xltx", ".xltm", ".ods", ".ots"})
        if (EqualsIgnoringAsciiCase(ext, e)) return true;
    return false;
}

void RefuseWorkbookOptions(const Args& args) {
    if (args.has("--sheet") || args.has("--range") || args.has("--strict"))
        throw UsageError{"--sheet, --range and --strict are for workbooks (.xlsx, .ods)"};
}

namespace {

// Exports the book's sheet through `calls`, with a progress bar when asked.
workbook::WorkbookExportReport ExportBook(const std::string& file, const std::string& name,
                                          const workbook::WorkbookExportOptions& options, bool progress,
                                          workbook::ExportCalls& calls) {
    try {
        if (!progress) return workbook::ExportWorkbookSheet(file, options, calls);
        TerminalProgress bar(name);
        return workbook::ExportWorkbookSheet(file, options, calls, [&bar](double f) { bar.update(f); });
    } catch (const Error& e) {
        // A book read from a pipe lies in a private copy; the message names what was given.
        if (file == name || e.file() != file) throw;
        throw Error(name, e.detail(), name + ": " + e.detail());
    }
}

}  // namespace

workbook::WorkbookExportReport MakeBookDrawingCurrent(const std::string& file, const std::string& name,
                                                     const workbook::WorkbookExportOptions& options, bool progress) {
    workbook::LibraryExportCalls calls;
    return ExportBook(file, name, options, progress, calls);
}

workbook::WorkbookExportReport LoadBookDrawing(const std::string& file, const std::string& name,
                                               const workbook::WorkbookExportOptions& options, bool progress,
                                               TJwObject& drawing) {
    DrawingExportCalls calls(drawing);
    return ExportBook(file, name, options, progress, calls);
}

workbook::WorkbookExportReport MakeWorkbookDrawingCurrent(const std::string& book, const Args& args) {
    workbook::WorkbookExportReport report = MakeBookDrawingCurrent(book, book, SheetOptions(args), true);
    ReportWorkbookNotes(book, report);
    return report;
}

workbook::WorkbookExportReport LoadWorkbookDrawing(const std::string& book, const Args& args, TJwObject& drawing) {
    workbook::WorkbookExportReport report = LoadBookDrawing(book, book, SheetOptions(args), true, drawing);
    ReportWorkbookNotes(book, report);
    return report;
}

}  // namespace tavo::cli
