// Region selection and filling on 8-bit images: the connected region around a seed whose
// colours lie within a squared RGB distance of the seed's colour, and colour replacement
// over a whole image.
//
// Connectivity is 8 neighbours. The fill is scanline based with an explicit work list, so
// the largest page (10000 x 10000 pixels in one region) needs no recursion and no stack
// beyond a heap vector.
#pragma once
#include <cstddef>
#include <cstdint>

#include "imaging/image_view.h"

namespace orv {

// A byte map of one value per image pixel, rows `stride` bytes apart.
struct ByteMap {
    uint8_t* data = nullptr;
    ptrdiff_t stride = 0;
    uint8_t* row(int32_t y) const noexcept { return data + static_cast<ptrdiff_t>(y) * stride; }
};

// Marks with `value` every pixel 8-connected to (seedX, seedY) whose colour lies within
// maxDistanceSq (inclusive) of the seed pixel's colour; every other map byte becomes 0.
// The map must cover the image (width bytes or more per row). Returns the number of marked
// pixels; 0 (map untouched) when the seed lies outside the image or the view is invalid.
size_t colorMatchMap(const ImageView& img, int32_t seedX, int32_t seedY, uint32_t maxDistanceSq, ByteMap map,
                     uint8_t value = 1);

// Paints `fill` over the connected region colorMatchMap finds (4-byte images get all four
// bytes, 3-byte images red, green, blue, 1-byte images red). The region is found before
// anything is painted, so a fill colour that itself matches cannot spread the fill.
// Returns the number of painted pixels; 0 when the seed is outside or memory is short
// (then the image is unchanged).
size_t floodFill(const ImageView& img, int32_t seedX, int32_t seedY, const Color8& fill, uint32_t maxDistanceSq);

// Replaces every pixel whose colour lies within maxDistanceSq (inclusive) of `from` by `to`
// (red, green, blue; alpha too on 4-byte images when writeAlpha is set). Returns the
// number of replaced pixels.
size_t replaceColor(const ImageView& img, const Color8& from, const Color8& to, uint32_t maxDistanceSq,
                    bool writeAlpha = false);

// Writes one colour into a pixel of the view's form (see floodFill).
inline void putColor(uint8_t* p, int32_t bytesPerPixel, const Color8& c, bool writeAlpha = true) noexcept {
    p[0] = c.r;
    if (bytesPerPixel >= 3) {
        p[1] = c.g;
        p[2] = c.b;
        if (bytesPerPixel == 4 && writeAlpha) p[3] = c.a;
    }
}

}  // namespace orv
