// The undo history's state: the back buffers holding the current layer and mask as they
// were before the change in progress, and the history's accounting.
#pragma once
#include <cstdint>

#include "engine/buffer.h"

namespace orv {

struct UndoState {
    Buffer<uint16_t> backPixels;  // page-sized RGBA64 copy of the current layer
    Buffer<uint16_t> backMask;    // page-sized copy of the selection mask
    int32_t undoLevels = 0;
    int32_t undoUsedKB = 0;
    int32_t undoBudgetKB = 0;
    bool undoAutoBudget = false;
    bool paused = false;
};

}  // namespace orv
