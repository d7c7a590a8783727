// Loading a page-sized RGBA32 buffer into the selected part of a layer.
#pragma once
#include <cstdint>

namespace orv {
struct EngineState;

// Replaces the selected part of a layer by a page-sized RGBA32 buffer: when adjust is set
// the buffer's alpha is first scaled by the selection and texture (adjustWidth x
// adjustHeight), then the layer is cleared to transparent black under the mask (partly
// selected pixels darken and become opaque) and the buffer is merged over it ("Normal",
// opacity 255, the layer's alpha lock kept). The slot given is cleared, whichever layer is
// current. Nothing happens for an empty slot or a null buffer.
void loadRgba32LayerMasked(EngineState& s, uint8_t* rgba, int32_t layer, int32_t adjustWidth, int32_t adjustHeight,
                           bool adjust);

}  // namespace orv
