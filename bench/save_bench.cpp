// What a save costs beside a plain write of the same bytes that is also
// synced to the disk: a small file (the size of a tavo.ini) with unnamed and
// named temporary files, and one settings write (lock, read, change, save).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "base/file_save.h"
#include "files/posix_files.h"
#include "settings/settings_store.h"

namespace {

std::string folder() {
    static const std::string dir = [] {
        const auto p = std::filesystem::temp_directory_path() / "tavo-bench-save";
        std::filesystem::create_directories(p);
        return p.string() + "/";
    }();
    return dir;
}

const std::string kBytes(4096, 'x');

void BM_SaveSmallFile(benchmark::State& state) {
    tavo::platform::UseUnnamedTemporaries(state.range(0) != 0);
    const std::string path = folder() + "small.ini";
    for (auto _ : state) tavo::saveFile(path, [](tavo::ByteSink& s) { s.write(kBytes); });
    tavo::platform::UseUnnamedTemporaries(true);
}
BENCHMARK(BM_SaveSmallFile)->Arg(1)->Arg(0)->ArgName("unnamed")->Unit(benchmark::kMicrosecond);

void BM_FwriteAndSyncSmallFile(benchmark::State& state) {
    const std::string path = folder() + "plain.ini";
    for (auto _ : state) {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(kBytes.data(), 1, kBytes.size(), f);
        std::fflush(f);
        fsync(fileno(f));
        std::fclose(f);
    }
}
BENCHMARK(BM_FwriteAndSyncSmallFile)->Unit(benchmark::kMicrosecond);

void BM_SettingsWriteOneKey(benchmark::State& state) {
    const tavo::SettingsStore store(folder());
    int i = 0;
    for (auto _ : state) store.writeKeys({{"Export", "JwcScale", std::to_string(++i % 500)}});
}
BENCHMARK(BM_SettingsWriteOneKey)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
