#include "cli/workbook_command.h"

#include <algorithm>
#include <array>
#include <fstream>

#include "base/ascii_case.h"
#include "base/path_text.h"
#include "cli/cli_args.h"
#include "cli/clipboard_copy.h"
#include "cli/export_command.h"
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
        o.range = workbook::ParseCellRange(args.value("--range"));
        if (!o.range) throw UsageError{"--range takes cells such as A1:K40, not \"" + args.value("--range") + "\""};
    }
    return o;
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
    for (const char* e : {".xlsx", ".xlsm", ".ods"})
        if (EqualsIgnoringAsciiCase(ext, e)) return true;
    return startsLikeWorkbook(path);
}

void RefuseWorkbookOptions(const Args& args) {
    if (args.has("--sheet") || args.has("--range")) throw UsageError{"--sheet and --range are for workbooks (.xlsx, .ods)"};
}

int RunWorkbookExport(const Args& args) {
    const std::string& book = args.positional()[0];
    workbook::LibraryExportCalls calls;
    std::string target = args.value("--to");
    if (target.empty() && !args.has("-o")) target = storedTarget(calls);

    if (args.has("--dxf") && (EqualsIgnoringAsciiCase(target, "preview") || EqualsIgnoringAsciiCase(target, "clipboard")))
        throw UsageError{"--dxf is for DXF output (OUT.dxf or --to dxf)"};
    if (EqualsIgnoringAsciiCase(target, "preview")) {
        if (args.has("-o")) throw UsageError{"--to preview writes no file; leave out -o"};
        MakeWorkbookDrawingCurrent(book, args);
        return ShowCurrentExportDrawing(calls.ReadIniString(3));
    }
    if (EqualsIgnoringAsciiCase(target, "clipboard")) {
        if (args.has("-o")) throw UsageError{"--to clipboard writes no file; leave out -o"};
        TJwObject drawing;
        LoadWorkbookDrawing(book, args, drawing);
        CopyToDesktopClipboard(ExportToJwt(drawing));  // the text ObjCopyToAsJwt gives, kept past tavo's end
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
    LoadWorkbookDrawing(book, args, drawing);
    WriteExportDrawing(drawing, output, profile);
    return 0;
}

void MakeWorkbookDrawingCurrent(const std::string& book, const Args& args) {
    const workbook::WorkbookExportOptions options = sheetOptions(args);
    TerminalProgress bar(book);
    workbook::MakeExportDrawingCurrent(book, options, [&bar](double f) { bar.update(f); });
}

void LoadWorkbookDrawing(const std::string& book, const Args& args, TJwObject& drawing) {
    MakeWorkbookDrawingCurrent(book, args);
    drawing = std::move(State().exportDrawing());
    ObjDestroy();
}

}  // namespace tavo::cli
