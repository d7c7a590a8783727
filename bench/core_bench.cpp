// Whole-page pixel transfer and line codes on a 4096 x 4096 page: RGBA32 loads (plain and
// weighted by a full mask), RGBA32 reads, clears, and a run-length round trip of every row
// (code, then decode back; the page holds runs of 1..32 equal pixels). Each case reports `x_memcpy`: its fastest iteration divided
// by the fastest memcpy of the layer's bytes (4096 x 4096 x 8) measured in the same run,
// and `x_memcpy_host`: the same against the host buffer's bytes (x 4, or the row codes).
// Fastest-of keeps other load on the machine out of the ratio.
#include "bench_baseline.h"
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <random>
#include <vector>

#include "engine/engine_state.h"
#include "orvcore.h"

using namespace orv;

namespace {

constexpr int kPage = 4096;
constexpr size_t kLayerBytes = size_t{kPage} * kPage * 8;
constexpr size_t kHostBytes = size_t{kPage} * kPage * 4;

std::vector<uint8_t>& hostBuffer() {
    static std::vector<uint8_t> b;
    return b;
}
std::vector<uint8_t>& codeBuffer() {
    static std::vector<uint8_t> b;
    return b;
}

void setUpPage() {
    static bool made = false;
    if (made) return;
    made = true;
    ORV_CreateImage(nullptr, kPage, kPage, 16, 0);
    ORV_CreateLayer(2, kPage, kPage);
    ORV_SetLayerOptions(2, 1, 0, 100, "Normal");
    ORV_SetLayer(2);
    // A painted-looking page: runs of 1..32 equal pixels, mostly opaque.
    auto& h = hostBuffer();
    h.resize(kHostBytes);
    std::mt19937 rng(1);
    for (size_t i = 0; i < h.size();) {
        const size_t run = 1 + rng() % 32;
        const uint32_t px = rng() | (rng() % 8 ? 0xFF000000u : 0u);
        for (size_t k = 0; k < run && i < h.size(); ++k, i += 4) std::memcpy(&h[i], &px, 4);
    }
    codeBuffer().resize(size_t{kPage} * kPage * 5);
}

double memcpySeconds(size_t bytes, int runs) { return orvbench::fastestMemcpySeconds(bytes, runs); }

// Code every row into one buffer, then decode every row back; returns the code's bytes.
size_t rleRoundTrip() {
    uint8_t* code = codeBuffer().data();
    std::vector<int32_t> lengths(kPage);
    size_t at = 0;
    for (int y = 0; y < kPage; ++y) at += lengths[y] = ORV_GetRGBA32LayerLineRLE(code + at, 2, y);
    at = 0;
    for (int y = 0; y < kPage; ++y) {
        ORV_PutRGBA32LayerLineRLE(code + at, 2, y);
        at += lengths[y];
    }
    return at;
}

struct Case {
    void (*run)();
    size_t (*hostBytes)();
    void (*prepare)() = nullptr;  // untimed, before every iteration
};

void loadContent() { ORV_LoadRGBA32(hostBuffer().data(), kPage * 4, 0); }

size_t hostPage() { return kHostBytes; }
size_t codeBytes() {
    loadContent();
    return rleRoundTrip();
}

void BM_Core(benchmark::State& st, Case c) {
    setUpPage();
    engine().mask.maskActive = 1;  // every mask value 0xFFFF: full coverage everywhere
    double best = 1e30;
    for (auto _ : st) {
        if (c.prepare) c.prepare();
        const auto t0 = std::chrono::steady_clock::now();
        c.run();
        const double dt = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        st.SetIterationTime(dt);
        best = std::min(best, dt);
    }
    const double layerCopy = memcpySeconds(kLayerBytes, 5), hostCopy = memcpySeconds(c.hostBytes(), 5);
    st.counters["best_ms"] = best * 1e3;
    st.counters["memcpy_ms"] = layerCopy * 1e3;
    st.counters["x_memcpy"] = best / layerCopy;
    st.counters["x_memcpy_host"] = best / hostCopy;
}

}  // namespace

BENCHMARK_CAPTURE(BM_Core, LoadRGBA32, Case{[] { ORV_LoadRGBA32(hostBuffer().data(), kPage * 4, 0); }, hostPage})
    ->UseManualTime()->Iterations(6)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Core, LoadRGBA32Weighted, Case{[] { ORV_LoadRGBA32(hostBuffer().data(), kPage * 4, 1); }, hostPage})
    ->UseManualTime()->Iterations(6)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Core, GetRGBA32, Case{[] { ORV_GetRGBA32(hostBuffer().data(), kPage * 4); }, hostPage})
    ->UseManualTime()->Iterations(6)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Core, Clear, Case{[] { ORV_Clear(10, 20, 30, 255); }, hostPage})
    ->UseManualTime()->Iterations(6)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Core, RLERoundTrip, Case{[] { rleRoundTrip(); }, codeBytes, loadContent})
    ->UseManualTime()->Iterations(6)->Unit(benchmark::kMillisecond);
