// The effect subsystem's state: the page-sized 8-bit working copies of the current layer.
#pragma once
#include <cstdint>

#include "engine/buffer.h"

namespace orv {

struct WorkBuffers {
    Buffer<uint8_t> src32, dst32;  // RGBA32
    Buffer<uint8_t> src24, dst24;  // RGB24

    void releaseAll() noexcept {
        src32.release();
        dst32.release();
        src24.release();
        dst24.release();
    }
};

struct EffectsState {
    WorkBuffers work;
};

}  // namespace orv
