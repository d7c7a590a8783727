// The undo history: rectangular snapshots of the current layer and the selection mask.
//
// A snapshot holds the pixels a change overwrote. Undo and redo are the same exchange: the
// snapshot goes back onto the layer and takes the pixels it displaced, so the entry always
// holds what is not on the layer. Entry 0 is the most recent; entries 0..undoPosition-1
// hold redo data and entry undoPosition is the next to undo.
#pragma once
#include <cstdint>

namespace orv {
struct EngineState;
struct UndoState;
struct PageGeometry;

// Forgets the history: empties the changed rectangle, resumes recording, releases every
// entry, sets the used memory to the two back buffers, copies the current layer and the
// mask into the back buffers and runs the budget.
void clearUndo(EngineState& s);
// Releases every entry's buffers (each entry's rectangle becomes empty), no accounting.
void releaseUndoEntries(EngineState& s);
// Copies the given layer and the mask into the back buffers unless undo is paused; each
// copy happens only when both buffers exist and hold a whole page.
void saveUndoBackBuffer(EngineState& s, int layer);
// Discards the redo entries, then releases pixel-holding entries from the oldest until at
// least kb kilobytes were released. Returns false when nothing could be released.
bool reduceUndo(EngineState& s, int32_t kb);

// Clears the history, then keeps at most n entries (n above 500 keeps 500).
void setUndoLevels(EngineState& s, int32_t n);
// mb > 0 fixes the budget at mb megabytes; 0 makes it follow the machine's free memory.
void setUndoMB(EngineState& s, int32_t mb);
// The budget in megabytes (recomputed first when it follows free memory).
int32_t totalUndoMemoryMB(EngineState& s);
// The memory held by the back buffers and the snapshots, in megabytes.
int32_t currentUndoMemoryMB(const UndoState& u) noexcept;
// When the budget follows free memory: 85% of the smaller of the available physical and
// commit figures plus what the history holds, less 20 page-sized snapshots, and never
// below 15 page-sized snapshots (a page-sized snapshot counted as W x H / 1024 kilobytes).
void recomputeUndoBudget(UndoState& u, const PageGeometry& g) noexcept;

void pauseUndo(UndoState& u) noexcept;
void resumeUndo(UndoState& u) noexcept;

// Records the change since the last snapshot: the changed rectangle (or the whole page
// when none was grown) of the current layer and/or the mask. Drops the oldest entries
// beyond the level limit or the budget. When memory for the snapshot cannot be found the
// change is not recorded, but the back buffers still follow it.
void saveUndoBuffer(EngineState& s, bool savePixels, bool saveMask);
// Undo and redo: one exchange each, switching to the entry's layer first. An entry whose
// layer no longer holds a page loses its pixel snapshot (it is never applied to another
// layer); if nothing else remains in it, it is dropped and the next entry is used.
void undo(EngineState& s);
void redo(EngineState& s);

bool canUndo(const UndoState& u) noexcept;
bool canRedo(const UndoState& u) noexcept;
int32_t redoCount(const UndoState& u) noexcept;
// Entries in use among all 500 (redo entries included).
int32_t undoCount(const UndoState& u) noexcept;

}  // namespace orv
