// tavo export of 200 books: one call with --jobs 2 against 200 calls of one
// book each, the command's own runs in real time. The outputs of the two
// must be the same bytes; a difference stops the benchmark with an error.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
constexpr int kBooks = 200;

fs::path benchDir() { return fs::temp_directory_path() / "tavo-bench" / "batch"; }

// The books: copies of the bundled estimate form, each a name of its own.
const std::vector<std::string>& books() {
    static const std::vector<std::string> names = [] {
        const fs::path dir = benchDir() / "books";
        fs::create_directories(dir);
        // The factory settings, whatever the user keeps.
        const fs::path settings = benchDir() / "settings";
        fs::create_directories(settings);
        setenv("TAVO_SETTINGS_DIR", settings.c_str(), 1);
        std::vector<std::string> out;
        for (int i = 0; i < kBooks; ++i) {
            const fs::path book = dir / ("見積" + std::to_string(i) + ".xlsx");
            fs::copy_file(TAVO_EXAMPLES_DIR "/form.xlsx", book, fs::copy_options::overwrite_existing);
            out.push_back(book.string());
        }
        return out;
    }();
    return names;
}

// Runs tavo with `args`, stderr to /dev/null; its exit status.
int runTavo(const std::vector<std::string>& args) {
    std::vector<std::string> all = {TAVO_CLI};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed) return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string bytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

fs::path freshFolder(const char* name) {
    const fs::path dir = benchDir() / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

// Every output of the batch the same bytes as the single call's.
bool sameOutputs(benchmark::State& state) {
    for (const std::string& book : books()) {
        const std::string name = fs::path(book).stem().string() + ".jwc";
        const std::string single = bytesOf(benchDir() / "single" / name);
        if (single.empty() || single != bytesOf(benchDir() / "batch" / name)) {
            state.SkipWithError(("the outputs of " + name + " differ").c_str());
            return false;
        }
    }
    return true;
}

void BM_SingleCalls(benchmark::State& state) {
    for (auto _ : state) {
        const fs::path out = freshFolder("single");
        for (const std::string& book : books()) {
            const std::string jwc = (out / (fs::path(book).stem().string() + ".jwc")).string();
            if (runTavo({"export", "-q", book, "-o", jwc}) != 0) state.SkipWithError("a single call failed");
        }
    }
    state.counters["books"] = kBooks;
}

void BM_BatchJobs2(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<std::string> args = {"export", "-q", "--jobs", "2"};
        for (const std::string& book : books()) args.push_back(book);
        args.push_back(freshFolder("batch").string() + "/");
        args.insert(args.end() - 1, "-o");
        if (runTavo(args) != 0) state.SkipWithError("the batch call failed");
    }
    state.counters["books"] = kBooks;
    if (fs::exists(benchDir() / "single")) sameOutputs(state);
}

}  // namespace

// The single calls first: the batch compares its outputs with theirs.
BENCHMARK(BM_SingleCalls)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_BatchJobs2)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

BENCHMARK_MAIN();
