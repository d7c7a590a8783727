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
// Makes the two page random byte arrays (modulus 255, then 254, 1,000,000 bytes each) from
// the engine seed. Pixel-variation arrays in use that are shorter than the new page's
// 3 x maxBrushSize are rebuilt too, so the painter never reads past them.
void makePageRandomArrays(EngineState& s);
// Builds the paper texture from a layer's luminance: t = (R + G + B) / 768 limited to
// 4..250. Returns the map, or null when the layer is empty or smaller than the page.
uint8_t* createTexture(EngineState& s, int layer);
void deleteTexture(EngineState& s) noexcept;

}  // namespace orv
