// Brush-shape, blob-layer and spline-point entry points.
#include "brush/blob.h"
#include "brush/shape.h"
#include "brush/spline.h"
#include "engine/exports/guard.h"

using namespace orv;

extern "C" {

ORV_API void ORV_CALL ORV_SetBrushShape(const char* path, int32_t angle) {
    guarded(err::SetBrushShape, [&] { setBrushShape(engine(), {path, angle, false}); });
}
ORV_API void ORV_CALL ORV_SetBrushShape_ORIGINAL(const char* path, int32_t angle) {
    guarded(err::SetBrushShape, [&] { setBrushShape(engine(), {path, angle, true}); });
}
ORV_API void ORV_CALL ORV_CreateBlobFromImage(int32_t layer, int32_t mode) {
    guarded(nullptr, [&] { createBlobFromImage(engine(), layer, mode); });
}

ORV_API int32_t ORV_CALL ORV_CalcSpline3(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t) {
    return calcSpline3(engine().brush.spline, uint32_t(x0), uint32_t(y0), uint32_t(x1), uint32_t(y1), uint32_t(x2),
                       uint32_t(y2));
}
ORV_API int32_t ORV_CALL ORV_GetSplinePointCount(void) { return engine().brush.spline.count; }
ORV_API int32_t ORV_CALL ORV_GetSplinePointX(int32_t index) { return splinePointX(engine().brush.spline, index); }
ORV_API int32_t ORV_CALL ORV_GetSplinePointY(int32_t index) { return splinePointY(engine().brush.spline, index); }

}  // extern "C"
