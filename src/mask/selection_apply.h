// The selection (and the paper texture) folded into the alpha of RGBA32 buffers that
// effects, drawing operations, loads and the clipboard write back into layers, plus two
// recolouring helpers for page-sized buffers.
//
// Mask and texture are read at page coordinates; only the part of a buffer that lies on
// the page is changed. Null buffers change nothing.
#pragma once
#include <cstddef>
#include <cstdint>

namespace orv {
struct EngineState;

// Rows top..bottom, columns left..right (inclusive) of the page; the buffer's first pixel
// lies at (left, top), rows `stride` bytes apart. With h the mask's high byte: alpha 0 when
// h = 0, kept when h = 255, otherwise (A x (h + 1)) >> 8. Applied whether or not the mask
// is active.
void applyMaskToAlphaRect(EngineState& s, uint8_t* rgba, ptrdiff_t stride, int32_t left, int32_t top, int32_t right,
                          int32_t bottom) noexcept;
void applyMaskToAlpha(EngineState& s, uint8_t* rgba) noexcept;

// The selection and texture factor f of a page pixel is the alpha-load coverage (coverageB):
// 65535; a texture byte t < 128 makes it (2t x 65535) >> 8; an active mask value m < 65535
// then makes it (m x f) >> 16. The new alpha is f x A / 65535, truncated.
uint8_t scaleAlphaByFactor(uint32_t f, uint8_t alpha) noexcept;

// Multiplies the alpha of a buffer covering the page rectangle (x, y, width, height), rows
// 4 x width bytes, by each pixel's factor. Does nothing unless the mask is active or a
// texture exists.
void adjustRectByMaskAndTexture(EngineState& s, uint8_t* rgba, int32_t x, int32_t y, int32_t width,
                                int32_t height) noexcept;
// The same for a packed buffer whose rows are page rows 0..height - 1 of the given width.
void adjustByMaskAndTexture(EngineState& s, uint8_t* rgba, int32_t width, int32_t height) noexcept;

// In a page-sized buffer, every pixel whose alpha lies within trunc(tolerance x 2.56) of
// alpha becomes (r, g, b, a). A tolerance outside 0..100 changes nothing.
void replaceFromAlphaRange(EngineState& s, uint8_t* rgba, int32_t alpha, int32_t tolerance, const uint8_t color[4]) noexcept;
// In a page-sized buffer, every pixel whose page-sized map byte is 1 becomes (r, g, b, a).
void colorFromFloodMap(EngineState& s, uint8_t* rgba, const uint8_t* map, const uint8_t color[4]) noexcept;

// The source work buffer with the selection applied to its alpha when the mask is active;
// null when there is no source work buffer.
uint8_t* applyMaskToSourceWork(EngineState& s) noexcept;

}  // namespace orv
