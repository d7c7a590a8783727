// Merging entry points.
#include "composite/merge.h"
#include "engine/exports/guard.h"

using namespace orv;

extern "C" {

ORV_API void ORV_CALL ORV_MergeLayer(int32_t source, int32_t destination) {
    guarded(nullptr, [&] { mergeLayer(engine(), source, destination); });
}
ORV_API void ORV_CALL ORV_MergeLayerIntoRect(int32_t layer, void* dst, int32_t x, int32_t y, int32_t width, int32_t height) {
    guarded(nullptr, [&] { mergeLayerIntoRect(engine(), layer, static_cast<uint16_t*>(dst), x, y, width, height); });
}
ORV_API void ORV_CALL ORV_MergeLayerInto(int32_t layer, void* dst) {
    guarded(nullptr, [&] {
        mergeLayerIntoRect(engine(), layer, static_cast<uint16_t*>(dst), 0, 0, engine().page.pageWidth, engine().page.pageHeight);
    });
}
ORV_API void ORV_CALL ORV_MergeRect(void* dst, int32_t x, int32_t y, int32_t width, int32_t height) {
    guarded(nullptr, [&] { mergeRect(engine(), static_cast<uint16_t*>(dst), x, y, width, height); });
}
ORV_API void ORV_CALL ORV_Merge(void* dst) {
    guarded(nullptr, [&] { mergeRect(engine(), static_cast<uint16_t*>(dst), 0, 0, engine().page.pageWidth, engine().page.pageHeight); });
}
ORV_API void ORV_CALL ORV_MergePaintLayer(int32_t layer) {
    guarded(nullptr, [&] { mergePaintLayer(engine(), layer); });
}

}  // extern "C"
