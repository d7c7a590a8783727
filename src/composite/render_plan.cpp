#include "composite/render_plan.h"

#include <algorithm>
#include <cmath>

#include "engine/engine_state.h"

namespace orv {

namespace {

// A layer the compositor may address with page coordinates: it holds pixels and is at
// least page-sized (a layer left smaller by a re-size is never read past its end).
bool pageSized(const LayerRecord& l, size_t pageValues) noexcept { return l.present() && l.pixels.size() >= pageValues; }

void buildList(const EngineState& s, RenderPlan& p, const LayerRecord& cur, size_t pageValues) {
    const LayerRecord& paint = s.brush.paintLayer;
    const bool paintExists = pageSized(paint, pageValues);
    const LayerRecord* rec[64];
    for (int slot = 1; slot < kLayerCount; ++slot) {
        const LayerRecord& l = s.layers.slots[slot];
        if (pageSized(l, pageValues) && l.visible && l.blendMode != kBlendTexturize3) {
            if (slot == kBackgroundLayer) p.background = true;
            rec[p.count] = &l;
            p.entries[p.count++] = {l.pixels.data(), l.blendMode, l.opacity, nullptr, false};
        }
        if (paintExists && l.present() && l.pixels.data() == cur.pixels.data()) {
            rec[p.count] = &paint;
            p.entries[p.count++] = {paint.pixels.data(), paint.blendMode, paint.opacity, nullptr, true};
        }
    }
    // The layer-mask partner of each entry: the next entry, or the one after the paint
    // layer for the current layer (unless the paint layer is the top entry).
    for (int k = 0; k < p.count; ++k) {
        int n = k + 1;
        if (paintExists && !p.entries[k].paint && p.entries[k].pixels == cur.pixels.data() && n != p.count - 1) n = k + 2;
        if (n < p.count && rec[n]->blendMode == kBlendLayerMask && rec[n]->visible) p.entries[k].maskPixels = p.entries[n].pixels;
    }
}

// Reduction stepping: acc starts at 0, after each step acc += z, the position advances
// by trunc(acc) and acc keeps the fraction. Stops before leaving [start, end).
void reductionSteps(std::vector<int32_t>& out, int32_t start, int32_t end, float z, int32_t count) {
    out.clear();
    out.reserve(static_cast<size_t>(count));
    float acc = 0.0f;
    int64_t pos = start;
    for (int32_t i = 0; i < count && pos < end; ++i) {
        out.push_back(static_cast<int32_t>(pos));
        acc = acc + z;
        const float step = std::trunc(acc);
        acc = acc - step;
        pos += static_cast<int64_t>(step);
    }
}

// trunc(size x (1.0 / z) + start - 1.0) - start + 1, cut to [0, limit].
int32_t reducedCount(int32_t size, int32_t start, float z, int32_t limit) {
    const double last = std::trunc(size * (1.0 / z) + start - 1.0);
    const double n = last - start + 1.0;
    if (!(n > 0.0)) return 0;
    return static_cast<int32_t>(std::min(n, static_cast<double>(limit)));
}

bool mapView(const EngineState& s, RenderPlan& p) {
    const ViewSettings& v = s.view;
    const float scale = static_cast<float>(v.viewScale);
    if (scale == v.viewZoom) {
        p.mapping = ViewMapping::OneToOne;
        p.outCols = std::min(p.width, v.viewWidth);
        p.outRows = std::min(p.height, v.viewHeight);
        for (int32_t i = 0; i < p.outCols; ++i) p.pageCols.push_back(p.x + i);
    } else if (scale > v.viewZoom) {
        if (v.viewScale < 1) return false;
        p.mapping = ViewMapping::Magnify;
        p.scale = v.viewScale;
        p.outCols = static_cast<int32_t>(std::min<int64_t>(int64_t{p.scale} * p.width, v.viewWidth));
        p.outRows = static_cast<int32_t>(std::min<int64_t>(int64_t{p.scale} * p.height, v.viewHeight));
        const int32_t n = (p.outCols + p.scale - 1) / p.scale;
        for (int32_t i = 0; i < n; ++i) p.pageCols.push_back(p.x + i);
    } else {
        const float z = v.viewZoom;
        if (!(z > 0.0f) || !std::isfinite(z)) return false;
        p.mapping = ViewMapping::Reduce;
        p.zoom = z;
        reductionSteps(p.pageCols, p.x, p.x + p.width, z, reducedCount(p.width, p.x, z, v.viewWidth));
        reductionSteps(p.pageRows, p.y, p.y + p.height, z, reducedCount(p.height, p.y, z, v.viewHeight));
        p.outCols = static_cast<int32_t>(p.pageCols.size());
        p.outRows = static_cast<int32_t>(p.pageRows.size());
        for (int32_t j = 0; j < p.outRows; ++j) {
            // The mask row is trunc((r - y) x z + y), not the stepped page row.
            const float m = std::trunc(static_cast<float>(j) * z + static_cast<float>(p.y));
            p.maskRows.push_back(static_cast<int32_t>(std::clamp(m, 0.0f, static_cast<float>(s.page.pageHeight - 1))));
        }
    }
    return p.outCols > 0 && p.outRows > 0;
}

void setOverlays(const EngineState& s, RenderPlan& p, size_t pagePixels) {
    const LayerRecord& trace = s.layers.slots[kTracingLayer];
    if (s.view.tracingMode && pageSized(trace, pagePixels * 4)) p.tracing = trace.pixels.data();
    const MaskState& m = s.mask;
    if (m.maskDisplayed && m.maskActive && m.maskBuffer && m.maskBuffer.size() >= pagePixels) {
        p.mask = m.maskBuffer.data();
        p.maskStride = static_cast<size_t>(s.page.pageWidth);
        p.overlay1 = {m.maskOverlayColor1[0], m.maskOverlayColor1[1], m.maskOverlayColor1[2], 0};
        p.overlay2 = {m.maskOverlayColor2[0], m.maskOverlayColor2[1], m.maskOverlayColor2[2], 0};
        p.overlayMode = m.maskOverlayMode;
    }
}

}  // namespace

RenderPlan makeRenderPlan(const EngineState& s, const RenderRequest& r) {
    RenderPlan p;
    const int32_t W = s.page.pageWidth, H = s.page.pageHeight;
    const LayerRecord* cur = s.layers.currentLayer;
    if (!r.dst || s.view.viewWidth <= 0 || s.view.viewHeight <= 0 || !cur || !cur->present() || W <= 0 || H <= 0) return p;

    // Clip: negative corners move to 0 without shrinking the size; the far edges are cut
    // at the page.
    const int64_t x = std::max(r.x, 0), y = std::max(r.y, 0);
    const int64_t w = std::min<int64_t>(r.width, W - x), h = std::min<int64_t>(r.height, H - y);
    if (w <= 0 || h <= 0) return p;
    p.x = static_cast<int32_t>(x), p.y = static_cast<int32_t>(y);
    p.width = static_cast<int32_t>(w), p.height = static_cast<int32_t>(h);

    const size_t pagePixels = s.page.pixelCount();
    p.pageStride = static_cast<size_t>(W) * 4;
    p.currentLayerNumber = s.layers.currentLayerNumber;
    p.dst = r.dst;
    p.dstStride = r.dstStride;
    buildList(s, p, *cur, pagePixels * 4);
    if (!mapView(s, p)) {
        p.outCols = p.outRows = 0;
        return p;
    }
    setOverlays(s, p, pagePixels);
    return p;
}

}  // namespace orv
