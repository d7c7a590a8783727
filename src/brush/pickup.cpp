#include "brush/pickup.h"

#include <algorithm>

#include "engine/engine_state.h"

namespace orv {

namespace {

// The page window under the brush, clipped to the page, and where it lands in the buffer.
struct PickupWindow {
    int32_t x0, y0, x1, y1;  // inclusive page coordinates
    int32_t bx0, by0;        // buffer position of (x0, y0)
    bool clipped;
};

PickupWindow windowAt(const EngineState& s, int32_t x, int32_t y) {
    const int32_t S = s.brush.settings.brushSize, h = S / 2;
    PickupWindow w{x - h, y - h, x - h + S - 1, y - h + S - 1, 0, 0, false};
    if (w.x0 < 0) w.bx0 = -w.x0, w.x0 = 0, w.clipped = true;
    if (w.y0 < 0) w.by0 = -w.y0, w.y0 = 0, w.clipped = true;
    if (w.x1 >= s.page.pageWidth) w.x1 = s.page.pageWidth - 1, w.clipped = true;
    if (w.y1 >= s.page.pageHeight) w.y1 = s.page.pageHeight - 1, w.clipped = true;
    return w;
}

// Pickup loads need blending on and a brush that fits the buffer.
bool pickupReady(const EngineState& s) {
    const BrushSettings& b = s.brush.settings;
    return b.blendStrength != 0 && s.brush.blendBuffer && b.brushSize > 0 && b.brushSize <= s.page.maxBrushSize;
}

// m' x (1/65535) x As truncated; a fully selected pixel passes As unchanged (the product
// of 65535 and the constant falls just below 1 and would lose one step).
uint32_t maskedAlpha(uint32_t m, uint32_t as) {
    const uint32_t mm = m < 65535 ? (m * 65535u) >> 16 : 65535u;
    if (mm == 65535) return as;
    return static_cast<uint32_t>(mm * static_cast<long double>(1.5259021896696422e-05) * as);
}

const uint16_t* pageSized(const EngineState& s, const Buffer<uint16_t>& b) {
    return b.size() >= s.page.pixelCount() * 4 ? b.data() : nullptr;
}

}  // namespace

void copyBlendBuffer(EngineState& s, int32_t x, int32_t y, const uint16_t* src, int32_t c, int32_t d) {
    if (!pickupReady(s) || !src) return;
    const BrushSettings& b = s.brush.settings;
    const int32_t S = b.brushSize;
    const size_t stride = static_cast<size_t>(s.page.maxBrushSize) * 4;
    c = std::clamp(c, 0, 256);
    const uint32_t cw = static_cast<uint32_t>(c), cr = 256 - cw;
    const uint32_t R = b.currentColor[0], G = b.currentColor[1], Bl = b.currentColor[2], A = b.currentColor[3];
    const uint16_t ownAlpha = static_cast<uint16_t>((cw % 256) * 256), pageAlpha = static_cast<uint16_t>((cr % 256) * 256);
    uint16_t* buf = s.brush.blendBuffer.data();
    const PickupWindow w = windowAt(s, x, y);
    if (w.clipped)
        for (int32_t r = 0; r < S; ++r)
            for (int32_t col = 0; col < S; ++col) {
                uint16_t* p = buf + r * stride + static_cast<size_t>(col) * 4;
                if (d) {
                    p[3] = 65535;
                } else {
                    p[0] = static_cast<uint16_t>(R), p[1] = static_cast<uint16_t>(G), p[2] = static_cast<uint16_t>(Bl);
                    p[3] = ownAlpha;
                }
            }
    const uint16_t* mask = s.mask.maskActive && s.mask.maskBuffer.size() >= s.page.pixelCount() ? s.mask.maskBuffer.data() : nullptr;
    const size_t pageStride = static_cast<size_t>(s.page.pageStride);
    for (int32_t py = w.y0; py <= w.y1; ++py) {
        uint16_t* p = buf + static_cast<size_t>(w.by0 + py - w.y0) * stride + static_cast<size_t>(w.bx0) * 4;
        const uint16_t* sp = src + py * pageStride + static_cast<size_t>(w.x0) * 4;
        for (int32_t px = w.x0; px <= w.x1; ++px, p += 4, sp += 4) {
            uint32_t as = sp[3];
            if (mask) as = maskedAlpha(mask[static_cast<size_t>(py) * s.page.pageWidth + px], as);
            if (as == 0) {
                p[0] = static_cast<uint16_t>(R), p[1] = static_cast<uint16_t>(G), p[2] = static_cast<uint16_t>(Bl);
                p[3] = d ? pageAlpha : ownAlpha;
                continue;
            }
            const uint32_t own[3] = {R, G, Bl};
            for (int i = 0; i < 3; ++i) p[i] = static_cast<uint16_t>(std::min(((cr * sp[i] + cw * own[i]) >> 8) + 1, 65280u));
            p[3] = static_cast<uint16_t>((cr * as + cw * A) >> 8);
        }
    }
}

void copyBlendBufferSurface(EngineState& s, int32_t x, int32_t y, int32_t c, int32_t d) {
    LayerRecord* l = s.layers.currentLayer;
    if (l && l->present()) copyBlendBuffer(s, x, y, pageSized(s, l->pixels), c, d);
}

void copyBlendBufferLayer(EngineState& s, int32_t layer, int32_t x, int32_t y, int32_t c) {
    if (LayerRecord* l = s.layers.presentLayer(layer)) copyBlendBuffer(s, x, y, pageSized(s, l->pixels), c, 0);
}

void copyBlendBufferHistory(EngineState& s, int32_t x, int32_t y, int32_t c) {
    copyBlendBuffer(s, x, y, pageSized(s, s.undo.backPixels), c, 0);
}

void copyBlendBufferTrace(EngineState& s, int32_t x, int32_t y, int32_t c) {
    if (LayerRecord* l = s.layers.presentLayer(kTracingLayer)) copyBlendBuffer(s, x, y, pageSized(s, l->pixels), c, 0);
}

void copyBlendBufferMask(EngineState& s, int32_t x, int32_t y, int32_t c) {
    if (!pickupReady(s) || s.mask.maskBuffer.size() < s.page.pixelCount()) return;
    const BrushSettings& b = s.brush.settings;
    const int32_t S = b.brushSize;
    const size_t stride = static_cast<size_t>(s.page.maxBrushSize) * 4;
    c = std::clamp(c, 0, 256);
    const uint32_t L = (static_cast<uint32_t>(b.currentColor[0]) + b.currentColor[1] + b.currentColor[2]) / 3;
    const uint32_t M0 = L <= 255 ? 65535 : L > 65280 ? 0 : 65280 - L;
    uint16_t* buf = s.brush.blendBuffer.data();
    const PickupWindow w = windowAt(s, x, y);
    if (w.clipped)
        for (int32_t r = 0; r < S; ++r)
            for (int32_t col = 0; col < S; ++col) buf[r * stride + col] = static_cast<uint16_t>(M0);
    const uint16_t* mask = s.mask.maskBuffer.data();
    for (int32_t py = w.y0; py <= w.y1; ++py)
        for (int32_t px = w.x0; px <= w.x1; ++px) {
            const uint32_t m = mask[static_cast<size_t>(py) * s.page.pageWidth + px];
            const uint32_t v = ((m * (256 - c) + M0 * c) >> 8) + 1;
            buf[static_cast<size_t>(w.by0 + py - w.y0) * stride + (w.bx0 + px - w.x0)] = static_cast<uint16_t>(std::min(v, 65280u));
        }
}

void filterBlendBuffer(EngineState& s, int32_t kind, int32_t percent) {
    const BrushSettings& b = s.brush.settings;
    if (!s.brush.blendBuffer || b.brushSize <= 0 || b.brushSize > s.page.maxBrushSize) return;
    const uint32_t T = static_cast<uint32_t>(static_cast<long long>(percent * static_cast<long double>(655.35)));
    const size_t stride = static_cast<size_t>(s.page.maxBrushSize) * 4;
    for (int32_t r = 0; r < b.brushSize; ++r) {
        uint16_t* p = s.brush.blendBuffer.data() + r * stride;
        for (int32_t col = 0; col < b.brushSize; ++col, p += 4) {
            switch (kind) {
                case 289: p[0] = p[1] = p[2] = static_cast<uint16_t>((static_cast<uint32_t>(p[0]) + p[1] + p[2]) / 3); break;
                case 290: for (int i = 0; i < 3; ++i) p[i] = static_cast<uint16_t>(65535 - p[i]); break;
                case 291: for (int i = 0; i < 3; ++i) if (p[i] < T) p[i] = 0; break;
                case 292: for (int i = 0; i < 3; ++i) if (p[i] > T) p[i] = 65280; break;
                default: break;
            }
        }
    }
}

void clearBlendBuffer(EngineState& s) noexcept {
    Buffer<uint16_t>& b = s.brush.blendBuffer;
    const size_t n = std::min(b.size(), static_cast<size_t>(std::max(0, s.page.maxBrushSize)) * std::max(0, s.page.maxBrushSize));
    for (size_t i = 0; i < n; ++i) b[i] = 0;
}

}  // namespace orv
