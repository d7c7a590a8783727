// Blur of a one-byte-per-pixel image.
#pragma once
#include <cstdint>

namespace orv {

// dst = the 3 x 3 box average of src (rows of w bytes), edge pixels averaged over the
// neighbours that exist, rounded to nearest.
void blurGray8(const uint8_t* src, uint8_t* dst, int32_t w, int32_t h);

}  // namespace orv
