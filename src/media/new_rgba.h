// The loaded-image buffer: creation, replacement and the accessors the host reads it with.
#pragma once
#include <cstdint>

#include "imaging/image.h"
#include "media/media_state.h"

namespace orv {
struct EngineState;

// Frees any previous buffer, sets the size, then allocates width x height x 4 zero bytes.
// A failed allocation leaves the size set and no buffer, and raises the "CreateNewRGBA
// Excpt" step failure.
void createNewRGBA(NewRgbaBuffer& b, int32_t width, int32_t height);
// Replaces the buffer with a decoded image (no copy).
void replaceNewRGBA(NewRgbaBuffer& b, RgbaImage&& img);
void deleteNewRGBA(NewRgbaBuffer& b) noexcept;

// Copies width x height x 4 bytes; nothing without a buffer or destination.
void getNewRGBA32(const NewRgbaBuffer& b, uint8_t* dst);
// Red, green, blue of each pixel as packed RGB24 rows.
void getNewRGBA24(const NewRgbaBuffer& b, uint8_t* dst);
// The image scaled to width x height (decimated when both sides shrink, else smoothly
// resized) as RGB24.
void getResizedNewRGBA24(const NewRgbaBuffer& b, uint8_t* dst, int32_t width, int32_t height);
// True when any pixel's alpha is below 255.
bool isNewRGBATransparent(const NewRgbaBuffer& b) noexcept;
// Loads the buffer into the current layer at (0, 0), weighted by the selection.
void setInNewRGBA(EngineState& s);

}  // namespace orv
