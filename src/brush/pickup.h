// Loading and changing the pickup (blend) buffer of wet painting.
#pragma once
#include <cstdint>

namespace orv {
struct EngineState;

// Loads the brushSize x brushSize pickup around (x, y) from a page-sized RGBA64 image,
// mixed with currentColor at weight c (0..256). d set: transparent source pixels keep the
// page's share of alpha. Does nothing while blendStrength is 0.
void copyBlendBuffer(EngineState& s, int32_t x, int32_t y, const uint16_t* src, int32_t c, int32_t d);
// Sources: the current layer, a layer, the undo back copy, the tracing layer.
void copyBlendBufferSurface(EngineState& s, int32_t x, int32_t y, int32_t c, int32_t d);
void copyBlendBufferLayer(EngineState& s, int32_t layer, int32_t x, int32_t y, int32_t c);
void copyBlendBufferHistory(EngineState& s, int32_t x, int32_t y, int32_t c);
void copyBlendBufferTrace(EngineState& s, int32_t x, int32_t y, int32_t c);
// The mask-dab pickup: one 16-bit value per pixel from the selection mask.
void copyBlendBufferMask(EngineState& s, int32_t x, int32_t y, int32_t c);
// 289 grey, 290 invert, 291 channels below percent x 655.35 to 0, 292 above it to 65280.
void filterBlendBuffer(EngineState& s, int32_t kind, int32_t percent);
// Zeroes the first B x B 16-bit values of the buffer.
void clearBlendBuffer(EngineState& s) noexcept;

}  // namespace orv
