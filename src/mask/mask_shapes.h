// Geometric selections and the magic wand.
//
// The geometric makers draw into the mask's grey exchange image and read it back, so the
// whole mask passes through 8 bits: outside the shape each value becomes its high byte x 256
// (65280 and above become 65535). level 0..100 gives the grey s = trunc(level x 2.559):
// level 0 selects fully, level 100 protects fully. A level outside 0..100 changes nothing.
// A failed allocation throws and leaves the mask unchanged.
#pragma once
#include <cstdint>

namespace orv {
struct EngineState;

struct MaskBox {
    int32_t x1, y1, x2, y2;  // two opposite corners, in any order
};

// The ellipse in the box: radii (right - left) / 2 and (bottom - top) / 2, each at least 2,
// centred at (left + rx, top + ry).
void maskEllipse(EngineState& s, const MaskBox& box, int32_t level);
// The rectangle from the top-left to the bottom-right corner, both included.
void maskRectangle(EngineState& s, const MaskBox& box, int32_t level);

// The magic wand from the seed (x, y) of the current layer. tolerance 0..50000; mode one of
// "Non-connected", "Color Range", "Luminance Range", "Hue Range", "HSL Range", "Connected",
// "Alpha Connected", "Alpha Non-connected". A seed outside the page, a tolerance or level
// out of range, an unknown mode or a missing current layer change nothing. The source work
// buffer is refilled from the layer for the selection and released afterwards.
void maskWand(EngineState& s, int32_t x, int32_t y, int32_t tolerance, int32_t level, const char* mode);

}  // namespace orv
