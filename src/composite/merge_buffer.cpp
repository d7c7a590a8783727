// MergeBuffer: the per-pixel reference, stated step by step, and the row path that hoists
// the per-call choices (mode, mask, opacity, same-mode rules) out of the pixel loop and may
// split rows across threads. Both produce the same bytes.
#include <algorithm>
#include <thread>
#include <utility>
#include <vector>

#include "composite/blend_formulas.h"
#include "composite/merge.h"
#include "composite/render_pixel.h"

namespace orv {

namespace {

// The source after the alpha steps and the mode rules: colour, alpha, the id it blends as,
// and whether it replaces the destination outright.
struct Prepared {
    Px c;
    int32_t m;
    bool replace;
};

Prepared prepareSource(const MergeParams& p, const uint16_t* s, const uint16_t* mask) noexcept {
    Prepared r{readPx(s), blend::blendsAs(p.mode, s[3]), false};
    if (mask && p.maskMode == kBlendLayerMask) r.c.a = applyLayerMask(r.c.a, mask);
    r.c.a = applyOpacity(r.c.a, p.opacity);
    if (!blend::isAlphaOnly(p.mode)) return r;
    const blend::FormulaRow& row = blend::formulaRow(p.mode);
    uint32_t& a = r.c.a;
    r.m = kBlendNormal;  // ids kept by the same-mode rules blend as Normal
    if (!p.sameAlphaMode || row.sameMode == blend::SameMode::Transform) {
        row.transform(r.c);
        r.m = blend::blendsAs(p.mode, a);
        return r;
    }
    switch (row.sameMode) {
        case blend::SameMode::ReplaceNonZero: r.replace = a != 0; break;
        case blend::SameMode::Replace1FFF: r.replace = a >= 0x1FFF; if (!r.replace) a = 0; break;
        case blend::SameMode::Ramp:
            if (a < 0x1FFF) a = 0;
            else if (a < 0x23FF) r.m = kBlendMultiply;
            else r.replace = true;
            break;
        case blend::SameMode::Replace7F00: r.replace = a > 0x7F00; if (!r.replace) a = 0; break;
        case blend::SameMode::Hide: a = 0; break;
        default: break;
    }
    return r;
}

inline void store(uint16_t* d, const Px& c, bool keepAlpha) noexcept {
    d[0] = static_cast<uint16_t>(c.r), d[1] = static_cast<uint16_t>(c.g), d[2] = static_cast<uint16_t>(c.b);
    if (!keepAlpha) d[3] = static_cast<uint16_t>(c.a);
}

// Floating-point step: Sa = a / 65535, Da = d.a / 65535, S = c x Sa / 65280, D = d x Da / 65280.
template <blend::Formula F>
inline Px blendMerge(const Px& c, const uint16_t* d) noexcept {
    const F4 u = {65280.0f, 65280.0f, 65280.0f, 65280.0f};
    const F4 sc = {static_cast<float>(c.r), static_cast<float>(c.g), static_cast<float>(c.b), 0.0f};
    const F4 dc = {static_cast<float>(d[0]), static_cast<float>(d[1]), static_cast<float>(d[2]), 0.0f};
    blend::In in;
    in.sa = c.a / 65535.0f;
    in.da = d[3] / 65535.0f;
    in.Sa = blend::splat(in.sa);
    in.Da = blend::splat(in.da);
    in.S = sc * in.Sa / u;
    in.D = dc * in.Da / u;
    in.Sc = sc / u;
    in.d = dc / u;
    in.L = blend::meanColour(c);
    const blend::Result r = blend::finish(F(in));
    return {static_cast<uint32_t>(r.Dc[0] * 65280.0), static_cast<uint32_t>(r.Dc[1] * 65280.0), static_cast<uint32_t>(r.Dc[2] * 65280.0),
            static_cast<uint32_t>(r.Da * 65535.0)};
}

template <size_t... I>
constexpr auto makeTable(std::index_sequence<I...>) {
    return std::array<Px (*)(const Px&, const uint16_t*) noexcept, sizeof...(I)>{&blendMerge<blend::kBlendFormulas[I].formula>...};
}
constexpr auto kMergeBlend = makeTable(std::make_index_sequence<kBlendModeCount>{});

// Steps 5..10 for a prepared source over destination pixel d.
inline void combine(const Prepared& s, uint16_t* d, bool keepAlpha, Px (*blendFn)(const Px&, const uint16_t*) noexcept) noexcept {
    const uint32_t Da = s.replace ? 0 : d[3];
    if (Da == 0) {
        store(d, blend::isTexturize(s.m) ? Px{0, 0, 0, 0} : s.c, keepAlpha);
    } else if (s.c.a == 0) {
        return;
    } else if (s.c.a >= 0xFF00 && s.m == kBlendNormal) {
        store(d, s.c, keepAlpha);
    } else {
        store(d, blendFn(s.c, d), keepAlpha);
    }
}

void mergePixelReference(const MergeParams& p, const uint16_t* s, const uint16_t* mask, uint16_t* d) noexcept {
    if (s[3] == 0 && p.mode <= 20) return;
    const Prepared r = prepareSource(p, s, mask);
    combine(r, d, p.keepAlpha, kMergeBlend[static_cast<size_t>(r.m)]);
}

// Row path for a plain source (no alpha-only mode, no mask): mode and formula fixed.
template <blend::Formula F>
void plainRow(const MergeParams& p, const uint16_t* s, uint16_t* d, int n) noexcept {
    const int32_t m = blend::blendsAs(p.mode, 1);
    const bool skipZero = p.mode <= 20, texturize = blend::isTexturize(m), opaqueReplaces = m == kBlendNormal;
    const uint32_t opacity = p.opacity;
    for (int i = 0; i < n; ++i, s += 4, d += 4) {
        uint32_t a = s[3];
        if (a == 0 && skipZero) continue;
        a = applyOpacity(a, opacity);
        const Px c{s[0], s[1], s[2], a};
        if (d[3] == 0) store(d, texturize ? Px{0, 0, 0, 0} : c, p.keepAlpha);
        else if (a == 0) continue;
        else if (a >= 0xFF00 && opaqueReplaces) store(d, c, p.keepAlpha);
        else store(d, blendMerge<F>(c, d), p.keepAlpha);
    }
}

template <size_t... I>
constexpr auto makeRowTable(std::index_sequence<I...>) {
    return std::array<void (*)(const MergeParams&, const uint16_t*, uint16_t*, int) noexcept, sizeof...(I)>{
        &plainRow<blend::kBlendFormulas[I].formula>...};
}
constexpr auto kPlainRow = makeRowTable(std::make_index_sequence<kBlendModeCount>{});

void generalRow(const MergeParams& p, const uint16_t* s, const uint16_t* mask, uint16_t* d, int n) noexcept {
    for (int i = 0; i < n; ++i, s += 4, d += 4)
        mergePixelReference(p, s, mask ? mask + static_cast<size_t>(i) * 4 : nullptr, d);
}

void mergeRows(const MergeParams& p, int32_t j0, int32_t j1) noexcept {
    const bool plain = !blend::isAlphaOnly(p.mode) && !(p.mask && p.maskMode == kBlendLayerMask);
    const auto rowFn = kPlainRow[static_cast<size_t>(blend::blendsAs(p.mode, 1))];
    for (int32_t j = j0; j < j1; ++j) {
        const size_t so = static_cast<size_t>(p.srcY + j) * p.srcStride + static_cast<size_t>(p.srcX) * 4;
        const size_t dof = static_cast<size_t>(p.dstY + j) * p.dstStride + static_cast<size_t>(p.dstX) * 4;
        if (plain) rowFn(p, p.src + so, p.dst + dof, p.width);
        else generalRow(p, p.src + so, p.mask ? p.mask + so : nullptr, p.dst + dof, p.width);
    }
}

bool fits(int32_t x, int32_t y, int32_t w, int32_t h, size_t stride, size_t length) noexcept {
    if (x < 0 || y < 0) return false;
    if (static_cast<size_t>(x + static_cast<int64_t>(w)) * 4 > stride) return false;
    const size_t last = (static_cast<size_t>(y) + static_cast<size_t>(h) - 1) * stride + (static_cast<size_t>(x) + static_cast<size_t>(w)) * 4;
    return last <= length;
}

}  // namespace

void mergeBuffer(const MergeParams& p, MergePath path) {
    if (!p.src || !p.dst || p.width <= 0 || p.height <= 0) return;
    if (!fits(p.srcX, p.srcY, p.width, p.height, p.srcStride, p.srcLength) ||
        !fits(p.dstX, p.dstY, p.width, p.height, p.dstStride, p.dstLength))
        return;
    if (path == MergePath::Reference) {
        for (int32_t j = 0; j < p.height; ++j)
            for (int32_t i = 0; i < p.width; ++i) {
                const size_t so = static_cast<size_t>(p.srcY + j) * p.srcStride + static_cast<size_t>(p.srcX + i) * 4;
                const size_t dof = static_cast<size_t>(p.dstY + j) * p.dstStride + static_cast<size_t>(p.dstX + i) * 4;
                mergePixelReference(p, p.src + so, p.mask ? p.mask + so : nullptr, p.dst + dof);
            }
        return;
    }
    // Large merges split their rows in two; rows are independent (a source that is also the
    // destination is read and written at the same pixel only).
    const int64_t work = int64_t{p.width} * p.height;
    if (work < (1 << 18) || p.height < 2 || std::thread::hardware_concurrency() < 2) return mergeRows(p, 0, p.height);
    const int32_t half = p.height / 2;
    std::thread other;
    try {
        other = std::thread([&p, half] { mergeRows(p, half, p.height); });
    } catch (...) {
        return mergeRows(p, 0, p.height);
    }
    mergeRows(p, 0, half);
    other.join();
}

}  // namespace orv
