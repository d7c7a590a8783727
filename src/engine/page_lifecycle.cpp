#include "engine/page_lifecycle.h"

#include "brush/page_buffers.h"
#include "engine/engine_state.h"
#include "engine/layer_table.h"
#include "undo/undo.h"

namespace orv {

namespace {

void resetView(ViewSettings& v) {
    v.viewScale = 1;
    v.viewZoom = 1.0f;
    v.viewOffsetX = v.viewOffsetY = 0;
}

void allocateMask(EngineState& s) {
    s.mask.maskBuffer.allocate(s.page.pixelCount());
    s.mask.maskBuffer.fillBytes(0xFF);
    s.mask.maskStride = s.page.pageWidth * 2;
    s.mask.maskActive = 1;
    s.view.tracingMode = 0;
}

void allocateBackBuffers(EngineState& s) {
    s.undo.backPixels.allocate(checkedSize(s.page.pageWidth, s.page.pageHeight, 4));
    s.undo.backMask.allocate(s.page.pixelCount());
}

int32_t backBufferKB(const PageGeometry& g) {
    return static_cast<int32_t>((static_cast<long long>(g.pageWidth) * g.pageHeight * 10) / 1024);
}

// Releases the page buffers that both re-sizing and deleting drop, in the engine's order.
void releasePageBuffers(EngineState& s) {
    s.mask.maskBuffer.release();
    s.brush.textureBuffer.release();
    s.undo.backPixels.release();
    s.undo.backMask.release();
    releaseUndoEntries(s);
    clearUndo(s);
    s.undo.undoUsedKB = 0;
    releaseBrushBuffers(s);
}

}  // namespace

void createImage(EngineState& s, const PageParams& p) {
    PageGeometry& g = s.page;
    g.pageWidth = clampPageSide(p.width);
    g.pageHeight = clampPageSide(p.height);
    g.pageStride = g.pageWidth * 4;
    g.ownerWindow = p.ownerWindow;
    g.maxBrushSize = p.maxBrushSize;
    g.brushStride = p.maxBrushSize * 4;
    g.reserved = p.reserved;
    resetView(s.view);

    for (auto& layer : s.layers.slots) layer.pixels.release();
    s.layers.currentLayer = nullptr;

    allocateBrushBuffers(s);
    // Only the first B x B x 2 bytes of the blend buffer start zeroed.
    {
        const size_t n = s.brush.blendBuffer.size() / 4;
        for (size_t i = 0; i < n; ++i) s.brush.blendBuffer[i] = 0;
    }
    allocateMask(s);
    allocateBackBuffers(s);
    clearUndo(s);
    s.undo.undoUsedKB = backBufferKB(g);
    makePageRandomArrays(s);
    s.effects.work.releaseAll();
}

void newSize(EngineState& s, const PageParams& p) {
    PageGeometry& g = s.page;
    g.pageHeight = clampPageSide(p.height);
    g.ownerWindow = p.ownerWindow;
    g.pageWidth = clampPageSide(p.width);

    releasePageBuffers(s);
    s.effects.work.releaseAll();

    g.pageStride = g.pageWidth * 4;
    g.brushStride = p.maxBrushSize * 4;
    g.maxBrushSize = p.maxBrushSize;
    g.reserved = p.reserved;
    resetView(s.view);

    allocateBrushBuffers(s);
    allocateMask(s);
    allocateBackBuffers(s);
    clearUndo(s);
    s.undo.undoUsedKB = backBufferKB(g);
    makePageRandomArrays(s);
}

void deleteImage(EngineState& s) {
    releasePageBuffers(s);
    for (int i = 0; i < kLayerCount; ++i) deleteLayer(s.layers, i);
    s.effects.work.releaseAll();
}

}  // namespace orv
