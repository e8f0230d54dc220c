// The export macro (host/excel) on a 200 x 50 ruled sheet under headless
// LibreOffice, against the workbook host on the same book (the floor), and
// where the macro's time goes: its read of the sheet alone, one read of a
// property of every cell (the value, the shown text, the fill, whether it is
// merged, the font size, the alignment, the bottom border as the test
// harness hands it over, and the bottom border through LibreOffice's own
// emulation), and as many AddText calls into the recording stand-in. Times are of the
// Basic calls alone: LibreOffice's start and the book's loading are left
// out. One LibreOffice runs all the jobs once; each benchmark reports its
// job.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>

#include "excel_macro_support.h"
#include "ruled_sheet.h"
#include "workbook_support.h"

namespace {

namespace fs = std::filesystem;

const int kRows = 200, kColumns = 50;

// The factory settings, but a .jwc file as the target.
TavoSettings Settings() {
    TavoSettings s = tavo::test::FactoryHostSettings();
    s.ExportTarget = 2;
    return s;
}

fs::path Folder() {
    static const tavo::test::TempDir folder;
    return folder.path();
}

std::string Book() {
    const std::string path = (Folder() / "ruled-200x50.xlsx").string();
    if (!fs::exists(path)) WriteRuledSheet(path, kRows, kColumns);
    return path;
}

const std::vector<std::string> kProperties = {"value", "text", "interior", "merge", "font", "alignment",
                                              "borders", "borders-libreoffice", "add"};

// Seconds of each job's measured call, from one LibreOffice run.
const std::map<std::string, double>& Seconds() {
    static const std::map<std::string, double> seconds = [] {
        const std::string replies = tavo::test::SettingsReplies(Settings(), {{3, (Folder() / "out.jwc").string()}});
        std::vector<tavo::test::MacroJob> jobs;
        // Excel's widths and heights: a column of 8.43 characters and rows of 15 points.
        const auto job = [&](const std::string& name, std::vector<std::pair<std::string, std::vector<std::string>>> calls) {
            tavo::test::MacroJob j{name, Book()};
            for (int c = 0; c < kColumns; ++c) j.columns.emplace_back(c, 48);
            for (int r = 0; r < kRows; ++r) j.rows.emplace_back(r, 15);
            j.calls = std::move(calls);
            return j;
        };
        jobs.push_back(job("export", {{"StandInStart", {replies}}, {"TavoExportSheet", {}}}));
        jobs.push_back(job("read", {{"StandInStart", {replies}}, {"ProbeReadSheet", {}}}));
        for (const std::string& p : kProperties) jobs.push_back(job(p, {{"StandInStart", {replies}}, {"ProbeProperty", {p}}}));
        std::map<std::string, double> out;
        fs::create_directories(Folder() / "run");
        for (const auto& [name, result] : tavo::test::RunMacros(jobs, Folder() / "run"))
            if (result.error.empty() && result.seconds.size() == 2) out[name] = result.seconds[1];
        return out;
    }();
    return seconds;
}

void Report(benchmark::State& state, const std::string& job) {
    const auto it = Seconds().find(job);
    if (it == Seconds().end()) {
        state.SkipWithError(("the macro job \"" + job + "\" did not run (LibreOffice, python3-uno)").c_str());
        return;
    }
    for (auto _ : state) state.SetIterationTime(it->second);
    state.counters["cells"] = kRows * kColumns;
}

void BM_MacroExport(benchmark::State& state) { Report(state, "export"); }
BENCHMARK(BM_MacroExport)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_MacroReadSheetOnly(benchmark::State& state) { Report(state, "read"); }
BENCHMARK(BM_MacroReadSheetOnly)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_MacroPropertyOfEveryCell(benchmark::State& state) {
    const std::string& property = kProperties.at(static_cast<std::size_t>(state.range(0)));
    state.SetLabel(property);
    Report(state, property);
}
BENCHMARK(BM_MacroPropertyOfEveryCell)->DenseRange(0, static_cast<int>(kProperties.size()) - 1)->UseManualTime()->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// The floor: the workbook host reads the same book and makes the same calls, recorded.
void BM_WorkbookHostRecording(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(tavo::test::RecordExport(Book(), Settings()).calls.size());
}
BENCHMARK(BM_WorkbookHostRecording)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
