// A workbook sheet to .jwc against liborcus loading the same file alone
// (into its own document, and its parsing only), and sheets of 10,000 and
// 20,000 rows, whose cost and memory should grow with the drawing.
#include <benchmark/benchmark.h>
#include <orcus/orcus_xlsx.hpp>
#include <orcus/spreadsheet/document.hpp>
#include <orcus/spreadsheet/factory.hpp>
#include <orcus/spreadsheet/import_interface.hpp>
#include <sys/resource.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tavo.h"
#include "workbook/cell_address.h"
#include "workbook/ignored_sheet.h"
#include "workbook/workbook_export.h"

namespace {

namespace ss = orcus::spreadsheet;
namespace iface = orcus::spreadsheet::iface;

// A folder for the sheets, the output and an empty settings folder (the
// factory settings), removed at the end.
class BenchFolder {
public:
    BenchFolder() : path(std::filesystem::temp_directory_path() / ("tavo-workbook-bench-" + std::to_string(getpid()))) {
        std::filesystem::create_directories(path / "settings");
        setenv("TAVO_SETTINGS_DIR", (path / "settings").c_str(), 1);
    }
    ~BenchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    const std::filesystem::path path;
};

std::filesystem::path Folder() {
    static const BenchFolder folder;
    return folder.path;
}

// rows x columns cells, each with all four borders and a text of its own.
std::string Sheet(int rows, int columns) {
    const std::string path = (Folder() / ("sheet-" + std::to_string(rows) + "x" + std::to_string(columns) + ".xlsx")).string();
    if (std::filesystem::exists(path)) return path;
    lxw_workbook* wb = workbook_new(path.c_str());
    lxw_worksheet* ws = workbook_add_worksheet(wb, nullptr);
    lxw_format* box = workbook_add_format(wb);
    format_set_border(box, LXW_BORDER_THIN);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            worksheet_write_string(ws, r, c, ("品" + std::to_string(r) + "-" + std::to_string(c)).c_str(), box);
    workbook_close(wb);
    return path;
}

class NoStrings : public iface::import_shared_strings {
public:
    size_t append(std::string_view) override { return n_++; }
    size_t add(std::string_view) override { return n_++; }
    void set_segment_font(size_t) override {}
    void set_segment_bold(bool) override {}
    void set_segment_italic(bool) override {}
    void set_segment_font_name(std::string_view) override {}
    void set_segment_font_size(double) override {}
    void set_segment_font_color(ss::color_elem_t, ss::color_elem_t, ss::color_elem_t, ss::color_elem_t) override {}
    void append_segment(std::string_view) override {}
    size_t commit_segments() override { return n_++; }

private:
    size_t n_ = 0;
};

class Resolver : public iface::import_reference_resolver {
public:
    ss::src_address_t resolve_address(std::string_view a) override {
        const auto cell = tavo::workbook::ParseCellAddress(a);
        ss::src_address_t r{};
        if (cell) {
            r.row = cell->first;
            r.column = cell->second;
        }
        return r;
    }
    ss::src_range_t resolve_range(std::string_view) override { return {}; }
};

class NoFactory : public iface::import_factory {
public:
    iface::import_shared_strings* get_shared_strings() override { return &strings_; }
    iface::import_reference_resolver* get_reference_resolver(ss::formula_ref_context_t) override { return &resolver_; }
    iface::import_sheet* append_sheet(ss::sheet_t, std::string_view) override { return &sheet_; }
    iface::import_sheet* get_sheet(std::string_view) override { return &sheet_; }
    iface::import_sheet* get_sheet(ss::sheet_t) override { return &sheet_; }
    void finalize() override {}

private:
    NoStrings strings_;
    tavo::workbook::IgnoredSheet sheet_;
    Resolver resolver_;
};


// On a shared machine the fastest of several runs is the steadiest figure.
double Fastest(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

// liborcus loading the file into its own spreadsheet document, as its
// tools do.
void BM_LiborcusLoadAlone(benchmark::State& state) {
    const std::string path = Sheet(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        ss::document doc({1048576, 16384});
        ss::import_factory factory(doc);
        orcus::orcus_xlsx filter(&factory);
        filter.read_file(path);
    }
}
BENCHMARK(BM_LiborcusLoadAlone)->Args({200, 50})->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Fastest);

// Its parsing only: the import filter into a factory that keeps nothing.
void BM_LiborcusParseOnly(benchmark::State& state) {
    const std::string path = Sheet(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        NoFactory factory;
        orcus::orcus_xlsx filter(&factory);
        filter.read_file(path);
    }
}
BENCHMARK(BM_LiborcusParseOnly)->Args({200, 50})->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Fastest);

void BM_WorkbookToJwc(benchmark::State& state) {
    const std::string book = Sheet(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const std::string out = (Folder() / "out.jwc").string();
    const char* name = out.c_str();
    for (auto _ : state) {
        tavo::workbook::MakeExportDrawingCurrent(book, {});
        ObjSaveToJwcFile(&name);
        ObjDestroy();
    }
    state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(out));
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_mb"] = static_cast<double>(usage.ru_maxrss) / 1024;
}
// The same up to the export drawing, without the .jwc file: replacing a
// file safely (a new file renamed over the old) makes the file system write
// it out, which costs wall time, not processor time.
void BM_WorkbookToExportDrawing(benchmark::State& state) {
    const std::string book = Sheet(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        tavo::workbook::MakeExportDrawingCurrent(book, {});
        ObjDestroy();
    }
}
BENCHMARK(BM_WorkbookToExportDrawing)->Args({200, 50})->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Fastest);

BENCHMARK(BM_WorkbookToJwc)
    ->Args({200, 50})
    ->Args({10000, 10})
    ->Args({20000, 10})
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", Fastest);

}  // namespace

BENCHMARK_MAIN();
