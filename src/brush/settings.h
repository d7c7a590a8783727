// The brush and colour setters and the values derived from them.
#pragma once
#include <cstdint>

#include "brush/brush_state.h"

namespace orv {
struct EngineState;

void setColor(BrushSettings& b, int32_t r, int32_t g, int32_t bl) noexcept;
void setColor16(BrushSettings& b, int32_t r, int32_t g, int32_t bl) noexcept;
// Twelve values r0, g0, b0, r1 ... b3; bank k = (low byte x 256 of rk, gk, bk), alpha 65535.
void setColorBanks(BrushSettings& b, const int32_t rgb[12]) noexcept;
void setBlendStrength(BrushSettings& b, int32_t a) noexcept;
void setBlendPrimaryColorStrength(BrushSettings& b, int32_t a) noexcept;
void setDensity(BrushSettings& b, int32_t a) noexcept;
void setAlpha(BrushSettings& b, int32_t a) noexcept;
void setRotateBrushMode(BrushSettings& b, int32_t mode, int32_t degrees) noexcept;
void setMixMode(BrushSettings& b, int32_t mode, int32_t amount) noexcept;
// Brush size, limited to min(1000, maxBrushSize) (1000 when no page is made yet); the
// footprint becomes the whole shape.
void setSize(BrushSettings& b, int32_t s, int32_t maxBrushSize) noexcept;
// Footprint of n pixels sampling the centre of each of n equal parts of the shape.
void setScaleSize(BrushSettings& b, int32_t n) noexcept;
void setPixColorVary(EngineState& s, int32_t v);
void setPixLumVary(EngineState& s, int32_t v);

// Fills the array with draws of the engine sequence (restarting it from the engine seed)
// unless it already holds exactly this length and modulus made with the current seed.
// Reports "MakeRandArrayByte Excpt" through a StepFailure when memory runs out.
void makeRandomByteArray(EngineState& s, RandomByteArray& a, int32_t modulus, uint32_t length);

}  // namespace orv
