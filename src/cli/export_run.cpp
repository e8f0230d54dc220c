// tavo export: every input (and with --sheet all every sheet) to an output
// of its own, the outcome of each on one line, in processes of their own
// with --jobs.
#include "cli/export_run.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>

#include "base/ascii_case.h"
#include "base/error.h"
#include "base/path_text.h"
#include "cli/batch_run.h"
#include "cli/cli_args.h"
#include "cli/clipboard_copy.h"
#include "cli/error_report.h"
#include "cli/export_command.h"
#include "cli/export_summary.h"
#include "cli/input_kind.h"
#include "cli/number_text_cli.h"
#include "cli/output_rule.h"
#include "cli/run_settings.h"
#include "cli/text_encoding.h"
#include "cli/value_ranges.h"
#include "cli/view_command.h"
#include "cli/workbook_command.h"
#include "export/export_jwt_writer.h"
#include "export/jw_object.h"
#include "workbook/workbook_reader.h"

namespace tavo::cli {

namespace {

const OutputKinds kFileKinds{&kJwcOutput, &kJwwOutput, &kJwtOutput, &kDxfOutput};
constexpr int kMaxJobs = 64;

const OutputKind* fileKind(const std::string& target) {
    for (const OutputKind* k : kFileKinds)
        if (EqualsIgnoringAsciiCase(target, k->name)) return k;
    return nullptr;
}

bool displayAvailable() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* v = std::getenv(name);
        if (v && *v) return true;
    }
    return false;
}

bool namesFolder(const std::string& out) {
    std::error_code ignored;
    return !out.empty() && out != "-" && (out.back() == '/' || std::filesystem::is_directory(out, ignored));
}

// What the stored ExportTarget asks for when neither --to nor -o says.
std::string storedTarget(const TSettings& s) {
    switch (s.ExportTarget) {
        case 1: return "clipboard";
        case 2: return "jwc";
        case 3: return "jww";
        default: return "preview";
    }
}

struct ExportOptions {
    bool json = false, quiet = false, verbose = false, fit = false;
    int jobs = 1;
    TextEncoding encoding = TextEncoding::Detect;
    workbook::WorkbookExportOptions sheet;
    DxfProfile dxf = DxfProfile::Jw;
    int plotOffset = 0;
    std::string settings;  // described, for -v and --json
};

// The sheet and range of one task.
workbook::WorkbookExportOptions sheetOf(const ExportTask& task, const ExportOptions& o) {
    workbook::WorkbookExportOptions sheet = o.sheet;
    if (task.sheet) sheet.sheet = task.sheet;
    return sheet;
}

// The drawing of one task, its summary filled as far as the input tells.
void makeDrawing(Input& in, const ExportTask& task, const ExportOptions& o, TJwObject& drawing,
                 ExportSummary& summary) {
    if (IsWorkbookInput(in)) {
        const workbook::WorkbookExportReport report =
            LoadBookDrawing(in.file(), in.name(), sheetOf(task, o), o.jobs <= 1 && !o.quiet, drawing);
        summary.sheet = report.sheet;
        summary.range = report.range;
        summary.notDrawn = report.notDrawn;
        summary.notDrawnText = report.notDrawnText();
        summary.warnings = report.warnings;
        return;
    }
    LoadSheetText(drawing, in.read(), in.name(), o.encoding);
}

// Writes one task's drawing as its target says.
void deliver(const TJwObject& drawing, const ExportTask& task, Input& in, const ExportOptions& o,
             const std::vector<std::string>& inputs, ExportSummary& summary) {
    if (task.target == "preview") {
        ShowInPreview(in, sheetOf(task, o), o.encoding, in.bytes() ? "" : in.path());
        return;
    }
    if (task.target == "clipboard") {
        CopyToDesktopClipboard(ExportToJwt(drawing));  // the text ObjCopyToAsJwt gives, kept past tavo's end
        return;
    }
    const Output output(task.output, kFileKinds, task.target, inputs);
    if (&output.kind() == &kJwcOutput) {
        const std::string problem = CommentsProblem(drawing.Comment1, drawing.Comment2);
        if (!problem.empty()) throw CommandError{in.name(), problem};
        WarnOfFillsLeftOut(summary);
    }
    if (&output.kind() == &kJwtOutput) {
        output.write(ExportToJwt(drawing));
        return;
    }
    WriteExportDrawing(drawing, output, o.dxf, &summary.warnings);
}

Outcome runTask(std::vector<std::unique_ptr<Input>>& inputs, const ExportTask& task, const ExportOptions& o,
                const std::vector<std::string>& protectedFiles) {
    Input& in = *inputs[task.input];
    ExportSummary summary;
    summary.input = in.name();
    summary.output = task.output.empty() ? task.target : task.output == "-" ? "stdout" : task.output;
    summary.settings = o.settings;
    Outcome outcome;
    try {
        TJwObject drawing;
        makeDrawing(in, task, o, drawing, summary);
        MeasureDrawing(drawing, o.plotOffset, o.fit, summary);
        deliver(drawing, task, in, o, protectedFiles, summary);
    } catch (...) {
        // The file the failure names (the output, the clipboard), else the input.
        const std::string error = FailureText(std::current_exception());
        const std::string file = FailureFile(std::current_exception());
        const std::string where = file.empty() || file == in.path() || file == in.name()
                                      ? in.name() + (task.sheet ? ": sheet \"" + *task.sheet + "\"" : "")
                                      : file;
        outcome.messages = Utf8ForPerson("tavo: " + where + ": " + error) + "\n";
        outcome.json = FailureJson(in.name(), (where == in.name() ? "" : where + ": ") + error);
        return outcome;
    }
    outcome.ok = true;
    const std::string where = "tavo: " + in.name() + ": " + (summary.sheet.empty() ? "" : "sheet \"" + summary.sheet + "\": ");
    for (const std::string& w : summary.warnings) outcome.messages += Utf8ForPerson(where + w) + "\n";
    if (!summary.notDrawnText.empty())
        outcome.messages += Utf8ForPerson(where + summary.notDrawnText + " not drawn") + "\n";
    if (!task.note.empty()) outcome.messages += Utf8ForPerson("tavo: " + in.name() + ": " + task.note) + "\n";
    if (!o.quiet) outcome.messages += Utf8ForPerson("tavo: " + in.name() + ": " + SummaryLine(summary, o.verbose)) + "\n";
    outcome.json = SummaryJson(summary);
    return outcome;
}

ExportOptions optionsOf(const Args& args) {
    ExportOptions o;
    o.json = args.has("--json");
    o.quiet = args.has("-q");
    o.verbose = args.has("-v");
    if (o.quiet && o.verbose) throw UsageError{"-q and -v contradict each other"};
    o.fit = args.has("--fit");
    if (args.has("--jobs") && (!ParseWhole(args.value("--jobs"), o.jobs) || o.jobs < 1 || o.jobs > kMaxJobs))
        throw UsageError{"--jobs takes a whole number from 1 to " + std::to_string(kMaxJobs) + ", not \"" +
                         args.value("--jobs") + "\""};
    o.encoding = EncodingOption(args);
    o.sheet = SheetOptions(args);
    return o;
}

bool allSheets(const Args& args) { return EqualsIgnoringAsciiCase(args.value("--sheet"), "all"); }

// The target of the call: --to, else the name after -o, else the stored one.
std::string targetOf(const Args& args, const TSettings& stored) {
    if (args.has("--to")) {
        std::string to = args.value("--to");
        for (char& c : to) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (!fileKind(to) && to != "clipboard" && to != "preview")
            throw UsageError{"--to takes jwc, jww, jwt, dxf, clipboard or preview, not \"" + args.value("--to") + "\""};
        return to;
    }
    const std::string out = args.value("-o");
    if (args.has("-o") && !namesFolder(out) && out != "-") {
        const std::string ext = extractFileExt(out);
        for (const OutputKind* k : kFileKinds)
            if (EqualsIgnoringAsciiCase(ext, k->extension)) return k->name;
        return "";  // the output rule names the kinds
    }
    if (args.has("-o")) return out == "-" ? "" : "jwc";
    return storedTarget(stored);
}

// The input and sheet of every output; inputs that cannot be exported get
// their outcome in `early` instead.
std::vector<ExportTask> pairUp(const Args& args, std::vector<std::unique_ptr<Input>>& inputs,
                               std::vector<Outcome>& early) {
    const auto refuse = [&](std::size_t i, const std::string& why) {
        early[i].messages = Utf8ForPerson("tavo: " + inputs[i]->name() + ": " + why) + "\n";
        early[i].json = FailureJson(inputs[i]->name(), why);
    };
    std::vector<ExportTask> tasks;
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        if (!inputs[i]) continue;
        Input& in = *inputs[i];
        if (in.kind() == InputKind::Jwc || in.kind() == InputKind::JwwText) {
            refuse(i, std::string("is ") + KindWords(in.kind()) + ", not a workbook or CSV rows: use tavo convert");
            continue;
        }
        const bool book = IsWorkbookInput(in);
        if (!book && (args.has("--sheet") || args.has("--range") || args.has("--strict"))) {
            if (inputs.size() == 1) RefuseWorkbookOptions(args);
            refuse(i, "--sheet, --range and --strict are for workbooks; this is CSV rows");
            continue;
        }
        if (book && (args.has("--encoding") || args.has("--utf8"))) {
            if (inputs.size() == 1) throw UsageError{"--encoding is for CSV rows; a workbook's texts are Unicode"};
            refuse(i, "--encoding is for CSV rows; a workbook's texts are Unicode");
            continue;
        }
        if (!book || !allSheets(args)) {
            tasks.push_back({i, std::nullopt, "", "", ""});
            continue;
        }
        try {
            for (const std::string& name : workbook::ReadSheetNames(in.file())) tasks.push_back({i, name, "", "", ""});
        } catch (...) {
            refuse(i, FailureText(std::current_exception()));
        }
    }
    return tasks;
}

std::string baseName(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string OutputNameFor(const std::string& input, const std::optional<std::string>& sheet,
                          const std::string& extension, const std::string& folder) {
    std::string base = changeFileExt(baseName(input), "");
    if (sheet) {
        std::string part = *sheet;
        for (char& c : part)
            if (std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos ||
                static_cast<unsigned char>(c) < 0x20)
                c = '_';
        base += "-" + part;
    }
    return (folder.empty() ? extractFilePath(input) : folder) + base + extension;
}

int RunExport(const std::vector<std::string>& argv) {
    std::vector<std::string> valued = {"-o", "--to", "--encoding", "--sheet", "--range", "--dxf", "--jobs"};
    std::vector<std::string> flags = {"--utf8", "--strict", "--json", "--fit", "-q", "-v"};
    valued.insert(valued.end(), kSettingsOptions.begin(), kSettingsOptions.end());
    flags.insert(flags.end(), kSettingsFlags.begin(), kSettingsFlags.end());
    const Args args(argv, valued, flags);
    const std::vector<std::string>& paths = args.positional();
    if (paths.empty()) throw UsageError{"give BOOK.xlsx, BOOK.ods or IN.csv (one or more)"};
    if (std::count(paths.begin(), paths.end(), "-") > 1) throw UsageError{"stdin (-) can be read only once"};
    ExportOptions o = optionsOf(args);
    const std::string out = args.value("-o");
    const bool toFolder = args.has("-o") && namesFolder(out);
    const bool several = paths.size() > 1 || allSheets(args);
    if (several && args.has("-o") && !toFolder)
        throw UsageError{"several outputs need -o DIR/ (a folder, or a name ending in /), not -o " + out};
    if (o.json && out == "-") throw UsageError{"--json prints to stdout; write the drawing to a file"};

    RunSettings settings(args, several || o.jobs > 1);
    const TSettings stored = settings.record();
    o.plotOffset = stored.PlotOffset;
    o.settings = settings.describe();
    const bool fromStored = !args.has("--to") && !args.has("-o");  // the target the settings name
    std::string target = targetOf(args, stored);
    if (several && (target == "preview" || target == "clipboard")) {
        if (!fromStored) throw UsageError{"--to " + target + " takes one drawing; several go to files (-o DIR/)"};
        target = "jwc";
    }
    if ((target == "preview" || target == "clipboard") && args.has("-o"))
        throw UsageError{"--to " + target + " writes no file; leave out -o"};
    bool previewWithoutDisplay = false;
    if (target == "preview" && fromStored && !displayAvailable()) {
        target = "jwc";
        previewWithoutDisplay = true;
    }
    if (args.has("--dxf")) {
        if (target != "dxf") throw UsageError{"--dxf is for DXF output (OUT.dxf or --to dxf)"};
        o.dxf = DxfProfileOption(args);
    }

    std::vector<std::unique_ptr<Input>> inputs;
    std::vector<Outcome> early(paths.size());
    for (std::size_t i = 0; i < paths.size(); ++i) {
        try {
            inputs.push_back(std::make_unique<Input>(paths[i]));
        } catch (...) {
            inputs.emplace_back();
            const std::string error = FailureText(std::current_exception());
            early[i].messages = Utf8ForPerson("tavo: " + InputName(paths[i]) + ": " + error) + "\n";
            early[i].json = FailureJson(InputName(paths[i]), error);
        }
    }
    std::vector<ExportTask> tasks = pairUp(args, inputs, early);

    std::string folder = toFolder ? out + (out.back() == '/' ? "" : "/") : "";
    if (!folder.empty() && !tasks.empty()) {
        std::error_code failed;
        std::filesystem::create_directories(folder, failed);
        if (failed) throw CommandError{folder, "cannot be made: " + failed.message()};
    }
    const std::string storedFile = settings.storedFileName();
    std::map<std::string, std::size_t> named;
    for (ExportTask& t : tasks) {
        t.target = target;
        const OutputKind* kind = fileKind(target);
        const Input& in = *inputs[t.input];
        if (args.has("-o") && !toFolder) {
            t.output = out;  // the output rule refuses what does not name a kind
        } else if (!kind) {
            continue;  // the clipboard or the preview
        } else if (toFolder) {
            t.output = OutputNameFor(in.bytes() ? "stdin" : in.path(), t.sheet, kind->extension, folder);
        } else if (!several && !previewWithoutDisplay && !storedFile.empty()) {
            t.output = changeFileExt(storedFile, kind->extension);  // where the host saves it
        } else {
            if (in.path() == "-") throw UsageError{"a book from stdin needs -o OUT or -o DIR/"};
            t.output = OutputNameFor(in.path(), t.sheet, kind->extension, "");
            t.note = previewWithoutDisplay ? "no display for the preview: writing " + t.output + " beside it instead"
                                           : "no -o: writing " + t.output + " beside it";
        }
        const auto [at, fresh] = named.emplace(t.output, t.input);
        if (!fresh)
            throw UsageError{paths[at->second] + " and " + paths[t.input] + " would both be written to " + t.output +
                             "; give them different names or folders"};
    }
    std::vector<std::string> protectedFiles = settings.inputs();
    for (const std::string& p : paths)
        if (p != "-") protectedFiles.push_back(p);
    if (tasks.size() == 1 && !tasks[0].output.empty())  // a command line that cannot be used is said before any work
        Output(tasks[0].output, kFileKinds, tasks[0].target, protectedFiles);

    int status = 0;
    const auto print = [&](const Outcome& outcome, const std::string& name) {
        if (!outcome.ok) status = 1;
        std::cout.flush();
        std::cerr << outcome.messages;
        if (!outcome.lost.empty()) std::cerr << Utf8ForPerson("tavo: " + name + ": " + outcome.lost) << "\n";
        std::cerr.flush();
        if (o.json) WriteStandardOutput(Utf8ForPerson(outcome.lost.empty() ? outcome.json : FailureJson(name, outcome.lost)) + "\n");
    };
    for (std::size_t i = 0; i < paths.size(); ++i)
        if (!early[i].messages.empty()) print(early[i], InputName(paths[i]));
    RunEach(
        tasks.size(), std::min<int>(o.jobs, static_cast<int>(tasks.size())),
        [&](std::size_t i) { return runTask(inputs, tasks[i], o, protectedFiles); },
        [&](std::size_t i, const Outcome& outcome) { print(outcome, inputs[tasks[i].input]->name()); });
    return status;
}

}  // namespace tavo::cli
