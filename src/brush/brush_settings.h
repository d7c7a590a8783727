// The brush settings: process-wide values the host sets through the brush setters and the
// tool call; they keep their values across pages until set again.
#pragma once
#include <cstdint>

namespace orv {

struct BrushSettings {
    int32_t brushSize = 0;        // S: edge of the brush shape in pixels
    float shapeIntensity = 1.0f;  // factor on every shape value
    uint8_t edgeSoftness = 0;     // soft edge of the built-in round shape, 0 hard .. 255
    uint8_t invertShape = 0;      // invert the built-in round shape
    int32_t gritRepeat = 0;       // dabs painted with one grit pattern
    int32_t drawingLength = 0;    // below 1: the next dab picks a new grit pattern
    uint16_t currentColor[4] = {0, 0, 0, 65535};  // the paint colour, R, G, B, A
};

}  // namespace orv
