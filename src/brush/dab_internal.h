// The per-dab record and the per-pixel steps shared by the two dab loops.
#pragma once
#include <cstddef>
#include <cstdint>

#include "brush/brush_state.h"
#include "brush/mix_modes.h"

namespace orv {
struct EngineState;
}

namespace orv::dab {

// The per-pixel steps are small and called from the row loops once per pixel; they must be
// inlined there so the per-dab choices fold away.
#define ORV_PIXEL_STEP __attribute__((always_inline)) inline

// A cursor into a pixel-variation byte array. Before each row it moves to (draw mod B) when
// it has no place yet or the row could run past the array's end; each painted pixel takes
// one byte.
struct VaryCursor {
    const uint8_t* bytes = nullptr;
    uint32_t length = 0;
    uint32_t pos = 0;
    int32_t n = 0;  // the variation range; 0: off
    bool placed = false;

    void startRow(EngineRandom& r, int32_t N, int32_t B) noexcept {
        if (n <= 0) return;
        if (!placed || pos + static_cast<uint32_t>(N) >= length - 1) {
            pos = static_cast<uint32_t>(r.next()) % static_cast<uint32_t>(B);
            placed = true;
        }
    }
    uint32_t take() noexcept { return bytes[pos++]; }
};

// Everything one dab needs, resolved once before its first pixel.
struct Dab {
    // Footprint: painted columns [pxBegin, pxEnd), rows [pyBegin, pyEnd); shape column base
    // bc0 and first shape row index k0.
    int32_t S = 0, N = 0, B = 0, W = 0, half = 0;
    int32_t pxBegin = 0, pxEnd = 0, pyBegin = 0, pyEnd = 0, bc0 = 0, k0 = 0;
    const int32_t* scale = nullptr;
    // Buffers: target rows have stride pageStride channels; texture and mask rows W values.
    uint16_t* target = nullptr;
    size_t stride = 0;
    const uint16_t* shape = nullptr;
    uint16_t* blend = nullptr;      // pickup pixel (row, col) at (row x B + col) x 4
    const uint8_t* grit = nullptr;  // null: no grit test
    int32_t density = 0;
    const uint8_t* texture = nullptr;
    const uint16_t* mask = nullptr;  // null: the mask does not gate
    // Coverage modifiers.
    bool alphaScale = false;
    uint32_t alphaFactor = 0;
    bool solid = false, imageBrush = false, rotate = false;
    float rotSin = 0, rotCos = 1;
    // Working colour.
    uint32_t c0[4] = {};
    bool pickup = false, remix = false;
    uint32_t P = 0, Pr = 0, bs = 0, bsr = 0;
    VaryCursor colorVary, lumVary;
    // Mixing.
    int32_t mode = 32;  // unlisted modes above 33 are already mapped to 32 ("Normal")
    bool high = false;  // a listed mode above 33
    uint32_t a = 0, ar = 256;
    int32_t shift = 0;
    const uint16_t* banks = nullptr;  // R[0..3], G[0..3], B[0..3]
    EngineRandom* rnd = nullptr;
    bool erase = false;
    // Write protections.
    bool colorLocked = false, writeAlpha = false, blob = false;
    bool levelAlpha = false;  // write alphaLevel in place of the computed alpha
    uint16_t alphaLevel = 0;

    bool plainWrite() const noexcept { return !erase && !colorLocked && writeAlpha && !blob && !levelAlpha; }
    bool variation() const noexcept { return colorVary.n > 0 || lumVary.n > 0; }
};

// Result of the mixing step for one pixel.
struct Mixed {
    uint32_t c[3];
    uint32_t a;
    uint32_t cb[3];  // the backdrop, read by the remix
};

// Shape index of footprint column j in shape row sr; -1 when it falls outside the buffer.
inline int32_t shapeIndex(const Dab& d, int32_t j, int32_t sr, bool rotate) noexcept {
    int32_t col = d.scale[j] + d.bc0, row = sr;
    if (rotate) {
        const long double dx = col - d.half, dy = row - d.half;
        const int32_t rx = static_cast<int32_t>(dx * d.rotCos - dy * d.rotSin) + d.half;
        const int32_t ry = static_cast<int32_t>(dx * d.rotSin + dy * d.rotCos) + d.half;
        if (rx >= 0 && rx < d.S && ry >= 0 && ry < d.S) col = rx, row = ry;
    }
    if (col >= d.B) return -1;
    return row * d.B + col;
}

// Coverage V of one pixel, every step taken per pixel: grit test, shape value, opacity,
// texture, then the mask when given; solid mode lifts any coverage to 65535. 0: skipped.
inline uint32_t pixelCoverage(const Dab& d, int32_t idx, size_t pix, const uint16_t* mask) noexcept {
    if (idx < 0) return 0;
    if (d.grit && d.grit[idx] > d.density) return 0;
    uint32_t v = d.shape[idx];
    if (d.alphaScale) v = (v * d.alphaFactor) >> 7;
    if (d.texture && d.texture[pix] < 255) v = (v * d.texture[pix]) >> 8;
    if (mask && mask[pix] < 65535) v = (v * mask[pix]) >> 16;
    if (v != 0 && d.solid) v = 65535;
    return v;
}

// The pixel colour offset: o = ((n AND NOT 1) - 2 (u mod n)) x 128, channels limited to 0..65535.
inline void addColourOffset(uint32_t* w, int count, int32_t n, uint32_t u) noexcept {
    const int32_t o = ((n & ~1) - 2 * static_cast<int32_t>(u % static_cast<uint32_t>(n))) * 128;
    for (int i = 0; i < count; ++i) {
        const int32_t v = static_cast<int32_t>(w[i]) + o;
        w[i] = static_cast<uint32_t>(v < 0 ? 0 : v > 65535 ? 65535 : v);
    }
}

// The luminance factor f = (128 - (n >> 1) + (u mod n)) / 256.
inline long double lumFactor(int32_t n, uint32_t u) noexcept {
    return (128.0L - (n >> 1) + static_cast<int32_t>(u % static_cast<uint32_t>(n))) * 0.00390625L;
}

// Moves X toward white (f > 0.5) or black by |f - 0.5| x 2 of the distance. Ranges beyond
// the useful ones would leave 0..65535; the result is limited to it.
inline uint32_t lumChange(uint32_t x, long double f) noexcept {
    const long double r = f > 0.5L ? x + (f - 0.5L) * 2 * (65535 - x) : x - (0.5L - f) * 2 * x;
    const long long v = static_cast<long long>(r);
    return static_cast<uint32_t>(v < 0 ? 0 : v > 65535 ? 65535 : v);
}

// Working colour of a pixel (R', G', B', A'); may lower V in image-brush mode.
template <bool Pickup>
ORV_PIXEL_STEP void workingColour(Dab& d, int32_t idx, uint32_t& v, uint32_t w[4]) noexcept {
    if constexpr (Pickup) {
        const uint16_t* bp = d.blend + static_cast<size_t>(idx) * 4;
        w[0] = bp[0], w[1] = bp[1], w[2] = bp[2], w[3] = bp[3];
        if (d.imageBrush && w[3] < 65535) {
            v = (v * w[3]) >> 16;
            if (v == 0) v = 1;
            w[3] = 65535;
        }
        if (d.colorVary.n > 0) addColourOffset(w, 3, d.colorVary.n, d.colorVary.take());
        if (d.lumVary.n > 0) {
            const long double f = lumFactor(d.lumVary.n, d.lumVary.take());
            for (int i = 0; i < 3; ++i) w[i] = lumChange(w[i], f);
        }
        if (d.P != 0)
            for (int i = 0; i < 4; ++i) w[i] = (d.Pr * w[i] + d.P * d.c0[i]) >> 8;
    } else {
        w[0] = d.c0[0], w[1] = d.c0[1], w[2] = d.c0[2], w[3] = d.c0[3];
        if (d.colorVary.n > 0) addColourOffset(w, 4, d.colorVary.n, d.colorVary.take());
        if (d.lumVary.n > 0) {
            const long double f = lumFactor(d.lumVary.n, d.lumVary.take());
            for (int i = 0; i < 3; ++i) w[i] = lumChange(d.c0[i], f);
        }
    }
}

// Remix: the mixed result goes back into the pickup buffer.
ORV_PIXEL_STEP void remixInto(const Dab& d, int32_t idx, const uint32_t w[4], const Mixed& m, uint32_t ad) noexcept {
    uint16_t* bp = d.blend + static_cast<size_t>(idx) * 4;
    if (w[3] == 0) {
        for (int i = 0; i < 3; ++i) bp[i] = static_cast<uint16_t>(m.cb[i]);
        bp[3] = static_cast<uint16_t>((d.bsr * ad) >> 8);
    } else if (ad == 0) {
        for (int i = 0; i < 3; ++i) bp[i] = static_cast<uint16_t>(w[i]);
        bp[3] = static_cast<uint16_t>((d.bs * w[3]) >> 8);
    } else {
        for (int i = 0; i < 3; ++i) {
            const uint32_t c = ((d.bsr * m.cb[i] + d.bs * w[i]) >> 8) + 1;
            bp[i] = static_cast<uint16_t>(c < 65535 ? c : 65535);
        }
        bp[3] = static_cast<uint16_t>((d.bsr * ad + d.bs * w[3]) >> 8);
    }
}

// Write-back with every protection: erase writes alpha only (blob lock keeps alpha at 9215
// or more and leaves nearly transparent pixels alone); otherwise colour unless colour
// locked, alpha where allowed, alphaLevel in place of the computed alpha.
ORV_PIXEL_STEP void writeProtected(const Dab& d, uint16_t* px, const Mixed& m, uint32_t ad) noexcept {
    if (d.erase) {
        if (d.blob) {
            if (ad <= 8191) return;
            px[3] = static_cast<uint16_t>(m.a > 9215 ? m.a : 9215);
        } else {
            px[3] = static_cast<uint16_t>(m.a);
        }
        return;
    }
    if (!d.colorLocked)
        for (int i = 0; i < 3; ++i) px[i] = static_cast<uint16_t>(m.c[i]);
    if (!d.writeAlpha) return;
    if (d.blob && (ad <= 8191 || m.a <= 8191)) return;
    px[3] = d.levelAlpha ? d.alphaLevel : static_cast<uint16_t>(m.a);
}

// ---- Mixing for mixMode 32, 33 and every number below 32 ------------------------------

// Onto a transparent pixel: the working colour with alpha (V x A') >> 16, backdrop black.
ORV_PIXEL_STEP bool mixOntoTransparent(uint32_t v, const uint32_t w[4], uint32_t ad, Mixed& m) noexcept {
    if (ad != 0) return false;
    m.c[0] = w[0], m.c[1] = w[1], m.c[2] = w[2];
    m.a = (v * w[3]) >> 16;
    m.cb[0] = m.cb[1] = m.cb[2] = 0;
    return true;
}

// n / d for n < 2^32 and 0 < d < 2^16, exact: the double quotient never crosses an integer.
inline uint32_t divExact(uint32_t n, uint32_t d) noexcept {
    return static_cast<uint32_t>(static_cast<double>(n) / static_cast<double>(d));
}

// Mode 32 with pickup: ((((65536 - V) X) >> 8) + ((V Y) >> 8)) >> 8.
struct PickupNormal {
    ORV_PIXEL_STEP static void mix(const Dab&, uint32_t v, uint32_t w[4], const uint16_t* px, Mixed& m) noexcept {
        const uint32_t ad = px[3];
        if (mixOntoTransparent(v, w, ad, m)) return;
        m.a = ((((65536 - v) * ad) >> 8) + ((v * w[3]) >> 8)) >> 8;
        for (int i = 0; i < 3; ++i) {
            m.cb[i] = px[i];
            m.c[i] = w[3] == 0 ? px[i] : ((((65536 - v) * px[i]) >> 8) + ((v * w[i]) >> 8)) >> 8;
        }
    }
};

// Erase: alpha ((65535 - V) Ad) >> 16; colour untouched.
struct Erase {
    ORV_PIXEL_STEP static void mix(const Dab&, uint32_t v, uint32_t w[4], const uint16_t* px, Mixed& m) noexcept {
        const uint32_t ad = px[3];
        if (mixOntoTransparent(v, w, ad, m)) return;
        m.a = ((65535 - v) * ad) >> 16;
        for (int i = 0; i < 3; ++i) m.cb[i] = m.c[i] = px[i];
    }
};

// The over rule: t = V A' / 65535, Aout = Ad + (65535 - Ad) t / 65535,
// Cout = ((((Cd Ad) >> 16) (65535 - t)) / 65535 + (t C') >> 16) x 65535 / Aout.
// Over an opaque pixel Aout is 65535 and the sum never exceeds 65535, so the last
// multiply-divide returns the sum itself.
struct Over {
    ORV_PIXEL_STEP static void mix(const Dab&, uint32_t v, uint32_t w[4], const uint16_t* px, Mixed& m) noexcept {
        const uint32_t ad = px[3];
        if (mixOntoTransparent(v, w, ad, m)) return;
        const uint32_t t = (v * w[3]) / 65535;
        if (ad == 65535) {
            m.a = 65535;
            for (int i = 0; i < 3; ++i) {
                const uint32_t cd = px[i];
                m.cb[i] = cd;
                m.c[i] = (((cd * 65535) >> 16) * (65535 - t)) / 65535 + ((t * w[i]) >> 16);
            }
            return;
        }
        m.a = ad + ((65535 - ad) * t) / 65535;
        for (int i = 0; i < 3; ++i) {
            const uint32_t cd = px[i];
            m.cb[i] = cd;
            m.c[i] = divExact(((((cd * ad) >> 16) * (65535 - t)) / 65535 + ((t * w[i]) >> 16)) * 65535, m.a);
        }
    }
};

// The multiply rule: p = (Cd Ad) >> 16, s = (t C') >> 16,
// Cout = ((p (65535 - t)) / 65535 + ((65535 - Ad) s) / 65535 + (p s) / 65535) x 65535 / Aout.
struct Multiply {
    ORV_PIXEL_STEP static void mix(const Dab&, uint32_t v, uint32_t w[4], const uint16_t* px, Mixed& m) noexcept {
        const uint32_t ad = px[3];
        if (mixOntoTransparent(v, w, ad, m)) return;
        const uint32_t t = (v * w[3]) / 65535;
        m.a = ad + ((65535 - ad) * t) / 65535;
        for (int i = 0; i < 3; ++i) {
            const uint32_t cd = px[i];
            m.cb[i] = cd;
            const uint32_t p = (cd * ad) >> 16, s = (t * w[i]) >> 16;
            m.c[i] = divExact(((p * (65535 - t)) / 65535 + ((65535 - ad) * s) / 65535 + (p * s) / 65535) * 65535, m.a);
        }
    }
};

// ---- Mixing for the modes above 33 ----------------------------------------------------

// A mode picks the mix colour Cm (and may change Amix or the backdrop) from the working
// colour w, its luminance L and the backdrop cb.
struct HighArgs {
    uint32_t L;
    uint32_t ad;
    uint32_t amix;
};

inline uint32_t bank(const Dab& d, int k, int ch) noexcept { return d.banks[ch * 4 + k]; }

// Lerp of a per-channel f(Cb, C').
template <uint32_t (*F)(uint32_t, uint32_t)>
struct PerChannel {
    static void pick(const Dab& d, HighArgs&, const uint32_t w[4], uint32_t cb[3], uint32_t cm[3]) noexcept {
        for (int i = 0; i < 3; ++i) cm[i] = mix::lerp(d.a, d.ar, F(cb[i], w[i]), w[i]);
    }
};
inline void lerpBank(const Dab& d, int k, const uint32_t w[4], uint32_t cm[3]) noexcept {
    for (int i = 0; i < 3; ++i) cm[i] = mix::lerp(d.a, d.ar, bank(d, k, i), w[i]);
}
inline void lerpOf(const Dab& d, const uint32_t x[3], const uint32_t w[4], uint32_t cm[3]) noexcept {
    for (int i = 0; i < 3; ++i) cm[i] = mix::lerp(d.a, d.ar, x[i], w[i]);
}
inline void unchanged(HighArgs& h, const uint32_t cb[3], uint32_t cm[3]) noexcept {
    cm[0] = cb[0], cm[1] = cb[1], cm[2] = cb[2];
    h.amix = h.ad;
}

struct BankSplit2 {
    static void pick(const Dab& d, HighArgs& h, const uint32_t w[4], uint32_t[3], uint32_t cm[3]) noexcept {
        lerpBank(d, h.L < 0x7FFF ? 0 : 1, w, cm);
    }
};
struct BankSplit3 {
    static void pick(const Dab& d, HighArgs& h, const uint32_t w[4], uint32_t[3], uint32_t cm[3]) noexcept {
        lerpBank(d, h.L < 0x5555 ? 0 : h.L < 0xAAAA ? 1 : 2, w, cm);
    }
};
struct BankSplit4 {
    static void pick(const Dab& d, HighArgs& h, const uint32_t w[4], uint32_t[3], uint32_t cm[3]) noexcept {
        lerpBank(d, h.L < 0x3FFF ? 0 : h.L < 0x7FFF ? 1 : h.L < 0xBFFF ? 2 : 3, w, cm);
    }
};
struct BankGradient {
    static void pick(const Dab& d, HighArgs& h, const uint32_t w[4], uint32_t[3], uint32_t cm[3]) noexcept {
        uint32_t x[3];
        if (h.L < 0x7FFF) {
            const uint32_t t = (2 * h.L) >> 8;
            for (int i = 0; i < 3; ++i) x[i] = (bank(d, 0, i) * (256 - t) + bank(d, 1, i) * t) >> 8;
        } else {
            const uint32_t t = (2 * h.L - 0xFFFE) >> 8;
            for (int i = 0; i < 3; ++i) x[i] = (bank(d, 1, i) * (256 - t) + bank(d, 2, i) * t) >> 8;
        }
        lerpOf(d, x, w, cm);
    }
};
struct BankDarkOnly {
    static void pick(const Dab& d, HighArgs& h, const uint32_t w[4], uint32_t cb[3], uint32_t cm[3]) noexcept {
        d.rnd->next();  // drawn and not used; the draw itself is part of the sequence
        if (h.L < 0x7FFF) lerpBank(d, 0, w, cm);
        else lerpOf(d, cb, w, cm);
    }
};
struct BankLightOnly {
    static void pick(const Dab& d, HighArgs& h, const uint32_t w[4], uint32_t cb[3], uint32_t cm[3]) noexcept {
        d.rnd->next();
        if (h.L > 0x7FFF) lerpBank(d, 0, w, cm);
        else lerpOf(d, cb, w, cm);
    }
};
struct BankExtremes {
    static void pick(const Dab& d, HighArgs& h, const uint32_t w[4], uint32_t[3], uint32_t cm[3]) noexcept {
        if (h.L < 0x4FFF) lerpBank(d, 0, w, cm);
        else if (h.L > 0xBFFF) lerpBank(d, 1, w, cm);
        else lerpOf(d, w, w, cm);
    }
};
struct PaintAboveDark {
    static void pick(const Dab& d, HighArgs& h, const uint32_t w[4], uint32_t cb[3], uint32_t cm[3]) noexcept {
        if (h.L < 0x4FFF) unchanged(h, cb, cm);
        else lerpOf(d, w, w, cm);
    }
};
struct PaintBelowLight {
    static void pick(const Dab& d, HighArgs& h, const uint32_t w[4], uint32_t cb[3], uint32_t cm[3]) noexcept {
        if (h.L > 0xBFFF) unchanged(h, cb, cm);
        else lerpOf(d, w, w, cm);
    }
};
struct PaintMidtones {
    static void pick(const Dab& d, HighArgs& h, const uint32_t w[4], uint32_t cb[3], uint32_t cm[3]) noexcept {
        if (h.L < 0x4FFF || h.L > 0xBFFF) unchanged(h, cb, cm);
        else lerpOf(d, w, w, cm);
    }
};
struct Bank0IfDark {
    static void pick(const Dab& d, HighArgs& h, const uint32_t w[4], uint32_t cb[3], uint32_t cm[3]) noexcept {
        if (h.L > 0x2FFF) unchanged(h, cb, cm);
        else lerpBank(d, 0, w, cm);
    }
};
struct Bank0IfLight {
    static void pick(const Dab& d, HighArgs& h, const uint32_t w[4], uint32_t cb[3], uint32_t cm[3]) noexcept {
        if (h.L < 0xDFFF) unchanged(h, cb, cm);
        else lerpBank(d, 0, w, cm);
    }
};
template <uint32_t (*Q)(uint32_t)>
struct Quantize {
    static void pick(const Dab& d, HighArgs&, const uint32_t w[4], uint32_t[3], uint32_t cm[3]) noexcept {
        for (int i = 0; i < 3; ++i) cm[i] = mix::lerp(d.a, d.ar, Q(w[i]), w[i]);
    }
};
struct Posterize {
    static void pick(const Dab& d, HighArgs&, const uint32_t w[4], uint32_t[3], uint32_t cm[3]) noexcept {
        const int n = d.shift & 31;
        for (int i = 0; i < 3; ++i) cm[i] = (w[i] >> n) << n;
    }
};
struct GreyHeight {
    static void pick(const Dab&, HighArgs& h, const uint32_t[4], uint32_t cb[3], uint32_t cm[3]) noexcept {
        for (int i = 0; i < 3; ++i) cm[i] = cb[i] = 32767;
        h.amix = h.L;
    }
};

// The frame every mode above 33 shares: backdrop, erase, luminance, the mode's pick, and
// the final coverage mix.
template <class Pick>
struct High {
    ORV_PIXEL_STEP static void mix(const Dab& d, uint32_t v, uint32_t w[4], const uint16_t* px, Mixed& m) noexcept {
        const uint32_t ad = px[3];
        if (ad == 0) {
            m.cb[0] = w[0], m.cb[1] = w[1], m.cb[2] = w[2];
        } else if (ad < 65535) {
            uint32_t k = 3 * (((65535 - ad) * v) >> 16);
            if (k > 65535) k = 65535;
            for (int i = 0; i < 3; ++i) m.cb[i] = mix::partialBackdrop(k, px[i], w[i]);
        } else {
            m.cb[0] = px[0], m.cb[1] = px[1], m.cb[2] = px[2];
        }
        if (d.erase) w[3] = 0;
        HighArgs h{(w[0] + w[1] + w[2]) / 3, ad, w[3]};
        uint32_t cm[3];
        Pick::pick(d, h, w, m.cb, cm);
        if (v >= 65535) {
            m.c[0] = cm[0], m.c[1] = cm[1], m.c[2] = cm[2];
            m.a = h.amix;
            return;
        }
        for (int i = 0; i < 3; ++i) m.c[i] = mix::finalColour(v, cm[i], m.cb[i]);
        m.a = mix::finalAlpha(v, h.amix, ad);
    }
};

// Calls f with the mixing type of a listed mode above 33; returns false for any other mode.
template <class F>
bool visitHighMode(int32_t mode, F&& f) {
    switch (mode) {
        case 34: f(High<PerChannel<mix::screen>>{}); return true;
        case 35: f(High<PerChannel<mix::darken>>{}); return true;
        case 36: f(High<PerChannel<mix::lighten>>{}); return true;
        case 37: f(High<PerChannel<mix::difference>>{}); return true;
        case 38: f(High<PerChannel<mix::negation>>{}); return true;
        case 39: f(High<PerChannel<mix::exclusion>>{}); return true;
        case 40: f(High<PerChannel<mix::overlay>>{}); return true;
        case 41: f(High<PerChannel<mix::hardLight>>{}); return true;
        case 42: f(High<PerChannel<mix::softLight>>{}); return true;
        case 43: f(High<PerChannel<mix::dodge>>{}); return true;
        case 44: f(High<PerChannel<mix::burn>>{}); return true;
        case 45: f(High<PerChannel<mix::reflect>>{}); return true;
        case 46: f(High<PerChannel<mix::glow>>{}); return true;
        case 47: f(High<PerChannel<mix::add>>{}); return true;
        case 48: f(High<PerChannel<mix::subtract>>{}); return true;
        case 249: f(High<BankSplit2>{}); return true;
        case 250: f(High<BankSplit3>{}); return true;
        case 251: f(High<BankSplit4>{}); return true;
        case 252: f(High<BankGradient>{}); return true;
        case 253: f(High<BankDarkOnly>{}); return true;
        case 254: f(High<BankLightOnly>{}); return true;
        case 255: f(High<BankExtremes>{}); return true;
        case 256: f(High<PaintAboveDark>{}); return true;
        case 257: f(High<PaintBelowLight>{}); return true;
        case 258: f(High<PaintMidtones>{}); return true;
        case 259: f(High<Bank0IfDark>{}); return true;
        case 260: f(High<Bank0IfLight>{}); return true;
        case 261: f(High<Quantize<mix::quantize4>>{}); return true;
        case 262: f(High<Quantize<mix::quantize3>>{}); return true;
        case 295: f(High<Posterize>{}); return true;
        case 340: f(High<GreyHeight>{}); return true;
        default: return false;
    }
}

// Calls f with the mixing type of the modes up to 33 for this dab's settings, as the first
// applicable rule over a non-transparent pixel decides.
template <class F>
void visitLowMode(const Dab& d, F&& f) {
    if (d.pickup && d.mode == 32) f(PickupNormal{});
    else if (d.erase) f(Erase{});
    else if (d.mode == 32) f(Over{});
    else f(Multiply{});
}

// Grows the changed rectangle and resolves the footprint and the buffers and settings that
// layer and mask dabs share.
void setUpFootprint(EngineState& s, Dab& d, int32_t x, int32_t y);
// Picks a new grit pattern when drawingLength has run out: a position other than the
// current one, then a random offset of up to 24 rows and columns.
void chooseGritPattern(BrushState& br, int32_t B);

void paintLiteral(Dab& d);
void paintFast(Dab& d);

}  // namespace orv::dab
