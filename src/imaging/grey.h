// Grey planes from RGBA images.
#pragma once
#include <cstddef>
#include <cstdint>

#include "imaging/image.h"

namespace orv {

// The grey level of one pixel: (299 R + 587 G + 114 B + 500) / 1000; alpha is ignored.
constexpr uint8_t greyOf(uint8_t r, uint8_t g, uint8_t b) noexcept {
    return static_cast<uint8_t>((299u * r + 587u * g + 114u * b + 500u) / 1000u);
}

// Writes the grey level of every pixel of img into out, rows of stride bytes (stride >= width).
void greyPlane(const RgbaImage& img, uint8_t* out, size_t stride) noexcept;

}  // namespace orv
