// The mask dab: the footprint machinery of the layer dab painting one grey level per pixel
// into the selection mask. Black selects fully, white deselects.
#include <algorithm>

#include "brush/dab.h"
#include "brush/dab_internal.h"
#include "engine/engine_state.h"

namespace orv {

namespace {

// The mask value of a colour: 65535 for black (L <= 255), 0 beyond 0xFF00, else 65280 - L.
uint32_t maskLevelOf(const uint16_t* c) {
    const uint32_t L = (static_cast<uint32_t>(c[0]) + c[1] + c[2]) / 3;
    return L <= 255 ? 65535 : L > 65280 ? 0 : 65280 - L;
}

uint32_t withOffset(uint32_t m, int32_t n, uint32_t u) {
    uint32_t w[1] = {m};
    dab::addColourOffset(w, 1, n, u);
    return w[0];
}

// The luminance factor rounded to a 32-bit float before it is compared and applied.
uint32_t maskLumChange(uint32_t m, int32_t n, uint32_t u) {
    return dab::lumChange(m, static_cast<float>(dab::lumFactor(n, u)));
}

}  // namespace

int32_t drawDabGritMask(EngineState& s, int32_t x, int32_t y) {
    BrushState& br = s.brush;
    BrushSettings& b = br.settings;
    const int32_t B = s.page.maxBrushSize;
    if (B <= 0 || !br.shapeBuffer || !br.blendBuffer || s.mask.maskBuffer.size() < s.page.pixelCount() ||
        b.brushSize <= 0 || b.brushSize > B || b.footprintSize <= 0 || b.footprintSize > b.brushSize)
        return 0;
    int32_t m0 = static_cast<int32_t>(maskLevelOf(b.currentColor));
    if (b.colorVary > 0) {
        const int32_t u = br.random.next();
        m0 = std::clamp(m0 + (b.colorVary / 2 - u % b.colorVary) * 256, 0, 65535);
    }
    if (b.eraseModeOn) m0 = 65535;
    const uint32_t M0 = static_cast<uint32_t>(m0);
    dab::chooseGritPattern(br, B);
    dab::Dab d;
    dab::setUpFootprint(s, d, x, y);
    uint16_t* mask = s.mask.maskBuffer.data();
    const size_t brushStride = static_cast<size_t>(B) * 4;
    for (int32_t py = d.pyBegin, k = d.k0; py < d.pyEnd; ++py, ++k) {
        const int32_t sr = d.scale[k];
        d.colorVary.startRow(*d.rnd, d.N, d.B);
        d.lumVary.startRow(*d.rnd, d.N, d.B);
        for (int32_t px = d.pxBegin, j = 0; px < d.pxEnd; ++px, ++j) {
            const int32_t idx = dab::shapeIndex(d, j, sr, d.rotate);
            const size_t pix = static_cast<size_t>(py) * d.W + px;
            uint32_t v = dab::pixelCoverage(d, idx, pix, nullptr);
            if (v == 0) continue;
            uint16_t* bp = d.blend + static_cast<size_t>(idx / B) * brushStride + idx % B;
            uint32_t mv;
            if (d.pickup) {
                mv = *bp;
                if (d.colorVary.n > 0) mv = withOffset(mv, d.colorVary.n, d.colorVary.take());
                if (d.lumVary.n > 0) mv = maskLumChange(mv, d.lumVary.n, d.lumVary.take());
                if (d.P != 0) mv = (d.Pr * mv + d.P * M0) >> 8;
            } else {
                mv = M0;
                if (d.colorVary.n > 0) mv = withOffset(M0, d.colorVary.n, d.colorVary.take());
                if (d.lumVary.n > 0) mv = maskLumChange(M0, d.lumVary.n, d.lumVary.take());
            }
            const uint32_t m = mask[pix];
            if (d.remix) {
                const uint32_t r = ((d.bsr * m + d.bs * mv) >> 8) + 1;
                *bp = static_cast<uint16_t>(r < 65535 ? r : 65535);
            }
            // Full coverage takes the new value as it is, so a black dab selects fully
            // (the weighted sum would stop one short at 65534).
            mask[pix] = static_cast<uint16_t>(v >= 65535 ? mv : ((((65536 - v) * m) >> 8) + ((v * mv) >> 8)) >> 8);
        }
    }
    b.tempDisableBlend = 0;
    return 0;
}

}  // namespace orv
