// Writing a 1,000,000-line export drawing as .jwc and as a JWW coordinate
// file, against formatting the same numbers with plain snprintf("%.6E").
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "base/byte_sink.h"
#include "export/export_jwc_writer.h"
#include "bench_drawing.h"
#include "export/jw_object.h"
#include "export/jww_writer.h"

namespace {

constexpr int kLines = 1000000;

const tavo::TJwObject& drawing() {
    static const tavo::TJwObject d = bench::LinesAndTexts(kLines, 0, false);
    return d;
}

// Counts bytes without keeping them.
class CountingSink final : public tavo::ByteSink {
public:
    using ByteSink::write;
    void write(const void*, std::size_t size) override { bytes += size; }
    std::size_t bytes = 0;
};

void BM_JwwToMemory(benchmark::State& state) {
    const tavo::TJwObject& d = drawing();
    std::size_t bytes = 0;
    for (auto _ : state) {
        CountingSink sink;
        tavo::WriteJww(d, sink);
        bytes = sink.bytes;
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
}
BENCHMARK(BM_JwwToMemory)->Unit(benchmark::kMillisecond);

void BM_SnprintfSameNumbers(benchmark::State& state) {
    const tavo::TJwObject& d = drawing();
    char buf[64];
    for (auto _ : state) {
        std::size_t bytes = 0;
        for (const tavo::TLineItem& l : d.Lines) {
            bytes += std::snprintf(buf, sizeof buf, "%.6E", l.X1);
            bytes += std::snprintf(buf, sizeof buf, "%.6E", l.Y1);
            bytes += std::snprintf(buf, sizeof buf, "%.6E", l.X2);
            bytes += std::snprintf(buf, sizeof buf, "%.6E", l.Y2);
        }
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_SnprintfSameNumbers)->Unit(benchmark::kMillisecond);

std::string folder() {
    const auto p = std::filesystem::temp_directory_path() / "tavo-bench";
    std::filesystem::create_directories(p);
    return p.string();
}

void BM_JwwFile(benchmark::State& state) {
    const tavo::TJwObject& d = drawing();
    const std::string path = folder() + "/lines.txt";
    for (auto _ : state) tavo::SaveJww(d, path);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(std::filesystem::file_size(path)));
}
BENCHMARK(BM_JwwFile)->Unit(benchmark::kMillisecond);

void BM_ExportJwcFile(benchmark::State& state) {
    const tavo::TJwObject& d = drawing();
    const std::string path = folder() + "/lines.jwc";
    for (auto _ : state) tavo::SaveExportAsJwc(d, path);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(std::filesystem::file_size(path)));
}
BENCHMARK(BM_ExportJwcFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
