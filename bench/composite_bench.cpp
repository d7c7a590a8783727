// Display render and layer merge on a 4096 x 4096 page with 8 visible layers.
//
// Each figure is reported as megapixels per second and as a ratio to a streaming read of
// the 8 layers' bytes measured in the same run ("x_read": render time / read time).
// Stacks: "normal" (8 Normal layers) and "mixed" (Normal with Multiply, Screen, Overlay,
// Soft Light and Darken). Layers hold large opaque shapes with soft edges, a half
// transparent band and transparent space, as painted pages do.
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <vector>

#include "composite/merge.h"
#include "composite/render.h"
#include "engine/engine_state.h"
#include "orvcore.h"

using namespace orv;

namespace {

constexpr int kSide = 4096;
constexpr int kLayers = 8;  // slots 1..8

void paintLayer(int slot) {
    uint16_t* p = engine().layers.slots[slot].pixels.data();
    const double cx = 700.0 + 380.0 * slot, cy = 4096.0 - 420.0 * slot, r = 900.0 + 60.0 * slot;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x, p += 4) {
            const double d = std::hypot(x - cx, y - cy);
            uint32_t a;
            if (d < r) a = 0xFFFF;
            else if (d < r + 48) a = static_cast<uint32_t>(0xFFFF * (r + 48 - d) / 48);
            else if (std::abs(y - 512 * slot) < 96) a = 0x8000;  // a half transparent band
            else a = 0;
            p[0] = static_cast<uint16_t>((x * 16 + slot * 4000) & 0xFFFF);
            p[1] = static_cast<uint16_t>((y * 16 + slot * 9000) & 0xFFFF);
            p[2] = static_cast<uint16_t>(((x + y) * 8 + slot * 13000) & 0xFFFF);
            p[3] = static_cast<uint16_t>(a);
        }
}

void makePage() {
    static bool made = false;
    if (made) return;
    made = true;
    ORV_CreateImage(nullptr, kSide, kSide, 64, 0);
    for (int slot = 1; slot <= kLayers; ++slot) {
        ORV_CreateLayer(slot, kSide, kSide);
        ORV_SetLayerOptions(slot, 1, 0, 100, "Normal");
        if (slot > 1) paintLayer(slot);
    }
    ORV_SetLayer(2);
    ORV_SetViewSize(kSide, kSide);
}

void setStack(bool mixed) {
    const char* modes[kLayers + 1] = {"", "Normal", "Normal", "Multiply", "Screen", "Overlay", "Normal", "Soft Light", "Darken"};
    for (int slot = 2; slot <= kLayers; ++slot) ORV_SetLayerOptions(slot, 1, 0, 100, mixed ? modes[slot] : "Normal");
}

// This thread's processor time: on a shared machine it is steadier than the wall clock.
double threadSeconds() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec * 1e-9;
}

double gReadCpu = 0.0;

// Seconds for one streaming read of the 8 layers (best of 5), wall clock; gReadCpu keeps
// the best processor time.
double readSeconds() {
    static double best = 0.0;
    if (best > 0.0) return best;
    makePage();
    best = gReadCpu = 1e9;
    for (int rep = 0; rep < 5; ++rep) {
        const double c0 = threadSeconds();
        const auto t0 = std::chrono::steady_clock::now();
        uint64_t sum = 0;
        for (int slot = 1; slot <= kLayers; ++slot) {
            const auto& px = engine().layers.slots[slot].pixels;
            const uint64_t* w = reinterpret_cast<const uint64_t*>(px.data());
            const size_t n = px.bytes() / 8;
            uint64_t s0 = 0, s1 = 0, s2 = 0, s3 = 0;
            for (size_t i = 0; i + 4 <= n; i += 4) s0 += w[i], s1 += w[i + 1], s2 += w[i + 2], s3 += w[i + 3];
            sum += s0 + s1 + s2 + s3;
        }
        benchmark::DoNotOptimize(sum);
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
        gReadCpu = std::min(gReadCpu, threadSeconds() - c0);
    }
    return best;
}

// cpuSeconds: processor time of the calling thread (meaningful when it did all the work).
void report(benchmark::State& state, double seconds, double outPixels, double cpuSeconds = 0.0) {
    const double per = seconds / static_cast<double>(state.iterations());
    state.counters["MP/s"] = outPixels / per / 1e6;
    state.counters["x_read"] = per / readSeconds();
    if (cpuSeconds > 0.0) state.counters["x_read_cpu"] = cpuSeconds / static_cast<double>(state.iterations()) / gReadCpu;
}

void BM_StreamingRead(benchmark::State& state) {
    makePage();
    for (auto _ : state) benchmark::DoNotOptimize(readSeconds());
    state.counters["read_ms"] = readSeconds() * 1e3;
    state.counters["read_cpu_ms"] = gReadCpu * 1e3;
    state.counters["GB/s"] = kLayers * double(kSide) * kSide * 8 / readSeconds() / 1e9;
}

// args: stack (0 normal, 1 mixed), scale, zoom x 10, threads (0 automatic)
void BM_Render(benchmark::State& state) {
    makePage();
    readSeconds();
    setStack(state.range(0) != 0);
    ORV_SetScale(static_cast<int32_t>(state.range(1)), static_cast<float>(state.range(2)) / 10.0f);
    setRenderThreads(static_cast<int>(state.range(3)));
    std::vector<uint8_t> out(size_t{kSide} * kSide * 3);
    const RenderPlan plan = makeRenderPlan(engine(), {out.data(), kSide * 3, 0, 0, kSide, kSide});
    double seconds = 0.0, cpu = 0.0;
    for (auto _ : state) {
        const double c0 = threadSeconds();
        const auto t0 = std::chrono::steady_clock::now();
        ORV_Render(out.data(), kSide * 3, 0, 0, kSide, kSide);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        cpu += threadSeconds() - c0;
        benchmark::ClobberMemory();
    }
    setRenderThreads(0);
    report(state, seconds, double(plan.outCols) * plan.outRows, state.range(3) == 1 ? cpu : 0.0);
}

void BM_MergeLayer(benchmark::State& state) {
    makePage();
    readSeconds();
    setStack(state.range(0) != 0);
    std::vector<uint16_t> keep(engine().layers.slots[2].pixels.size());
    std::memcpy(keep.data(), engine().layers.slots[2].pixels.data(), keep.size() * 2);
    double seconds = 0.0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        ORV_MergeLayer(3, 2);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        state.PauseTiming();
        std::memcpy(engine().layers.slots[2].pixels.data(), keep.data(), keep.size() * 2);
        state.ResumeTiming();
    }
    report(state, seconds, double(kSide) * kSide);
}

}  // namespace

BENCHMARK(BM_StreamingRead)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Render)
    ->ArgNames({"mixed", "scale", "zoom10", "threads"})
    ->Args({0, 1, 10, 0})
    ->Args({0, 1, 10, 1})
    ->Args({1, 1, 10, 0})
    ->Args({1, 1, 10, 1})
    ->Args({0, 4, 10, 0})
    ->Args({0, 1, 20, 0})
    ->Args({0, 1, 37, 0})
    ->Args({1, 1, 37, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK(BM_MergeLayer)->ArgNames({"mixed"})->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
