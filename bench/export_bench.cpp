// AddSen and AddLine calls per second through the exported functions.
#include <benchmark/benchmark.h>

#include "tavo.h"

namespace {

void BM_AddSenExport(benchmark::State& state) {
    JwcCreate(3, 100);
    int64_t added = 0;
    for (auto _ : state) {
        AddSen(float(added & 1023), 1.5f, 300, 2.5f, 2, 17, 1, 0, 0);
        if (++added % (1 << 22) == 0) {
            state.PauseTiming();
            JwcCreate(3, 100);  // keep memory bounded
            state.ResumeTiming();
        }
    }
    state.SetItemsProcessed(added);
    JwcDestroy();
}
BENCHMARK(BM_AddSenExport);

void BM_AddLineExport(benchmark::State& state) {
    ObjCreateByInifile();
    int64_t added = 0;
    for (auto _ : state) {
        AddLine(float(added & 1023), 1.5f, 300, 2.5f, 2, 241, 1);
        if (++added % (1 << 22) == 0) {
            state.PauseTiming();
            ObjCreateByInifile();  // keep memory bounded
            state.ResumeTiming();
        }
    }
    state.SetItemsProcessed(added);
    ObjDestroy();
}
BENCHMARK(BM_AddLineExport);

}  // namespace

BENCHMARK_MAIN();
