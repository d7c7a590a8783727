// Colour reduction to an 8-bit palette image.
#pragma once
#include <cstddef>
#include <cstdint>

namespace orv {

struct Palette256 {
    int count = 0;
    uint8_t rgb[256 * 3] = {};
};

// Reduces packed RGB pixels to at most maxColours (1..256) colours, writing one palette index
// per pixel. Images with no more distinct colours than that keep them exactly; others are
// reduced by median cut over a 6-bit-per-channel histogram, each colour the mean of its box,
// each pixel mapped to the palette colour nearest its cell's mean (no dithering).
void quantizeMedianCut(const uint8_t* rgb, size_t pixels, int maxColours, Palette256& palette, uint8_t* indices);

}  // namespace orv
