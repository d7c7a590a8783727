// Resampling of packed 8-bit images (any channel count), shared by thumbnails, web pictures,
// the loaded-image buffer and every later operation that scales pixels.
#pragma once
#include <cstdint>

namespace orv {

struct ImageView {
    const uint8_t* pixels;
    int32_t width, height;
};
struct ImageTarget {
    uint8_t* pixels;
    int32_t width, height;
};

// Shrinking: each destination pixel is the mean of the source area it covers, partly covered
// source pixels weighted by their covered fraction (a box filter over exact footprints).
void decimateImage(ImageView src, ImageTarget dst, int channels);

// Enlarging (or any other size): bilinear interpolation between the four source pixels around
// each destination pixel centre, edges clamped.
void resizeSmooth(ImageView src, ImageTarget dst, int channels);

// Decimates when both destination sides are smaller than the source's, otherwise resizes
// smoothly. Sides of 0 or less do nothing.
void resampleImage(ImageView src, ImageTarget dst, int channels);

}  // namespace orv
