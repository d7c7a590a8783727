// The per-pixel reference of the display render: every step as stated, one output pixel at
// a time, with the float accumulator kept in full after every step.
#include <cstddef>

#include "composite/render.h"
#include "composite/render_pixel.h"

namespace orv {

namespace {

struct Accumulator {
    float accAlpha = 0.0f;
    F4 acc = {0.0f, 0.0f, 0.0f, 0.0f};  // red, green, blue in units of 0xFF00
    Px fixed{};
    bool blended = false;
};

F4 colourUnits(const Px& c) noexcept {
    return F4{c.r / 65280.0f, c.g / 65280.0f, c.b / 65280.0f, 0.0f};
}

}  // namespace

Px compositeReference(const RenderPlan& p, int32_t px, int32_t py) {
    Accumulator A;
    const size_t at = static_cast<size_t>(py) * p.pageStride + static_cast<size_t>(px) * 4;
    const int last = p.count - 1;
    for (int k = 0; k < p.count; ++k) {
        const ListEntry& L = p.entries[k];
        Px c = readPx(L.pixels + at);
        const bool isBackground = k == 0 && p.background;
        if (isBackground) c.a = 0xFFFF;
        else if (c.a == 0 && L.blendMode <= 20) continue;
        if (L.maskPixels) c.a = applyLayerMask(c.a, L.maskPixels + at);
        if (isBackground) c.a = 0xFFFF;
        c.a = applyOpacity(c.a, L.opacity);
        if (const auto t = blend::formulaRow(L.blendMode).transform; t && blend::isAlphaOnly(L.blendMode)) t(c);
        const int32_t m = blend::blendsAs(L.blendMode, c.a);

        if (A.accAlpha == 0.0f) {
            if (blend::isTexturize(m)) {
                A = Accumulator{};
            } else {
                if (k != last) {
                    A.acc = colourUnits(c);
                    A.accAlpha = c.a / 65535.0f;
                }
                A.fixed = c;
                A.blended = false;
            }
        } else if (c.a >= 0xFF00 && m == kBlendNormal) {
            if (k != last) {
                A.acc = colourUnits(c);
                A.accAlpha = 1.0f;
            }
            A.fixed = {c.r, c.g, c.b, 0xFFFF};
            A.blended = false;
        } else {
            blend::In in;
            in.sa = c.a / 65535.0f;
            in.da = A.accAlpha;
            in.Sa = blend::splat(in.sa);
            in.Da = blend::splat(in.da);
            in.Sc = colourUnits(c);
            in.S = in.Sc * in.Sa;
            in.d = A.acc;
            in.D = A.acc * in.Da;
            in.L = blend::meanColour(c);
            blend::Formula f = blend::formulaRow(m).formula;
            if (m == kBlendTexturize3 && L.paint && p.currentLayerNumber == k) f = blend::replaceWithSource;
            const blend::Result r = blend::finish(f(in));
            A.acc = r.Dc;
            A.accAlpha = r.Da;
            A.blended = true;
        }
    }
    if (!A.blended) return A.fixed;
    return {static_cast<uint32_t>(A.acc[0] * 65280.0), static_cast<uint32_t>(A.acc[1] * 65280.0),
            static_cast<uint32_t>(A.acc[2] * 65280.0), static_cast<uint32_t>(A.accAlpha * 65535.0)};
}

void renderReference(const RenderPlan& p) {
    for (int32_t j = 0; j < p.outRows; ++j) {
        const int32_t py = p.pageRowOf(j);
        uint8_t* row = p.dst + static_cast<ptrdiff_t>(j) * p.dstStride;
        for (int32_t i = 0; i < p.outCols; ++i) {
            const int32_t px = p.mapping == ViewMapping::Magnify ? p.pageCols[i / p.scale] : p.pageCols[i];
            const Px c = compositeReference(p, px, py);
            const uint16_t* m = p.mask ? p.mask + static_cast<size_t>(p.maskRowOf(j)) * p.maskStride + px : nullptr;
            outputPixel(p, c, px, py, m, p.mapping == ViewMapping::OneToOne, row + static_cast<size_t>(i) * 3);
        }
    }
}

}  // namespace orv
