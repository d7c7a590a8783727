// Per-pixel pieces of the display render shared by the reference and the row renderer:
// reading a layer pixel, the layer-mask and opacity steps, and the output stage (tracing,
// checkerboard, selection overlay, blue-green-red bytes).
#pragma once
#include <cstdint>

#include "composite/render_plan.h"

namespace orv {

inline Px readPx(const uint16_t* p) noexcept { return {p[0], p[1], p[2], p[3]}; }

// Layer mask: where the mask pixel's alpha is not 0, a = (a x mean(mask colour)) >> 16.
inline uint32_t applyLayerMask(uint32_t a, const uint16_t* m) noexcept {
    return m[3] != 0 ? (a * ((uint32_t{m[0]} + m[1] + m[2]) / 3)) >> 16 : a;
}
// Opacity 0..256: below 255, a = ((opacity + 1) x a) >> 8; 255 and 256 leave a.
inline uint32_t applyOpacity(uint32_t a, uint32_t opacity) noexcept { return opacity < 255 ? ((opacity + 1) * a) >> 8 : a; }

// The checkerboard square parity of a page pixel (squares of 32 x 32).
inline uint32_t squareParity(int32_t px, int32_t py) noexcept { return ((px >> 5) + (py >> 5)) & 1u; }

// Tracing, checkerboard and overlay for one composited page pixel c at (px, py); writes
// three bytes. maskValue null: no overlay. skipFullySelected: the one-to-one mapping passes a
// mask value of 0xFFFF through unmixed.
inline void outputPixel(const RenderPlan& p, Px c, int32_t px, int32_t py, const uint16_t* maskValue, bool skipFullySelected,
                        uint8_t* out) noexcept {
    if (p.tracing) {
        const uint16_t* t = p.tracing + static_cast<size_t>(py) * p.pageStride + static_cast<size_t>(px) * 4;
        c.r = (t[0] + c.r) >> 1, c.g = (t[1] + c.g) >> 1, c.b = (t[2] + c.b) >> 1;
    }
    const uint32_t q = squareParity(px, py);
    if (c.a < 0xFFFF) {
        const uint32_t g = q == 0 ? 0xFFFF : 0x9FFF, back = g * (0xFFFF - c.a);
        c.r = (((c.a * c.r) >> 8) + (back >> 8)) >> 8;
        c.g = (((c.a * c.g) >> 8) + (back >> 8)) >> 8;
        c.b = (((c.a * c.b) >> 8) + (back >> 8)) >> 8;
    }
    if (maskValue && !(skipFullySelected && *maskValue == 0xFFFF)) {
        uint32_t M = *maskValue;
        if (p.overlayMode == 0) M = (M >> 1) + 0x7FFF;
        const Px& ov = q == 1 ? p.overlay1 : p.overlay2;
        const uint32_t rest = 0xFFFF - M;
        out[0] = static_cast<uint8_t>((((M * c.b) >> 8) + ((rest * ov.b) >> 8)) >> 16);
        out[1] = static_cast<uint8_t>((((M * c.g) >> 8) + ((rest * ov.g) >> 8)) >> 16);
        out[2] = static_cast<uint8_t>((((M * c.r) >> 8) + ((rest * ov.r) >> 8)) >> 16);
    } else {
        out[0] = static_cast<uint8_t>(c.b >> 8);
        out[1] = static_cast<uint8_t>(c.g >> 8);
        out[2] = static_cast<uint8_t>(c.r >> 8);
    }
}

}  // namespace orv
