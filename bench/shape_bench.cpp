// Brush-shape building: the built-in round shape and an image source (already cached) sized
// to the brush, for brush sizes 16, 64 and 128, plus turning a 256 x 256 image. Each case
// reports `x_memcpy`: its fastest iteration divided by the fastest memcpy of the bytes it
// writes (the S x S shape values, or the turned image), measured in the same run.
#include "bench_baseline.h"
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

#include "brush/shape.h"
#include "engine/engine_state.h"
#include "imaging/rotate.h"
#include "orvcore.h"

using namespace orv;

namespace {

double memcpySeconds(size_t bytes) { return orvbench::fastestMemcpySeconds(bytes, 50); }

RgbaImage gradient(int side) {
    RgbaImage img;
    img.resize(side, side);
    for (size_t i = 0; i < img.rgba.size(); ++i) img.rgba[i] = static_cast<uint8_t>(i % 4 == 3 ? 255 : i * 7);
    return img;
}

template <class F>
void timed(benchmark::State& state, size_t bytes, F&& run) {
    double best = 1e30;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        run();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    state.counters["x_memcpy"] = best / memcpySeconds(bytes);
}

void shapeCase(benchmark::State& state, bool fromImage) {
    const int size = static_cast<int>(state.range(0));
    ORV_CreateImage(nullptr, 16, 16, 128, 0);
    EngineState& s = engine();
    s.brush.settings.brushSize = size;
    s.brush.settings.edgeSoftness = 128;
    const char* path = fromImage ? "bench-source" : "";
    if (fromImage) {  // a cached 64 x 64 source: no file is read while timing
        s.brush.shapeSourceImage.image = gradient(64);
        s.brush.shapeSourceImage.path = path;
        s.brush.shapeSourceImage.angle = 0;
    }
    timed(state, static_cast<size_t>(size) * size * 2, [&] { setBrushShape(s, {path, 0, false}); });
    ORV_DeleteImage();
}

void BM_RoundShape(benchmark::State& state) { shapeCase(state, false); }
void BM_ImageShape(benchmark::State& state) { shapeCase(state, true); }

void BM_Rotate256(benchmark::State& state) {
    const RgbaImage src = gradient(256);
    RgbaImage out;
    timed(state, src.rgba.size(), [&] { rotateImage(src, 30, out); });
}

}  // namespace

BENCHMARK(BM_RoundShape)->Arg(16)->Arg(64)->Arg(128);
BENCHMARK(BM_ImageShape)->Arg(16)->Arg(64)->Arg(128);
BENCHMARK(BM_Rotate256);
