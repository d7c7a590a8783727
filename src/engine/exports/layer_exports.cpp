// Layer-table entry points.
#include "engine/exports/guard.h"
#include "engine/layer_table.h"

using namespace orv;

extern "C" {

ORV_API int32_t ORV_CALL ORV_CreateLayer(int32_t layer, int32_t w, int32_t h) {
    return guarded(err::CreateLayer, 0, [&] { return createLayer(engine(), layer, w, h) ? 1 : 0; });
}
ORV_API void ORV_CALL ORV_DeleteLayer(int32_t layer) {
    guarded(err::DeleteLayer, [&] { deleteLayer(engine().layers, layer); });
}
ORV_API void ORV_CALL ORV_SetLayer(int32_t layer) {
    guarded(nullptr, [&] { setLayer(engine(), layer); });
}
ORV_API int32_t ORV_CALL ORV_GetLayerNum(void) { return engine().layers.currentLayerNumber; }
ORV_API void ORV_CALL ORV_SetLayerOptions(int32_t layer, uint8_t visible, uint8_t lockAlpha, int32_t opacityPercent,
                                          const char* blendName) {
    guarded(nullptr, [&] { setLayerOptions(engine(), layer, {visible, lockAlpha, opacityPercent, blendName}); });
}
ORV_API void ORV_CALL ORV_SwapLayers(int32_t a, int32_t b) { swapLayers(engine().layers, a, b); }
ORV_API int32_t ORV_CALL ORV_GetLayerCount(void) { return layerCount(engine().layers); }
ORV_API void ORV_CALL ORV_GetLayerData(void* dst, int32_t layer) { getLayerData(engine(), dst, layer); }
ORV_API void ORV_CALL ORV_SetLayerData(const void* src, int32_t layer) { setLayerData(engine(), src, layer); }
ORV_API void ORV_CALL ORV_CopyLayerData(int32_t from, int32_t to) { copyLayerData(engine(), from, to); }
ORV_API void ORV_CALL ORV_FindDataExtentsLayer(int32_t layer, int32_t* left, int32_t* top, int32_t* right, int32_t* bottom) {
    Extents e;
    if (!findDataExtents(engine(), layer, e)) return;
    if (left) *left = e.left;
    if (top) *top = e.top;
    if (right) *right = e.right;
    if (bottom) *bottom = e.bottom;
}

}  // extern "C"
