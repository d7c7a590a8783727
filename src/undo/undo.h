// The undo history's entry points used by other subsystems.
#pragma once
#include <cstdint>

namespace orv {
struct EngineState;

// Forgets the history and copies the current layer and the mask into the back buffers.
void clearUndo(EngineState& s);
// Releases every entry's buffers (each entry's rectangle becomes empty).
void releaseUndoEntries(EngineState& s);
// Copies the given layer and the mask into the back buffers unless undo is paused.
void saveUndoBackBuffer(EngineState& s, int layer);
// Frees undo memory to make room for about kb kilobytes; returns false when the history
// holds nothing more that can be released.
bool reduceUndo(EngineState& s, int32_t kb);

}  // namespace orv
