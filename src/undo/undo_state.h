// The undo history's state: the table of snapshots, the back buffers holding the current
// layer and mask as of the last snapshot, the rectangle changed since then, and the
// history's memory accounting.
#pragma once
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>

#include "engine/buffer.h"
#include "platform/memory_status.h"

namespace orv {

inline constexpr int kUndoTableSize = 500;

// The rectangle changed since the last snapshot: x0, y0 the first changed column and row,
// x1, y1 one past the last changed column and row. The dab painters grow it; the history
// reads and empties it. "Empty" is (pageWidth - 1, pageHeight - 1, 0, 0), so any growth
// makes it cover the grown area and nothing else.
struct DirtyRect {
    int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;

    void setEmpty(int32_t pageWidth, int32_t pageHeight) noexcept {
        x0 = pageWidth - 1;
        y0 = pageHeight - 1;
        x1 = 0;
        y1 = 0;
    }
    // Grows to include [left, right) x [top, bottom): minima for left and top, maxima for
    // the exclusive right and bottom, whether or not the rectangle was empty.
    void grow(int32_t left, int32_t top, int32_t right, int32_t bottom) noexcept {
        x0 = std::min(x0, left);
        y0 = std::min(y0, top);
        x1 = std::max(x1, right);
        y1 = std::max(y1, bottom);
    }
};

// One entry of the history: the pixels (RGBA64) and/or mask values (16-bit) of the
// inclusive rectangle (x0, y0)..(x1, y1), rows packed. In use when either snapshot exists.
struct UndoRecord {
    Buffer<uint16_t> pixels;
    Buffer<uint16_t> mask;
    int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;

    bool inUse() const noexcept { return pixels || mask; }
};

struct UndoState {
    std::array<UndoRecord, kUndoTableSize> entries;  // entry 0 is the most recent
    std::array<int32_t, kUndoTableSize> layerOfUndo{};  // the layer each entry belongs to
    Buffer<uint16_t> backPixels;  // page-sized RGBA64 copy of the current layer
    Buffer<uint16_t> backMask;    // page-sized copy of the selection mask
    DirtyRect dirtyRect;
    int32_t undoLevels = 0;     // entries in use at most, 0..500
    int32_t undoPosition = 0;   // entries 0..undoPosition-1 hold redo data
    int32_t undoUsedKB = 0;     // back buffers plus every snapshot
    int32_t undoBudgetKB = 0;
    bool undoAutoBudget = false;
    bool paused = false;

    // Where the automatic budget reads the machine's free memory; tests substitute a fake.
    MemoryStatus (*memoryStatus)() noexcept = &queryMemoryStatus;
    // Called before each snapshot allocation with its size in bytes; throwing std::bad_alloc
    // from it acts as a shortage of memory (used by tests).
    std::function<void(size_t)> beforeSnapshotAllocation;
};

}  // namespace orv
