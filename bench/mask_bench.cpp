// Selection benchmarks on a 4096 x 4096 page: the connected magic wand (layer copy, region
// growing and selection), the colour-range maker over an RGBA32 buffer, and the unused-colour
// search over random colours. Each reports megapixels per second; the memcpy of the same
// RGBA32 bytes in the same run is the baseline for ratios.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "engine/engine_state.h"
#include "imaging/region_fill.h"
#include "imaging/unused_color.h"
#include "orvcore.h"

using namespace orv;

namespace {

constexpr int kSide = 4096;
constexpr double kPixels = double(kSide) * kSide;

void setRate(benchmark::State& st) {
    st.counters["MP/s"] = benchmark::Counter(kPixels / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

std::vector<uint8_t> randomRgba(uint32_t seed) {
    std::vector<uint8_t> px(size_t(kSide) * kSide * 4);
    std::mt19937 rng(seed);
    for (size_t i = 0; i < px.size(); i += 4) {
        uint32_t v = rng();
        std::memcpy(&px[i], &v, 4);
    }
    return px;
}

// A page of one colour with one pixel in 13 of a distant colour: a single region that winds
// around many holes.
std::vector<uint8_t> speckledRgba() {
    std::vector<uint8_t> px(size_t(kSide) * kSide * 4);
    for (size_t i = 0; i < px.size() / 4; ++i) {
        const bool speck = i % 13 == 0;
        px[i * 4 + 0] = speck ? 250 : 40;
        px[i * 4 + 1] = speck ? 10 : 80;
        px[i * 4 + 2] = speck ? 10 : 120 + static_cast<uint8_t>(i % 3);
        px[i * 4 + 3] = 255;
    }
    return px;
}

void BM_MemcpyPageRgba32(benchmark::State& st) {
    std::vector<uint8_t> a(size_t(kSide) * kSide * 4, 1), b(a.size());
    for (auto _ : st) {
        std::memcpy(b.data(), a.data(), a.size());
        benchmark::DoNotOptimize(b.data());
    }
    setRate(st);
}

void BM_WandConnected(benchmark::State& st) {
    ORV_CreateImage(nullptr, kSide, kSide, 16, 0);
    ORV_CreateLayer(2, kSide, kSide);
    ORV_SetLayer(2);
    {
        auto px = speckledRgba();
        std::vector<uint16_t> layer(px.size());
        for (size_t i = 0; i < px.size(); ++i) layer[i] = static_cast<uint16_t>(px[i] << 8);
        ORV_SetLayerData(layer.data(), 2);
    }
    for (auto _ : st) ORV_IPLMaskWand(1, 0, 200, 0, "Connected");
    setRate(st);
    ORV_DeleteImage();
}

// The region growing alone, without the layer copy and the selection around it.
void BM_ConnectedRegionMap(benchmark::State& st) {
    auto px = speckledRgba();
    std::vector<uint8_t> map(size_t(kSide) * kSide);
    const ImageView v = ImageView::packed(px.data(), kSide, kSide, 4);
    for (auto _ : st) benchmark::DoNotOptimize(colorMatchMap(v, 1, 0, 200 * 0.00002 * 195075, ByteMap{map.data(), kSide}));
    setRate(st);
}

void BM_ColorRangeMaker(benchmark::State& st) {
    ORV_CreateImage(nullptr, kSide, kSide, 16, 0);
    auto px = randomRgba(1);
    for (auto _ : st) ORV_CreateMaskFromRGBAImageColorRange(px.data(), 128, 128, 128, 25, 0);
    setRate(st);
    ORV_DeleteImage();
}

void BM_FindUnusedColorRandom(benchmark::State& st) {
    auto px = randomRgba(2);
    const ImageView v = ImageView::packed(px.data(), kSide, kSide, 4);
    for (auto _ : st) benchmark::DoNotOptimize(findUnusedColor(v));
    setRate(st);
}

}  // namespace

BENCHMARK(BM_MemcpyPageRgba32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WandConnected)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConnectedRegionMap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ColorRangeMaker)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindUnusedColorRandom)->Unit(benchmark::kMillisecond);
