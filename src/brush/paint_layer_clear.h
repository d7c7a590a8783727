// Clearing the paint layer: every pixel transparent black and the dirty rectangle empty
// (pageWidth, pageHeight, 0, 0). Used after a stroke is merged into its layer.
#pragma once
#include "brush/brush_state.h"
#include "engine/page.h"

namespace orv {

inline void clearPaintLayer(BrushState& b, const PageGeometry& page) noexcept {
    LayerRecord& l = b.paintLayer;
    if (!l.present()) return;
    l.pixels.fillBytes(0);
    l.dirtyLeft = page.pageWidth, l.dirtyTop = page.pageHeight, l.dirtyRight = 0, l.dirtyBottom = 0;
}

}  // namespace orv
