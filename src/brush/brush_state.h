// The brush engine's state: the settings, the random sequence and byte arrays, and the
// page-tied brush buffers (grit patterns, shape, pickup buffer, paint layer, paper texture).
#pragma once
#include <array>
#include <cstdint>

#include "engine/buffer.h"
#include "engine/layer.h"
#include "brush/brush_settings.h"
#include "brush/random.h"
#include "brush/shape_cache.h"
#include "brush/spline.h"

namespace orv {

inline constexpr int kGritMapCount = 20;
inline constexpr size_t kRandomArrayLength = 1000000;

// A block of random bytes drawn from the engine sequence: data[i] = draw mod modulus (kept
// as its low byte). It remembers the length, modulus and seed it was made with, so an
// identical request keeps it instead of drawing again.
struct RandomByteArray {
    Buffer<uint8_t> data;
    int32_t modulus = 0;
    int32_t seed = 0;
    uint32_t length = 0;
};

// Where the current dab reads its grit: a pattern and an offset into it.
struct GritCursor {
    int32_t pattern = -1;  // -1: none chosen yet
    uint32_t offset = 0;
    bool operator==(const GritCursor&) const = default;
};

struct BrushState {
    BrushSettings settings;                                // the host's brush and colour settings
    EngineRandom random;                                   // the engine's one random sequence
    std::array<Buffer<uint8_t>, kGritMapCount> gritMaps;  // (B + 25)^2 bytes each, row stride B
    GritCursor currentGrit;
    Buffer<uint16_t> shapeBuffer;         // B x B coverage values
    Buffer<uint16_t> blendBuffer;         // B x B RGBA64 pixels (the pickup buffer)
    RandomByteArray gritCellBytes;        // modulus 255, 1,000,000 long
    RandomByteArray gritValueBytes;       // modulus 254, 1,000,000 long
    RandomByteArray pixelColorVaryBytes;  // modulus 1000, 3 x B long
    RandomByteArray pixelLumVaryBytes;    // modulus 256, 3 x B long
    ShapeSourceCache shapeSourceImage;    // the loaded brush-shape source
    LayerRecord paintLayer;               // the stroke's collecting layer; dirty* is its touched rectangle
    Buffer<uint8_t> textureBuffer;        // one byte per page pixel
    SplineSamples spline;                 // the last curve sampled for the host
};

}  // namespace orv
