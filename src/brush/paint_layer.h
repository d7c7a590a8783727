// The paint layer a stroke collects on before it is merged into its layer.
#pragma once
#include <cstdint>

namespace orv {
struct EngineState;

// Makes the page-sized paint layer when absent (cleared), then sets its blend mode by name
// (unknown names give "Normal"), opacity trunc(percent x 2.56), visible, alpha unlocked.
void createPaintLayer(EngineState& s, int32_t opacityPercent, const char* blendName);
// Opaque white everywhere, transparent black inside the touched rectangle, then empty.
void clearPaintLayerOld(EngineState& s) noexcept;
void deletePaintLayer(EngineState& s) noexcept;
// Softens the paint layer's alpha: pixels with a high alpha byte of 240 or more become
// opaque, the others take a 3 x 3 blur of the alpha bytes.
void blurPaintLayerAlpha(EngineState& s);

}  // namespace orv
