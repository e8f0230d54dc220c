// tavo audit against tavo info on a 30 MB .jwc (the command's own runs,
// their output to /dev/null), a clean file and one whose every record is a
// finding; and the audit alone against the plain load that info makes.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/audit_command.h"
#include "cli/info_command.h"
#include "jwc/jwc_audit.h"
#include "jwc/jwc_file.h"
#include "jwc/jwc_reader.h"
#include "jwc/jwc_writer.h"

namespace {

constexpr int kLines = 1000000;
constexpr int kArcs = 100000;
constexpr int kTexts = 100000;
constexpr int kPoints = 100000;

// About 30 MB; with `faulty` every record holds a value readers refuse.
std::string sampleFile(bool faulty) {
    const auto dir = std::filesystem::temp_directory_path() / "tavo-bench";
    std::filesystem::create_directories(dir);
    const std::string path = (dir / (faulty ? "audit-faulty.jwc" : "audit-clean.jwc")).string();
    if (std::filesystem::exists(path)) return path;
    tavo::TJwcFile d;
    d.paperSize = 3;
    d.scale = 100;
    d.head.Table.Pen[3] = 1;
    d.head.Table.Width[3] = d.head.Table.Height[3] = 30;
    const uint8_t pen = faulty ? 0 : 2;
    for (int i = 0; i < kLines; ++i) d.addSen() = tavo::Sen{float(i), 1, float(i) + 5, 2, 1, pen, 17, 0, 0};
    for (int i = 0; i < kArcs; ++i)
        d.addEnko() = tavo::Enko{float(i), 1, 5, 10000, faulty ? -65536 : 0, 90 * 65536, 0, 1, 2, 17, 0, 0};
    for (int i = 0; i < kTexts; ++i) {
        d.addMoji() = tavo::Moji{float(i), 1, faulty ? float(i) : float(i) + 10, 1, 0, 3, 240, 0};
        d.appendText("text " + std::to_string(i));
    }
    for (int i = 0; i < kPoints; ++i) d.addTen() = tavo::Ten{float(i), 2, 19, pen, 0};
    tavo::SaveJwcFile(d, path);
    return path;
}

// Standard output goes to /dev/null while it lives; the report after it
// goes where it always went.
class QuietStdout {
public:
    QuietStdout() : saved_(dup(STDOUT_FILENO)) {
        std::fflush(stdout);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        close(null);
    }
    ~QuietStdout() {
        std::fflush(stdout);
        dup2(saved_, STDOUT_FILENO);
        close(saved_);
    }
    QuietStdout(const QuietStdout&) = delete;
    QuietStdout& operator=(const QuietStdout&) = delete;

private:
    int saved_;
};

void run(benchmark::State& state, int (*command)(const std::vector<std::string>&)) {
    const std::string path = sampleFile(state.range(0) != 0);
    {
        const QuietStdout quiet;
        for (auto _ : state) benchmark::DoNotOptimize(command({path}));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(std::filesystem::file_size(path)));
}

void BM_InfoCommand(benchmark::State& state) { run(state, tavo::cli::RunInfo); }
void BM_AuditCommand(benchmark::State& state) { run(state, tavo::cli::RunAudit); }
BENCHMARK(BM_InfoCommand)->ArgName("faulty")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AuditCommand)->ArgName("faulty")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// What info reads without the audit: the library's load.
void BM_LoadOnly(benchmark::State& state) {
    const std::string path = sampleFile(state.range(0) != 0);
    for (auto _ : state) {
        tavo::TJwcFile d;
        tavo::LoadJwcFile(d, path);
        benchmark::DoNotOptimize(d.senCount());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(std::filesystem::file_size(path)));
}
BENCHMARK(BM_LoadOnly)->ArgName("faulty")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_AuditOnly(benchmark::State& state) {
    const std::string path = sampleFile(state.range(0) != 0);
    for (auto _ : state) benchmark::DoNotOptimize(tavo::AuditJwcFile(path).total());
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(std::filesystem::file_size(path)));
}
BENCHMARK(BM_AuditOnly)->ArgName("faulty")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
