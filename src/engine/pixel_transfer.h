// Moving pixels between layers (RGBA64) and host buffers (RGBA32, RGB24, gray, RGBA64).
//
// Channel conversions: 8 to 16 bits is v << 8 (255 becomes 0xFF00); 16 to 8 bits is the
// high byte. Operations on a layer do nothing for a null layer or a null buffer. Except
// for the positioned RGBA32 load, layers are addressed with the page geometry (pageHeight
// rows of pageStride values); a layer smaller than the page is skipped. Host buffers are
// the caller's: full-page reads and writes assume pageHeight rows of the given stride.
#pragma once
#include <cstdint>

#include "engine/layer.h"
#include "engine/page.h"

namespace orv {
struct EngineState;

// ---- Loads into layers ----------------------------------------------------------------

// A width x height RGBA32 source placed at (x, y) of a layer, rows srcStride bytes apart.
struct RGBA32Placement {
    const uint8_t* src;
    int32_t srcStride;
    int32_t x, y, width, height;
    bool useMask;
};
// Clips to the layer's own size (a negative x or y skips source columns or rows). With
// useMask and an active mask or a paper texture, each pixel is weighted by the selection
// coverage (rule A); such a weighted load also stops at the page's edge, where the mask
// and texture end. Without weighting, an alpha-0 source pixel clears the layer pixel
// unless the layer's alpha is locked, in which case only colour is written.
void loadRGBA32(EngineState& s, LayerRecord* layer, const RGBA32Placement& p);
// The whole current layer from blue-green-red bytes, at most width x height of them,
// alpha set to 0xFFFF.
void loadBGR24(EngineState& s, const uint8_t* src, int32_t srcStride, int32_t width, int32_t height);
// The colour channels of the current layer from RGB24, weighted by rule-A coverage with
// useMask; alpha is never changed.
void loadRGB24(EngineState& s, const uint8_t* src, int32_t srcStride, bool useMask);
// The alpha of the current layer from the first byte of each RGB24 pixel, only where the
// old alpha is not 0; weighted by rule-B coverage with useMask.
void loadRGB24ToAlpha(EngineState& s, const uint8_t* src, int32_t srcStride, bool useMask);
// Page pixels copied unchanged from RGBA64 rows srcStride bytes apart.
void setRGBA64(const PageGeometry& g, LayerRecord* layer, const uint8_t* src, int32_t srcStride);

// ---- Reads from layers --------------------------------------------------------------------

void getRGBA32(const PageGeometry& g, LayerRecord* layer, uint8_t* dst, int32_t dstStride);
void getRGB24(const PageGeometry& g, LayerRecord* layer, uint8_t* dst, int32_t dstStride);
// The high byte of alpha in all three bytes of each pixel.
void getGrayFromAlpha(const PageGeometry& g, LayerRecord* layer, uint8_t* dst, int32_t dstStride);
// Layer pixels (x .. x + width - 1, y .. y + height - 1) unchanged into dst, rows dstStride
// bytes apart; dst's first pixel is the rectangle's (x, y). Parts of the rectangle outside
// the page are not read and their destination pixels are left alone.
void getRGBA64Rect(const PageGeometry& g, LayerRecord* layer, uint8_t* dst, int32_t dstStride, int32_t x, int32_t y,
                   int32_t width, int32_t height);

// ---- Buffer conversions (caller's buffers, no clipping) -------------------------------------

// width x height pixels, high bytes; strides in bytes.
void rgba64ToRGBA32(uint8_t* dst, int32_t dstStride, const uint8_t* src, int32_t srcStride, int32_t width, int32_t height);
void rgba64ToRGB24(uint8_t* dst, int32_t dstStride, const uint8_t* src, int32_t srcStride, int32_t width, int32_t height);
// Packed buffers of width x height pixels.
void rgb24IntoRGBA32KeepAlpha(uint8_t* dst, const uint8_t* src, int32_t width, int32_t height);
void rgba32ToRGB24(uint8_t* dst, const uint8_t* src, int32_t width, int32_t height);
// Only the destination alpha: (b0 + b1 + b2) / 3.
void rgb24MeanIntoAlpha(uint8_t* dst, const uint8_t* src, int32_t width, int32_t height);
void rgba32AlphaToGray(uint8_t* dst, const uint8_t* src, int32_t width, int32_t height);
// The packed conversions the merge and the effects share: each byte << 8, and high bytes.
void expandRGBA32ToRGBA64(uint16_t* dst, const uint8_t* src, int32_t width, int32_t height);
void narrowRGBA64ToRGBA32(uint8_t* dst, const uint16_t* src, int32_t width, int32_t height);

// ---- Clears and single pixels -----------------------------------------------------------------

struct Colour8 {
    uint8_t r, g, b, a;
};
// Every page pixel of the current layer becomes (r << 8, g << 8, b << 8, a << 8).
void clearLayer(EngineState& s, Colour8 c);
// With an active mask: M = 0xFFFF writes the colour, 0 < M < 0xFFFF blends the colour
// channels by M and sets alpha to 0xFFFF, M = 0 leaves the pixel. Else as clearLayer.
void clearLayerMasked(EngineState& s, Colour8 c);
// With an active mask: a weighted RGBA32 load of the colour over the current layer, so
// coverage also applies to alpha. Else as clearLayer.
void clearLayerMaskedAlpha(EngineState& s, Colour8 c);
// pageWidth x pageHeight pixels of a caller's buffer.
void clearRGBA64(const PageGeometry& g, uint8_t* dst, int32_t dstStride, const uint16_t rgba[4]);
void clearRGBA32(uint8_t* dst, int32_t dstStride, int32_t width, int32_t height, Colour8 c);
// Writes r >> 8, g >> 8, b >> 8 at (x, y) when it lies on the page.
void setPixelRGB24(const PageGeometry& g, uint8_t* dst, int32_t dstStride, int32_t x, int32_t y, uint16_t r, uint16_t gr,
                   uint16_t b);

}  // namespace orv
