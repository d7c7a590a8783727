// Filled shapes on 8-bit images of 1, 3 or 4 bytes per pixel. Every shape is clipped to the
// image; coordinates may lie anywhere. Pixels take the colour's bytes as putColor writes
// them (all four on 4-byte images).
#pragma once
#include <cstdint>

#include "imaging/image_view.h"

namespace orv {

// Fills columns left..right and rows top..bottom, both ends included. Nothing is drawn when
// right < left or bottom < top.
void fillRectangle(const ImageView& img, int32_t left, int32_t top, int32_t right, int32_t bottom, const Color8& c);

// Fills every pixel (x, y) with (x - cx)^2 / rx^2 + (y - cy)^2 / ry^2 <= 1, evaluated exactly
// in integers as (x - cx)^2 ry^2 + (y - cy)^2 rx^2 <= rx^2 ry^2. A radius of 0 draws a line
// (or the single centre pixel); negative radii draw nothing.
void fillEllipse(const ImageView& img, int32_t cx, int32_t cy, int32_t rx, int32_t ry, const Color8& c);

}  // namespace orv
