#include "brush/page_buffers.h"

#include "engine/engine_state.h"

namespace orv {

void allocateBrushBuffers(EngineState& s) {
    const long long b = s.page.maxBrushSize;
    for (auto& g : s.brush.gritMaps) g.allocate(checkedSize(b + 25, b + 25));
    s.brush.shapeBuffer.allocate(checkedSize(b, b));
    s.brush.blendBuffer.allocate(checkedSize(b, b, 4));
}

void releaseBrushBuffers(EngineState& s) {
    s.brush.blendBuffer.release();
    s.brush.paintLayer.pixels.release();
    s.brush.shapeBuffer.release();
    s.brush.shapeSourceImage.release();
    for (auto& g : s.brush.gritMaps) g.release();
}

void makePageRandomArrays(EngineState& s) {
    // Filled by the brush engine's random sequence; placeholder until it lands.
    s.brush.randomArray255.allocateZeroed(kRandomArrayLength);
    s.brush.randomArray254.allocateZeroed(kRandomArrayLength);
}

void createTexture(EngineState&, int) {}

}  // namespace orv
