// The row renderer: the same steps as the per-pixel reference, reorganised for speed.
//
// A row of page pixels is composited one layer at a time over an accumulator row. While a
// pixel has not been blended in floating point its float fields are exactly its fixed
// 16-bit fields converted (c / 65280, a / 65535), so they are only materialised when a
// floating-point blend needs them. Layers without mask, opacity, alpha transform or
// background role run a loop specialised for their formula; the others run the general
// loop. Magnified rows are composited once per page pixel and replicated. Rows may be split
// across threads; each row is independent, so the output does not depend on the split.
#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstring>
#include <thread>
#include <utility>
#include <vector>

#include "composite/render.h"
#include "composite/render_pixel.h"
#include "engine/engine_state.h"

namespace orv {

namespace {

std::atomic<int> gThreads{0};

struct RowState {
    std::vector<uint16_t> fixed;  // r, g, b, a per pixel
    std::vector<F4> acc;          // red, green, blue, alpha while blended
    std::vector<uint8_t> blended;
    std::vector<uint8_t> bytes;   // one composited row as blue, green, red
    void reset(size_t n) {
        fixed.assign(n * 4, 0);
        acc.resize(n);
        blended.assign(n, 0);
        bytes.resize(n * 3);
    }
};

struct Pass {
    const uint16_t* row;   // the layer's page row
    const uint16_t* mask;  // the layer-mask partner's page row, or null
    const int32_t* cols;   // page column of each pixel
    int32_t x0;            // first page column when the columns are contiguous
    int32_t mode;
    uint32_t opacity;
    bool background;
    int32_t layerM;          // blendsAs(mode) for a non-zero alpha
    bool replaceTexturize3;  // the Texturize3 paint layer shown over its own layer
    void (*blendFn)(RowState&, size_t, const Px&) noexcept;  // floating-point step for layerM
};

inline const uint16_t* srcAt(const uint16_t* row, const Pass& P, int i, bool gather) noexcept {
    return row + static_cast<size_t>(gather ? P.cols[i] : P.x0 + i) * 4;
}

const F4 kUnits = {65280.0f, 65280.0f, 65280.0f, 65535.0f};

// Floating-point blend of source c over pixel i of the accumulator.
template <blend::Formula F>
inline void blendAt(RowState& st, size_t i, const Px& c) noexcept {
    F4 d;
    if (st.blended[i]) {
        d = st.acc[i];
    } else {
        const uint16_t* f = &st.fixed[i * 4];
        d = F4{static_cast<float>(f[0]), static_cast<float>(f[1]), static_cast<float>(f[2]), static_cast<float>(f[3])} / kUnits;
    }
    const F4 cu = F4{static_cast<float>(c.r), static_cast<float>(c.g), static_cast<float>(c.b), static_cast<float>(c.a)} / kUnits;
    blend::In in;
    in.sa = cu[3];
    in.da = d[3];
    in.Sa = blend::splat(in.sa);
    in.Da = blend::splat(in.da);
    in.Sc = F4{cu[0], cu[1], cu[2], 0.0f};
    in.S = in.Sc * in.Sa;
    in.d = F4{d[0], d[1], d[2], 0.0f};
    in.D = in.d * in.Da;
    in.L = blend::meanColour(c);
    const blend::Result r = blend::finish(F(in));
    st.acc[i] = F4{r.Dc[0], r.Dc[1], r.Dc[2], r.Da};
    st.blended[i] = 1;
}

inline void setFixed(RowState& st, size_t i, const Px& c, uint32_t a) noexcept {
    uint16_t* f = &st.fixed[i * 4];
    f[0] = static_cast<uint16_t>(c.r), f[1] = static_cast<uint16_t>(c.g), f[2] = static_cast<uint16_t>(c.b), f[3] = static_cast<uint16_t>(a);
    st.blended[i] = 0;
}
inline bool emptyAt(const RowState& st, size_t i) noexcept { return !st.blended[i] && st.fixed[i * 4 + 3] == 0; }

// One accumulate step (after the alpha steps) for mode m; blendFloat does the
// floating-point blend.
template <class BlendFloat>
inline void accumulate(RowState& st, size_t i, const Px& c, int32_t m, BlendFloat&& blendFloat) noexcept {
    if (emptyAt(st, i)) {
        if (blend::isTexturize(m)) setFixed(st, i, Px{0, 0, 0, 0}, 0);
        else setFixed(st, i, c, c.a);
    } else if (c.a >= 0xFF00 && m == kBlendNormal) {
        setFixed(st, i, c, 0xFFFF);
    } else {
        blendFloat();
    }
}

// Layers with no mask, opacity, transform or background role: mode and formula are fixed.
template <blend::Formula F, bool Gather>
void plainPass(RowState& st, const Pass& P, int n) noexcept {
    const int32_t m = P.layerM;
    const bool skipZero = P.mode <= 20;
    for (int i = 0; i < n; ++i) {
        const uint16_t* s = srcAt(P.row, P, i, Gather);
        const uint32_t a = s[3];
        if (a == 0 && skipZero) continue;
        const Px c{s[0], s[1], s[2], a};
        const size_t k = static_cast<size_t>(i);
        accumulate(st, k, c, m, [&] { blendAt<F>(st, k, c); });
    }
}

template <size_t... I>
constexpr auto makeBlendTable(std::index_sequence<I...>) {
    return std::array<void (*)(RowState&, size_t, const Px&) noexcept, sizeof...(I)>{&blendAt<blend::kBlendFormulas[I].formula>...};
}
constexpr auto kBlendAt = makeBlendTable(std::make_index_sequence<kBlendModeCount>{});

// Every step, decided per pixel.
template <bool Gather>
void generalPass(RowState& st, const Pass& P, int n) noexcept {
    const blend::FormulaRow& row = blend::formulaRow(P.mode);
    const blend::Transform t = row.transform;
    for (int i = 0; i < n; ++i) {
        const uint16_t* s = srcAt(P.row, P, i, Gather);
        Px c{s[0], s[1], s[2], s[3]};
        if (P.background) c.a = 0xFFFF;
        else if (c.a == 0 && P.mode <= 20) continue;
        if (P.mask && !P.background) c.a = applyLayerMask(c.a, srcAt(P.mask, P, i, Gather));
        c.a = applyOpacity(c.a, P.opacity);
        if (t) t(c);
        const int32_t m = blend::blendsAs(P.mode, c.a);
        const size_t k = static_cast<size_t>(i);
        accumulate(st, k, c, m, [&] { (m == P.layerM ? P.blendFn : kBlendAt[static_cast<size_t>(m)])(st, k, c); });
    }
}

template <bool Gather, size_t... I>
constexpr auto makePlainTable(std::index_sequence<I...>) {
    return std::array<void (*)(RowState&, const Pass&, int) noexcept, sizeof...(I)>{&plainPass<blend::kBlendFormulas[I].formula, Gather>...};
}
constexpr auto kPlainContiguous = makePlainTable<false>(std::make_index_sequence<kBlendModeCount>{});
constexpr auto kPlainGather = makePlainTable<true>(std::make_index_sequence<kBlendModeCount>{});

// Composites page row py over n pixels into st.fixed / st.acc.
void compositeRow(const RenderPlan& p, RowState& st, int32_t py, int n) {
    st.reset(static_cast<size_t>(n));
    const bool gather = p.mapping == ViewMapping::Reduce;
    const size_t rowOff = static_cast<size_t>(py) * p.pageStride;
    for (int k = 0; k < p.count; ++k) {
        const ListEntry& L = p.entries[k];
        Pass P;
        P.row = L.pixels + rowOff;
        P.mask = L.maskPixels ? L.maskPixels + rowOff : nullptr;
        P.cols = p.pageCols.data();
        P.x0 = p.x;
        P.mode = L.blendMode;
        P.opacity = L.opacity;
        P.background = k == 0 && p.background;
        P.layerM = blend::formulaRow(L.blendMode).blendsAs;
        P.replaceTexturize3 = P.layerM == kBlendTexturize3 && L.paint && p.currentLayerNumber == k;
        P.blendFn = P.replaceTexturize3 ? &blendAt<blend::replaceWithSource> : kBlendAt[static_cast<size_t>(P.layerM)];
        const bool plain = !P.mask && P.opacity >= 255 && !P.background && !blend::isAlphaOnly(P.mode) && !P.replaceTexturize3;
        if (plain) {
            const size_t id = static_cast<size_t>(P.layerM);
            (gather ? kPlainGather : kPlainContiguous)[id](st, P, n);
        } else {
            (gather ? generalPass<true> : generalPass<false>)(st, P, n);
        }
    }
}

// Output bytes of the composited row (one entry per page pixel).
void outputRow(const RenderPlan& p, RowState& st, int32_t py, int32_t maskRow, int n) {
    const uint16_t* maskRowPtr = p.mask ? p.mask + static_cast<size_t>(maskRow) * p.maskStride : nullptr;
    const bool oneToOne = p.mapping == ViewMapping::OneToOne;
    for (int i = 0; i < n; ++i) {
        const size_t k = static_cast<size_t>(i);
        Px c;
        if (st.blended[k]) {
            const F4 v = st.acc[k];
            c = {static_cast<uint32_t>(v[0] * 65280.0), static_cast<uint32_t>(v[1] * 65280.0), static_cast<uint32_t>(v[2] * 65280.0),
                 static_cast<uint32_t>(v[3] * 65535.0)};
        } else {
            const uint16_t* f = &st.fixed[k * 4];
            c = {f[0], f[1], f[2], f[3]};
        }
        const int32_t px = p.pageCols[k];
        outputPixel(p, c, px, py, maskRowPtr ? maskRowPtr + px : nullptr, oneToOne, &st.bytes[k * 3]);
    }
}

void writeRow(const RenderPlan& p, const RowState& st, int32_t j) {
    uint8_t* out = p.dst + static_cast<ptrdiff_t>(j) * p.dstStride;
    if (p.mapping != ViewMapping::Magnify) {
        std::memcpy(out, st.bytes.data(), static_cast<size_t>(p.outCols) * 3);
        return;
    }
    for (int32_t i = 0; i < p.outCols; ++i) std::memcpy(out + static_cast<size_t>(i) * 3, &st.bytes[static_cast<size_t>(i / p.scale) * 3], 3);
}

// Output rows [j0, j1). Magnified rows showing the same page row reuse its bytes. The
// state is sized beforehand, so nothing here allocates.
void renderRows(const RenderPlan& p, RowState& st, int32_t j0, int32_t j1) noexcept {
    const int n = static_cast<int>(p.pageCols.size());
    int32_t lastRow = -1, lastMaskRow = -1;
    for (int32_t j = j0; j < j1; ++j) {
        const int32_t py = p.pageRowOf(j), mr = p.maskRowOf(j);
        if (py != lastRow || mr != lastMaskRow) {
            compositeRow(p, st, py, n);
            outputRow(p, st, py, mr, n);
            lastRow = py, lastMaskRow = mr;
        }
        writeRow(p, st, j);
    }
}

int threadsFor(const RenderPlan& p) {
    const int forced = gThreads.load(std::memory_order_relaxed);
    if (forced > 0) return std::min(forced, std::max(1, p.outRows));
    const int64_t work = int64_t{static_cast<int64_t>(p.pageCols.size())} * p.outRows * std::max(1, p.count);
    const unsigned hw = std::max(1u, std::thread::hardware_concurrency());
    return (work >= (1 << 18) && p.outRows >= 2) ? static_cast<int>(std::min<unsigned>(hw, 2)) : 1;
}

}  // namespace

void setRenderThreads(int n) noexcept { gThreads.store(n, std::memory_order_relaxed); }

void renderReference(const RenderPlan& p);

void renderPlan(const RenderPlan& p, RenderPath path) {
    if (p.empty()) return;
    if (path == RenderPath::Reference) return renderReference(p);
    const int t = threadsFor(p);
    std::vector<RowState> states(static_cast<size_t>(t));
    for (auto& st : states) st.reset(p.pageCols.size());
    // Split at page-row boundaries of the magnified mapping so no page row is composited twice.
    const int32_t unit = p.mapping == ViewMapping::Magnify ? p.scale : 1;
    const int64_t units = (int64_t{p.outRows} + unit - 1) / unit;
    auto bound = [&](int i) { return static_cast<int32_t>(std::min<int64_t>(units * i / t * unit, p.outRows)); };
    std::vector<std::thread> workers;
    workers.reserve(static_cast<size_t>(t));
    int done = 1;  // parts handed out; a part whose thread cannot start runs here
    for (int i = 1; i < t; ++i, ++done) {
        try {
            workers.emplace_back([&p, &st = states[static_cast<size_t>(i)], b0 = bound(i), b1 = bound(i + 1)] { renderRows(p, st, b0, b1); });
        } catch (...) {
            break;
        }
    }
    renderRows(p, states[0], 0, bound(1));
    for (int i = done; i < t; ++i) renderRows(p, states[0], bound(i), bound(i + 1));
    for (auto& w : workers) w.join();
}

void render(const EngineState& s, const RenderRequest& r) { renderPlan(makeRenderPlan(s, r)); }

}  // namespace orv
