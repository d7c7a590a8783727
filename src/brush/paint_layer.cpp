#include "brush/paint_layer.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "composite/blend_modes.h"
#include "engine/engine_state.h"
#include "engine/layer_table.h"
#include "brush/paint_layer_clear.h"
#include "imaging/blur8.h"

namespace orv {

namespace {

void setEmptyRect(LayerRecord& pl, const PageGeometry& g) noexcept {
    pl.dirtyLeft = g.pageWidth;
    pl.dirtyTop = g.pageHeight;
    pl.dirtyRight = 0;
    pl.dirtyBottom = 0;
}

bool coversPage(const LayerRecord& l, const PageGeometry& g) { return l.pixels.size() >= g.pixelCount() * 4; }

}  // namespace

void createPaintLayer(EngineState& s, int32_t opacityPercent, const char* blendName) {
    LayerRecord& pl = s.brush.paintLayer;
    const PageGeometry& g = s.page;
    if (!pl.present()) {
        pl.pixels.allocate(checkedSize(g.pageWidth, g.pageHeight, 4));
        pl.width = g.pageWidth;
        pl.height = g.pageHeight;
        pl.stride = g.pageWidth * 4;
        clearPaintLayer(s.brush, s.page);
    }
    if (blendName && std::strlen(blendName) < 50) std::strcpy(pl.blendName, blendName);
    pl.visible = 1;
    pl.lockAlpha = 0;
    pl.opacity = opacityFromPercent(opacityPercent);
    pl.blendMode = blendModeFromName(blendName);
}

void clearPaintLayerOld(EngineState& s) noexcept {
    LayerRecord& pl = s.brush.paintLayer;
    if (!pl.present()) return;
    pl.pixels.fillBytes(0xFF);
    const int32_t l = std::max(pl.dirtyLeft, 0), t = std::max(pl.dirtyTop, 0);
    const int32_t r = std::min(pl.dirtyRight, pl.width), b = std::min(pl.dirtyBottom, pl.height);
    for (int32_t y = t; y < b; ++y)
        if (r > l) std::memset(pl.pixels.data() + (static_cast<size_t>(y) * pl.stride + static_cast<size_t>(l) * 4), 0, static_cast<size_t>(r - l) * 8);
    setEmptyRect(pl, s.page);
}

void deletePaintLayer(EngineState& s) noexcept { s.brush.paintLayer.pixels.release(); }

void blurPaintLayerAlpha(EngineState& s) {
    LayerRecord& pl = s.brush.paintLayer;
    const PageGeometry& g = s.page;
    if (!pl.present() || !coversPage(pl, g)) return;
    const size_t n = g.pixelCount();
    std::vector<uint8_t> alpha(n), blurred(n);
    uint16_t* p = pl.pixels.data();
    for (size_t i = 0; i < n; ++i) alpha[i] = static_cast<uint8_t>(p[i * 4 + 3] >> 8);
    blurGray8(alpha.data(), blurred.data(), g.pageWidth, g.pageHeight);
    for (size_t i = 0; i < n; ++i) p[i * 4 + 3] = alpha[i] >= 240 ? 65535 : static_cast<uint16_t>(blurred[i] << 8);
}

}  // namespace orv
