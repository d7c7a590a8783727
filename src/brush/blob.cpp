#include "brush/blob.h"

#include "engine/engine_state.h"

namespace orv {
namespace {

// The double nearest 1/65534.
constexpr double kInv65534 = 1.5259254737998596e-05;

inline void blobPixel(uint16_t* p, int32_t mode) noexcept {
    const uint32_t lum = (uint32_t{p[0]} + p[1] + p[2]) / 3;
    if (mode != 1) {
        p[0] = p[1] = p[2] = 32767;
    } else if (lum < 32767) {
        const double u = (32767 - lum) * kInv65534;
        for (int c = 0; c < 3; ++c) p[c] = static_cast<uint16_t>(u * (65535 - p[c]) + p[c]);
    } else {
        const double u = (lum - 32767) * kInv65534;
        for (int c = 0; c < 3; ++c) p[c] = static_cast<uint16_t>(p[c] - p[c] * u);
    }
    if (p[3] > 8191) p[3] = static_cast<uint16_t>(lum * 0.843 + 10239);
}

}  // namespace

void createBlobFromImage(EngineState& s, int32_t layer, int32_t mode) {
    LayerRecord* rec = s.layers.presentLayer(layer);
    if (!rec || rec->width <= 0 || rec->height <= 0) return;
    const size_t stride = static_cast<size_t>(rec->stride);
    if (stride < static_cast<size_t>(rec->width) * 4 || rec->pixels.size() < stride * static_cast<size_t>(rec->height))
        return;
    for (int32_t y = 0; y < rec->height; ++y) {
        uint16_t* p = rec->pixels.data() + static_cast<size_t>(y) * stride;
        for (int32_t x = 0; x < rec->width; ++x, p += 4) blobPixel(p, mode);
    }
}

}  // namespace orv
