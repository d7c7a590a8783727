#include "engine/layer_table.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "brush/page_buffers.h"
#include "composite/blend_modes.h"
#include "engine/engine_state.h"
#include "undo/undo.h"

namespace orv {

namespace {

// Bytes a page-addressed layer copy moves, or 0 when the layer is smaller than the page
// (a layer left at an old size after a re-size is never read past its end).
size_t pageBytesFor(const EngineState& s, const LayerRecord& l) {
    const size_t n = s.page.pixelCount() * 4;
    return l.pixels.size() >= n ? n * sizeof(uint16_t) : 0;
}

void releaseTextureIfTexturize3(EngineState& s, const LayerRecord& l) {
    if (l.blendMode == kBlendTexturize3 && s.brush.textureBuffer) s.brush.textureBuffer.release();
}

}  // namespace

bool createLayer(EngineState& s, int layer, int32_t width, int32_t height) {
    if (!LayerTable::validIndex(layer) || width < 0 || height < 0) return false;
    LayerRecord& l = s.layers.slots[layer];
    if (l.present() && (l.width != width || l.height != height)) l.pixels.release();
    l.width = width;
    l.height = height;
    l.stride = width * 4;
    if (!l.present()) {
        const size_t n = checkedSize(width, height, 4);
        const int32_t kb = static_cast<int32_t>(std::min<long long>((static_cast<long long>(width) * height * 8) / 1024, INT32_MAX));
        for (;;) {
            try {
                l.pixels.allocate(n);
                break;
            } catch (const std::bad_alloc&) {
                if (!reduceUndo(s, kb)) break;
            }
        }
        if (!l.present()) return false;
    }
    l.pixels.fillBytes(layer == kBackgroundLayer ? 0xFF : 0x00);
    return true;
}

void deleteLayer(LayerTable& t, int layer) noexcept {
    if (LayerTable::validIndex(layer)) t.slots[layer].pixels.release();
}

LayerRecord* currentLayerIfPresent(EngineState& s) noexcept {
    LayerRecord* l = s.layers.currentLayer;
    return l && l->present() ? l : nullptr;
}

void setLayer(EngineState& s, int layer) {
    LayerRecord* l = s.layers.presentLayer(layer);
    if (!l) return;
    releaseTextureIfTexturize3(s, *l);
    LayerRecord* prev = s.layers.currentLayer;
    if (prev && prev != l && prev->visible && prev->blendMode == kBlendTexturize3)
        createTexture(s, static_cast<int>(prev - s.layers.slots.data()));
    s.layers.currentLayer = l;
    s.layers.currentLayerNumber = layer;
    saveUndoBackBuffer(s, layer);
}

uint16_t opacityFromPercent(int32_t percent) noexcept {
    percent = std::clamp(percent, 0, 100);
    return static_cast<uint16_t>(static_cast<int32_t>(percent * 2.56));
}

void recomputeTopLayer(LayerTable& t) noexcept {
    t.topLayerNumber = 1;
    for (int i = 1; i < kLayerCount; ++i)
        if (t.slots[i].present()) t.topLayerNumber = i;
}

void setLayerOptions(EngineState& s, int layer, const LayerOptions& o) {
    if (!LayerTable::validIndex(layer)) return;
    LayerRecord& l = s.layers.slots[layer];
    releaseTextureIfTexturize3(s, l);
    l.visible = o.visible;
    l.lockAlpha = o.lockAlpha;
    l.opacity = opacityFromPercent(o.opacityPercent);
    l.blendName[0] = 0;
    if (o.blendName && std::strlen(o.blendName) < 50) std::strcpy(l.blendName, o.blendName);
    l.blendMode = blendModeFromName(o.blendName);
    recomputeTopLayer(s.layers);
    if (&l != s.layers.currentLayer && l.visible && l.blendMode == kBlendTexturize3) createTexture(s, layer);
}

void swapLayers(LayerTable& t, int a, int b) noexcept {
    if (!LayerTable::validIndex(a) || !LayerTable::validIndex(b) || a == b) return;
    std::swap(t.slots[a], t.slots[b]);
}

int32_t layerCount(const LayerTable& t) noexcept {
    return static_cast<int32_t>(std::count_if(t.slots.begin(), t.slots.end(), [](const LayerRecord& l) { return l.present(); }));
}

void getLayerData(EngineState& s, void* dst, int layer) noexcept {
    LayerRecord* l = s.layers.presentLayer(layer);
    if (!l || !dst) return;
    std::memcpy(dst, l->pixels.data(), pageBytesFor(s, *l));
}

void setLayerData(EngineState& s, const void* src, int layer) noexcept {
    LayerRecord* l = s.layers.presentLayer(layer);
    if (!l || !src) return;
    std::memcpy(l->pixels.data(), src, pageBytesFor(s, *l));
}

void copyLayerData(EngineState& s, int from, int to) noexcept {
    LayerRecord* a = s.layers.presentLayer(from);
    LayerRecord* b = s.layers.presentLayer(to);
    if (!a || !b || a == b) return;
    std::memcpy(b->pixels.data(), a->pixels.data(), std::min(pageBytesFor(s, *a), pageBytesFor(s, *b)));
}

bool findDataExtents(EngineState& s, int layer, Extents& e) noexcept {
    LayerRecord* l = s.layers.presentLayer(layer);
    if (!l) return false;
    const int32_t w = s.page.pageWidth, h = s.page.pageHeight;
    e = {w, h, 0, 0};
    if (!pageBytesFor(s, *l)) return true;
    const uint16_t* p = l->pixels.data();
    for (int32_t y = 0; y < h; ++y) {
        const uint16_t* row = p + static_cast<size_t>(y) * w * 4;
        for (int32_t x = 0; x < w; ++x) {
            if (row[x * 4 + 3] == 0) continue;
            e.left = std::min(e.left, x);
            e.top = std::min(e.top, y);
            e.right = std::max(e.right, x);
            e.bottom = std::max(e.bottom, y);
        }
    }
    return true;
}

}  // namespace orv
