#include "brush/page_buffers.h"

#include <algorithm>

#include "brush/settings.h"
#include "engine/engine_state.h"
#include "engine/error_texts.h"

namespace orv {

void allocateBrushBuffers(EngineState& s) {
    const long long b = s.page.maxBrushSize;
    for (auto& g : s.brush.gritMaps) g.allocate(checkedSize(b + 25, b + 25));
    s.brush.shapeBuffer.allocate(checkedSize(b, b));
    s.brush.blendBuffer.allocate(checkedSize(b, b, 4));
    s.brush.currentGrit = {};
}

void releaseBrushBuffers(EngineState& s) {
    s.brush.blendBuffer.release();
    s.brush.paintLayer.pixels.release();
    s.brush.shapeBuffer.release();
    s.brush.shapeSourceImage.release();
    for (auto& g : s.brush.gritMaps) g.release();
}

void makePageRandomArrays(EngineState& s) {
    auto make = [&](RandomByteArray& a, int32_t modulus, uint32_t length) {
        tryStep(s.lastError, err::MakeRandArray, [&] { makeRandomByteArray(s, a, modulus, length); });
    };
    make(s.brush.gritCellBytes, 255, kRandomArrayLength);
    make(s.brush.gritValueBytes, 254, kRandomArrayLength);
    const uint32_t pixelLength = static_cast<uint32_t>(3 * std::max(0, s.page.maxBrushSize));
    const BrushSettings& b = s.brush.settings;
    if (b.pixelColorVary > 0 && s.brush.pixelColorVaryBytes.length < pixelLength)
        make(s.brush.pixelColorVaryBytes, 1000, pixelLength);
    if (b.pixelLumVary > 0 && s.brush.pixelLumVaryBytes.length < pixelLength)
        make(s.brush.pixelLumVaryBytes, 256, pixelLength);
}

uint8_t* createTexture(EngineState& s, int layer) {
    LayerRecord* l = s.layers.presentLayer(layer);
    const size_t n = s.page.pixelCount();
    if (!l || l->pixels.size() < n * 4) return nullptr;
    Buffer<uint8_t>& t = s.brush.textureBuffer;
    if (!t || t.size() != n) t.allocate(n);
    const uint16_t* p = l->pixels.data();
    for (size_t i = 0; i < n; ++i, p += 4) {
        const uint32_t v = (static_cast<uint32_t>(p[0]) + p[1] + p[2]) / 768;
        t[i] = static_cast<uint8_t>(std::clamp<uint32_t>(v, 4, 250));
    }
    return t.data();
}

void deleteTexture(EngineState& s) noexcept { s.brush.textureBuffer.release(); }

}  // namespace orv
