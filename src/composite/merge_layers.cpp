// The merge operations on layers: whole layers, rectangles of the flattened page, the
// paint layer's stroke and 32-bit results put back into a layer.
#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "brush/paint_layer_clear.h"
#include "composite/blend_modes.h"
#include "composite/merge.h"
#include "engine/buffer.h"
#include "engine/engine_state.h"

namespace orv {

namespace {

size_t pageValues(const EngineState& s) noexcept { return s.page.pixelCount() * 4; }

// The slot when it holds a page-sized layer, else null.
template <class State>
auto* pageLayer(State& s, int32_t layer) noexcept {
    decltype(&s.layers.slots[0]) none = nullptr;
    if (!LayerTable::validIndex(layer)) return none;
    auto& l = s.layers.slots[layer];
    return l.present() && l.pixels.size() >= pageValues(s) && pageValues(s) > 0 ? &l : none;
}

MergeParams pageMerge(const EngineState& s, const LayerRecord& src, uint16_t* dst) {
    MergeParams p;
    p.src = src.pixels.data();
    p.width = s.page.pageWidth, p.height = s.page.pageHeight;
    p.srcStride = p.dstStride = static_cast<size_t>(s.page.pageStride);
    p.srcLength = p.dstLength = pageValues(s);
    p.dst = dst;
    p.mode = src.blendMode;
    p.opacity = src.opacity;
    return p;
}

void setLayerMask(const EngineState& s, MergeParams& p, int32_t layer) {
    if (const int32_t m = findLayerMask(s, layer); m != 0)
        if (const LayerRecord* ml = pageLayer(s, m)) p.mask = ml->pixels.data(), p.maskMode = kBlendLayerMask;
}

struct Clip {
    int32_t x, y, w, h;  // page rectangle inside the page
    int32_t ox, oy;      // its offset inside the caller's rectangle
};
// The part of (x, y, w, h) inside the page; w or h not positive when none.
Clip clipToPage(const EngineState& s, int32_t x, int32_t y, int32_t w, int32_t h) {
    const int64_t x0 = std::max<int64_t>(x, 0), y0 = std::max<int64_t>(y, 0);
    const int64_t x1 = std::min<int64_t>(int64_t{x} + w, s.page.pageWidth), y1 = std::min<int64_t>(int64_t{y} + h, s.page.pageHeight);
    return {static_cast<int32_t>(x0), static_cast<int32_t>(y0), static_cast<int32_t>(std::max<int64_t>(x1 - x0, 0)),
            static_cast<int32_t>(std::max<int64_t>(y1 - y0, 0)), static_cast<int32_t>(x0 - x), static_cast<int32_t>(y0 - y)};
}

}  // namespace

int32_t findLayerMask(const EngineState& s, int32_t layer) noexcept {
    if (!LayerTable::validIndex(layer)) return 0;
    for (int32_t i = layer + 1; i <= std::min(s.layers.topLayerNumber, kLayerCount - 1); ++i) {
        const LayerRecord& l = s.layers.slots[i];
        if (l.present() && l.visible) return l.blendMode == kBlendLayerMask ? i : 0;
    }
    return 0;
}

void mergeLayer(EngineState& s, int32_t source, int32_t destination) {
    const LayerRecord* src = pageLayer(s, source);
    LayerRecord* dst = pageLayer(s, destination);
    if (!src || !dst) return;
    MergeParams p = pageMerge(s, *src, dst->pixels.data());
    setLayerMask(s, p, source);
    p.sameAlphaMode = src->blendMode == dst->blendMode && src->blendMode > 20;
    mergeBuffer(p);
}

// The layer's rectangle merged into a width x height packed buffer. Only the part of the
// rectangle inside the page is read; it lands at its place in dst.
void mergeLayerIntoRect(EngineState& s, int32_t layer, uint16_t* dst, int32_t x, int32_t y, int32_t width, int32_t height) {
    const LayerRecord* src = pageLayer(s, layer);
    if (!src || !dst || width <= 0 || height <= 0) return;
    const Clip c = clipToPage(s, x, y, width, height);
    if (c.w <= 0 || c.h <= 0) return;
    MergeParams p = pageMerge(s, *src, dst);
    setLayerMask(s, p, layer);
    p.srcX = c.x, p.srcY = c.y, p.width = c.w, p.height = c.h;
    p.dstX = c.ox, p.dstY = c.oy;
    p.dstStride = static_cast<size_t>(width) * 4;
    p.dstLength = checkedSize(width, height, 4);
    mergeBuffer(p);
}

void mergeRect(EngineState& s, uint16_t* dst, int32_t x, int32_t y, int32_t width, int32_t height) {
    if (!dst || width <= 0 || height <= 0) return;
    const size_t stride = static_cast<size_t>(width) * 4;
    std::memset(dst, 0, checkedSize(width, height, 8));
    const Clip c = clipToPage(s, x, y, width, height);
    if (c.w <= 0 || c.h <= 0) return;
    // Slot 1 is copied as it is (its alpha, opacity and mode are not applied).
    const LayerRecord* bg = pageLayer(s, kBackgroundLayer);
    if (bg && bg->visible == 1)
        for (int32_t j = 0; j < c.h; ++j)
            std::memcpy(dst + static_cast<size_t>(c.oy + j) * stride + static_cast<size_t>(c.ox) * 4,
                        bg->pixels.data() + static_cast<size_t>(c.y + j) * s.page.pageStride + static_cast<size_t>(c.x) * 4,
                        static_cast<size_t>(c.w) * 8);
    for (int32_t slot = 2; slot < kLayerCount; ++slot) {
        const LayerRecord& l = s.layers.slots[slot];
        if (l.present() && l.visible) mergeLayerIntoRect(s, slot, dst, x, y, width, height);
    }
}

void mergePaintLayer(EngineState& s, int32_t layer) {
    LayerRecord& paint = s.brush.paintLayer;
    LayerRecord* dst = pageLayer(s, layer);
    if (!paint.present() || !dst) return;
    if (paint.pixels.size() >= pageValues(s)) {
        const Clip c = clipToPage(s, paint.dirtyLeft, paint.dirtyTop, paint.dirtyRight - paint.dirtyLeft, paint.dirtyBottom - paint.dirtyTop);
        if (c.w > 0 && c.h > 0) {
            MergeParams p = pageMerge(s, paint, dst->pixels.data());
            p.srcX = p.dstX = c.x, p.srcY = p.dstY = c.y, p.width = c.w, p.height = c.h;
            mergeBuffer(p);
        }
    }
    clearPaintLayer(s.brush, s.page);
}

bool mergeBufferIntoLayer(const EngineState& s, const uint8_t* src, LayerRecord& layer, int32_t mode, uint32_t opacity,
                          bool keepAlpha) noexcept {
    const size_t n = pageValues(s);
    if (!src || !layer.present() || layer.pixels.size() < n || n == 0) return false;
    // Converted one row at a time: the same pixels as a whole-page conversion, far less memory.
    std::vector<uint16_t> row;
    try {
        row.resize(static_cast<size_t>(s.page.pageStride));
    } catch (const std::bad_alloc&) {
        return false;
    }
    MergeParams p;
    p.src = row.data();
    p.width = s.page.pageWidth, p.height = 1;
    p.srcStride = p.dstStride = static_cast<size_t>(s.page.pageStride);
    p.srcLength = row.size();
    p.dst = layer.pixels.data();
    p.dstLength = n;
    p.mode = mode, p.opacity = opacity, p.keepAlpha = keepAlpha;
    for (int32_t y = 0; y < s.page.pageHeight; ++y) {
        const uint8_t* in = src + static_cast<size_t>(y) * row.size();
        for (size_t i = 0; i < row.size(); ++i) row[i] = static_cast<uint16_t>(in[i] << 8);
        p.dstY = y;
        mergeBuffer(p);
    }
    return true;
}

}  // namespace orv
