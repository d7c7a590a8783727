#include "undo/undo.h"

#include <cstring>

#include "engine/engine_state.h"

namespace orv {

namespace {
void copyBackBuffers(EngineState& s, const LayerRecord* layer) {
    const size_t n = s.page.pixelCount();
    if (layer && layer->present() && s.undo.backPixels && layer->width == s.page.pageWidth &&
        layer->height == s.page.pageHeight && s.undo.backPixels.size() >= n * 4)
        std::memcpy(s.undo.backPixels.data(), layer->pixels.data(), n * 8);
    if (s.mask.maskBuffer && s.undo.backMask && s.undo.backMask.size() >= n && s.mask.maskBuffer.size() >= n)
        std::memcpy(s.undo.backMask.data(), s.mask.maskBuffer.data(), n * 2);
}
}  // namespace

void clearUndo(EngineState& s) {
    s.undo.dirtyRect.setEmpty(s.page.pageWidth, s.page.pageHeight);
    copyBackBuffers(s, s.layers.currentLayer);
}

void releaseUndoEntries(EngineState&) {}

void saveUndoBackBuffer(EngineState& s, int layer) {
    if (s.undo.paused || !LayerTable::validIndex(layer)) return;
    copyBackBuffers(s, &s.layers.slots[layer]);
}

bool reduceUndo(EngineState&, int32_t) { return false; }

}  // namespace orv
