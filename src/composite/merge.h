// The layer merge: blends a rectangle of one RGBA64 buffer into another with a blend mode,
// an opacity and an optional layer mask, writing 16-bit pixels back.
#pragma once
#include <cstddef>
#include <cstdint>

namespace orv {
struct EngineState;
struct LayerRecord;

struct MergeParams {
    const uint16_t* src = nullptr;
    int32_t srcX = 0, srcY = 0, width = 0, height = 0;
    size_t srcStride = 0;       // 16-bit units per source row
    size_t srcLength = 0;       // 16-bit values the source (and the mask) hold
    const uint16_t* mask = nullptr;  // layer-mask layer addressed like the source, or null
    uint16_t* dst = nullptr;
    int32_t dstX = 0, dstY = 0;
    size_t dstStride = 0;       // 16-bit units per destination row
    size_t dstLength = 0;       // 16-bit values the destination holds
    int32_t mode = 0;           // blend-mode id of the source
    int32_t maskMode = 0;       // 38: apply the mask
    uint32_t opacity = 256;     // 0..256
    bool keepAlpha = false;     // never write the destination's alpha
    bool sameAlphaMode = false; // source and destination share this alpha-only mode
};

// Merges the rectangle. Does nothing when a buffer is null, the size is not positive, or the
// rectangle does not lie inside both buffers.
enum class MergePath : uint8_t { Rows, Reference };
void mergeBuffer(const MergeParams& p, MergePath path = MergePath::Rows);

// The slot of the layer-mask layer of a layer: the first slot above it, up to the top layer
// number, that holds pixels and is visible, when its mode is "Layer Mask"; otherwise 0.
int32_t findLayerMask(const EngineState& s, int32_t layer) noexcept;

// Merges a page-sized RGBA32 buffer (each byte << 8) into a page-sized layer, whole page,
// no layer mask. Returns false (layer unchanged) when the layer or src is missing or its
// working memory cannot be had.
bool mergeBufferIntoLayer(const EngineState& s, const uint8_t* src, LayerRecord& layer, int32_t mode, uint32_t opacity,
                          bool keepAlpha) noexcept;

// The merge operations of the interface.
void mergeLayer(EngineState& s, int32_t source, int32_t destination);
void mergeLayerIntoRect(EngineState& s, int32_t layer, uint16_t* dst, int32_t x, int32_t y, int32_t width, int32_t height);
void mergeRect(EngineState& s, uint16_t* dst, int32_t x, int32_t y, int32_t width, int32_t height);
void mergePaintLayer(EngineState& s, int32_t layer);

}  // namespace orv
