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
ORV_API void* ORV_CALL ORV_Alloc(int32_t size);                             /* a heap block for buffers the host hands to the engine; null on failure */
ORV_API void ORV_CALL ORV_Free(void* p);                                   /* release an ORV_Alloc block; null ignored */
ORV_API void ORV_CALL ORV_Memcpy(void* dst, const void* src, int32_t n);   /* copy n bytes forward; nothing when a pointer is null */
ORV_API void* ORV_CALL BankAdrs(void* p);                                  /* the pointer itself, for hosts that pass buffers by reference */
ORV_API int32_t ORV_CALL ORV_RenameFile(const char* oldPath, const char* newPath); /* 1 when renamed; 0 on failure or when newPath exists */
ORV_API int32_t ORV_CALL ORV_SetWindowRedraw(void* window, uint8_t on);    /* window redraw on or off; 0 without a window system */
ORV_API int32_t ORV_CALL ORV_RedrawWindow(void* window);                   /* redraw a window and its children; 0 without a window system */
ORV_API int32_t ORV_CALL ORV_GetTotalPhyMemory(void);                      /* physical memory, MB */
ORV_API int32_t ORV_CALL ORV_GetAvailPhyMemory(void);                      /* available physical memory, MB */
ORV_API int32_t ORV_CALL ORV_GetTotalPgMemory(void);                       /* commit space (physical plus swap), MB */
ORV_API int32_t ORV_CALL ORV_GetAvailPgMemory(void);                       /* available commit space, MB */
ORV_API int32_t ORV_CALL ORV_GetTotalVirMemory(void);                      /* the process's address space, MB */
ORV_API int32_t ORV_CALL ORV_GetAvailVirMemory(void);                      /* unused address space, MB */
ORV_API uint32_t ORV_CALL ORV_GetWindowBackgroundColor(void);              /* window face colour, 0x00BBGGRR */
ORV_API uint32_t ORV_CALL ORV_GetWindowTextColor(void);                    /* window text colour, 0x00BBGGRR */
ORV_API int32_t ORV_CALL ORV_GetWindowCaptionSize(void);                   /* caption height, pixels */
ORV_API int32_t ORV_CALL ORV_GetWindowSmallCaptionSize(void);              /* small caption height, pixels */
ORV_API int32_t ORV_CALL ORV_GetWindowFixedFrameSize(void);                /* fixed frame thickness, pixels */
ORV_API const char* ORV_CALL ORV_GetDirInfo(void);                         /* the system directory; the same buffer on every call */

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
/* 8-bit values enter layers as v << 8 and leave as the high byte. "Weighted" loads scale each
   pixel by the selection coverage of the mask and the paper texture. Null buffers, empty slots
   and a missing current layer do nothing. */
ORV_API void ORV_CALL ORV_LoadRGBA32Layer(const void* src, int32_t srcStride, int32_t layer, int32_t x, int32_t y, int32_t width, int32_t height, uint8_t useMask); /* RGBA32 placed at (x, y), clipped to the layer; weighted when useMask */
ORV_API void ORV_CALL ORV_LoadRGBA32(const void* src, int32_t srcStride, int32_t useMask);  /* RGBA32 over the whole current layer */
ORV_API void ORV_CALL ORV_LoadRGBA32Into(const void* src, int32_t srcStride, int32_t layer, int32_t x, int32_t y, int32_t width, int32_t height); /* ORV_LoadRGBA32Layer, always weighted */
ORV_API void ORV_CALL ORV_Load(const void* src, int32_t srcStride, int32_t width, int32_t height); /* blue-green-red bytes into the current layer, alpha full */
ORV_API void ORV_CALL ORV_LoadRGB24(const void* src, int32_t srcStride, uint8_t useMask);   /* RGB24 into the current layer's colour; alpha kept */
ORV_API void ORV_CALL ORV_LoadRGB24ToAlpha(const void* src, int32_t srcStride, uint8_t useMask); /* first byte of each RGB24 pixel into alpha where alpha is not 0 */
ORV_API void ORV_CALL ORV_SetRGBA64Layer(const void* src, int32_t srcStride, int32_t layer); /* page pixels copied in unchanged; stride in bytes */
ORV_API void ORV_CALL ORV_GetRGBA32Layer(void* dst, int32_t dstStride, int32_t layer);     /* page pixels as RGBA32 */
ORV_API void ORV_CALL ORV_GetRGBA32(void* dst, int32_t dstStride);                         /* the current layer as RGBA32 */
ORV_API void ORV_CALL ORV_GetRGB24Layer(void* dst, int32_t dstStride, int32_t layer);      /* page pixels as RGB24 */
ORV_API void ORV_CALL ORV_GetRGB24(void* dst, int32_t dstStride);                          /* the current layer as RGB24 */
ORV_API void ORV_CALL ORV_GetRGB24FromAlpha(void* dst, int32_t dstStride);                 /* the current layer's alpha as gray RGB24 */
ORV_API void ORV_CALL ORV_GetRGBA64Layer(void* dst, int32_t dstStride, int32_t layer);     /* page pixels unchanged; stride in bytes */
ORV_API void ORV_CALL ORV_GetRGBA64LayerRect(void* dst, int32_t dstStride, int32_t layer, int32_t x, int32_t y, int32_t width, int32_t height); /* a rectangle unchanged; dst starts at its (x, y); off-page parts untouched */
ORV_API void ORV_CALL ORV_GetRGBA32FromRGBA64(void* dst, int32_t dstStride, int32_t width, int32_t height, const void* src, int32_t srcStride); /* RGBA64 buffer to RGBA32 */
ORV_API void ORV_CALL ORV_GetRGBA32FromRGBA64Rect(void* dst, int32_t dstStride, const void* src, int32_t srcStride, int32_t x, int32_t y, int32_t width, int32_t height); /* width x height from the pointers given; x, y move nothing */
ORV_API void ORV_CALL ORV_GetRGB24FromRGBA64(void* dst, int32_t dstStride, const void* src, int32_t srcStride); /* page-sized RGBA64 buffer to RGB24 */
ORV_API void ORV_CALL ORV_GetRGB24FromRGBA64Rect(void* dst, int32_t dstStride, const void* src, int32_t srcStride, int32_t x, int32_t y, int32_t width, int32_t height); /* width x height from the pointers given */
ORV_API void ORV_CALL ORV_RGBA64RectToRGBA32(const void* src, int32_t x, int32_t y, int32_t width, int32_t height, int32_t srcStridePixels, int32_t ignored, void* dst); /* rectangle of an RGBA64 buffer to packed RGBA32 */
ORV_API void ORV_CALL ORV_RGBA64RectToRGBA24(const void* src, int32_t x, int32_t y, int32_t width, int32_t height, int32_t srcStridePixels, int32_t ignored, void* dst); /* rectangle of an RGBA64 buffer to packed RGB24 */
ORV_API void ORV_CALL ORV_RGBToRGBA(void* dst, int32_t width, int32_t height, const void* src);     /* packed RGB24 colour into RGBA32, alpha kept */
ORV_API void ORV_CALL ORV_RGBAToRGB(void* dst, int32_t width, int32_t height, const void* src);     /* packed RGBA32 to RGB24, alpha dropped */
ORV_API void ORV_CALL ORV_RGBToRGBAlpha(void* dst, int32_t width, int32_t height, const void* src); /* RGBA32 alpha = mean of the RGB24 bytes, rounded down */
ORV_API void ORV_CALL ORV_RGBAlphaToRGB(void* dst, int32_t width, int32_t height, const void* src); /* RGBA32 alpha into all three gray bytes */
ORV_API void ORV_CALL ORV_Clear(uint8_t r, uint8_t g, uint8_t b, uint8_t a);               /* fill the current layer; the mask is not consulted */
ORV_API void ORV_CALL ORV_ClearMasked(uint8_t r, uint8_t g, uint8_t b, uint8_t a);         /* fill through the mask; partly selected pixels become opaque */
ORV_API void ORV_CALL ORV_ClearMaskedAlpha(uint8_t r, uint8_t g, uint8_t b, uint8_t a);    /* fill through the mask and texture, alpha weighted too */
ORV_API void ORV_CALL ORV_ClearRGBA64(void* dst, int32_t dstStride, uint16_t r, uint16_t g, uint16_t b, uint16_t a); /* page-sized RGBA64 buffer filled with the 16-bit values */
ORV_API void ORV_CALL ORV_ClearRGBA32(void* dst, int32_t dstStride, uint8_t r, uint8_t g, uint8_t b, uint8_t a);     /* page-sized RGBA32 buffer filled */
ORV_API void ORV_CALL ORV_ClearRGBA32Buf(void* dst, int32_t width, int32_t height, uint8_t r, uint8_t g, uint8_t b, uint8_t a); /* packed RGBA32 buffer filled */
ORV_API void ORV_CALL ORV_SetPixelRGB24(void* dst, int32_t dstStride, int32_t x, int32_t y, uint16_t r, uint16_t g, uint16_t b); /* high bytes at (x, y) when on the page */

/* ---- Compressed lines and layers ------------------------------------------------------- */
/* RGBA lines: 5-byte records (count 1..255, r, g, b, a high bytes); gray lines: 2-byte records
   (count, value high byte). Decoding writes b << 8 and never passes the line it was given. */
ORV_API int32_t ORV_CALL ORV_RLECompressRGBA64ToRGBA32(const void* src, void* dst, int32_t count); /* count RGBA64 pixels coded; bytes written (dst holds 5 x count) */
ORV_API void ORV_CALL ORV_RLEUncompressRGBA32ToRGBA64(const void* src, void* dst, int32_t count); /* records decoded into count RGBA64 pixels */
ORV_API int32_t ORV_CALL ORV_RLECompressG16ToG8(const void* src, void* dst, int32_t count);  /* count 16-bit values coded; bytes written (dst holds 2 x count) */
ORV_API void ORV_CALL ORV_RLEUncompressG8ToG16(const void* src, void* dst, int32_t count);   /* records decoded into count 16-bit values */
ORV_API int32_t ORV_CALL ORV_GetRGBA32LayerLineRLE(void* dst, int32_t layer, int32_t row);    /* a layer row coded; bytes written, 0 for an empty slot */
ORV_API void ORV_CALL ORV_PutRGBA32LayerLineRLE(const void* src, int32_t layer, int32_t row); /* a coded row decoded into the layer */
ORV_API int32_t ORV_CALL ORV_GetMaskLineRLE(void* dst, int32_t row);                          /* a mask row coded; 0 without a mask */
ORV_API void ORV_CALL ORV_PutMaskLineRLE(const void* src, int32_t row);                       /* a coded row decoded into the mask */
ORV_API int32_t ORV_CALL ORV_GetRGBA32LayerCompressed(void* dst, int32_t ignored, int32_t dstSize, int32_t layer, int32_t deflateOption); /* the layer's RGBA32 page as a zlib stream at level 0..9 (else default); its size, 0 on failure */
ORV_API void ORV_CALL ORV_LoadRGBA32LayerCompressed(const void* src, int32_t ignored, int32_t srcSize, int32_t layer); /* a stream from ORV_GetRGBA32LayerCompressed loaded back; a corrupt stream changes nothing */

/* ---- Display rendering ----------------------------------------------------------------- */
ORV_API void ORV_CALL ORV_Render(void* dst, int32_t dstStride, int32_t x, int32_t y, int32_t width, int32_t height); /* composite the page rectangle into a blue-green-red buffer at the view mapping */

/* ---- Merging ----------------------------------------------------------------------------- */
ORV_API void ORV_CALL ORV_MergeLayer(int32_t source, int32_t destination);  /* merge the whole source layer into the destination layer */
ORV_API void ORV_CALL ORV_MergeLayerIntoRect(int32_t layer, void* dst, int32_t x, int32_t y, int32_t width, int32_t height); /* merge the layer's rectangle into a packed width x height RGBA64 buffer */
ORV_API void ORV_CALL ORV_MergeLayerInto(int32_t layer, void* dst);        /* the same for the whole page */
ORV_API void ORV_CALL ORV_MergeRect(void* dst, int32_t x, int32_t y, int32_t width, int32_t height); /* flatten the visible layers' rectangle into a packed RGBA64 buffer */
ORV_API void ORV_CALL ORV_Merge(void* dst);                                 /* flatten the whole page */
ORV_API void ORV_CALL ORV_MergePaintLayer(int32_t layer);                   /* commit the paint layer into the layer and clear it */

/* ---- Undo ---------------------------------------------------------------------------------- */
ORV_API void ORV_CALL ORV_SetUndoLevels(int32_t levels);                   /* clear the history and keep at most levels entries (0..500) */
ORV_API void ORV_CALL ORV_SetUndoMB(int32_t megabytes);                    /* fix the undo budget; 0 makes it follow free memory */
ORV_API int32_t ORV_CALL ORV_GetTotalUndoMemory(void);                     /* undo budget in megabytes */
ORV_API int32_t ORV_CALL ORV_GetCurrentUndoMemory(void);                   /* memory the history holds, in megabytes */
ORV_API void ORV_CALL ORV_PauseUndo(void);                                 /* snapshots, undo and redo do nothing until resumed */
ORV_API void ORV_CALL ORV_ResumeUndo(void);                                /* end a pause */
ORV_API void ORV_CALL ORV_SaveUndoBuffer(uint8_t savePixels, uint8_t saveMask); /* record the change since the last snapshot */
ORV_API void ORV_CALL ORV_SaveUndoBackBuffer(int32_t layer);               /* copy the layer and the mask into the undo back buffers */
ORV_API void ORV_CALL ORV_Undo(void);                                      /* undo one entry, switching to its layer */
ORV_API void ORV_CALL ORV_Redo(void);                                      /* redo one entry, switching to its layer */
ORV_API int32_t ORV_CALL ORV_CanUndo(void);                                /* 1 when an entry can be undone */
ORV_API int32_t ORV_CALL ORV_CanRedo(void);                                /* 1 when an entry can be redone */
ORV_API int32_t ORV_CALL ORV_GetRedoCount(void);                           /* entries that can be redone */
ORV_API int32_t ORV_CALL ORV_GetUndoCount(void);                           /* entries held, redo entries included */
ORV_API void ORV_CALL ORV_ClearUndo(void);                                 /* forget the history and resume recording */
ORV_API void ORV_CALL ORV_ReduceUndo(int32_t kilobytes);                   /* drop redo entries, then old entries until kilobytes are freed */

/* ---- Brush settings and tool ----------------------------------------------------------------- */
ORV_API void ORV_CALL ORV_SetColor(int32_t r, int32_t g, int32_t b);        /* paint colour from the low bytes (x 256), alpha 65535 */
ORV_API void ORV_CALL ORV_SetColor16(int32_t r, int32_t g, int32_t b);      /* paint colour from the low 16 bits, alpha 65535 */
ORV_API void ORV_CALL ORV_SetColorBanks(int32_t r0, int32_t g0, int32_t b0, int32_t r1, int32_t g1, int32_t b1, int32_t r2, int32_t g2, int32_t b2, int32_t r3, int32_t g3, int32_t b3); /* the four bank colours of the bank mix modes */
ORV_API void ORV_CALL ORV_SetBlendStrength(int32_t a);                     /* pickup strength 0..256; 0 turns pickup off */
ORV_API void ORV_CALL ORV_SetBlendPrimaryColorStrength(int32_t a);         /* share of the brush colour in picked-up paint, 0..256 */
ORV_API void ORV_CALL ORV_SetBlendRemix(int32_t flag);                     /* dabs write their mix back into the pickup buffer */
ORV_API void ORV_CALL ORV_SetDensity(int32_t a);                           /* grit density 1..256 */
ORV_API void ORV_CALL ORV_SetAlpha(int32_t percent);                       /* dab opacity in percent */
ORV_API void ORV_CALL ORV_SetColorVary(int32_t v);                         /* per-dab random colour range */
ORV_API void ORV_CALL ORV_SetPixColorVary(int32_t v);                      /* per-pixel random colour range */
ORV_API void ORV_CALL ORV_SetPixLumVary(int32_t v);                        /* per-pixel random luminance range */
ORV_API void ORV_CALL ORV_SetAlphaLocked(int32_t flag);                    /* dabs never write alpha */
ORV_API void ORV_CALL ORV_SetColorLocked(int32_t flag);                    /* dabs never write colour */
ORV_API void ORV_CALL ORV_SetBlobLocked(int32_t flag);                     /* dabs keep blob alpha above its thresholds */
ORV_API void ORV_CALL ORV_SetAlphaLevel(int32_t level);                    /* above 0: the alpha painted pixels receive */
ORV_API void ORV_CALL ORV_SetImageBrushMode(int32_t flag);                 /* pickup alpha scales the coverage */
ORV_API void ORV_CALL ORV_SetSolidBrushMode(int32_t flag);                 /* covered pixels paint at full coverage */
ORV_API void ORV_CALL ORV_SetRotateBrushMode(int32_t mode, int32_t degrees); /* mode 1 rotates the shape by degrees */
ORV_API void ORV_CALL ORV_SetMixMode(int32_t mode, int32_t amount);        /* dab mix mode and mix amount 0..256 */
ORV_API void ORV_CALL ORV_SetSize(int32_t size);                           /* brush size, at most min(1000, maxBrushSize) */
ORV_API void ORV_CALL ORV_SetScaleSize(int32_t size);                      /* dab footprint 1..999 sampling the brush shape */
ORV_API void ORV_CALL ORV_TempDisableBlend(void);                          /* the next dab paints without pickup */
ORV_API void ORV_CALL ORV_SetMaskMakerOn(void);                            /* dabs paint into the selection mask */
ORV_API void ORV_CALL ORV_SetEraseModeOn(void);                            /* the next layer dab erases */
ORV_API void ORV_CALL ORV_DecDrawingLength(void);                          /* count one dab toward the next grit pattern */
ORV_API void ORV_CALL ORV_SetTool(float shapeIntensity, int32_t gritCellSize, int32_t gritCellThreshold, int32_t gritPixelThreshold, uint8_t edgeSoftness, int32_t colorVary, int32_t gritRepeat, int32_t blendStrength, int32_t blendPrimaryColorStrength, uint8_t blendRemix, uint8_t toolOption11, uint8_t invertShape, uint8_t toolOption13, const char* paperPath, const char* shapePath, int32_t shapeAngle); /* configure a whole tool: grit, paper grain, shape */

/* ---- Brush shapes ---------------------------------------------------------------------------- */
ORV_API void ORV_CALL ORV_SetBrushShape(const char* path, int32_t angle);          /* shape from an image script or image file turned by angle degrees; a path under 2 characters: round shape */
ORV_API void ORV_CALL ORV_SetBrushShape_ORIGINAL(const char* path, int32_t angle); /* the same, the path read only as an image file */
ORV_API void ORV_CALL ORV_CreateBlobFromImage(int32_t layer, int32_t mode);        /* prepare a layer for the blob lock: alpha from luminance, colour grey (mode 1: toward the middle) */

/* ---- Dabs ------------------------------------------------------------------------------------ */
ORV_API int32_t ORV_CALL ORV_DrawDabGrit(int32_t x, int32_t y, int32_t r, int32_t g, int32_t b); /* paint one dab centred at (x, y); high bytes of r, g, b */
ORV_API int32_t ORV_CALL ORV_DrawDabGritMask(int32_t x, int32_t y);      /* paint one dab of the current colour's grey into the mask */

/* ---- Paint layer, texture, pickup buffer and alpha helpers ------------------------------------ */
ORV_API void ORV_CALL ORV_CreatePaintLayer(int32_t opacityPercent, const char* blendName); /* make (or reconfigure) the layer strokes collect on */
ORV_API void ORV_CALL ORV_ClearPaintLayer(void);                           /* paint layer transparent, touched rectangle empty */
ORV_API void ORV_CALL ORV_ClearPaintLayer_old(void);                       /* opaque white, transparent inside the touched rectangle */
ORV_API void ORV_CALL ORV_DeletePaintLayer(void);                          /* free the paint layer */
ORV_API void ORV_CALL ORV_BlurPaintLayerAlpha(void);                       /* soften the paint layer's alpha edges */
ORV_API void* ORV_CALL ORV_CreateTexture(int32_t layer);                   /* paper texture from the layer's luminance (4..250); the map */
ORV_API void ORV_CALL ORV_DeleteTexture(void);                             /* dabs no longer modulated by the texture */
ORV_API void ORV_CALL ORV_DoCopyBlendBuffer(int32_t x, int32_t y, const uint16_t* src, int32_t c, int32_t d); /* pickup around (x, y) from a page RGBA64 image, brush colour weight c */
ORV_API void ORV_CALL ORV_CopyBlendBufferSurface(int32_t x, int32_t y, int32_t c, int32_t d); /* pickup from the current layer */
ORV_API void ORV_CALL ORV_CopyBlendBufferLayer(int32_t layer, int32_t x, int32_t y, int32_t c); /* pickup from a layer */
ORV_API void ORV_CALL ORV_CopyBlendBufferUnderLayer(int32_t x, int32_t y, int32_t c); /* pickup from the page before the stroke */
ORV_API void ORV_CALL ORV_CopyBlendBufferHistory(int32_t x, int32_t y, int32_t c); /* the same */
ORV_API void ORV_CALL ORV_CopyBlendBufferTrace(int32_t x, int32_t y, int32_t c); /* pickup from the tracing layer */
ORV_API void ORV_CALL ORV_DoCopyBlendBufferMask(int32_t x, int32_t y, int32_t c); /* mask-dab pickup from the selection mask */
ORV_API void ORV_CALL ORV_FilterBlendBuffer(int32_t kind, int32_t percent); /* 289 grey, 290 invert, 291/292 thresholds */
ORV_API void ORV_CALL ORV_ClearBlendBuffer(void);                          /* zero the start of the pickup buffer */
ORV_API void ORV_CALL ORV_InvertAlpha(int32_t layer);                      /* A = 65535 - A */
ORV_API void ORV_CALL ORV_InvertAlpha_RGBA32(uint8_t* buf);                /* A = 255 - A on a page-sized RGBA32 buffer */
ORV_API void ORV_CALL ORV_SetLayerAlpha(int32_t layer, int32_t value);     /* every alpha = value */
ORV_API void ORV_CALL ORV_NormalizeLayerAlpha(int32_t layer);              /* fold the layer opacity into its alpha */
ORV_API void ORV_CALL ORV_SetColorAlpha(int32_t r, int32_t g, int32_t b);  /* nearly transparent pixels of the current layer get (r, g, b) x 257, alpha 0 */
ORV_API void ORV_CALL ORV_SetColorAlphaRGBABuf(uint8_t* buf, int32_t w, int32_t h, int32_t r, int32_t g, int32_t b); /* transparent pixels get (r, g, b) */
ORV_API void ORV_CALL ORV_SetColorRGBABuf(uint8_t* buf, int32_t w, int32_t h, int32_t r, int32_t g, int32_t b); /* every pixel gets (r, g, b) */
ORV_API void ORV_CALL ORV_SetAlphaFromRGBAImageColor(uint8_t* buf, int32_t r, int32_t g, int32_t b); /* pixels of exactly (r, g, b) become transparent */
ORV_API void ORV_CALL ORV_AdjustRGBA32PreFilter(uint8_t* buf, int32_t w, int32_t h);  /* premultiply colour by alpha */
ORV_API void ORV_CALL ORV_AdjustRGBA32PostFilter(uint8_t* buf, int32_t w, int32_t h); /* undo the premultiply */
ORV_API void ORV_CALL ORV_AdjustRGBA32ForAlphaComp(int32_t flag, uint8_t* buf); /* undo a premultiply on a page-sized buffer, opaque pixels too */
ORV_API void ORV_CALL ORV_AdjustRGBA64PreFilter(uint16_t* px, int32_t w, int32_t h);  /* premultiply RGBA64 */
ORV_API void ORV_CALL ORV_AdjustRGBA64PostFilter(uint16_t* px, int32_t w, int32_t h); /* undo the RGBA64 premultiply */

/* ---- Colour sampling ---------------------------------------------------------------------------- */
ORV_API int32_t ORV_CALL ORV_GetRed64(int32_t x, int32_t y);              /* current layer's red channel; 0 outside the page */
ORV_API int32_t ORV_CALL ORV_GetGreen64(int32_t x, int32_t y);            /* current layer's green channel; 0 outside the page */
ORV_API int32_t ORV_CALL ORV_GetBlue64(int32_t x, int32_t y);             /* current layer's blue channel; 0 outside the page */
ORV_API int32_t ORV_CALL ORV_GetAlpha64(int32_t x, int32_t y);            /* current layer's alpha channel; 0 outside the page */
ORV_API int32_t ORV_CALL ORV_GetRGBAAt(int32_t x, int32_t y, const uint16_t* pixels); /* (R<<24)|(G<<16)|(B<<8)|A of a page-sized RGBA64 image, position clamped to the page */
ORV_API int32_t ORV_CALL ORV_GetRGBAAtSurface(int32_t x, int32_t y);      /* RGBA packing of the current layer */
ORV_API int32_t ORV_CALL ORV_GetRGBAAtLayer(int32_t x, int32_t y, int32_t layer); /* RGBA packing of a layer; 0 for a bad or empty slot */
ORV_API int32_t ORV_CALL ORV_GetRGBAAtUnderLayer(int32_t x, int32_t y);   /* RGBA packing of the layer as of the last undo snapshot */
ORV_API int32_t ORV_CALL ORV_GetRGBAAtTrace(int32_t x, int32_t y);        /* RGBA packing of the tracing layer */
ORV_API int32_t ORV_CALL ORV_GetColorAt(int32_t x, int32_t y, const uint16_t* pixels); /* (R<<16)|(G<<8)|B, or -1 where alpha is below 256 */
ORV_API int32_t ORV_CALL ORV_GetColorAtSurface(int32_t x, int32_t y);     /* colour packing of the current layer */
ORV_API int32_t ORV_CALL ORV_GetColorAtLayer(int32_t x, int32_t y, int32_t layer); /* colour packing of a layer; 0 for a bad or empty slot */
ORV_API int32_t ORV_CALL ORV_GetColorAtUnderLayer(int32_t x, int32_t y);  /* colour packing of the layer as of the last undo snapshot */
ORV_API int32_t ORV_CALL ORV_GetColorAtTrace(int32_t x, int32_t y);       /* colour packing of the tracing layer */
ORV_API int32_t ORV_CALL ORV_GetColorAtHistory(int32_t x, int32_t y);     /* colour packing of the undo back buffer when an entry can be undone, else 0 */
ORV_API int32_t ORV_CALL ORV_GetColorAtMerged(int32_t x, int32_t y);      /* colour packing of the flattened visible layers at (x, y) */

/* ---- Spline points ------------------------------------------------------------------------------ */
ORV_API int32_t ORV_CALL ORV_CalcSpline3(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t unused); /* 100 samples of a smooth curve through three points; 1 */
ORV_API int32_t ORV_CALL ORV_GetSplinePointCount(void);                   /* samples held: 0 before the first curve, then 100 */
ORV_API int32_t ORV_CALL ORV_GetSplinePointX(int32_t index);              /* truncated x of a sample; past the end: the last */
ORV_API int32_t ORV_CALL ORV_GetSplinePointY(int32_t index);              /* truncated y of a sample; past the end: the last */

/* ---- Masks and selection ------------------------------------------------------------------------ */
/* The mask holds one 16-bit value per page pixel: 65535 fully selected, 0 fully protected. Its grey
   exchange image is RGB24 with black selected. Makers write only the pixels they select, (255 - a) x 256
   for a selection strength a; range tolerances are percentages 0..100 (others change nothing). Host
   buffers of the makers are page-sized and packed. */
ORV_API void ORV_CALL ORV_EnableMask(uint8_t flag);                        /* the mask gates painting, loads and effects while set */
ORV_API void ORV_CALL ORV_DisplayMask(uint8_t flag);                       /* show the mask overlay while set and enabled */
ORV_API void ORV_CALL ORV_SetMaskOptions(int32_t r1, int32_t g1, int32_t b1, int32_t r2, int32_t g2, int32_t b2, int32_t fullStrength); /* overlay colours (8-bit) and full-strength flag */
ORV_API void ORV_CALL ORV_InvertMask(void);                                /* m = 65535 - m */
ORV_API void ORV_CALL ORV_ClearMask(int32_t r, int32_t g, int32_t b);      /* fill with the value of the 16-bit grey (r + g + b) / 3 */
ORV_API void ORV_CALL ORV_SaveMask(void* rgb, int32_t stride);             /* the mask as a page-sized grey RGB24 image */
ORV_API void ORV_CALL ORV_LoadMask(const void* rgb, int32_t stride, int32_t width, int32_t height); /* a grey RGB24 image into the mask, cut to the page */
ORV_API void ORV_CALL ORV_GetMaskData16(void* dst);                        /* copy the page's 16-bit values out */
ORV_API void ORV_CALL ORV_SetMaskData16(const void* src);                  /* copy the page's 16-bit values in */
ORV_API int32_t ORV_CALL ORV_GetMask64(int32_t x, int32_t y);              /* protection 65535 - m; 0 without a current layer, when disabled or off the page */
ORV_API void ORV_CALL ORV_CreateImageFromMask(void);                       /* the current layer becomes the mask's opaque grey image */
ORV_API void ORV_CALL ORV_CreateAlphaFromMask(void);                       /* current layer alpha = mask */
ORV_API void ORV_CALL ORV_CreateMaskFromAlpha(void);                       /* mask = current layer alpha */
ORV_API void ORV_CALL ORV_CreateMaskFromImage(void);                       /* mask from the current layer's 16-bit grey */
ORV_API void ORV_CALL ORV_CreateMaskFromRGBAImageColor(const void* buf, int32_t r, int32_t g, int32_t b, int32_t a); /* select pixels of the exact colour */
ORV_API void ORV_CALL ORV_CreateMaskFromRGB24ImageColor(const void* buf, int32_t r, int32_t g, int32_t b, int32_t a); /* the same on an RGB24 buffer */
ORV_API void ORV_CALL ORV_CreateMaskFromRGBAImageColorRange(const void* buf, int32_t r, int32_t g, int32_t b, int32_t tolerance, int32_t a); /* every channel within the tolerance */
ORV_API void ORV_CALL ORV_CreateMaskFromRGBAImageAlphaRange(const void* buf, int32_t alpha, int32_t tolerance, int32_t a); /* alpha within the tolerance */
ORV_API void ORV_CALL ORV_CreateMaskFromRGBAImageLuminanceRange(const void* buf, int32_t r, int32_t g, int32_t b, int32_t tolerance, int32_t a); /* channel mean within the tolerance */
ORV_API void ORV_CALL ORV_CreateMaskFromRGBAImageHueRange(const void* buf, int32_t r, int32_t g, int32_t b, int32_t tolerance, int32_t a); /* HSV hue within tolerance x 1.8 degrees */
ORV_API void ORV_CALL ORV_CreateMaskFromRGBAImageHSLRange(const void* buf, int32_t r, int32_t g, int32_t b, double hueTol, double satTol, double lumTol, int32_t a); /* HSL hue, saturation and lightness within fractions */
ORV_API void ORV_CALL ORV_CreateMaskFromFloodMask(const void* map, int32_t a); /* select pixels whose page-sized map byte is 1 */
ORV_API void ORV_CALL ORV_CreateMaskFromDiff_RGBA32(const void* buf1, const void* buf2, int32_t value); /* pixels differing between the buffers get value */
ORV_API void ORV_CALL ORV_IPLMaskEllipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t level); /* ellipse in the box at level 0..100 (0 selects fully) */
ORV_API void ORV_CALL ORV_IPLMaskRectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t level); /* rectangle between the corners at level 0..100 */
ORV_API void ORV_CALL ORV_IPLMaskWand(int32_t x, int32_t y, int32_t tolerance, int32_t level, const char* mode); /* magic wand, tolerance 0..50000, mode by name; releases the source work buffer */
ORV_API void ORV_CALL ORV_ApplyMaskToAlpha_RGBA32(void* buf);              /* page-sized RGBA32 alpha scaled by the mask's high byte */
ORV_API void ORV_CALL ORV_ApplyMaskToAlphaRect_RGBA32(void* buf, int32_t stride, int32_t left, int32_t top, int32_t right, int32_t bottom); /* the same over a page rectangle (inclusive) */
ORV_API void ORV_CALL ORV_AdjustRGBA32ByMaskAndTexture(void* buf, int32_t width, int32_t height); /* alpha times the selection and texture factor */
ORV_API void ORV_CALL ORV_AdjustRGBA32RectByMaskAndTexture(void* buf, int32_t x, int32_t y, int32_t width, int32_t height); /* the same for a buffer covering a page rectangle */
ORV_API void ORV_CALL ORV_ReplaceFromRGBAImageAlphaRange(void* buf, int32_t alpha, int32_t tolerance, uint8_t r, uint8_t g, uint8_t b, uint8_t a); /* pixels with alpha in range become the colour */
ORV_API void ORV_CALL ORV_ColorRGBA32FromFloodMask(void* buf, const void* map, uint8_t r, uint8_t g, uint8_t b, uint8_t a); /* pixels whose map byte is 1 become the colour */
ORV_API void ORV_CALL ORV_LoadRGBA32Layer_BAD(void* src, int32_t ignored, int32_t layer, int32_t adjustWidth, int32_t adjustHeight, uint8_t adjust); /* replace the layer's selected part by a page-sized RGBA32 buffer (clear under the mask, then merge) */
ORV_API void* ORV_CALL ORV_ApplyMaskToAlpha_IPLSrcRGBA(void);             /* the selection applied to the source work buffer; returns it (null without one) */

/* ---- Tablet ------------------------------------------------------------------------------------- */
ORV_API int32_t ORV_CALL ORV_InitTablet(void* window);                    /* open the pen context; 0 without a tablet */
ORV_API void ORV_CALL ORV_SetTabletOrigin(void);                           /* origin = the window's client (0, 0) on screen */
ORV_API void ORV_CALL ORV_CloseTablet(void);                               /* close the pen context */
ORV_API void ORV_CALL ORV_ResetTabletPressure(void);                       /* last pressure = 10; drop queued packets */
ORV_API int32_t ORV_CALL ORV_ReadTabletPackets(void);                      /* fetch up to 256 packets; their count */
ORV_API int32_t ORV_CALL ORV_ReadTabletPressure(int32_t index);            /* pressure 1..100 of a packet, or the last one climbing by 25 */
ORV_API int32_t ORV_CALL ORV_ReadRawTabletPressure(int32_t index);         /* scaled pressure without remembering it; 0 for no packet */
ORV_API int32_t ORV_CALL ORV_IsPacketInvert(int32_t index);                /* 1 when the packet came from the eraser end */
ORV_API int32_t ORV_CALL ORV_PacketStatus(int32_t index);                  /* the packet's status word; 0 for no packet */
ORV_API int32_t ORV_CALL ORV_ReadTabletX(int32_t index);                   /* packet x minus the origin; 0 for no packet */
ORV_API int32_t ORV_CALL ORV_ReadTabletY(int32_t index);                   /* packet y minus the origin; 0 for no packet */

/* ---- Work buffers and colour models --------------------------------------------------------------- */
ORV_API void ORV_CALL ORV_IPLAllocSrcBuffer32(void);                       /* (re)make source32 and fill it from the current layer as RGBA32 */
ORV_API void ORV_CALL ORV_IPLFreeSrcBuffer32(void);                        /* release source32 */
ORV_API void ORV_CALL ORV_IPLAllocDstBuffer32(void);                       /* (re)make destination32, zero-filled */
ORV_API void ORV_CALL ORV_IPLFreeDstBuffer32(void);                        /* release destination32 */
ORV_API void ORV_CALL ORV_IPLSetSrcBuffer32(const void* pixels);           /* copy a page of RGBA32 into source32 when both exist */
ORV_API void ORV_CALL ORV_IPLSetDstBuffer32(const void* pixels);           /* copy a page of RGBA32 into destination32 when both exist */
ORV_API void* ORV_CALL ORV_IPLUpdateSrcBuffer32(void);                     /* refill source32 from the current layer; null without source32 */
ORV_API void ORV_CALL ORV_IPLAllocSrcBuffer24(void);                       /* (re)make source24 and fill it from the current layer as RGB24 */
ORV_API void ORV_CALL ORV_IPLFreeSrcBuffer24(void);                        /* release source24 */
ORV_API void ORV_CALL ORV_IPLAllocDstBuffer24(void);                       /* (re)make destination24, zero-filled */
ORV_API void ORV_CALL ORV_IPLFreeDstBuffer24(void);                        /* release destination24 */

/* ---- Image files and the loaded-image buffer -------------------------------------------------------- */
ORV_API int32_t ORV_CALL ORV_GetDPIFromFile(const char* path);            /* the file's dots per inch snapped to 72, 96, 150, 200, 300, 450 or 600; 72 when unknown */
ORV_API int32_t ORV_CALL ORV_ReadFromFile(const char* path);              /* decode by content into the loaded-image buffer; 1 on success, buffer untouched on failure */
ORV_API int32_t ORV_CALL ORV_ReadFromFileRGB24(void* dst, int32_t width, int32_t height, const char* path);  /* copy as RGB24 only when the image is exactly width x height; 1 when copied */
ORV_API int32_t ORV_CALL ORV_ReadFromFileRGBA32(void* dst, int32_t width, int32_t height, const char* path); /* as above, RGBA32 */
ORV_API int32_t ORV_CALL ORV_WriteToFileRGB24(const void* src, int32_t width, int32_t height, const char* path, const char* extension, int32_t dpi);  /* .bmp .png .emf .gif .jpg .pcx .psd .wmf; 1 when written, 0 for other extensions */
ORV_API int32_t ORV_CALL ORV_WriteToFileRGBA32(const void* src, int32_t width, int32_t height, const char* path, const char* extension, int32_t dpi); /* .png .tga .tif with alpha; 1 when written */
ORV_API int32_t ORV_CALL ORV_SavePageToFileRGB24(const char* path, const char* extension, int32_t dpi); /* flattened page row by row to .bmp .png .jpg; always 0 */
ORV_API int32_t ORV_CALL ORV_SavePageToFileRGB32(const char* path, const char* extension, int32_t dpi); /* flattened page row by row to .png .tga .tif; always 0 */
ORV_API int32_t ORV_CALL ORV_MakeThumbnail(const char* source, const char* destination);   /* 100-pixel 24-bit BMP thumbnail; always 0 */
ORV_API int32_t ORV_CALL ORV_MakeWebPic(const char* source, const char* destination, int32_t maxWidth, int32_t maxHeight); /* quality-75 JPEG fitted inside the limits, never enlarged; always 0 */
ORV_API int32_t ORV_CALL ORV_GetNewRGBAWidth(void);                       /* loaded-image width (last size set) */
ORV_API int32_t ORV_CALL ORV_GetNewRGBAHeight(void);                      /* loaded-image height (last size set) */
ORV_API void ORV_CALL ORV_GetNewRGBA32(void* dst);                        /* copy the loaded image as RGBA32 */
ORV_API void ORV_CALL ORV_GetNewRGBA24(void* dst);                        /* copy the loaded image as RGB24 */
ORV_API void ORV_CALL ORV_GetResizedNewRGBA24(void* dst, int32_t width, int32_t height); /* the loaded image scaled to width x height as RGB24 */
ORV_API int32_t ORV_CALL ORV_IsNewRGBA32Transparent(void);                /* 1 if any alpha is below 255 */
ORV_API void ORV_CALL ORV_SetInNewRGBA(void);                             /* load the loaded image into the current layer at (0, 0), selection-weighted */
ORV_API int32_t ORV_CALL ORV_DeleteNewRGBA(void);                         /* free the loaded image; 0 */


#ifdef __cplusplus
}
#endif

#endif /* ORVCORE_H */
