// An 8-bit image held by value: the common currency between codecs, resamplers, image
// scripts and the subsystems that load shapes, grains and pictures.
#pragma once
#include <cstdint>
#include <vector>

#include "engine/buffer.h"

namespace orv {

struct RgbaImage {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgba;  // width * height * 4 bytes: red, green, blue, alpha; rows packed

    bool empty() const noexcept { return width <= 0 || height <= 0 || rgba.empty(); }
    void resize(int32_t w, int32_t h) {
        rgba.assign(checkedSize(w, h, 4), 0);
        width = w;
        height = h;
    }
    uint8_t* row(int32_t y) noexcept { return rgba.data() + static_cast<size_t>(y) * width * 4; }
    const uint8_t* row(int32_t y) const noexcept { return rgba.data() + static_cast<size_t>(y) * width * 4; }
};

}  // namespace orv
