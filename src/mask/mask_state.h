// The selection mask: one unsigned 16-bit value per page pixel, 0xFFFF fully selected.
#pragma once
#include <cstdint>

#include "engine/buffer.h"

namespace orv {

struct MaskState {
    Buffer<uint16_t> maskBuffer;
    int32_t maskStride = 0;  // pageWidth * 2 bytes
    uint8_t maskActive = 0;
    uint8_t maskDisplayed = 0;
};

}  // namespace orv
