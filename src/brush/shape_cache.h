// The last brush-shape source image, kept so that a repeated shape request with the same
// source path and angle neither reloads nor re-rotates it.
#pragma once
#include <cstdint>
#include <string>

#include "imaging/image.h"

namespace orv {

struct ShapeSourceCache {
    RgbaImage image;   // the loaded source, already rotated by angle; empty: no image
    std::string path;  // the source path it came from
    int32_t angle = 0; // the shape angle the image was rotated by

    bool holds(const char* p, int32_t a) const noexcept { return !image.empty() && path == p && angle == a; }
    // Frees the image; path and angle stay (they only matter while an image is held).
    void release() noexcept { image = RgbaImage{}; }
};

}  // namespace orv
