// The selection mask as a whole: flags and overlay options, invert and clear, the grey
// RGB24 exchange image, raw 16-bit copies, and conversions with the current layer.
//
// Every function does nothing when the page has no mask (never made, or its allocation
// failed), and the layer conversions do nothing without a current layer holding pixels.
#pragma once
#include <cstddef>
#include <cstdint>

namespace orv {
struct EngineState;
struct MaskState;
struct PageGeometry;

// The page's mask when it exists and covers the page, else null.
uint16_t* pageMask(EngineState& s) noexcept;

struct MaskOverlayOptions {
    int32_t r1, g1, b1, r2, g2, b2;
    int32_t fullStrength;
};
void setMaskOptions(MaskState& m, const MaskOverlayOptions& o) noexcept;

void invertMask(EngineState& s) noexcept;
// Fills the mask with the value of the 16-bit grey (r + g + b) / 3.
void clearMask(EngineState& s, int32_t r, int32_t g, int32_t b) noexcept;

// Writes the mask as a page-sized grey RGB24 image, grey 255 - (m >> 8) in all three bytes.
// Refuses a null buffer or a stride shorter than a row.
void saveMask(EngineState& s, uint8_t* rgb, ptrdiff_t stride) noexcept;
// Reads a grey RGB24 image of width x height pixels (cut to the page) into the top-left of
// the mask: g = (R + G + B) / 3, 65535 for g = 0, otherwise 65280 - 256 g.
void loadMask(EngineState& s, const uint8_t* rgb, ptrdiff_t stride, int32_t width, int32_t height) noexcept;

void getMaskData16(EngineState& s, void* dst) noexcept;
void setMaskData16(EngineState& s, const void* src) noexcept;
// The protection 65535 - m at (x, y) when a current layer exists, the mask is active and
// (x, y) lies in the page; 0 otherwise.
int32_t maskProtectionAt(EngineState& s, int32_t x, int32_t y) noexcept;

// Current layer from the mask: grey 65535 - m (65280 where m <= 254), alpha 65535.
void createImageFromMask(EngineState& s) noexcept;
void createAlphaFromMask(EngineState& s) noexcept;
void createMaskFromAlpha(EngineState& s) noexcept;
// Mask from the 16-bit grey (R + G + B) / 3 of every layer pixel.
void createMaskFromImage(EngineState& s) noexcept;

}  // namespace orv
