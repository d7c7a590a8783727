// Operations on the 64-slot layer table.
#pragma once
#include <cstdint>

#include "engine/layer.h"

namespace orv {
struct EngineState;

// Makes the slot a fresh width x height layer (slot 1 opaque white, others transparent
// black). Returns false when the number is out of range, the size is unusable, or memory
// stays short after freeing undo memory.
bool createLayer(EngineState& s, int layer, int32_t width, int32_t height);
void deleteLayer(LayerTable& t, int layer) noexcept;
void setLayer(EngineState& s, int layer);

struct LayerOptions {
    uint8_t visible;
    uint8_t lockAlpha;
    int32_t opacityPercent;
    const char* blendName;
};
void setLayerOptions(EngineState& s, int layer, const LayerOptions& o);

// opacityPercent x 2.56 in double precision, truncated; the host's range 0..100 gives 0..256.
uint16_t opacityFromPercent(int32_t percent) noexcept;
void recomputeTopLayer(LayerTable& t) noexcept;

void swapLayers(LayerTable& t, int a, int b) noexcept;
int32_t layerCount(const LayerTable& t) noexcept;

// Raw page-sized RGBA64 copies (rows of pageWidth x 8 bytes).
void getLayerData(EngineState& s, void* dst, int layer) noexcept;
void setLayerData(EngineState& s, const void* src, int layer) noexcept;
void copyLayerData(EngineState& s, int from, int to) noexcept;

struct Extents {
    int32_t left, top, right, bottom;
};
// False when the slot is empty. A layer with no visible pixel gives left = pageWidth,
// top = pageHeight, right = bottom = 0.
bool findDataExtents(EngineState& s, int layer, Extents& out) noexcept;

// The current layer when it exists and holds pixels, else null.
LayerRecord* currentLayerIfPresent(EngineState& s) noexcept;

}  // namespace orv
