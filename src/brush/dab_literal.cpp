// The reference dab loop: every step of every pixel in the order the arithmetic is defined,
// each choice taken per pixel. The specialised loop must match it pixel for pixel.
#include "brush/dab_internal.h"

namespace orv::dab {

namespace {

// Mixing for mixMode 32, 33 and every number below 32, rule by rule.
void mixLowLiteral(const Dab& d, uint32_t v, const uint32_t w[4], const uint16_t* px, Mixed& m) {
    const uint32_t ad = px[3];
    if (ad == 0) {
        for (int i = 0; i < 3; ++i) m.c[i] = w[i], m.cb[i] = 0;
        m.a = (v * w[3]) >> 16;
        return;
    }
    for (int i = 0; i < 3; ++i) m.cb[i] = px[i];
    if (d.pickup && d.mode == 32) {
        m.a = ((((65536 - v) * ad) >> 8) + ((v * w[3]) >> 8)) >> 8;
        for (int i = 0; i < 3; ++i) m.c[i] = w[3] == 0 ? px[i] : ((((65536 - v) * px[i]) >> 8) + ((v * w[i]) >> 8)) >> 8;
    } else if (d.erase) {
        m.a = ((65535 - v) * ad) >> 16;
        for (int i = 0; i < 3; ++i) m.c[i] = px[i];
    } else if (d.mode == 32) {
        const uint32_t t = (v * w[3]) / 65535;
        m.a = ad + ((65535 - ad) * t) / 65535;
        for (int i = 0; i < 3; ++i)
            m.c[i] = ((((px[i] * ad) >> 16) * (65535 - t)) / 65535 + ((t * w[i]) >> 16)) * 65535 / m.a;
    } else {
        const uint32_t t = (v * w[3]) / 65535;
        m.a = ad + ((65535 - ad) * t) / 65535;
        for (int i = 0; i < 3; ++i) {
            const uint32_t p = (px[i] * ad) >> 16, s = (t * w[i]) >> 16;
            m.c[i] = ((p * (65535 - t)) / 65535 + ((65535 - ad) * s) / 65535 + (p * s) / 65535) * 65535 / m.a;
        }
    }
}

}  // namespace

void paintLiteral(Dab& d) {
    for (int32_t py = d.pyBegin, k = d.k0; py < d.pyEnd; ++py, ++k) {
        uint16_t* row = d.target + static_cast<size_t>(py) * d.stride;
        const int32_t sr = d.scale[k];
        d.colorVary.startRow(*d.rnd, d.N, d.B);
        d.lumVary.startRow(*d.rnd, d.N, d.B);
        for (int32_t px = d.pxBegin, j = 0; px < d.pxEnd; ++px, ++j) {
            const int32_t idx = shapeIndex(d, j, sr, d.rotate);
            const size_t pix = static_cast<size_t>(py) * d.W + px;
            uint32_t v = pixelCoverage(d, idx, pix, d.mask);
            if (v == 0) continue;
            uint32_t w[4];
            if (d.pickup) workingColour<true>(d, idx, v, w);
            else workingColour<false>(d, idx, v, w);
            uint16_t* p = row + static_cast<size_t>(px) * 4;
            const uint32_t ad = p[3];
            Mixed m;
            if (!d.high || !visitHighMode(d.mode, [&](auto mode) { decltype(mode)::mix(d, v, w, p, m); }))
                mixLowLiteral(d, v, w, p, m);
            if (d.remix) remixInto(d, idx, w, m, ad);
            writeProtected(d, p, m, ad);
        }
    }
}

}  // namespace orv::dab
