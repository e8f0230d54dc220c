// A drawing of 1,000,000 lines and 100,000 texts saved as DXF in each
// profile, against writing the same number of lines of "%.6f" pairs with
// fprintf to the same disk (the build folder), with and without a sync at
// the end (the save syncs: a file is complete or not there). The memory the
// save takes beyond the drawing is its largest rise of the resident set.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "export/dxf_writer.h"
#include "bench_drawing.h"
#include "export/jw_object.h"
#include "platform/encoding.h"

namespace {

constexpr int kLines = 1000000;
constexpr int kTexts = 100000;

const tavo::TJwObject& drawing() {
    static const tavo::TJwObject d = bench::LinesAndTexts(kLines, kTexts, true);
    return d;
}

std::string folder() {
    const auto p = std::filesystem::current_path() / "dxf-bench";
    std::filesystem::create_directories(p);
    return p.string() + "/";
}

// Resident memory in KiB now and at its highest, from /proc.
long statusKiB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::string(field).size()));
    return 0;
}

void BM_SaveDxf(benchmark::State& state) {
    const tavo::TJwObject& d = drawing();
    const auto profile = static_cast<tavo::DxfProfile>(state.range(0));
    const std::string path = folder() + "drawing.dxf";
    std::ofstream("/proc/self/clear_refs") << "5";  // the peak starts again from here
    const long before = statusKiB("VmRSS:");
    std::filesystem::remove(path);
    for (auto _ : state) tavo::SaveDxf(d, path, {profile, tavo::platform::Cp932ToUtf8});
    state.counters["MiB_over_drawing"] = double(statusKiB("VmHWM:") - before) / 1024;
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(std::filesystem::file_size(path)));
    std::filesystem::remove(path);
    std::filesystem::remove(folder() + "drawing.bak");
}
BENCHMARK(BM_SaveDxf)->Arg(0)->Arg(1)->Arg(2)->ArgName("profile")->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FprintfPairs(benchmark::State& state) {
    const tavo::TJwObject& d = drawing();
    const std::string path = folder() + "pairs.txt";
    for (auto _ : state) {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        for (const tavo::TLineItem& l : d.Lines) std::fprintf(f, "%.6f %.6f %.6f %.6f\n", l.X1, l.Y1, l.X2, l.Y2);
        for (const tavo::TTextItem& t : d.Texts) std::fprintf(f, "%.6f %.6f %.6f %.6f\n", t.X1, t.Y1, t.X2, t.Y2);
        std::fflush(f);
        if (state.range(0)) fsync(fileno(f));
        std::fclose(f);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(std::filesystem::file_size(path)));
    std::filesystem::remove(path);
}
BENCHMARK(BM_FprintfPairs)->Arg(0)->Arg(1)->ArgName("sync")->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
