// The row renderer: the same steps as the per-pixel reference, reorganised for speed.
//
// A row of page pixels is composited one layer at a time over an accumulator row. While a
// pixel has not been blended in floating point its float fields are exactly its fixed
// 16-bit fields converted (c / 65280, a / 65535), so they are only materialised when a
// floating-point blend needs them. Layers without mask, opacity, alpha transform or
// background role run a loop specialised for their formula; the others run the general
// loop.
//
// Covered pixels are not composited: when the list starts with an opaque background, an
// opaque Normal pixel (alpha >= 0xFF00) of a plain layer replaces everything below it with
// (c, 0xFFFF) whatever lies there, so a first pass finds, top down, the highest such layer
// of each pixel and the layer passes start there.
//
// Magnified rows are composited once per page pixel and replicated. Rows may be split
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

enum : uint8_t { kEmpty = 0, kFixed = 1, kBlended = 2 };  // kEmpty: Da = 0

struct RowState {
    std::vector<uint64_t> fixed;  // r, g, b, a as four 16-bit values per pixel
    std::vector<F4> acc;          // red, green, blue, alpha while blended
    std::vector<uint8_t> state;
    std::vector<uint8_t> start;   // first list entry that matters per pixel
    std::vector<uint8_t> bytes;   // one composited row as blue, green, red
    void size(size_t n) {
        fixed.resize(n);
        acc.resize(n);
        state.resize(n);
        start.resize(n);
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
    uint8_t k;             // list position
    bool background;
    int32_t layerM;          // blendsAs(mode) for a non-zero alpha
    bool replaceTexturize3;  // the Texturize3 paint layer shown over its own layer
    void (*blendFn)(RowState&, size_t, const Px&) noexcept;  // floating-point step for layerM
};

inline const uint16_t* srcAt(const uint16_t* row, const Pass& P, int i, bool gather) noexcept {
    return row + static_cast<size_t>(gather ? P.cols[i] : P.x0 + i) * 4;
}

inline uint64_t pack(const Px& c) noexcept {
    return uint64_t{c.r} | uint64_t{c.g} << 16 | uint64_t{c.b} << 32 | uint64_t{c.a} << 48;
}
inline Px unpack(uint64_t v) noexcept {
    return {static_cast<uint32_t>(v & 0xFFFF), static_cast<uint32_t>((v >> 16) & 0xFFFF), static_cast<uint32_t>((v >> 32) & 0xFFFF),
            static_cast<uint32_t>(v >> 48)};
}
inline uint64_t load64(const uint16_t* s) noexcept {
    uint64_t v;
    std::memcpy(&v, s, 8);
    return v;  // little-endian: r, g, b, a
}
constexpr uint64_t kOpaque = uint64_t{0xFFFF} << 48;

inline void setFixed(RowState& st, size_t i, uint64_t v) noexcept {
    st.fixed[i] = v;
    st.state[i] = (v >> 48) ? kFixed : kEmpty;
}

const F4 kUnits = {65280.0f, 65280.0f, 65280.0f, 65535.0f};

// Floating-point blend of source c over pixel i of the accumulator.
template <blend::Formula F>
void blendAt(RowState& st, size_t i, const Px& c) noexcept {
    F4 d;
    if (st.state[i] == kBlended) {
        d = st.acc[i];
    } else {
        const Px f = unpack(st.fixed[i]);
        d = F4{static_cast<float>(f.r), static_cast<float>(f.g), static_cast<float>(f.b), static_cast<float>(f.a)} / kUnits;
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
    st.state[i] = kBlended;
}

template <size_t... I>
constexpr auto makeBlendTable(std::index_sequence<I...>) {
    return std::array<void (*)(RowState&, size_t, const Px&) noexcept, sizeof...(I)>{&blendAt<blend::kBlendFormulas[I].formula>...};
}
constexpr auto kBlendAt = makeBlendTable(std::make_index_sequence<kBlendModeCount>{});

// One accumulate step (after the alpha steps) for mode m; blendFloat does the
// floating-point blend.
template <class BlendFloat>
inline void accumulate(RowState& st, size_t i, const Px& c, int32_t m, BlendFloat&& blendFloat) noexcept {
    if (st.state[i] == kEmpty) {
        setFixed(st, i, blend::isTexturize(m) ? 0 : pack(c));
    } else if (c.a >= 0xFF00 && m == kBlendNormal) {
        setFixed(st, i, pack(c) | kOpaque);
    } else {
        blendFloat();
    }
}

// Layers with no mask, opacity, transform or background role: mode and formula are fixed.
template <blend::Formula F, bool Gather>
void plainPass(RowState& st, const Pass& P, int n) noexcept {
    const int32_t m = P.layerM;
    const bool skipZero = P.mode <= 20;
    const uint8_t k = P.k;
    for (int i = 0; i < n; ++i) {
        const size_t j = static_cast<size_t>(i);
        if (st.start[j] > k) continue;
        const uint16_t* s = srcAt(P.row, P, i, Gather);
        const uint32_t a = s[3];
        if (st.start[j] == k && k != 0) {
            st.fixed[j] = load64(s) | kOpaque;  // the covering pixel (see the file comment)
            st.state[j] = kFixed;
            continue;
        }
        if (a == 0 && skipZero) continue;
        const Px c{s[0], s[1], s[2], a};
        accumulate(st, j, c, m, [&] { blendAt<F>(st, j, c); });
    }
}

// Every step, decided per pixel.
template <bool Gather>
void generalPass(RowState& st, const Pass& P, int n) noexcept {
    const blend::Transform t = blend::formulaRow(P.mode).transform;
    for (int i = 0; i < n; ++i) {
        const size_t k = static_cast<size_t>(i);
        if (st.start[k] > P.k) continue;
        const uint16_t* s = srcAt(P.row, P, i, Gather);
        Px c{s[0], s[1], s[2], s[3]};
        if (P.background) c.a = 0xFFFF;
        else if (c.a == 0 && P.mode <= 20) continue;
        if (P.mask && !P.background) c.a = applyLayerMask(c.a, srcAt(P.mask, P, i, Gather));
        c.a = applyOpacity(c.a, P.opacity);
        if (t) t(c);
        const int32_t m = blend::blendsAs(P.mode, c.a);
        accumulate(st, k, c, m, [&] { (m == P.layerM ? P.blendFn : kBlendAt[static_cast<size_t>(m)])(st, k, c); });
    }
}

template <bool Gather, size_t... I>
constexpr auto makePlainTable(std::index_sequence<I...>) {
    return std::array<void (*)(RowState&, const Pass&, int) noexcept, sizeof...(I)>{&plainPass<blend::kBlendFormulas[I].formula, Gather>...};
}
constexpr auto kPlainContiguous = makePlainTable<false>(std::make_index_sequence<kBlendModeCount>{});
constexpr auto kPlainGather = makePlainTable<true>(std::make_index_sequence<kBlendModeCount>{});

Pass makePass(const RenderPlan& p, int k, size_t rowOff) noexcept {
    const ListEntry& L = p.entries[k];
    Pass P;
    P.row = L.pixels + rowOff;
    P.mask = L.maskPixels ? L.maskPixels + rowOff : nullptr;
    P.cols = p.pageCols.data();
    P.x0 = p.x;
    P.mode = L.blendMode;
    P.opacity = L.opacity;
    P.k = static_cast<uint8_t>(k);
    P.background = k == 0 && p.background;
    P.layerM = blend::formulaRow(L.blendMode).blendsAs;
    P.replaceTexturize3 = P.layerM == kBlendTexturize3 && L.paint && p.currentLayerNumber == k;
    P.blendFn = P.replaceTexturize3 ? &blendAt<blend::replaceWithSource> : kBlendAt[static_cast<size_t>(P.layerM)];
    return P;
}

bool plain(const Pass& P) noexcept {
    return !P.mask && P.opacity >= 255 && !P.background && !blend::isAlphaOnly(P.mode) && !P.replaceTexturize3;
}

// Whether entry 0 leaves every pixel with Da > 0: an opaque background that blends (a
// texturize or alpha-only mode could leave it empty).
bool backgroundFills(const RenderPlan& p) noexcept {
    const int32_t m = p.entries[0].blendMode;
    return p.background && !blend::isAlphaOnly(m) && !blend::isTexturize(blend::formulaRow(m).blendsAs);
}

// start[i]: the highest plain Normal entry above the background with alpha >= 0xFF00 at
// pixel i, or 0.
template <bool Gather>
void findCovering(const RenderPlan& p, RowState& st, size_t rowOff, int n) noexcept {
    uint8_t* start = st.start.data();
    for (int k = p.count - 1; k >= 1; --k) {
        const Pass P = makePass(p, k, rowOff);
        if (!plain(P) || P.layerM != kBlendNormal) continue;
        const uint8_t kk = static_cast<uint8_t>(k);
        if (Gather) {
            for (int i = 0; i < n; ++i)
                if (start[i] == 0 && srcAt(P.row, P, i, true)[3] >= 0xFF00) start[i] = kk;
        } else {
            // Branch-free so the compiler can run it several pixels at a time.
            const uint16_t* alpha = P.row + static_cast<size_t>(P.x0) * 4 + 3;
            for (int i = 0; i < n; ++i) {
                const uint8_t hit = static_cast<uint8_t>((start[i] == 0) & (alpha[static_cast<size_t>(i) * 4] >= 0xFF00));
                start[i] = static_cast<uint8_t>(start[i] | (hit * kk));
            }
        }
    }
}

// Composites page row py over n pixels into the accumulator row.
void compositeRow(const RenderPlan& p, RowState& st, int32_t py, int n) noexcept {
    const size_t un = static_cast<size_t>(n);
    std::fill_n(st.fixed.begin(), un, 0);
    std::fill_n(st.state.begin(), un, kEmpty);
    std::fill_n(st.start.begin(), un, 0);
    const bool gather = p.mapping == ViewMapping::Reduce;
    const size_t rowOff = static_cast<size_t>(py) * p.pageStride;
    if (p.count > 1 && backgroundFills(p)) (gather ? findCovering<true> : findCovering<false>)(p, st, rowOff, n);
    for (int k = 0; k < p.count; ++k) {
        const Pass P = makePass(p, k, rowOff);
        if (plain(P)) (gather ? kPlainGather : kPlainContiguous)[static_cast<size_t>(P.layerM)](st, P, n);
        else (gather ? generalPass<true> : generalPass<false>)(st, P, n);
    }
}

// Output bytes of the composited row (one entry per page pixel).
void outputRow(const RenderPlan& p, RowState& st, int32_t py, int32_t maskRow, int n) noexcept {
    const uint16_t* maskRowPtr = p.mask ? p.mask + static_cast<size_t>(maskRow) * p.maskStride : nullptr;
    const bool oneToOne = p.mapping == ViewMapping::OneToOne;
    for (int i = 0; i < n; ++i) {
        const size_t k = static_cast<size_t>(i);
        Px c;
        if (st.state[k] == kBlended) {
            const F4 v = st.acc[k];
            c = {static_cast<uint32_t>(v[0] * 65280.0), static_cast<uint32_t>(v[1] * 65280.0), static_cast<uint32_t>(v[2] * 65280.0),
                 static_cast<uint32_t>(v[3] * 65535.0)};
        } else {
            c = unpack(st.fixed[k]);
        }
        const int32_t px = p.pageCols[k];
        outputPixel(p, c, px, py, maskRowPtr ? maskRowPtr + px : nullptr, oneToOne, &st.bytes[k * 3]);
    }
}

void writeRow(const RenderPlan& p, const RowState& st, int32_t j) noexcept {
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
    for (auto& st : states) st.size(p.pageCols.size());
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
