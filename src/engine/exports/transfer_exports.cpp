// Pixel transfer and clearing entry points.
#include "engine/exports/guard.h"
#include "engine/layer_table.h"
#include "engine/pixel_transfer.h"

using namespace orv;

namespace {
const uint8_t* bytes(const void* p) { return static_cast<const uint8_t*>(p); }
uint8_t* bytes(void* p) { return static_cast<uint8_t*>(p); }
LayerRecord* slot(int32_t layer) { return engine().layers.presentLayer(layer); }
LayerRecord* current() { return currentLayerIfPresent(engine()); }
// The first pixel of the rectangle at (x, y) of an RGBA64 buffer srcStridePixels wide.
const uint8_t* rectStart(const void* src, int32_t x, int32_t y, int32_t srcStridePixels) {
    return src ? bytes(src) + (static_cast<ptrdiff_t>(y) * srcStridePixels + x) * 8 : nullptr;
}
}  // namespace

extern "C" {

// ---- Loads ----
ORV_API void ORV_CALL ORV_LoadRGBA32Layer(const void* src, int32_t srcStride, int32_t layer, int32_t x, int32_t y, int32_t width,
                                          int32_t height, uint8_t useMask) {
    guarded(nullptr, [&] { loadRGBA32(engine(), slot(layer), {bytes(src), srcStride, x, y, width, height, useMask != 0}); });
}
ORV_API void ORV_CALL ORV_LoadRGBA32(const void* src, int32_t srcStride, int32_t useMask) {
    guarded(nullptr, [&] {
        LayerRecord* l = current();
        if (l) loadRGBA32(engine(), l, {bytes(src), srcStride, 0, 0, l->width, l->height, useMask != 0});
    });
}
ORV_API void ORV_CALL ORV_LoadRGBA32Into(const void* src, int32_t srcStride, int32_t layer, int32_t x, int32_t y, int32_t width,
                                         int32_t height) {
    guarded(nullptr, [&] { loadRGBA32(engine(), slot(layer), {bytes(src), srcStride, x, y, width, height, true}); });
}
ORV_API void ORV_CALL ORV_Load(const void* src, int32_t srcStride, int32_t width, int32_t height) {
    guarded(nullptr, [&] { loadBGR24(engine(), bytes(src), srcStride, width, height); });
}
ORV_API void ORV_CALL ORV_LoadRGB24(const void* src, int32_t srcStride, uint8_t useMask) {
    guarded(nullptr, [&] { loadRGB24(engine(), bytes(src), srcStride, useMask != 0); });
}
ORV_API void ORV_CALL ORV_LoadRGB24ToAlpha(const void* src, int32_t srcStride, uint8_t useMask) {
    guarded(nullptr, [&] { loadRGB24ToAlpha(engine(), bytes(src), srcStride, useMask != 0); });
}
ORV_API void ORV_CALL ORV_SetRGBA64Layer(const void* src, int32_t srcStride, int32_t layer) {
    guarded(nullptr, [&] { setRGBA64(engine().page, slot(layer), bytes(src), srcStride); });
}

// ---- Reads ----
ORV_API void ORV_CALL ORV_GetRGBA32Layer(void* dst, int32_t dstStride, int32_t layer) {
    guarded(nullptr, [&] { getRGBA32(engine().page, slot(layer), bytes(dst), dstStride); });
}
ORV_API void ORV_CALL ORV_GetRGBA32(void* dst, int32_t dstStride) {
    guarded(nullptr, [&] { getRGBA32(engine().page, current(), bytes(dst), dstStride); });
}
ORV_API void ORV_CALL ORV_GetRGB24Layer(void* dst, int32_t dstStride, int32_t layer) {
    guarded(nullptr, [&] { getRGB24(engine().page, slot(layer), bytes(dst), dstStride); });
}
ORV_API void ORV_CALL ORV_GetRGB24(void* dst, int32_t dstStride) {
    guarded(nullptr, [&] { getRGB24(engine().page, current(), bytes(dst), dstStride); });
}
ORV_API void ORV_CALL ORV_GetRGB24FromAlpha(void* dst, int32_t dstStride) {
    guarded(nullptr, [&] { getGrayFromAlpha(engine().page, current(), bytes(dst), dstStride); });
}
ORV_API void ORV_CALL ORV_GetRGBA64Layer(void* dst, int32_t dstStride, int32_t layer) {
    guarded(nullptr, [&] {
        const PageGeometry& g = engine().page;
        getRGBA64Rect(g, slot(layer), bytes(dst), dstStride, 0, 0, g.pageWidth, g.pageHeight);
    });
}
ORV_API void ORV_CALL ORV_GetRGBA64LayerRect(void* dst, int32_t dstStride, int32_t layer, int32_t x, int32_t y, int32_t width,
                                             int32_t height) {
    guarded(nullptr, [&] { getRGBA64Rect(engine().page, slot(layer), bytes(dst), dstStride, x, y, width, height); });
}

// ---- Conversions ----
ORV_API void ORV_CALL ORV_GetRGBA32FromRGBA64(void* dst, int32_t dstStride, int32_t width, int32_t height, const void* src,
                                              int32_t srcStride) {
    guarded(nullptr, [&] { rgba64ToRGBA32(bytes(dst), dstStride, bytes(src), srcStride, width, height); });
}
ORV_API void ORV_CALL ORV_GetRGBA32FromRGBA64Rect(void* dst, int32_t dstStride, const void* src, int32_t srcStride, int32_t,
                                                  int32_t, int32_t width, int32_t height) {
    guarded(nullptr, [&] { rgba64ToRGBA32(bytes(dst), dstStride, bytes(src), srcStride, width, height); });
}
ORV_API void ORV_CALL ORV_GetRGB24FromRGBA64(void* dst, int32_t dstStride, const void* src, int32_t srcStride) {
    guarded(nullptr, [&] {
        const PageGeometry& g = engine().page;
        rgba64ToRGB24(bytes(dst), dstStride, bytes(src), srcStride, g.pageWidth, g.pageHeight);
    });
}
ORV_API void ORV_CALL ORV_GetRGB24FromRGBA64Rect(void* dst, int32_t dstStride, const void* src, int32_t srcStride, int32_t,
                                                 int32_t, int32_t width, int32_t height) {
    guarded(nullptr, [&] { rgba64ToRGB24(bytes(dst), dstStride, bytes(src), srcStride, width, height); });
}
ORV_API void ORV_CALL ORV_RGBA64RectToRGBA32(const void* src, int32_t x, int32_t y, int32_t width, int32_t height,
                                             int32_t srcStridePixels, int32_t, void* dst) {
    guarded(nullptr, [&] { rgba64ToRGBA32(bytes(dst), width * 4, rectStart(src, x, y, srcStridePixels), srcStridePixels * 8, width, height); });
}
ORV_API void ORV_CALL ORV_RGBA64RectToRGBA24(const void* src, int32_t x, int32_t y, int32_t width, int32_t height,
                                             int32_t srcStridePixels, int32_t, void* dst) {
    guarded(nullptr, [&] { rgba64ToRGB24(bytes(dst), width * 3, rectStart(src, x, y, srcStridePixels), srcStridePixels * 8, width, height); });
}
ORV_API void ORV_CALL ORV_RGBToRGBA(void* dst, int32_t width, int32_t height, const void* src) {
    guarded(nullptr, [&] { rgb24IntoRGBA32KeepAlpha(bytes(dst), bytes(src), width, height); });
}
ORV_API void ORV_CALL ORV_RGBAToRGB(void* dst, int32_t width, int32_t height, const void* src) {
    guarded(nullptr, [&] { rgba32ToRGB24(bytes(dst), bytes(src), width, height); });
}
ORV_API void ORV_CALL ORV_RGBToRGBAlpha(void* dst, int32_t width, int32_t height, const void* src) {
    guarded(nullptr, [&] { rgb24MeanIntoAlpha(bytes(dst), bytes(src), width, height); });
}
ORV_API void ORV_CALL ORV_RGBAlphaToRGB(void* dst, int32_t width, int32_t height, const void* src) {
    guarded(nullptr, [&] { rgba32AlphaToGray(bytes(dst), bytes(src), width, height); });
}

// ---- Clears and single pixels ----
ORV_API void ORV_CALL ORV_Clear(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    guarded(nullptr, [&] { clearLayer(engine(), {r, g, b, a}); });
}
ORV_API void ORV_CALL ORV_ClearMasked(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    guarded(nullptr, [&] { clearLayerMasked(engine(), {r, g, b, a}); });
}
ORV_API void ORV_CALL ORV_ClearMaskedAlpha(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    guarded(nullptr, [&] { clearLayerMaskedAlpha(engine(), {r, g, b, a}); });
}
ORV_API void ORV_CALL ORV_ClearRGBA64(void* dst, int32_t dstStride, uint16_t r, uint16_t g, uint16_t b, uint16_t a) {
    guarded(nullptr, [&] {
        const uint16_t px[4] = {r, g, b, a};
        clearRGBA64(engine().page, bytes(dst), dstStride, px);
    });
}
ORV_API void ORV_CALL ORV_ClearRGBA32(void* dst, int32_t dstStride, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    guarded(nullptr, [&] {
        const PageGeometry& pg = engine().page;
        clearRGBA32(bytes(dst), dstStride, pg.pageWidth, pg.pageHeight, {r, g, b, a});
    });
}
ORV_API void ORV_CALL ORV_ClearRGBA32Buf(void* dst, int32_t width, int32_t height, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    guarded(nullptr, [&] { clearRGBA32(bytes(dst), width * 4, width, height, {r, g, b, a}); });
}
ORV_API void ORV_CALL ORV_SetPixelRGB24(void* dst, int32_t dstStride, int32_t x, int32_t y, uint16_t r, uint16_t g, uint16_t b) {
    guarded(nullptr, [&] { setPixelRGB24(engine().page, bytes(dst), dstStride, x, y, r, g, b); });
}

}  // extern "C"
