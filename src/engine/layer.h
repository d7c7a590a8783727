// A layer slot: RGBA64 pixels (four unsigned 16-bit channels, red, green, blue, alpha, not
// premultiplied) plus the display settings the compositor and the merge read.
#pragma once
#include <array>
#include <cstdint>

#include "engine/buffer.h"

namespace orv {

inline constexpr int kLayerCount = 64;
inline constexpr int kTracingLayer = 0;
inline constexpr int kBackgroundLayer = 1;

struct LayerRecord {
    Buffer<uint16_t> pixels;  // null: the slot is empty
    int32_t width = 0;
    int32_t height = 0;
    int32_t stride = 0;       // width * 4, in 16-bit units
    uint8_t visible = 0;
    uint8_t lockAlpha = 0;
    uint16_t opacity = 0;     // 0..256, 256 fully opaque
    char blendName[52] = {};  // up to 49 characters and the terminator
    int32_t blendMode = 0;    // BlendMode id of blendName
    // Used by the paint layer only: the rectangle the current stroke has touched.
    int32_t dirtyLeft = 0, dirtyTop = 0, dirtyRight = 0, dirtyBottom = 0;

    bool present() const noexcept { return static_cast<bool>(pixels); }
};

struct LayerTable {
    std::array<LayerRecord, kLayerCount> slots;
    int32_t currentLayerNumber = 0;
    LayerRecord* currentLayer = nullptr;  // null until a layer is selected
    int32_t topLayerNumber = 0;

    static bool validIndex(int layer) noexcept { return layer >= 0 && layer < kLayerCount; }
    // The slot when the number is valid and the slot holds pixels, else null.
    LayerRecord* presentLayer(int layer) noexcept {
        return validIndex(layer) && slots[layer].present() ? &slots[layer] : nullptr;
    }
};

}  // namespace orv
