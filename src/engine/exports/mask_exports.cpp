// Selection mask entry points: flags, the mask makers, the wand and the selection applied
// to host buffers.
#include "engine/exports/guard.h"
#include "mask/mask_buffer.h"
#include "mask/mask_makers.h"
#include "mask/mask_shapes.h"
#include "mask/masked_layer_load.h"
#include "mask/selection_apply.h"

using namespace orv;

namespace {
const uint8_t* bytes(const void* p) { return static_cast<const uint8_t*>(p); }
uint8_t* bytes(void* p) { return static_cast<uint8_t*>(p); }
}  // namespace

extern "C" {

ORV_API void ORV_CALL ORV_EnableMask(uint8_t flag) { engine().mask.maskActive = flag; }
ORV_API void ORV_CALL ORV_DisplayMask(uint8_t flag) { engine().mask.maskDisplayed = flag; }
ORV_API void ORV_CALL ORV_SetMaskOptions(int32_t r1, int32_t g1, int32_t b1, int32_t r2, int32_t g2, int32_t b2,
                                         int32_t fullStrength) {
    setMaskOptions(engine().mask, {r1, g1, b1, r2, g2, b2, fullStrength});
}
ORV_API void ORV_CALL ORV_InvertMask(void) { invertMask(engine()); }
ORV_API void ORV_CALL ORV_ClearMask(int32_t r, int32_t g, int32_t b) { clearMask(engine(), r, g, b); }
ORV_API void ORV_CALL ORV_SaveMask(void* rgb, int32_t stride) { saveMask(engine(), bytes(rgb), stride); }
ORV_API void ORV_CALL ORV_LoadMask(const void* rgb, int32_t stride, int32_t width, int32_t height) {
    loadMask(engine(), bytes(rgb), stride, width, height);
}
ORV_API void ORV_CALL ORV_GetMaskData16(void* dst) { getMaskData16(engine(), dst); }
ORV_API void ORV_CALL ORV_SetMaskData16(const void* src) { setMaskData16(engine(), src); }
ORV_API int32_t ORV_CALL ORV_GetMask64(int32_t x, int32_t y) { return maskProtectionAt(engine(), x, y); }

ORV_API void ORV_CALL ORV_CreateImageFromMask(void) { createImageFromMask(engine()); }
ORV_API void ORV_CALL ORV_CreateAlphaFromMask(void) { createAlphaFromMask(engine()); }
ORV_API void ORV_CALL ORV_CreateMaskFromAlpha(void) { createMaskFromAlpha(engine()); }
ORV_API void ORV_CALL ORV_CreateMaskFromImage(void) { createMaskFromImage(engine()); }

ORV_API void ORV_CALL ORV_CreateMaskFromRGBAImageColor(const void* buf, int32_t r, int32_t g, int32_t b, int32_t a) {
    maskFromRgbaColor(engine(), bytes(buf), {r, g, b}, a);
}
ORV_API void ORV_CALL ORV_CreateMaskFromRGB24ImageColor(const void* buf, int32_t r, int32_t g, int32_t b, int32_t a) {
    maskFromRgb24Color(engine(), bytes(buf), {r, g, b}, a);
}
ORV_API void ORV_CALL ORV_CreateMaskFromRGBAImageColorRange(const void* buf, int32_t r, int32_t g, int32_t b,
                                                            int32_t tolerance, int32_t a) {
    maskFromRgbaColorRange(engine(), bytes(buf), {r, g, b}, tolerance, a);
}
ORV_API void ORV_CALL ORV_CreateMaskFromRGBAImageAlphaRange(const void* buf, int32_t alpha, int32_t tolerance, int32_t a) {
    maskFromRgbaAlphaRange(engine(), bytes(buf), alpha, tolerance, a);
}
ORV_API void ORV_CALL ORV_CreateMaskFromRGBAImageLuminanceRange(const void* buf, int32_t r, int32_t g, int32_t b,
                                                                int32_t tolerance, int32_t a) {
    maskFromRgbaLuminanceRange(engine(), bytes(buf), {r, g, b}, tolerance, a);
}
ORV_API void ORV_CALL ORV_CreateMaskFromRGBAImageHueRange(const void* buf, int32_t r, int32_t g, int32_t b,
                                                          int32_t tolerance, int32_t a) {
    maskFromRgbaHueRange(engine(), bytes(buf), {r, g, b}, tolerance, a);
}
ORV_API void ORV_CALL ORV_CreateMaskFromRGBAImageHSLRange(const void* buf, int32_t r, int32_t g, int32_t b, double hueTol,
                                                          double satTol, double lumTol, int32_t a) {
    maskFromRgbaHslRange(engine(), bytes(buf), {r, g, b}, {hueTol, satTol, lumTol}, a);
}
ORV_API void ORV_CALL ORV_CreateMaskFromFloodMask(const void* map, int32_t a) { maskFromFloodMap(engine(), bytes(map), a); }
ORV_API void ORV_CALL ORV_CreateMaskFromDiff_RGBA32(const void* buf1, const void* buf2, int32_t value) {
    maskFromDiffRgba(engine(), bytes(buf1), bytes(buf2), value);
}

ORV_API void ORV_CALL ORV_IPLMaskEllipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t level) {
    guarded(err::IPLMaskEllipse, [&] { maskEllipse(engine(), {x1, y1, x2, y2}, level); });
}
ORV_API void ORV_CALL ORV_IPLMaskRectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t level) {
    guarded(err::IPLMaskRectangle, [&] { maskRectangle(engine(), {x1, y1, x2, y2}, level); });
}
ORV_API void ORV_CALL ORV_IPLMaskWand(int32_t x, int32_t y, int32_t tolerance, int32_t level, const char* mode) {
    guarded(err::IPLMaskWand, [&] { maskWand(engine(), x, y, tolerance, level, mode); });
}

ORV_API void ORV_CALL ORV_ApplyMaskToAlpha_RGBA32(void* buf) { applyMaskToAlpha(engine(), bytes(buf)); }
ORV_API void ORV_CALL ORV_ApplyMaskToAlphaRect_RGBA32(void* buf, int32_t stride, int32_t left, int32_t top, int32_t right,
                                                      int32_t bottom) {
    applyMaskToAlphaRect(engine(), bytes(buf), stride, left, top, right, bottom);
}
ORV_API void ORV_CALL ORV_AdjustRGBA32ByMaskAndTexture(void* buf, int32_t width, int32_t height) {
    adjustByMaskAndTexture(engine(), bytes(buf), width, height);
}
ORV_API void ORV_CALL ORV_AdjustRGBA32RectByMaskAndTexture(void* buf, int32_t x, int32_t y, int32_t width, int32_t height) {
    adjustRectByMaskAndTexture(engine(), bytes(buf), x, y, width, height);
}
ORV_API void ORV_CALL ORV_ReplaceFromRGBAImageAlphaRange(void* buf, int32_t alpha, int32_t tolerance, uint8_t r, uint8_t g,
                                                         uint8_t b, uint8_t a) {
    const uint8_t color[4] = {r, g, b, a};
    replaceFromAlphaRange(engine(), bytes(buf), alpha, tolerance, color);
}
ORV_API void ORV_CALL ORV_ColorRGBA32FromFloodMask(void* buf, const void* map, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    const uint8_t color[4] = {r, g, b, a};
    colorFromFloodMap(engine(), bytes(buf), bytes(map), color);
}
ORV_API void ORV_CALL ORV_LoadRGBA32Layer_BAD(void* src, int32_t ignored, int32_t layer, int32_t adjustWidth,
                                              int32_t adjustHeight, uint8_t adjust) {
    guarded(err::LoadRGBA32LayerBad, [&] {
        loadRgba32LayerMasked(engine(), bytes(src), layer, adjustWidth, adjustHeight, adjust != 0);
    });
}
ORV_API void* ORV_CALL ORV_ApplyMaskToAlpha_IPLSrcRGBA(void) { return applyMaskToSourceWork(engine()); }

}  // extern "C"
