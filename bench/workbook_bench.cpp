// A workbook sheet to .jwc against liborcus's import filter loading the same
// file alone (into its own document, and its parsing only): a 200 x 50
// ruled sheet, and 10,000 x 20 cells of shared strings, a third of them with
// their reading (furigana), each with borders; sheets of 10,000 and 20,000
// rows, whose cost and memory should grow with the drawing; and a million
// formatted empty rows, .xlsx and .ods. Peak heap is measured by counting
// what the process allocates during each benchmark.
#include <benchmark/benchmark.h>
#include <orcus/orcus_xlsx.hpp>
#include <orcus/spreadsheet/document.hpp>
#include <orcus/spreadsheet/factory.hpp>
#include <orcus/spreadsheet/import_interface.hpp>
#include <sys/resource.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>

#include "tavo.h"
#include "workbook/cell_address.h"
#include "ignored_sheet.h"
#include "ruled_sheet.h"
#include "stored_zip.h"
#include "workbook/workbook_export.h"
#include "workbook/workbook_reader.h"

// Heap in use and its peak, counted for every allocation of the process.
std::atomic<std::size_t> gHeapNow{0}, gHeapPeak{0};

void* operator new(std::size_t n) {
    void* p = std::malloc(n == 0 ? 1 : n);
    if (!p) throw std::bad_alloc();
    const std::size_t now = gHeapNow += malloc_usable_size(p);
    for (std::size_t peak = gHeapPeak; now > peak && !gHeapPeak.compare_exchange_weak(peak, now);) {
    }
    return p;
}
void operator delete(void* p) noexcept {
    if (p) gHeapNow -= malloc_usable_size(p);
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace {

// Peak heap over the benchmark's runs, above what was in use before.
class HeapPeak {
public:
    HeapPeak() : base_(gHeapNow) { gHeapPeak = base_; }
    void report(benchmark::State& state) const {
        state.counters["peak_heap_mb"] = static_cast<double>(gHeapPeak - base_) / (1 << 20);
    }

private:
    std::size_t base_;
};

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
    if (!std::filesystem::exists(path)) WriteRuledSheet(path, rows, columns);
    return path;
}

// 10,000 x 20 cells with all four borders, each its own shared string; a
// third of the strings carry their reading, as a Japanese input method
// leaves it.
std::string FuriganaSheet() {
    const std::string path = (Folder() / "furigana-10000x20.xlsx").string();
    if (std::filesystem::exists(path)) return path;
    const std::string main = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
    const std::string rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    const std::string pkg = "http://schemas.openxmlformats.org/package/2006/relationships";
    std::string strings = "<?xml version=\"1.0\"?><sst xmlns=\"" + main + "\">";
    std::string sheet = "<?xml version=\"1.0\"?><worksheet xmlns=\"" + main + "\"><sheetData>";
    int n = 0;
    for (int r = 1; r <= 10000; ++r) {
        sheet += "<row r=\"" + std::to_string(r) + "\">";
        for (int c = 0; c < 20; ++c, ++n) {
            const std::string cell = std::string(1, static_cast<char>('A' + c)) + std::to_string(r);
            strings += n % 3 == 0 ? "<si><t>品名" + std::to_string(n) + "</t><rPh sb=\"0\" eb=\"2\"><t>ヒンメイ</t></rPh>"
                                    "<phoneticPr fontId=\"1\"/></si>"
                                  : "<si><t>品" + std::to_string(n) + "</t></si>";
            sheet += "<c r=\"" + cell + "\" s=\"1\" t=\"s\"><v>" + std::to_string(n) + "</v></c>";
        }
        sheet += "</row>";
    }
    const auto relationship = [&](const char* id, const char* type, const char* target) {
        return std::string("<Relationship Id=\"") + id + "\" Type=\"" + rel + "/" + type + "\" Target=\"" + target + "\"/>";
    };
    const std::string styles =
        "<styleSheet xmlns=\"" + main + "\"><fonts count=\"1\"><font><sz val=\"11\"/></font></fonts>"
        "<borders count=\"2\"><border/><border><left style=\"thin\"/><right style=\"thin\"/><top style=\"thin\"/>"
        "<bottom style=\"thin\"/></border></borders><cellXfs count=\"2\"><xf/><xf borderId=\"1\"/></cellXfs></styleSheet>";
    std::ofstream(path, std::ios::binary) << tavo::test::StoredZip({
        {"[Content_Types].xml", "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>"},
        {"_rels/.rels", "<Relationships xmlns=\"" + pkg + "\">" + relationship("r", "officeDocument", "xl/workbook.xml") + "</Relationships>"},
        {"xl/workbook.xml", "<workbook xmlns=\"" + main + "\" xmlns:r=\"" + rel +
                                "\"><sheets><sheet name=\"S\" sheetId=\"1\" r:id=\"s\"/></sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels", "<Relationships xmlns=\"" + pkg + "\">" + relationship("s", "worksheet", "worksheets/sheet1.xml") +
                                           relationship("t", "sharedStrings", "sharedStrings.xml") +
                                           relationship("y", "styles", "styles.xml") + "</Relationships>"},
        {"xl/styles.xml", styles},
        {"xl/sharedStrings.xml", strings + "</sst>"},
        {"xl/worksheets/sheet1.xml", sheet + "</sheetData></worksheet>"},
    });
    return path;
}

// A million empty rows, each formatted (filled, no border): a sheet formatted
// far below its one text. As .xlsx (a row element each) and as .ods (one
// repeated row).
std::string MillionRows(bool ods) {
    const std::string path = (Folder() / (ods ? "million.ods" : "million.xlsx")).string();
    if (std::filesystem::exists(path)) return path;
    if (ods) {
        const std::string ns =
            "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
            "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
            "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
            "xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\" "
            "xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\"";
        std::ofstream(path, std::ios::binary) << tavo::test::StoredZip({
            {"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
            {"content.xml", "<office:document-content " + ns + "><office:automatic-styles><style:style style:name=\"ce1\" "
                            "style:family=\"table-cell\"><style:table-cell-properties fo:background-color=\"#ffff00\"/>"
                            "</style:style></office:automatic-styles><office:body><office:spreadsheet><table:table table:name=\"S\">"
                            "<table:table-row><table:table-cell office:value-type=\"string\"><text:p>x</text:p></table:table-cell>"
                            "</table:table-row><table:table-row table:number-rows-repeated=\"1000000\"><table:table-cell "
                            "table:style-name=\"ce1\" table:number-columns-repeated=\"20\"/></table:table-row></table:table>"
                            "</office:spreadsheet></office:body></office:document-content>"},
        });
        return path;
    }
    lxw_workbook* wb = workbook_new(path.c_str());
    lxw_worksheet* ws = workbook_add_worksheet(wb, nullptr);
    lxw_format* yellow = workbook_add_format(wb);
    format_set_bg_color(yellow, 0xFFFF00);
    worksheet_write_string(ws, 0, 0, "x", nullptr);
    for (int r = 1; r <= 1000000; ++r) worksheet_set_row(ws, r, LXW_DEF_ROW_HEIGHT, yellow);
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

std::string Book(const benchmark::State& state) {
    const auto rows = static_cast<int>(state.range(0)), columns = static_cast<int>(state.range(1));
    return rows == 10000 && columns == 20 ? FuriganaSheet() : Sheet(rows, columns);
}

// liborcus loading the file into its own spreadsheet document, as its
// tools do.
void BM_LiborcusLoadAlone(benchmark::State& state) {
    const std::string path = Book(state);
    const HeapPeak heap;
    for (auto _ : state) {
        ss::document doc({1048576, 16384});
        ss::import_factory factory(doc);
        orcus::orcus_xlsx filter(&factory);
        filter.read_file(path);
    }
    heap.report(state);
}
BENCHMARK(BM_LiborcusLoadAlone)->Args({200, 50})->Args({10000, 20})->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Fastest);

// Its parsing only: the import filter into a factory that keeps nothing.
void BM_LiborcusParseOnly(benchmark::State& state) {
    const std::string path = Book(state);
    const HeapPeak heap;
    for (auto _ : state) {
        NoFactory factory;
        orcus::orcus_xlsx filter(&factory);
        filter.read_file(path);
    }
    heap.report(state);
}
BENCHMARK(BM_LiborcusParseOnly)->Args({200, 50})->Args({10000, 20})->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Fastest);

void BM_WorkbookToJwc(benchmark::State& state) {
    const std::string book = Book(state);
    const std::string out = (Folder() / "out.jwc").string();
    const char* name = out.c_str();
    const HeapPeak heap;
    for (auto _ : state) {
        tavo::workbook::MakeExportDrawingCurrent(book, {});
        ObjSaveToJwcFile(&name);
        ObjDestroy();
    }
    heap.report(state);
    state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(out));
}

// The same up to the export drawing, without the .jwc file: replacing a
// file safely (a new file renamed over the old) makes the file system write
// it out, which costs wall time, not processor time.
void BM_WorkbookToExportDrawing(benchmark::State& state) {
    const std::string book = Book(state);
    const HeapPeak heap;
    for (auto _ : state) {
        tavo::workbook::MakeExportDrawingCurrent(book, {});
        ObjDestroy();
    }
    heap.report(state);
}
BENCHMARK(BM_WorkbookToExportDrawing)->Args({200, 50})->Args({10000, 20})->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Fastest);

BENCHMARK(BM_WorkbookToJwc)
    ->Args({200, 50})
    ->Args({10000, 10})
    ->Args({20000, 10})
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", Fastest);

// A million formatted empty rows under one text: read, found to draw one cell.
void BM_MillionFormattedRows(benchmark::State& state) {
    const std::string book = MillionRows(state.range(0) == 1);
    for (auto _ : state) {
        tavo::workbook::MakeExportDrawingCurrent(book, {});
        ObjDestroy();
    }
}
BENCHMARK(BM_MillionFormattedRows)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

// The sheet read into its model alone, for where memory goes.
void BM_ReadSheetModel(benchmark::State& state) {
    const std::string book = FuriganaSheet();
    const HeapPeak heap;
    for (auto _ : state) {
        tavo::workbook::SheetModel model = tavo::workbook::ReadWorkbookSheet(book, {});
        benchmark::DoNotOptimize(model);
    }
    heap.report(state);
}
BENCHMARK(BM_ReadSheetModel)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Fastest);

}  // namespace

BENCHMARK_MAIN();
