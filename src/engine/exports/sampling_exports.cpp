// Colour sampling entry points.
#include "brush/sampling.h"
#include "engine/exports/guard.h"

using namespace orv;

namespace {
int32_t rgbaFrom(const uint16_t* pixels, int32_t x, int32_t y) {
    const uint16_t* px = clampedPagePixel(engine().page, pixels, x, y);
    return px ? packRGBA(px) : 0;
}
int32_t colourFrom(const uint16_t* pixels, int32_t x, int32_t y) {
    const uint16_t* px = clampedPagePixel(engine().page, pixels, x, y);
    return px ? packColour(px) : 0;
}
const uint16_t* source(SampleSource src, int32_t layer = 0) { return samplePixels(engine(), src, layer); }
}  // namespace

extern "C" {

ORV_API int32_t ORV_CALL ORV_GetRed64(int32_t x, int32_t y) { return currentLayerChannel(engine(), x, y, 0); }
ORV_API int32_t ORV_CALL ORV_GetGreen64(int32_t x, int32_t y) { return currentLayerChannel(engine(), x, y, 1); }
ORV_API int32_t ORV_CALL ORV_GetBlue64(int32_t x, int32_t y) { return currentLayerChannel(engine(), x, y, 2); }
ORV_API int32_t ORV_CALL ORV_GetAlpha64(int32_t x, int32_t y) { return currentLayerChannel(engine(), x, y, 3); }

ORV_API int32_t ORV_CALL ORV_GetRGBAAt(int32_t x, int32_t y, const uint16_t* pixels) { return rgbaFrom(pixels, x, y); }
ORV_API int32_t ORV_CALL ORV_GetRGBAAtSurface(int32_t x, int32_t y) { return rgbaFrom(source(SampleSource::Surface), x, y); }
ORV_API int32_t ORV_CALL ORV_GetRGBAAtLayer(int32_t x, int32_t y, int32_t layer) {
    return rgbaFrom(source(SampleSource::Layer, layer), x, y);
}
ORV_API int32_t ORV_CALL ORV_GetRGBAAtUnderLayer(int32_t x, int32_t y) { return rgbaFrom(source(SampleSource::UnderLayer), x, y); }
ORV_API int32_t ORV_CALL ORV_GetRGBAAtTrace(int32_t x, int32_t y) { return rgbaFrom(source(SampleSource::Trace), x, y); }

ORV_API int32_t ORV_CALL ORV_GetColorAt(int32_t x, int32_t y, const uint16_t* pixels) { return colourFrom(pixels, x, y); }
ORV_API int32_t ORV_CALL ORV_GetColorAtSurface(int32_t x, int32_t y) { return colourFrom(source(SampleSource::Surface), x, y); }
ORV_API int32_t ORV_CALL ORV_GetColorAtLayer(int32_t x, int32_t y, int32_t layer) {
    return colourFrom(source(SampleSource::Layer, layer), x, y);
}
ORV_API int32_t ORV_CALL ORV_GetColorAtUnderLayer(int32_t x, int32_t y) { return colourFrom(source(SampleSource::UnderLayer), x, y); }
ORV_API int32_t ORV_CALL ORV_GetColorAtTrace(int32_t x, int32_t y) { return colourFrom(source(SampleSource::Trace), x, y); }
ORV_API int32_t ORV_CALL ORV_GetColorAtHistory(int32_t x, int32_t y) { return colourAtHistory(engine(), x, y); }
ORV_API int32_t ORV_CALL ORV_GetColorAtMerged(int32_t x, int32_t y) {
    return guarded(err::GetColorAtMerged, 0, [&] { return colourAtMerged(engine(), x, y); });
}

}  // extern "C"
