/*
 * orvcore: the painting and imaging engine's exported interface.
 *
 * State is process-wide: the engine holds one page at a time and every function works on
 * it. Functions take and return 32-bit integers, pointers, 32-bit floats and
 * zero-terminated strings. Failures never escape: an operation that fails sets the
 * last-error text (ORV_GetLastError) and returns its default result.
 *
 * Pixel forms: layers hold RGBA64 (four unsigned 16-bit channels, red, green, blue, alpha);
 * host buffers are RGBA32 (r, g, b, a bytes) or RGB24 (r, g, b bytes); ORV_Render writes
 * blue, green, red bytes.
 */
#ifndef ORVCORE_H
#define ORVCORE_H

#include <stdint.h>

#if defined(_WIN32) && !defined(_WIN64)
#define ORV_CALL __stdcall
#else
#define ORV_CALL
#endif

#if defined(_WIN32)
#define ORV_API __declspec(dllexport)
#else
#define ORV_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Page, view and error text ------------------------------------------------------ */
ORV_API void ORV_CALL ORV_CreateImage(void* ownerWindow, int32_t width, int32_t height, int32_t maxBrushSize, int32_t reserved); /* make the page and its buffers; sides outside 0..10000 become 100 */
ORV_API void ORV_CALL ORV_NewSize(void* ownerWindow, int32_t width, int32_t height, int32_t maxBrushSize, int32_t reserved);     /* re-make the page buffers for a new size, keeping the layers */
ORV_API void ORV_CALL ORV_DeleteImage(void);                               /* release every page buffer and layer */
ORV_API void ORV_CALL ORV_SetScale(int32_t scale, float zoom);             /* view magnification (integer) and reduction (fractional) */
ORV_API void ORV_CALL ORV_SetOffset(int32_t x, int32_t y);                 /* view offset, kept for the host */
ORV_API void ORV_CALL ORV_SetViewSize(int32_t width, int32_t height);      /* size of the host's display buffer */
ORV_API void ORV_CALL ORV_SetTracingMode(uint8_t on);                      /* average the composite with the tracing layer */
ORV_API void ORV_CALL ORV_SetStartDir(const char* path);                   /* directory anchoring the paint script file */
ORV_API void ORV_CALL ORV_SetRandomSeed(uint32_t seed);                    /* seed the engine's random sequence */
ORV_API void ORV_CALL ORV_SetGrid(int32_t value);                          /* accepted, no effect */
ORV_API void ORV_CALL ORV_SetGridSpacing(int32_t value);                   /* accepted, no effect */
ORV_API void ORV_CALL ORV_SetLastError(const char* text);                  /* set the last-error text (first 511 characters) */
ORV_API const char* ORV_CALL ORV_GetLastError(void);                       /* the last-error text */
ORV_API int32_t ORV_CALL ORV_IsDisplayChanged(void);                       /* 1 once after a display or settings change */

/* ---- System and memory services ------------------------------------------------------ */

/* ---- Layers --------------------------------------------------------------------------- */
ORV_API int32_t ORV_CALL ORV_CreateLayer(int32_t layer, int32_t width, int32_t height);  /* fresh layer: slot 1 opaque white, others transparent; 1 on success */
ORV_API void ORV_CALL ORV_DeleteLayer(int32_t layer);                      /* empty the slot */
ORV_API void ORV_CALL ORV_SetLayer(int32_t layer);                         /* choose the current layer */
ORV_API int32_t ORV_CALL ORV_GetLayerNum(void);                            /* current layer number */
ORV_API void ORV_CALL ORV_SetLayerOptions(int32_t layer, uint8_t visible, uint8_t lockAlpha, int32_t opacityPercent, const char* blendName); /* visibility, alpha lock, opacity 0..100, blend-mode name */
ORV_API void ORV_CALL ORV_SwapLayers(int32_t layerA, int32_t layerB);      /* exchange two slots whole */
ORV_API int32_t ORV_CALL ORV_GetLayerCount(void);                          /* slots 0..63 holding pixels */
ORV_API void ORV_CALL ORV_GetLayerData(void* dst, int32_t layer);          /* copy the layer's raw RGBA64 page pixels out */
ORV_API void ORV_CALL ORV_SetLayerData(const void* src, int32_t layer);    /* copy raw RGBA64 page pixels in */
ORV_API void ORV_CALL ORV_CopyLayerData(int32_t fromLayer, int32_t toLayer); /* copy one layer's pixels onto another */
ORV_API void ORV_CALL ORV_FindDataExtentsLayer(int32_t layer, int32_t* left, int32_t* top, int32_t* right, int32_t* bottom); /* bounds of the non-transparent pixels */

/* ---- Pixel transfer and clearing ------------------------------------------------------ */

/* ---- Compressed lines and layers ------------------------------------------------------- */

/* ---- Display rendering ----------------------------------------------------------------- */

/* ---- Merging ----------------------------------------------------------------------------- */

/* ---- Undo ---------------------------------------------------------------------------------- */

/* ---- Brush settings and tool ----------------------------------------------------------------- */

/* ---- Brush shapes ---------------------------------------------------------------------------- */

/* ---- Dabs ------------------------------------------------------------------------------------ */

/* ---- Paint layer, texture, pickup buffer and alpha helpers ------------------------------------ */

/* ---- Colour sampling ---------------------------------------------------------------------------- */

/* ---- Spline points ------------------------------------------------------------------------------ */

/* ---- Masks and selection ------------------------------------------------------------------------ */

/* ---- Tablet ------------------------------------------------------------------------------------- */

/* ---- Work buffers and colour models --------------------------------------------------------------- */

/* ---- Image files and the loaded-image buffer -------------------------------------------------------- */

#ifdef __cplusplus
}
#endif

#endif /* ORVCORE_H */
