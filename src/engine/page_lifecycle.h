// Making, re-making and releasing the page and its page- and brush-sized buffers.
#pragma once
#include <cstdint>

namespace orv {
struct EngineState;

struct PageParams {
    void* ownerWindow;
    int32_t width, height, maxBrushSize, reserved;
};

// Each throws on a failed allocation; buffers made before the failure stay, later ones
// stay null.
void createImage(EngineState& s, const PageParams& p);
void newSize(EngineState& s, const PageParams& p);
void deleteImage(EngineState& s);

}  // namespace orv
