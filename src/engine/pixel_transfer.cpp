#include "engine/pixel_transfer.h"

#include <algorithm>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "engine/coverage.h"
#include "engine/engine_state.h"
#include "engine/fixed_point.h"
#include "engine/layer_table.h"
#include "engine/page_access.h"

namespace orv {

namespace {

inline const uint8_t* hostRow(const uint8_t* p, int32_t stride, int64_t y) noexcept {
    return p + static_cast<ptrdiff_t>(y) * stride;
}
inline uint8_t* hostRow(uint8_t* p, int32_t stride, int64_t y) noexcept {
    return p + static_cast<ptrdiff_t>(y) * stride;
}

// Runs row(hostRow, layerRow) for every page row of a page-addressed layer.
template <class HostPtr, class F>
void forPageRows(const PageLayerView& v, HostPtr host, int32_t hostStride, F&& row) {
    for (int32_t y = 0; y < v.height; ++y) row(hostRow(host, hostStride, y), v.row(y));
}

// The selection planes a weighted load consults, offset to one row.
struct CoveragePlanes {
    const uint8_t* texture = nullptr;
    const uint16_t* mask = nullptr;
    size_t pageWidth = 0;
    const uint8_t* textureRow(int64_t y, int64_t x) const noexcept {
        return texture ? texture + static_cast<size_t>(y) * pageWidth + static_cast<size_t>(x) : nullptr;
    }
    const uint16_t* maskRow(int64_t y, int64_t x) const noexcept {
        return mask ? mask + static_cast<size_t>(y) * pageWidth + static_cast<size_t>(x) : nullptr;
    }
};

// Whether a load with useMask is weighted, and by which planes.
bool weightedLoad(EngineState& s, bool useMask, CoveragePlanes& planes) noexcept {
    if (!useMask || !(s.mask.maskActive || s.brush.textureBuffer)) return false;
    planes.texture = pagePlane(s.page, s.brush.textureBuffer);
    planes.mask = s.mask.maskActive ? pagePlane(s.page, s.mask.maskBuffer) : nullptr;
    planes.pageWidth = static_cast<size_t>(std::max(s.page.pageWidth, 0));
    return true;
}

// ---- RGBA32 load rows -------------------------------------------------------------------

template <bool LockAlpha>
void loadRowRGBA32(const uint8_t* s, uint16_t* d, size_t n) noexcept {
    for (size_t i = 0; i < n; ++i, s += 4, d += 4) {
        if constexpr (LockAlpha) {
            d[0] = to16(s[0]);
            d[1] = to16(s[1]);
            d[2] = to16(s[2]);
        } else {
            // An alpha-0 source pixel writes 0 into all four channels.
            const uint16_t keep = s[3] ? 0xFFFF : 0;
            d[0] = to16(s[0]) & keep;
            d[1] = to16(s[1]) & keep;
            d[2] = to16(s[2]) & keep;
            d[3] = to16(s[3]);
        }
    }
}

// The plain unlocked load four pixels at a time; equal byte for byte to
// loadRowRGBA32<false> (checked on random pixels by the tests).
void loadRowRGBA32Fast(const uint8_t* s, uint16_t* d, size_t n) noexcept {
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i alpha = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    for (; i + 4 <= n; i += 4) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i * 4));
        const __m128i transparent = _mm_cmpeq_epi32(_mm_and_si128(v, alpha), zero);
        v = _mm_andnot_si128(transparent, v);  // alpha 0: the whole pixel becomes 0
        // Interleaving a zero byte below each source byte gives the 16-bit value b << 8.
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i * 4), _mm_unpacklo_epi8(zero, v));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i * 4 + 8), _mm_unpackhi_epi8(zero, v));
    }
#endif
    loadRowRGBA32<false>(s + i * 4, d + i * 4, n - i);
}

template <bool LockAlpha>
void loadRowRGBA32Weighted(const uint8_t* s, uint16_t* d, size_t n, const uint8_t* tex, const uint16_t* mask) noexcept {
    for (size_t i = 0; i < n; ++i, s += 4, d += 4) {
        const int32_t cov = coverageA(tex, mask, i);
        if (cov <= 0) continue;  // protected by the mask, or no coverage
        const uint32_t c = static_cast<uint32_t>(cov);
        const uint32_t s3 = to16(s[3]);
        if (c == kFullCoverage) {
            d[0] = to16(s[0]);
            d[1] = to16(s[1]);
            d[2] = to16(s[2]);
            if (!LockAlpha) d[3] = static_cast<uint16_t>(s3);
        } else if (d[3] == 0) {
            d[0] = to16(s[0]);
            d[1] = to16(s[1]);
            d[2] = to16(s[2]);
            if (!LockAlpha) d[3] = static_cast<uint16_t>((s3 * c) >> 16);
        } else if (s3 == 0) {
            if (!LockAlpha) d[3] = static_cast<uint16_t>((d[3] * (0xFFFFu - c)) >> 16);
        } else {
            d[0] = coverageLerp(to16(s[0]), d[0], c);
            d[1] = coverageLerp(to16(s[1]), d[1], c);
            d[2] = coverageLerp(to16(s[2]), d[2], c);
            if (!LockAlpha) d[3] = coverageLerp(s3, d[3], c);
        }
    }
}

// ---- Read rows ----------------------------------------------------------------------------

void rowRGBA64ToRGBA32(const uint16_t* s, uint8_t* d, size_t n) noexcept {
    for (size_t i = 0; i < n * 4; ++i) d[i] = hi8(s[i]);
}
void rowRGBA64ToRGB24(const uint16_t* s, uint8_t* d, size_t n) noexcept {
    for (size_t i = 0; i < n; ++i, s += 4, d += 3) {
        d[0] = hi8(s[0]);
        d[1] = hi8(s[1]);
        d[2] = hi8(s[2]);
    }
}

// Host RGBA64 rows are byte-addressed (the caller's stride need not be even); copy through
// memcpy so no unaligned 16-bit access is made.
void rowRGBA64BytesToRGBA32(const uint8_t* s, uint8_t* d, size_t n) noexcept {
    for (size_t i = 0; i < n * 4; ++i) {
        uint16_t v;
        std::memcpy(&v, s + 2 * i, 2);
        d[i] = hi8(v);
    }
}
void rowRGBA64BytesToRGB24(const uint8_t* s, uint8_t* d, size_t n) noexcept {
    for (size_t i = 0; i < n; ++i, s += 8, d += 3) {
        uint16_t v[4];
        std::memcpy(v, s, 8);
        d[0] = hi8(v[0]);
        d[1] = hi8(v[1]);
        d[2] = hi8(v[2]);
    }
}

void fillRowRGBA64(uint16_t* d, size_t n, const uint16_t v[4]) noexcept {
    const uint16_t r = v[0], g = v[1], b = v[2], a = v[3];
    for (size_t i = 0; i < n; ++i, d += 4) {
        d[0] = r;
        d[1] = g;
        d[2] = b;
        d[3] = a;
    }
}

size_t count(int32_t n) noexcept { return n > 0 ? static_cast<size_t>(n) : 0; }

}  // namespace

// ---- Loads --------------------------------------------------------------------------------

void loadRGBA32(EngineState& s, LayerRecord* l, const RGBA32Placement& p) {
    if (!l || !l->present() || !p.src || l->width <= 0 || l->height <= 0) return;
    const size_t stride = static_cast<size_t>(l->stride);
    if (stride < static_cast<size_t>(l->width) * 4 || l->pixels.size() < stride * static_cast<size_t>(l->height)) return;

    int64_t x0 = std::max<int64_t>(p.x, 0), y0 = std::max<int64_t>(p.y, 0);
    int64_t x1 = std::min<int64_t>(static_cast<int64_t>(p.x) + p.width, l->width);
    int64_t y1 = std::min<int64_t>(static_cast<int64_t>(p.y) + p.height, l->height);
    CoveragePlanes planes;
    const bool weighted = weightedLoad(s, p.useMask, planes);
    if (weighted) {  // the mask and the texture cover the page only
        x1 = std::min<int64_t>(x1, s.page.pageWidth);
        y1 = std::min<int64_t>(y1, s.page.pageHeight);
    }
    if (x0 >= x1 || y0 >= y1) return;
    const size_t n = static_cast<size_t>(x1 - x0);
    const bool lock = l->lockAlpha != 0;
    for (int64_t y = y0; y < y1; ++y) {
        const uint8_t* src = hostRow(p.src, p.srcStride, y - p.y) + (x0 - p.x) * 4;
        uint16_t* dst = l->pixels.data() + static_cast<size_t>(y) * stride + static_cast<size_t>(x0) * 4;
        if (weighted) {
            const uint8_t* tex = planes.textureRow(y, x0);
            const uint16_t* mask = planes.maskRow(y, x0);
            lock ? loadRowRGBA32Weighted<true>(src, dst, n, tex, mask) : loadRowRGBA32Weighted<false>(src, dst, n, tex, mask);
        } else {
            lock ? loadRowRGBA32<true>(src, dst, n) : loadRowRGBA32Fast(src, dst, n);
        }
    }
}

void loadBGR24(EngineState& s, const uint8_t* src, int32_t srcStride, int32_t width, int32_t height) {
    const PageLayerView v = pageView(s.page, currentLayerIfPresent(s));
    if (!v || !src) return;
    const int32_t h = std::min(v.height, height);
    const size_t n = count(std::min(v.width, width));
    for (int32_t y = 0; y < h; ++y) {
        const uint8_t* sp = hostRow(src, srcStride, y);
        uint16_t* d = v.row(y);
        for (size_t i = 0; i < n; ++i, sp += 3, d += 4) {
            d[0] = to16(sp[2]);
            d[1] = to16(sp[1]);
            d[2] = to16(sp[0]);
            d[3] = 0xFFFF;
        }
    }
}

namespace {
// The coverage planes of one row of a whole-layer RGB24 load.
struct RowCoverage {
    bool weighted;
    const uint8_t* texture;
    const uint16_t* mask;
};

// Runs row(source row, layer row, pixels, coverage) over the whole current layer.
template <class F>
void forCurrentLayerRows(EngineState& s, const uint8_t* src, int32_t srcStride, bool useMask, F&& row) {
    const PageLayerView v = pageView(s.page, currentLayerIfPresent(s));
    if (!v || !src) return;
    CoveragePlanes planes;
    const bool weighted = weightedLoad(s, useMask, planes);
    for (int32_t y = 0; y < v.height; ++y)
        row(hostRow(src, srcStride, y), v.row(y), count(v.width), RowCoverage{weighted, planes.textureRow(y, 0), planes.maskRow(y, 0)});
}
}  // namespace

void loadRGB24(EngineState& s, const uint8_t* src, int32_t srcStride, bool useMask) {
    forCurrentLayerRows(s, src, srcStride, useMask, [](const uint8_t* sp, uint16_t* d, size_t n, RowCoverage rc) {
        if (!rc.weighted) {
            for (size_t i = 0; i < n; ++i, sp += 3, d += 4) {
                d[0] = to16(sp[0]);
                d[1] = to16(sp[1]);
                d[2] = to16(sp[2]);
            }
            return;
        }
        for (size_t i = 0; i < n; ++i, sp += 3, d += 4) {
            const int32_t cov = coverageA(rc.texture, rc.mask, i);
            if (cov <= 0) continue;
            const uint32_t c = static_cast<uint32_t>(cov);
            for (int k = 0; k < 3; ++k) d[k] = c == kFullCoverage ? to16(sp[k]) : coverageLerp(to16(sp[k]), d[k], c);
        }
    });
}

void loadRGB24ToAlpha(EngineState& s, const uint8_t* src, int32_t srcStride, bool useMask) {
    forCurrentLayerRows(s, src, srcStride, useMask, [](const uint8_t* sp, uint16_t* d, size_t n, RowCoverage rc) {
        for (size_t i = 0; i < n; ++i, sp += 3, d += 4) {
            if (d[3] == 0) continue;  // transparent pixels stay transparent
            const uint32_t c = rc.weighted ? coverageB(rc.texture, rc.mask, i) : kFullCoverage;
            if (c == kFullCoverage) d[3] = to16(sp[0]);
            else if (c != 0) d[3] = coverageLerp(to16(sp[0]), d[3], c);
        }
    });
}

void setRGBA64(const PageGeometry& g, LayerRecord* l, const uint8_t* src, int32_t srcStride) {
    const PageLayerView v = pageView(g, l);
    if (!v || !src) return;
    forPageRows(v, src, srcStride, [&](const uint8_t* s, uint16_t* d) { std::memcpy(d, s, static_cast<size_t>(v.width) * 8); });
}

// ---- Reads --------------------------------------------------------------------------------

void getRGBA32(const PageGeometry& g, LayerRecord* l, uint8_t* dst, int32_t dstStride) {
    const PageLayerView v = pageView(g, l);
    if (!v || !dst) return;
    forPageRows(v, dst, dstStride, [&](uint8_t* d, const uint16_t* s) { rowRGBA64ToRGBA32(s, d, count(v.width)); });
}

void getRGB24(const PageGeometry& g, LayerRecord* l, uint8_t* dst, int32_t dstStride) {
    const PageLayerView v = pageView(g, l);
    if (!v || !dst) return;
    forPageRows(v, dst, dstStride, [&](uint8_t* d, const uint16_t* s) { rowRGBA64ToRGB24(s, d, count(v.width)); });
}

void getGrayFromAlpha(const PageGeometry& g, LayerRecord* l, uint8_t* dst, int32_t dstStride) {
    const PageLayerView v = pageView(g, l);
    if (!v || !dst) return;
    forPageRows(v, dst, dstStride, [&](uint8_t* d, const uint16_t* s) {
        for (size_t i = 0, n = count(v.width); i < n; ++i, s += 4, d += 3) d[0] = d[1] = d[2] = hi8(s[3]);
    });
}

void getRGBA64Rect(const PageGeometry& g, LayerRecord* l, uint8_t* dst, int32_t dstStride, int32_t x, int32_t y,
                   int32_t width, int32_t height) {
    const PageLayerView v = pageView(g, l);
    if (!v || !dst) return;
    const int64_t x0 = std::max<int64_t>(x, 0), y0 = std::max<int64_t>(y, 0);
    const int64_t x1 = std::min<int64_t>(static_cast<int64_t>(x) + width, v.width);
    const int64_t y1 = std::min<int64_t>(static_cast<int64_t>(y) + height, v.height);
    if (x0 >= x1 || y0 >= y1) return;
    for (int64_t r = y0; r < y1; ++r)
        std::memcpy(hostRow(dst, dstStride, r - y) + (x0 - x) * 8, v.row(static_cast<int32_t>(r)) + x0 * 4,
                    static_cast<size_t>(x1 - x0) * 8);
}

// ---- Conversions --------------------------------------------------------------------------

void rgba64ToRGBA32(uint8_t* dst, int32_t dstStride, const uint8_t* src, int32_t srcStride, int32_t width, int32_t height) {
    if (!dst || !src) return;
    for (int32_t y = 0; y < height; ++y) rowRGBA64BytesToRGBA32(hostRow(src, srcStride, y), hostRow(dst, dstStride, y), count(width));
}

void rgba64ToRGB24(uint8_t* dst, int32_t dstStride, const uint8_t* src, int32_t srcStride, int32_t width, int32_t height) {
    if (!dst || !src) return;
    for (int32_t y = 0; y < height; ++y) rowRGBA64BytesToRGB24(hostRow(src, srcStride, y), hostRow(dst, dstStride, y), count(width));
}

namespace {
// Packed width x height pixel count, 0 for a non-positive side.
size_t packedPixels(int32_t width, int32_t height) noexcept { return count(width) * count(height); }
}  // namespace

namespace {
// Copies the three colour bytes of n packed pixels between 3- and 4-byte forms.
template <int DstStep, int SrcStep>
void copyColourBytes(uint8_t* dst, const uint8_t* src, size_t n) noexcept {
    for (size_t i = 0; i < n; ++i, dst += DstStep, src += SrcStep) {
        dst[0] = src[0];
        dst[1] = src[1];
        dst[2] = src[2];
    }
}
}  // namespace

void rgb24IntoRGBA32KeepAlpha(uint8_t* dst, const uint8_t* src, int32_t width, int32_t height) {
    if (dst && src) copyColourBytes<4, 3>(dst, src, packedPixels(width, height));
}

void rgba32ToRGB24(uint8_t* dst, const uint8_t* src, int32_t width, int32_t height) {
    if (dst && src) copyColourBytes<3, 4>(dst, src, packedPixels(width, height));
}

void rgb24MeanIntoAlpha(uint8_t* dst, const uint8_t* src, int32_t width, int32_t height) {
    if (!dst || !src) return;
    for (size_t i = 0, n = packedPixels(width, height); i < n; ++i, dst += 4, src += 3)
        dst[3] = static_cast<uint8_t>((src[0] + src[1] + src[2]) / 3);
}

void rgba32AlphaToGray(uint8_t* dst, const uint8_t* src, int32_t width, int32_t height) {
    if (!dst || !src) return;
    for (size_t i = 0, n = packedPixels(width, height); i < n; ++i, dst += 3, src += 4) dst[0] = dst[1] = dst[2] = src[3];
}

void expandRGBA32ToRGBA64(uint16_t* dst, const uint8_t* src, int32_t width, int32_t height) {
    if (!dst || !src) return;
    for (size_t i = 0, n = packedPixels(width, height) * 4; i < n; ++i) dst[i] = to16(src[i]);
}

void narrowRGBA64ToRGBA32(uint8_t* dst, const uint16_t* src, int32_t width, int32_t height) {
    if (!dst || !src) return;
    rowRGBA64ToRGBA32(src, dst, packedPixels(width, height));
}

// ---- Clears -------------------------------------------------------------------------------

void clearLayer(EngineState& s, Colour8 c) {
    const PageLayerView v = pageView(s.page, currentLayerIfPresent(s));
    if (!v) return;
    const uint16_t px[4] = {to16(c.r), to16(c.g), to16(c.b), to16(c.a)};
    for (int32_t y = 0; y < v.height; ++y) fillRowRGBA64(v.row(y), count(v.width), px);
}

void clearLayerMasked(EngineState& s, Colour8 c) {
    const PageLayerView v = pageView(s.page, currentLayerIfPresent(s));
    const uint16_t* mask = pagePlane(s.page, s.mask.maskBuffer);
    if (!v) return;
    if (!s.mask.maskActive || !mask) return clearLayer(s, c);
    const uint16_t px[3] = {to16(c.r), to16(c.g), to16(c.b)};
    const uint16_t a = to16(c.a);
    const size_t n = count(v.width);
    for (int32_t y = 0; y < v.height; ++y) {
        uint16_t* d = v.row(y);
        const uint16_t* m = mask + static_cast<size_t>(y) * n;
        for (size_t i = 0; i < n; ++i, d += 4) {
            const uint32_t M = m[i];
            if (M == 0xFFFF) {
                d[0] = px[0], d[1] = px[1], d[2] = px[2], d[3] = a;
            } else if (M != 0) {
                for (int k = 0; k < 3; ++k) d[k] = coverageLerp(px[k], d[k], M);
                d[3] = 0xFFFF;  // partly selected pixels come out opaque whatever alpha was asked
            }
        }
    }
}

void clearLayerMaskedAlpha(EngineState& s, Colour8 c) {
    LayerRecord* l = currentLayerIfPresent(s);
    if (!l) return;
    if (!s.mask.maskActive) return clearLayer(s, c);
    // One source row read for every layer row (stride 0) gives the same result as a
    // page-sized buffer of the colour without making one.
    std::vector<uint8_t> row;
    try {
        row.resize(checkedSize(std::max(l->width, 0), 4));
    } catch (const std::bad_alloc&) {
        return;  // no temporary buffer: nothing happens
    }
    for (size_t i = 0; i < row.size(); i += 4) row[i] = c.r, row[i + 1] = c.g, row[i + 2] = c.b, row[i + 3] = c.a;
    loadRGBA32(s, l, {row.data(), 0, 0, 0, l->width, l->height, true});
}

void clearRGBA64(const PageGeometry& g, uint8_t* dst, int32_t dstStride, const uint16_t rgba[4]) {
    if (!dst) return;
    uint8_t px[8];
    std::memcpy(px, rgba, 8);
    const size_t n = count(g.pageWidth);
    for (int32_t y = 0; y < g.pageHeight; ++y) {
        uint8_t* d = hostRow(dst, dstStride, y);
        for (size_t i = 0; i < n; ++i) std::memcpy(d + i * 8, px, 8);
    }
}

void clearRGBA32(uint8_t* dst, int32_t dstStride, int32_t width, int32_t height, Colour8 c) {
    if (!dst) return;
    const size_t n = count(width);
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* d = hostRow(dst, dstStride, y);
        for (size_t i = 0; i < n; ++i, d += 4) d[0] = c.r, d[1] = c.g, d[2] = c.b, d[3] = c.a;
    }
}

void setPixelRGB24(const PageGeometry& g, uint8_t* dst, int32_t dstStride, int32_t x, int32_t y, uint16_t r, uint16_t gr,
                   uint16_t b) {
    if (!dst || x < 0 || y < 0 || x >= g.pageWidth || y >= g.pageHeight) return;
    uint8_t* p = hostRow(dst, dstStride, y) + static_cast<size_t>(x) * 3;
    p[0] = hi8(r);
    p[1] = hi8(gr);
    p[2] = hi8(b);
}

}  // namespace orv
