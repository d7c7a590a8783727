// The host's built-in brush library, chosen by number with the "SelectBrush" record.
#pragma once
#include <cstdint>

namespace orvpaint {

enum class Pressure : uint8_t { Size, Opacity, None };

struct BrushPreset {
    const char* name;
    int32_t size;          // default edge in pixels
    int32_t opacity;       // default opacity percent of a stroke
    uint8_t edgeSoftness;  // 0 hard .. 255 soft
    int32_t mixMode;       // dab mix mode (32 normal, 33 multiply, 32 + blend id for the others)
    int32_t mixAmount;     // 0..256
    int32_t gritCellSize, gritCellThreshold, gritPixelThreshold, gritRepeat, density;
    int32_t blendStrength, blendPrimary;  // pickup: 0 off
    uint8_t remix;
    int32_t colorVary;
    bool erase;
    bool usePaintLayer;    // collect the stroke on the paint layer and merge it once
    Pressure pressure;
    float spacing;         // dab spacing as a fraction of the size
};

int brushCount();
// The preset of a number, or null when there is none.
const BrushPreset* brushPreset(int number);

}  // namespace orvpaint
