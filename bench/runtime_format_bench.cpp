// The runtime's number texts against snprintf, over 4,000,000 numbers: a JWW
// coordinate file of 1,000,000 lines of four numbers each.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "base/runtime_format.h"

namespace {

constexpr int kNumbers = 4000000;

// Drawing coordinates: single-precision values widened to double, from 0.001
// to 100000 in magnitude, either sign; every 16th one is zero.
const std::vector<double>& coordinates() {
    static const std::vector<double> values = [] {
        std::mt19937_64 rng(20240601);
        std::uniform_real_distribution<double> exponent(-3.0, 5.0);
        std::vector<double> v(kNumbers);
        for (int i = 0; i < kNumbers; ++i) {
            const double x = static_cast<float>(std::pow(10.0, exponent(rng)));
            v[i] = i % 16 == 0 ? 0.0 : (rng() & 1 ? -x : x);
        }
        return v;
    }();
    return values;
}

// Doubles with all their bits in use, from 1e-3 to 1e5 in magnitude.
const std::vector<double>& fullDoubles() {
    static const std::vector<double> values = [] {
        std::mt19937_64 rng(7);
        std::uniform_real_distribution<double> exponent(-3.0, 5.0);
        std::vector<double> v(kNumbers);
        for (double& x : v) x = (rng() & 1 ? -1 : 1) * std::pow(10.0, exponent(rng));
        return v;
    }();
    return values;
}

const std::vector<double>& dataSet(int which) {
    return which == 0 ? coordinates() : fullDoubles();
}

void label(benchmark::State& state) {
    state.SetLabel(state.range(0) == 0 ? "f32 coordinates" : "full doubles");
    state.SetItemsProcessed(state.iterations() * kNumbers);
}

void BM_SnprintfE(benchmark::State& state) {
    const auto& values = dataSet(int(state.range(0)));
    std::vector<char> text(std::size_t(kNumbers) * 32);
    for (auto _ : state) {
        char* p = text.data();
        char* const end = p + text.size();
        for (double v : values) p += std::snprintf(p, std::size_t(end - p), "%.6E", v);
        benchmark::DoNotOptimize(p);
        benchmark::ClobberMemory();
    }
    label(state);
}
BENCHMARK(BM_SnprintfE)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_AppendExponent7(benchmark::State& state) {
    const auto& values = dataSet(int(state.range(0)));
    std::string text;
    text.reserve(std::size_t(kNumbers) * 16);
    for (auto _ : state) {
        text.clear();
        for (double v : values) tavo::AppendExponent(text, v, 7);
        benchmark::DoNotOptimize(text.data());
        benchmark::ClobberMemory();
    }
    label(state);
}
BENCHMARK(BM_AppendExponent7)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_WriteExponent7(benchmark::State& state) {
    const auto& values = dataSet(int(state.range(0)));
    std::vector<char> text(std::size_t(kNumbers) * 32);
    for (auto _ : state) {
        char* p = text.data();
        for (double v : values) p += tavo::WriteExponent(p, v, 7);
        benchmark::DoNotOptimize(p);
        benchmark::ClobberMemory();
    }
    label(state);
}
BENCHMARK(BM_WriteExponent7)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_SnprintfF2(benchmark::State& state) {
    const auto& values = dataSet(int(state.range(0)));
    std::vector<char> text(std::size_t(kNumbers) * 32);
    for (auto _ : state) {
        char* p = text.data();
        char* const end = p + text.size();
        for (double v : values) p += std::snprintf(p, std::size_t(end - p), "%.2f", v);
        benchmark::DoNotOptimize(p);
        benchmark::ClobberMemory();
    }
    label(state);
}
BENCHMARK(BM_SnprintfF2)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_AppendFixed2(benchmark::State& state) {
    const auto& values = dataSet(int(state.range(0)));
    std::string text;
    text.reserve(std::size_t(kNumbers) * 16);
    for (auto _ : state) {
        text.clear();
        for (double v : values) tavo::AppendFixed(text, v, 2);
        benchmark::DoNotOptimize(text.data());
        benchmark::ClobberMemory();
    }
    label(state);
}
BENCHMARK(BM_AppendFixed2)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_AppendFixed3(benchmark::State& state) {
    const auto& values = dataSet(int(state.range(0)));
    std::string text;
    text.reserve(std::size_t(kNumbers) * 16);
    for (auto _ : state) {
        text.clear();
        for (double v : values) tavo::AppendFixed(text, v, 3);
        benchmark::DoNotOptimize(text.data());
        benchmark::ClobberMemory();
    }
    label(state);
}
BENCHMARK(BM_AppendFixed3)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
