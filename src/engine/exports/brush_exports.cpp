// Brush settings, tool, dabs, paint layer, texture, pickup buffer and alpha helpers.
#include "brush/alpha_ops.h"
#include "brush/dab.h"
#include "brush/page_buffers.h"
#include "brush/paint_layer.h"
#include "brush/paint_layer_clear.h"
#include "brush/pickup.h"
#include "brush/settings.h"
#include "brush/tool.h"
#include "engine/exports/guard.h"

using namespace orv;

namespace {
BrushSettings& settings() { return engine().brush.settings; }
}  // namespace

extern "C" {

// ---- Brush settings and tool
ORV_API void ORV_CALL ORV_SetColor(int32_t r, int32_t g, int32_t b) { setColor(settings(), r, g, b); }
ORV_API void ORV_CALL ORV_SetColor16(int32_t r, int32_t g, int32_t b) { setColor16(settings(), r, g, b); }
ORV_API void ORV_CALL ORV_SetColorBanks(int32_t r0, int32_t g0, int32_t b0, int32_t r1, int32_t g1, int32_t b1, int32_t r2,
                                        int32_t g2, int32_t b2, int32_t r3, int32_t g3, int32_t b3) {
    const int32_t v[12] = {r0, g0, b0, r1, g1, b1, r2, g2, b2, r3, g3, b3};
    setColorBanks(settings(), v);
}
ORV_API void ORV_CALL ORV_SetBlendStrength(int32_t a) { setBlendStrength(settings(), a); }
ORV_API void ORV_CALL ORV_SetBlendPrimaryColorStrength(int32_t a) { setBlendPrimaryColorStrength(settings(), a); }
ORV_API void ORV_CALL ORV_SetBlendRemix(int32_t flag) { settings().blendRemix = static_cast<uint8_t>(flag); }
ORV_API void ORV_CALL ORV_SetDensity(int32_t a) { setDensity(settings(), a); }
ORV_API void ORV_CALL ORV_SetAlpha(int32_t a) { setAlpha(settings(), a); }
ORV_API void ORV_CALL ORV_SetColorVary(int32_t v) { settings().colorVary = v; }
ORV_API void ORV_CALL ORV_SetPixColorVary(int32_t v) {
    guarded(err::MakeRandArray, [&] { setPixColorVary(engine(), v); });
}
ORV_API void ORV_CALL ORV_SetPixLumVary(int32_t v) {
    guarded(err::MakeRandArray, [&] { setPixLumVary(engine(), v); });
}
ORV_API void ORV_CALL ORV_SetAlphaLocked(int32_t flag) { settings().alphaLocked = flag; }
ORV_API void ORV_CALL ORV_SetColorLocked(int32_t flag) { settings().colorLocked = flag; }
ORV_API void ORV_CALL ORV_SetBlobLocked(int32_t flag) { settings().blobLocked = flag; }
ORV_API void ORV_CALL ORV_SetAlphaLevel(int32_t level) { settings().alphaLevel = level; }
ORV_API void ORV_CALL ORV_SetImageBrushMode(int32_t flag) { settings().imageBrushMode = flag; }
ORV_API void ORV_CALL ORV_SetSolidBrushMode(int32_t flag) { settings().solidBrushMode = flag; }
ORV_API void ORV_CALL ORV_SetRotateBrushMode(int32_t mode, int32_t degrees) { setRotateBrushMode(settings(), mode, degrees); }
ORV_API void ORV_CALL ORV_SetMixMode(int32_t mode, int32_t amount) { setMixMode(settings(), mode, amount); }
ORV_API void ORV_CALL ORV_SetSize(int32_t s) { setSize(settings(), s, engine().page.maxBrushSize); }
ORV_API void ORV_CALL ORV_SetScaleSize(int32_t n) { setScaleSize(settings(), n); }
ORV_API void ORV_CALL ORV_TempDisableBlend(void) { settings().tempDisableBlend = 1; }
ORV_API void ORV_CALL ORV_SetMaskMakerOn(void) { settings().maskMakerOn = 1; }
ORV_API void ORV_CALL ORV_SetEraseModeOn(void) { settings().eraseModeOn = 1; }
ORV_API void ORV_CALL ORV_DecDrawingLength(void) { settings().drawingLength -= 1; }
ORV_API void ORV_CALL ORV_SetTool(float shapeIntensity, int32_t gritCellSize, int32_t gritCellThreshold,
                                  int32_t gritPixelThreshold, uint8_t edgeSoftness, int32_t colorVary, int32_t gritRepeat,
                                  int32_t blendStrength, int32_t blendPrimaryColorStrength, uint8_t blendRemix,
                                  uint8_t toolOption11, uint8_t invertShape, uint8_t toolOption13, const char* paperPath,
                                  const char* shapePath, int32_t shapeAngle) {
    const ToolParams p{shapeIntensity, gritCellSize, gritCellThreshold, gritPixelThreshold, edgeSoftness, colorVary,
                       gritRepeat, blendStrength, blendPrimaryColorStrength, blendRemix, toolOption11, invertShape,
                       toolOption13, paperPath, shapePath, shapeAngle};
    guarded(err::SetTool, [&] { setTool(engine(), p); });
}

// ---- Dabs
ORV_API int32_t ORV_CALL ORV_DrawDabGrit(int32_t x, int32_t y, int32_t r, int32_t g, int32_t b) {
    return guarded(nullptr, 0, [&] { return drawDabGrit(engine(), x, y, r, g, b); });
}
ORV_API int32_t ORV_CALL ORV_DrawDabGritMask(int32_t x, int32_t y) {
    return guarded(nullptr, 0, [&] { return drawDabGritMask(engine(), x, y); });
}

// ---- Paint layer, texture, pickup buffer and alpha helpers
ORV_API void ORV_CALL ORV_CreatePaintLayer(int32_t opacityPercent, const char* blendName) {
    guarded(nullptr, [&] { createPaintLayer(engine(), opacityPercent, blendName); });
}
ORV_API void ORV_CALL ORV_ClearPaintLayer(void) { clearPaintLayer(engine().brush, engine().page); }
ORV_API void ORV_CALL ORV_ClearPaintLayer_old(void) { clearPaintLayerOld(engine()); }
ORV_API void ORV_CALL ORV_DeletePaintLayer(void) { deletePaintLayer(engine()); }
ORV_API void ORV_CALL ORV_BlurPaintLayerAlpha(void) {
    guarded(err::BlurPaintLayerAlpha, [&] { blurPaintLayerAlpha(engine()); });
}
ORV_API void* ORV_CALL ORV_CreateTexture(int32_t layer) {
    return guarded(err::CreateTexture, static_cast<void*>(nullptr), [&] { return static_cast<void*>(createTexture(engine(), layer)); });
}
ORV_API void ORV_CALL ORV_DeleteTexture(void) { deleteTexture(engine()); }
ORV_API void ORV_CALL ORV_DoCopyBlendBuffer(int32_t x, int32_t y, const uint16_t* src, int32_t c, int32_t d) {
    copyBlendBuffer(engine(), x, y, src, c, d);
}
ORV_API void ORV_CALL ORV_CopyBlendBufferSurface(int32_t x, int32_t y, int32_t c, int32_t d) { copyBlendBufferSurface(engine(), x, y, c, d); }
ORV_API void ORV_CALL ORV_CopyBlendBufferLayer(int32_t layer, int32_t x, int32_t y, int32_t c) {
    copyBlendBufferLayer(engine(), layer, x, y, c);
}
ORV_API void ORV_CALL ORV_CopyBlendBufferUnderLayer(int32_t x, int32_t y, int32_t c) { copyBlendBufferHistory(engine(), x, y, c); }
ORV_API void ORV_CALL ORV_CopyBlendBufferHistory(int32_t x, int32_t y, int32_t c) { copyBlendBufferHistory(engine(), x, y, c); }
ORV_API void ORV_CALL ORV_CopyBlendBufferTrace(int32_t x, int32_t y, int32_t c) { copyBlendBufferTrace(engine(), x, y, c); }
ORV_API void ORV_CALL ORV_DoCopyBlendBufferMask(int32_t x, int32_t y, int32_t c) { copyBlendBufferMask(engine(), x, y, c); }
ORV_API void ORV_CALL ORV_FilterBlendBuffer(int32_t kind, int32_t percent) { filterBlendBuffer(engine(), kind, percent); }
ORV_API void ORV_CALL ORV_ClearBlendBuffer(void) { clearBlendBuffer(engine()); }
ORV_API void ORV_CALL ORV_InvertAlpha(int32_t layer) { invertLayerAlpha(engine(), layer); }
ORV_API void ORV_CALL ORV_InvertAlpha_RGBA32(uint8_t* buf) { invertAlphaRGBA32(engine(), buf); }
ORV_API void ORV_CALL ORV_SetLayerAlpha(int32_t layer, int32_t value) { setLayerAlpha(engine(), layer, value); }
ORV_API void ORV_CALL ORV_NormalizeLayerAlpha(int32_t layer) { normalizeLayerAlpha(engine(), layer); }
ORV_API void ORV_CALL ORV_SetColorAlpha(int32_t r, int32_t g, int32_t b) { setColorAlpha(engine(), r, g, b); }
ORV_API void ORV_CALL ORV_SetColorAlphaRGBABuf(uint8_t* buf, int32_t w, int32_t h, int32_t r, int32_t g, int32_t b) {
    guarded(nullptr, [&] { setColorAlphaRGBABuf(buf, w, h, r, g, b); });
}
ORV_API void ORV_CALL ORV_SetColorRGBABuf(uint8_t* buf, int32_t w, int32_t h, int32_t r, int32_t g, int32_t b) {
    guarded(nullptr, [&] { setColorRGBABuf(buf, w, h, r, g, b); });
}
ORV_API void ORV_CALL ORV_SetAlphaFromRGBAImageColor(uint8_t* buf, int32_t r, int32_t g, int32_t b) {
    setAlphaFromRGBAImageColor(engine(), buf, r, g, b);
}
ORV_API void ORV_CALL ORV_AdjustRGBA32PreFilter(uint8_t* buf, int32_t w, int32_t h) {
    guarded(nullptr, [&] { premultiplyRGBA32(buf, w, h); });
}
ORV_API void ORV_CALL ORV_AdjustRGBA32PostFilter(uint8_t* buf, int32_t w, int32_t h) {
    guarded(nullptr, [&] { unpremultiplyRGBA32(buf, w, h); });
}
ORV_API void ORV_CALL ORV_AdjustRGBA32ForAlphaComp(int32_t flag, uint8_t* buf) { unpremultiplyRGBA32ForAlphaComp(engine(), flag, buf); }
ORV_API void ORV_CALL ORV_AdjustRGBA64PreFilter(uint16_t* px, int32_t w, int32_t h) {
    guarded(nullptr, [&] { premultiplyRGBA64(px, w, h); });
}
ORV_API void ORV_CALL ORV_AdjustRGBA64PostFilter(uint16_t* px, int32_t w, int32_t h) {
    guarded(nullptr, [&] { unpremultiplyRGBA64(px, w, h); });
}

}  // extern "C"
