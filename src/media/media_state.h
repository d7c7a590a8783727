// Files and media: the loaded-image buffer and the open movie and document.
#pragma once
#include <cstdint>
#include <vector>

#include "engine/buffer.h"

namespace orv {

// The engine's single loaded-image buffer: width x height RGBA32 pixels, rows packed. The
// size is set before the pixels are allocated and keeps its last value after the pixels are
// freed.
struct NewRgbaBuffer {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> pixels;  // empty: no buffer

    bool present() const noexcept { return !pixels.empty(); }
};

struct MediaState {
    NewRgbaBuffer newRGBA;
};

}  // namespace orv
