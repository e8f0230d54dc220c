#include "cli/workbook_command.h"

#include <algorithm>
#include <array>
#include <fstream>

#include "base/ascii_case.h"
#include "base/path_text.h"
#include "cli/cli_args.h"
#include "cli/terminal_progress.h"
#include "interface/library_state.h"
#include "workbook/cell_address.h"
#include "workbook/workbook_export.h"

namespace tavo::cli {

namespace {

const std::vector<std::string> kValued{"-o", "--to", "--sheet", "--range", "--size", "--export"};

bool StartsLikeWorkbook(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::array<char, 4> head{};
    in.read(head.data(), head.size());
    const std::string start(head.data(), static_cast<std::size_t>(in.gcount()));
    return start == std::string("PK\x03\x04", 4) || start == std::string("\xD0\xCF\x11\xE0", 4);
}

workbook::WorkbookExportOptions SheetOptions(const Args& args) {
    workbook::WorkbookExportOptions o;
    if (args.has("--sheet")) o.sheet = args.value("--sheet");
    if (args.has("--range")) {
        o.range = workbook::ParseCellRange(args.value("--range"));
        if (!o.range) throw UsageError{"--range takes cells such as A1:K40, not \"" + args.value("--range") + "\""};
    }
    return o;
}

// The sheet's drawing made current, with a progress bar on a terminal.
void MakeCurrent(const std::string& book, const Args& args) {
    TerminalProgress bar(book);
    workbook::MakeExportDrawingCurrent(book, SheetOptions(args), [&bar](double f) { bar.update(f); });
}

}  // namespace

bool IsWorkbookInput(const std::vector<std::string>& argv) {
    for (std::size_t i = 0; i < argv.size(); ++i) {
        if (std::find(kValued.begin(), kValued.end(), argv[i]) != kValued.end()) {
            ++i;
            continue;
        }
        if (argv[i].empty() || argv[i][0] == '-') continue;
        const std::string ext = extractFileExt(argv[i]);
        for (const char* e : {".xlsx", ".xlsm", ".ods"})
            if (EqualsIgnoringAsciiCase(ext, e)) return true;
        return StartsLikeWorkbook(argv[i]);
    }
    return false;
}

int RunWorkbookExport(const std::vector<std::string>& argv) {
    const Args args(argv, {"-o", "--to", "--sheet", "--range"}, {});
    if (args.positional().size() != 1) throw UsageError{"give one BOOK.xlsx or BOOK.ods"};
    const std::string book = args.positional()[0];
    workbook::LibraryExportCalls calls;

    // The target: --to, else the output name's extension, else the stored ExportTarget.
    std::string target = args.value("--to");
    std::string output = args.value("-o");
    if (target.empty() && !output.empty())
        target = EqualsIgnoringAsciiCase(extractFileExt(output), ".jwc") ? "jwc" : "jww";
    if (target.empty()) {
        switch (calls.ReadInifile().ExportTarget) {
            case 1: target = "clipboard"; break;
            case 2: target = "jwc"; break;
            case 3: target = "jww"; break;
            default:
                throw UsageError{"the stored target is the preview window: give -o OUT.jwc|OUT.txt or --to clipboard"};
        }
    }
    if (target != "jwc" && target != "jww" && target != "clipboard")
        throw UsageError{"--to takes jwc, jww or clipboard, not \"" + target + "\""};
    if (target == "clipboard" && !output.empty()) throw UsageError{"--to clipboard writes no file; leave out -o"};
    if (target != "clipboard" && output.empty()) {
        output = calls.ReadIniString(3);  // the stored FileName
        if (output.empty()) throw UsageError{"export needs -o OUT (no file name is stored)"};
        output = changeFileExt(output, target == "jwc" ? ".jwc" : ".txt");
    }

    MakeCurrent(book, args);
    struct Release {
        ~Release() { ObjDestroy(); }
    } release;
    if (target == "jwc")
        calls.ObjSaveToJwcFile(output);
    else if (target == "jww")
        calls.ObjSaveToTxtFile(output);
    else
        calls.ObjCopyToAsJwt();
    return 0;
}

void LoadWorkbookDrawing(const std::string& book, const Args& args, TJwObject& drawing) {
    MakeCurrent(book, args);
    drawing = std::move(State().exportDrawing());
    ObjDestroy();
}

}  // namespace tavo::cli
