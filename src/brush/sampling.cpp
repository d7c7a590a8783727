#include "brush/sampling.h"

#include <algorithm>

#include "composite/merge.h"
#include "engine/engine_state.h"
#include "engine/page_access.h"

namespace orv {

int32_t packRGBA(const uint16_t* px) noexcept {
    const uint32_t v = (static_cast<uint32_t>(px[0] >> 8) << 24) | (static_cast<uint32_t>(px[1] >> 8) << 16) |
                       (static_cast<uint32_t>(px[2] >> 8) << 8) | static_cast<uint32_t>(px[3] >> 8);
    return static_cast<int32_t>(v);
}

int32_t packColour(const uint16_t* px) noexcept {
    if ((px[3] >> 8) == 0) return -1;
    return static_cast<int32_t>((static_cast<uint32_t>(px[0] >> 8) << 16) | (static_cast<uint32_t>(px[1] >> 8) << 8) |
                                static_cast<uint32_t>(px[2] >> 8));
}

const uint16_t* clampedPagePixel(const PageGeometry& g, const uint16_t* pixels, int32_t x, int32_t y) noexcept {
    if (!pixels || g.pageWidth <= 0 || g.pageHeight <= 0) return nullptr;
    x = std::clamp(x, 0, g.pageWidth - 1);
    y = std::clamp(y, 0, g.pageHeight - 1);
    return pixels + (static_cast<size_t>(y) * g.pageWidth + x) * 4;
}

const uint16_t* samplePixels(EngineState& s, SampleSource src, int32_t layer) noexcept {
    switch (src) {
        case SampleSource::Surface: return pageView(s.page, s.layers.currentLayer).pixels;
        case SampleSource::Layer: return pageView(s.page, s.layers.presentLayer(layer)).pixels;
        case SampleSource::UnderLayer: {
            const Buffer<uint16_t>& b = s.undo.backPixels;
            return b && b.size() >= s.page.pixelCount() * 4 ? b.data() : nullptr;
        }
        case SampleSource::Trace: return pageView(s.page, s.layers.presentLayer(kTracingLayer)).pixels;
    }
    return nullptr;
}

int32_t currentLayerChannel(EngineState& s, int32_t x, int32_t y, int channel) noexcept {
    const PageLayerView v = pageView(s.page, s.layers.currentLayer);
    if (!v || x < 0 || y < 0 || x >= v.width || y >= v.height || channel < 0 || channel > 3) return 0;
    return v.row(y)[static_cast<size_t>(x) * 4 + channel];
}

int32_t colourAtHistory(EngineState& s, int32_t x, int32_t y) noexcept {
    const UndoState& u = s.undo;
    if (u.undoPosition < 0 || u.undoPosition >= u.undoLevels || !u.entries[u.undoPosition].inUse()) return 0;
    const uint16_t* px = clampedPagePixel(s.page, samplePixels(s, SampleSource::UnderLayer), x, y);
    return px ? packColour(px) : 0;
}

int32_t colourAtMerged(EngineState& s, int32_t x, int32_t y) {
    uint16_t pixel[4];
    mergeRect(s, pixel, x, y, 1, 1);
    const uint16_t* px = clampedPagePixel(s.page, pixel, 0, 0);
    return px ? packColour(px) : 0;
}

}  // namespace orv
