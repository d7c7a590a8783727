// Alpha and premultiply operations on layers and on host RGBA32 / RGBA64 buffers.
// Host buffers are packed: rows of width x 4 bytes (or channels).
#pragma once
#include <cstdint>

namespace orv {
struct EngineState;

void invertLayerAlpha(EngineState& s, int layer);                  // A = 65535 - A
void invertAlphaRGBA32(EngineState& s, uint8_t* buf);             // page-sized, A = 255 - A
void setLayerAlpha(EngineState& s, int layer, int32_t value);      // A = low 16 bits of value
void normalizeLayerAlpha(EngineState& s, int layer);               // A = (opacity A) >> 8, opacity 256
void setColorAlpha(EngineState& s, int32_t r, int32_t g, int32_t b);  // current layer, A < 256
void setColorAlphaRGBABuf(uint8_t* buf, int32_t w, int32_t h, int32_t r, int32_t g, int32_t b);
void setColorRGBABuf(uint8_t* buf, int32_t w, int32_t h, int32_t r, int32_t g, int32_t b);
void setAlphaFromRGBAImageColor(EngineState& s, uint8_t* buf, int32_t r, int32_t g, int32_t b);
// Straight to premultiplied colour and back, for alphas other than 0 (and 255 for 8-bit).
void premultiplyRGBA32(uint8_t* buf, int32_t w, int32_t h);
void unpremultiplyRGBA32(uint8_t* buf, int32_t w, int32_t h);
void unpremultiplyRGBA32ForAlphaComp(EngineState& s, int32_t flag, uint8_t* buf);
void premultiplyRGBA64(uint16_t* px, int32_t w, int32_t h);
void unpremultiplyRGBA64(uint16_t* px, int32_t w, int32_t h);

}  // namespace orv
