// Load and save of a large drawing against a single fread / fwrite of the
// same bytes, and the memory the loaded drawing takes per record.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "jwc/jwc_file.h"
#include "jwc/jwc_reader.h"
#include "jwc/jwc_writer.h"

namespace {

constexpr int kLines = 1000000;
constexpr int kArcs = 100000;
constexpr int kTexts = 100000;
constexpr int kPoints = 100000;

std::string folder() {
    static const std::string dir = [] {
        const auto p = std::filesystem::temp_directory_path() / "tavo-bench";
        std::filesystem::create_directories(p);
        return p.string();
    }();
    return dir;
}

void fill(tavo::TJwcFile& d) {
    d.paperSize = 3;
    d.scale = 100;
    for (int i = 0; i < kLines; ++i)
        d.addSen() = tavo::Sen{float(i), 1, float(i) + 5, 2, 1, 2, 17, 0, 0};
    for (int i = 0; i < kArcs; ++i)
        d.addEnko() = tavo::Enko{float(i), 1, 5, 10000, 0, 90 * 65536, 0, 1, 2, 17, 0, 0};
    for (int i = 0; i < kTexts; ++i) {
        d.addMoji() = tavo::Moji{float(i), 1, float(i) + 10, 1, 0, 3, 240, 0};
        d.appendText("text " + std::to_string(i));
    }
    for (int i = 0; i < kPoints; ++i) d.addTen() = tavo::Ten{float(i), 2, 19, 2, 0};
}

const std::string& sampleFile() {
    static const std::string path = [] {
        const std::string p = folder() + "/large.jwc";
        tavo::TJwcFile d;
        fill(d);
        tavo::SaveJwcFile(d, p);
        return p;
    }();
    return path;
}

std::size_t fileSize() { return std::filesystem::file_size(sampleFile()); }

void BM_LoadJwc(benchmark::State& state) {
    const std::string& path = sampleFile();
    for (auto _ : state) {
        tavo::TJwcFile d;
        tavo::LoadJwcFile(d, path);
        benchmark::DoNotOptimize(d.senCount());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(fileSize()));
}
BENCHMARK(BM_LoadJwc)->Unit(benchmark::kMillisecond);

void BM_FreadSameBytes(benchmark::State& state) {
    const std::string& path = sampleFile();
    const std::size_t size = fileSize();
    for (auto _ : state) {
        std::vector<char> buffer(size);
        std::FILE* f = std::fopen(path.c_str(), "rb");
        benchmark::DoNotOptimize(std::fread(buffer.data(), 1, size, f));
        std::fclose(f);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(size));
}
BENCHMARK(BM_FreadSameBytes)->Unit(benchmark::kMillisecond);

void BM_SaveJwc(benchmark::State& state) {
    tavo::TJwcFile d;
    fill(d);
    const std::string path = folder() + "/saved.jwc";
    for (auto _ : state) tavo::SaveJwcFile(d, path);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(std::filesystem::file_size(path)));
}
BENCHMARK(BM_SaveJwc)->Unit(benchmark::kMillisecond);

void BM_FwriteSameBytes(benchmark::State& state) {
    const std::size_t size = fileSize();
    const std::vector<char> buffer(size, 'x');
    const std::string path = folder() + "/written.bin";
    for (auto _ : state) {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        benchmark::DoNotOptimize(std::fwrite(buffer.data(), 1, size, f));
        std::fclose(f);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(size));
}
BENCHMARK(BM_FwriteSameBytes)->Unit(benchmark::kMillisecond);

// The same, on the disk before it returns, as a save is.
void BM_FwriteAndSyncSameBytes(benchmark::State& state) {
    const std::size_t size = fileSize();
    const std::vector<char> buffer(size, 'x');
    const std::string path = folder() + "/written.bin";
    for (auto _ : state) {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        benchmark::DoNotOptimize(std::fwrite(buffer.data(), 1, size, f));
        std::fflush(f);
        fsync(fileno(f));
        std::fclose(f);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(size));
}
BENCHMARK(BM_FwriteAndSyncSameBytes)->Unit(benchmark::kMillisecond);

// Heap bytes a loaded drawing holds, against the packed size of its records
// and texts in the file.
void BM_MemoryPerRecord(benchmark::State& state) {
    const std::string& path = sampleFile();
    double ratio = 0;
    for (auto _ : state) {
        const std::size_t before = mallinfo2().uordblks;
        auto* d = new tavo::TJwcFile;
        tavo::LoadJwcFile(*d, path);
        const std::size_t held = mallinfo2().uordblks - before;
        const double packed = double(kLines) * 22 + double(kArcs) * 32 + double(kTexts) * 24 +
                              double(d->textAreaBytes()) + double(kPoints) * 12;
        ratio = double(held) / packed;
        delete d;
    }
    state.counters["heap/packed"] = ratio;
}
BENCHMARK(BM_MemoryPerRecord)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
