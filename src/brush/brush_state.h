// The brush engine's buffers: grit patterns, the shape and blend buffers, the random byte
// arrays, the paint layer and the paper texture.
#pragma once
#include <array>
#include <cstdint>

#include "engine/buffer.h"
#include "engine/layer.h"
#include "brush/random.h"
#include "brush/brush_settings.h"
#include "brush/shape_cache.h"
#include "brush/spline.h"

namespace orv {

inline constexpr int kGritMapCount = 20;
inline constexpr size_t kRandomArrayLength = 1000000;

struct BrushState {
    BrushSettings settings;                                // the host's brush and colour settings
    EngineRandom random;                                   // the engine's one random sequence
    std::array<Buffer<uint8_t>, kGritMapCount> gritMaps;  // (B + 25)^2 bytes each
    Buffer<uint16_t> shapeBuffer;                          // B x B coverage values
    Buffer<uint16_t> blendBuffer;                          // B x B RGBA64 pixels
    Buffer<uint8_t> randomArray255;                        // drawn with modulus 255
    Buffer<uint8_t> randomArray254;                        // drawn with modulus 254
    ShapeSourceCache shapeSourceImage;                     // the loaded brush-shape source
    LayerRecord paintLayer;                                // the stroke's collecting layer
    Buffer<uint8_t> textureBuffer;                         // one byte per page pixel
    SplineSamples spline;                                  // the last curve sampled for the host
};

}  // namespace orv
