// What one display render needs, resolved once per call: the clipped page rectangle, the
// layer list with each entry's settings and layer-mask partner, the view mapping with its
// output size, and the overlay inputs. Both the per-pixel reference and the row renderer
// work from this plan, so the list, the clipping and the stepping exist once.
#pragma once
#include <cstdint>
#include <vector>

#include "composite/blend_formulas.h"

namespace orv {
struct EngineState;
struct LayerRecord;

struct RenderRequest {
    uint8_t* dst;
    int32_t dstStride;  // bytes between output rows
    int32_t x, y, width, height;
};

struct ListEntry {
    const uint16_t* pixels;
    int32_t blendMode;
    uint16_t opacity;
    const uint16_t* maskPixels;  // the "Layer Mask" entry that masks this one, or null
    bool paint;                  // the paint layer entry
};

enum class ViewMapping : uint8_t { OneToOne, Magnify, Reduce };

struct RenderPlan {
    // Layer list, lowest first.
    ListEntry entries[64];
    int count = 0;
    bool background = false;          // slot 1 was taken in (it is entry 0)
    int32_t currentLayerNumber = 0;
    size_t pageStride = 0;            // 16-bit units per layer row

    // Clipped page rectangle and output size.
    int32_t x = 0, y = 0, width = 0, height = 0;
    ViewMapping mapping = ViewMapping::OneToOne;
    int32_t scale = 1;   // magnification
    float zoom = 1.0f;   // reduction
    int32_t outCols = 0, outRows = 0;
    // Page column of each output column (one-to-one and reduction) or of each composited
    // page pixel (magnification: outCols / scale rounded up). For reduction also the page
    // row and the mask row of each output row.
    std::vector<int32_t> pageCols, pageRows, maskRows;

    int32_t pageRowOf(int32_t j) const noexcept {
        return mapping == ViewMapping::Reduce ? pageRows[j] : mapping == ViewMapping::Magnify ? y + j / scale : y + j;
    }
    int32_t maskRowOf(int32_t j) const noexcept { return mapping == ViewMapping::Reduce ? maskRows[j] : pageRowOf(j); }

    // Overlays.
    const uint16_t* tracing = nullptr;  // slot 0 when tracing mode is on
    const uint16_t* mask = nullptr;     // mask values when the mask is displayed and active
    size_t maskStride = 0;              // 16-bit units per mask row
    Px overlay1{}, overlay2{};          // overlay colours (16-bit, alpha unused)
    int32_t overlayMode = 0;

    uint8_t* dst = nullptr;
    int32_t dstStride = 0;

    bool empty() const noexcept { return outCols <= 0 || outRows <= 0; }
};

// Builds the plan; an empty plan (no current layer, view size 0, rectangle off the page,
// null buffer, unusable view settings) renders nothing.
RenderPlan makeRenderPlan(const EngineState& s, const RenderRequest& r);

}  // namespace orv
