// Blob layers: layers whose alpha carries the luminance the painter's blob lock protects.
#pragma once
#include <cstdint>

namespace orv {
struct EngineState;

// Converts the layer in place. For each pixel, with L = (R + G + B) / 3 of the pixel as it
// was: mode 1 pulls each colour channel toward the middle by at most half the distance
// (dark pixels lifted, light pixels lowered, by |32767 - L| / 65534); any other mode makes
// the colour grey 32767. Where alpha was above 8191 it becomes trunc(L x 0.843 + 10239).
// An empty or invalid slot does nothing.
void createBlobFromImage(EngineState& s, int32_t layer, int32_t mode);

}  // namespace orv
