// Page, view and error-text entry points.
#include <cstring>

#include "engine/exports/guard.h"
#include "engine/page_lifecycle.h"
#include "platform/display_watch.h"

using namespace orv;

extern "C" {

ORV_API void ORV_CALL ORV_CreateImage(void* owner, int32_t w, int32_t h, int32_t b, int32_t r) {
    guarded(err::CreateImage, [&] { createImage(engine(), {owner, w, h, b, r}); });
}
ORV_API void ORV_CALL ORV_NewSize(void* owner, int32_t w, int32_t h, int32_t b, int32_t r) {
    guarded(err::NewSize, [&] { newSize(engine(), {owner, w, h, b, r}); });
}
ORV_API void ORV_CALL ORV_DeleteImage(void) {
    guarded(err::DeleteImage, [&] { deleteImage(engine()); });
}
ORV_API void ORV_CALL ORV_SetScale(int32_t scale, float zoom) {
    engine().view.viewScale = scale;
    engine().view.viewZoom = zoom;
}
ORV_API void ORV_CALL ORV_SetOffset(int32_t x, int32_t y) {
    engine().view.viewOffsetX = x;
    engine().view.viewOffsetY = y;
}
ORV_API void ORV_CALL ORV_SetViewSize(int32_t w, int32_t h) {
    engine().view.viewWidth = w;
    engine().view.viewHeight = h;
}
ORV_API void ORV_CALL ORV_SetTracingMode(uint8_t on) { engine().view.tracingMode = on; }
ORV_API void ORV_CALL ORV_SetStartDir(const char* path) {
    if (path && std::strlen(path) < sizeof(engine().settings.startDirectory))
        std::strcpy(engine().settings.startDirectory, path);
}
ORV_API void ORV_CALL ORV_SetRandomSeed(uint32_t seed) {
    engine().settings.randomSeed = seed;
    engine().brush.random.seed(seed);
}
ORV_API void ORV_CALL ORV_SetGrid(int32_t) {}
ORV_API void ORV_CALL ORV_SetGridSpacing(int32_t) {}
ORV_API void ORV_CALL ORV_SetLastError(const char* text) { engine().lastError.set(text); }
ORV_API const char* ORV_CALL ORV_GetLastError(void) { return engine().lastError.text; }
ORV_API int32_t ORV_CALL ORV_IsDisplayChanged(void) { return takeDisplayChanged() ? 1 : 0; }

}  // extern "C"
