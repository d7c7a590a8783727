// The brush engine's page-tied buffers, made and released with the page.
#pragma once
#include <cstdint>

namespace orv {
struct EngineState;

// Allocates the 20 grit maps, then the shape buffer, then the blend buffer (uninitialised).
void allocateBrushBuffers(EngineState& s);
// Releases the blend buffer, the paint layer pixels, the shape buffer, the brush-shape
// source image and the grit maps, in that order.
void releaseBrushBuffers(EngineState& s);
// Makes the two page random byte arrays (modulus 255, then 254) from the engine seed.
void makePageRandomArrays(EngineState& s);
// Builds the paper texture from a visible Texturize3 layer.
void createTexture(EngineState& s, int layer);

}  // namespace orv
