// Dabs per second of the dab painter on a 2048 x 2048 page for brush sizes 16, 64 and 128:
// (a) an opaque round dab in mode 32 onto an opaque layer, (b) the same onto a transparent
// layer, (c) with grit, paper texture, a partial selection mask and pickup with remix,
// (d) mode 40 ("Overlay") onto an opaque layer. When the peer library is available the same
// run times its dabs of the same diameter on its fixed tiled surface, and every figure of
// ours carries "x_peer": our dabs per second divided by the peer's at that size (thread CPU
// time for both; run with OMP_NUM_THREADS=1 so the peer's tile processing stays on this
// thread). Dabs follow strokes with a spacing of a quarter diameter.
#include <benchmark/benchmark.h>

#include <ctime>
#include <map>

#include "brush/dab.h"
#include "engine/engine_state.h"
#include "orvcore.h"

#ifdef ORV_HAVE_MYPAINT
extern "C" {
#include <mypaint-fixed-tiled-surface.h>
#include <mypaint-surface.h>
}
#endif

using namespace orv;

namespace {

constexpr int kPage = 2048;
constexpr int kDabsPerBatch = 64;
std::map<int, double> peerRate;  // dabs per second of the peer, by diameter

// Dab centres along strokes: each dab a quarter diameter right of the last, the stroke
// moving down by one diameter when it reaches the right edge, back to the top at the end.
struct StrokePath {
    int size, i = 0;
    void next(int& x, int& y) {
        const int step = size / 4 > 0 ? size / 4 : 1, perRow = (kPage - 2 * size) / step, rows = (kPage - 2 * size) / size;
        x = size + (i % perRow) * step;
        y = size + ((i / perRow) % rows) * size;
        ++i;
    }
};

// CPU time of this thread, so that the ratios hold on a loaded machine.
double threadSeconds() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec * 1e-9;
}

enum Case { kOpaque, kTransparent, kLoaded, kOverlay };

void setUpPage(Case c, int size) {
    ORV_DeletePaintLayer();
    ORV_DeleteTexture();
    ORV_DeleteImage();
    engine().brush.settings = BrushSettings{};
    ORV_SetRandomSeed(7);
    ORV_CreateImage(nullptr, kPage, kPage, 128, 0);
    ORV_CreateLayer(1, kPage, kPage);
    ORV_CreateLayer(2, kPage, kPage);
    ORV_CreateLayer(3, kPage, kPage);
    ORV_SetLayer(2);
    ORV_SetLayerData(engine().layers.slots[1].pixels.data(), c == kTransparent ? 3 : 2);  // opaque white page
    ORV_SetSize(size);
    ORV_SetAlpha(100);
    ORV_SetDensity(200);
    const bool loaded = c == kLoaded;
    ORV_SetTool(1.0f, loaded ? 3 : 0, 128, 200, 64, 0, 1000000, loaded ? 128 : 0, loaded ? 64 : 0, loaded, 0, 0, 0, "", "", 0);
    if (loaded) {
        for (size_t i = 0; i < engine().mask.maskBuffer.size(); ++i)
            engine().mask.maskBuffer[i] = static_cast<uint16_t>(i % 7 ? 65535 : 30000 + i % 1000);
        ORV_SetLayerOptions(3, 1, 0, 100, "Texturize3");  // layer 3 becomes the paper texture
        ORV_SetLayer(2);
        ORV_CopyBlendBufferSurface(kPage / 2, kPage / 2, 64, 0);
    }
    if (c == kOverlay) ORV_SetMixMode(40, 200);
}

void BM_Dab(benchmark::State& state) {
    const Case c = static_cast<Case>(state.range(0));
    const int size = static_cast<int>(state.range(1));
    setUpPage(c, size);
    EngineState& s = engine();
    StrokePath path{size};
    const double t0 = threadSeconds();
    for (auto _ : state) {
        for (int k = 0; k < kDabsPerBatch; ++k) {
            int x, y;
            path.next(x, y);
            drawDabGrit(s, x, y, 0x8000, 0x4000, 0x2000);
        }
        benchmark::ClobberMemory();
    }
    const double secs = threadSeconds() - t0;
    const double rate = state.iterations() * kDabsPerBatch / secs;
    state.SetItemsProcessed(state.iterations() * kDabsPerBatch);
    if (peerRate.count(size)) state.counters["x_peer"] = rate / peerRate[size];
}

#ifdef ORV_HAVE_MYPAINT
void BM_PeerDab(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    MyPaintFixedTiledSurface* surf = mypaint_fixed_tiled_surface_new(kPage, kPage);
    MyPaintSurface* s = mypaint_fixed_tiled_surface_interface(surf);
    StrokePath path{size};
    const double t0 = threadSeconds();
    for (auto _ : state) {
        mypaint_surface_begin_atomic(s);
        for (int k = 0; k < kDabsPerBatch; ++k) {
            int x, y;
            path.next(x, y);
            mypaint_surface_draw_dab(s, x, y, size * 0.5f, 0.5f, 0.25f, 0.125f, 1.0f, 0.8f,
                                     1.0f, 1.0f, 0.0f, 0.0f, 0.0f);
        }
        MyPaintRectangle roi;
        mypaint_surface_end_atomic(s, &roi);
    }
    const double secs = threadSeconds() - t0;
    peerRate[size] = state.iterations() * kDabsPerBatch / secs;
    state.SetItemsProcessed(state.iterations() * kDabsPerBatch);
    mypaint_surface_unref(s);
}
BENCHMARK(BM_PeerDab)->ArgName("size")->Arg(16)->Arg(64)->Arg(128);
#endif

BENCHMARK(BM_Dab)->ArgNames({"case", "size"})->ArgsProduct({{kOpaque, kTransparent, kLoaded, kOverlay}, {16, 64, 128}});

}  // namespace
