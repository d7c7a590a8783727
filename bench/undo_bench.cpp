// Undo history cost: recording a snapshot and undoing/redoing it, for a 512 x 512 stroke
// rectangle and a whole 4096 x 4096 page. Each case reports `x_memcpy`: its fastest
// iteration divided by the fastest of as many memcpys of the same bytes between two
// buffers, measured in the same run (fastest-of keeps other load on the machine out of
// the ratio).
#include "bench_baseline.h"
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

#include "engine/engine_state.h"
#include "orvcore.h"
#include "undo/undo.h"

using namespace orv;

namespace {

constexpr int kPage = 4096;

struct Case {
    const char* name;
    int w, h;  // the recorded rectangle, inclusive size
};
const Case kCases[] = {{"rect512", 512, 512}, {"page4096", kPage, kPage}};

void setUpPage() {
    static bool made = false;
    if (made) return;
    made = true;
    ORV_CreateImage(nullptr, kPage, kPage, 16, 0);
    ORV_CreateLayer(2, kPage, kPage);
    ORV_SetLayer(2);
    ORV_SetUndoMB(4096);
}

double memcpySeconds(size_t bytes, int64_t runs) { return orvbench::fastestMemcpySeconds(bytes, runs); }

double since(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

void markChanged(const Case& c) {
    // The dab painters leave x1, y1 one past the last changed pixel; the snapshot takes
    // x0..x1 inclusive, so a (w - 1) x (h - 1) stroke records w x h pixels.
    DirtyRect& d = engine().undo.dirtyRect;
    if (c.w >= kPage) return;  // no dab: the whole page is recorded
    d.grow(100, 100, 100 + c.w - 1, 100 + c.h - 1);
}

// The fastest iteration over the fastest memcpy of the same bytes, `copies` per iteration.
void reportRatio(benchmark::State& st, const Case& c, double bestSeconds, int copies) {
    const size_t bytes = static_cast<size_t>(c.w) * c.h * 8;
    st.counters["x_memcpy"] = bestSeconds / (memcpySeconds(bytes, st.iterations()) * copies);
    st.SetBytesProcessed(static_cast<int64_t>(st.iterations() * bytes * copies));
    st.SetLabel(c.name);
}

// One snapshot per iteration; the table keeps two entries, so each snapshot also releases
// the oldest one as it does in steady use.
void BM_Snapshot(benchmark::State& st) {
    setUpPage();
    const Case& c = kCases[st.range(0)];
    ORV_SetUndoLevels(2);
    for (int warm = 0; warm < 2; ++warm) {
        markChanged(c);
        ORV_SaveUndoBuffer(1, 0);
    }
    double best = 1e30;
    for (auto _ : st) {
        const auto t0 = std::chrono::steady_clock::now();
        markChanged(c);
        ORV_SaveUndoBuffer(1, 0);
        best = std::min(best, since(t0));
    }
    reportRatio(st, c, best, 1);
}

// One undo and one redo per iteration: two exchanges.
void BM_UndoRedo(benchmark::State& st) {
    setUpPage();
    const Case& c = kCases[st.range(0)];
    ORV_SetUndoLevels(2);
    markChanged(c);
    ORV_SaveUndoBuffer(1, 0);
    double best = 1e30;
    for (auto _ : st) {
        const auto t0 = std::chrono::steady_clock::now();
        ORV_Undo();
        ORV_Redo();
        best = std::min(best, since(t0));
    }
    reportRatio(st, c, best, 2);
}

}  // namespace

BENCHMARK(BM_Snapshot)->DenseRange(0, 1)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_UndoRedo)->DenseRange(0, 1)->Unit(benchmark::kMicrosecond)->UseRealTime();
