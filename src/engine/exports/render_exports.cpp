// Display rendering entry point.
#include "composite/render.h"
#include "engine/exports/guard.h"

using namespace orv;

extern "C" {

ORV_API void ORV_CALL ORV_Render(void* dst, int32_t dstStride, int32_t x, int32_t y, int32_t width, int32_t height) {
    guarded(nullptr, [&] { render(engine(), {static_cast<uint8_t*>(dst), dstStride, x, y, width, height}); });
}

}  // extern "C"
