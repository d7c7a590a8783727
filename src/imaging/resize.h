// Resizing an RGBA image to any size, larger or smaller.
#pragma once
#include "imaging/image.h"

namespace orv {

// Resizes src to w x h into out with a separable triangle filter whose width grows with the
// reduction (bilinear when enlarging, an area-weighted average when shrinking), weighting
// colour by alpha and replicating edge pixels. The aspect ratio is not kept. Throws
// std::bad_alloc when a buffer cannot be had; out may not alias src. A side of 0 or less,
// or an empty src, gives an empty out.
void resizeImage(const RgbaImage& src, int32_t w, int32_t h, RgbaImage& out);

}  // namespace orv
