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
    // Display overlay: two colours (red, green, blue, each the 8-bit value x 256) shown in
    // alternating squares over protected pixels; mode 0 shows them at half strength.
    // These settings outlive the page.
    uint32_t maskOverlayColor1[3] = {};
    uint32_t maskOverlayColor2[3] = {};
    int32_t maskOverlayMode = 0;
};

}  // namespace orv
