// Page-addressed views of the layer, mask and texture buffers.
//
// Most pixel operations address a layer with the page's geometry: pageHeight rows of
// pageStride 16-bit values. A layer left at an older, smaller size after a page re-size
// cannot be read that way; the views below are empty for it, so operations skip it instead
// of reading or writing past its end.
#pragma once
#include <cstddef>
#include <cstdint>

#include "engine/engine_state.h"

namespace orv {

// pageHeight rows of pageWidth RGBA64 pixels, rows pageStride values apart.
struct PageLayerView {
    uint16_t* pixels = nullptr;
    int32_t width = 0, height = 0;
    size_t stride = 0;  // in 16-bit values

    explicit operator bool() const noexcept { return pixels != nullptr; }
    uint16_t* row(int32_t y) const noexcept { return pixels + static_cast<size_t>(y) * stride; }
};

inline PageLayerView pageView(const PageGeometry& g, LayerRecord* l) noexcept {
    if (!l || !l->present() || g.pageWidth <= 0 || g.pageHeight <= 0) return {};
    const size_t stride = static_cast<size_t>(g.pageWidth) * 4;
    if (l->pixels.size() < stride * static_cast<size_t>(g.pageHeight)) return {};
    return {l->pixels.data(), g.pageWidth, g.pageHeight, stride};
}

// A page-sized per-pixel buffer (mask values or texture bytes) when it holds at least one
// value per page pixel, else null.
template <class T>
const T* pagePlane(const PageGeometry& g, const Buffer<T>& b) noexcept {
    return b && b.size() >= g.pixelCount() ? b.data() : nullptr;
}

}  // namespace orv
