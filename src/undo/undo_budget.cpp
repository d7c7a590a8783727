// The undo history's memory budget and accounting queries.
#include <algorithm>
#include <climits>
#include <cmath>

#include "engine/engine_state.h"
#include "undo/undo.h"

namespace orv {

void recomputeUndoBudget(UndoState& u, const PageGeometry& g) noexcept {
    if (!u.undoAutoBudget) return;
    const MemoryStatus m = u.memoryStatus();
    const uint64_t availKB = std::min(m.availPhys, m.availPageFile) >> 10;
    const double x = static_cast<double>(availKB) * 0.85 + u.undoUsedKB;
    const long long pageKB = (static_cast<long long>(g.pageWidth) * g.pageHeight) / 1024;
    long long budget = static_cast<long long>(std::trunc(std::min(x, 1e18))) - 20 * pageKB;
    if (budget < 15 * pageKB) budget = 15 * pageKB;
    u.undoBudgetKB = static_cast<int32_t>(std::min<long long>(budget, INT32_MAX));
}

void setUndoMB(EngineState& s, int32_t mb) {
    if (mb != 0) {
        s.undo.undoAutoBudget = false;
        s.undo.undoBudgetKB = static_cast<int32_t>(std::clamp<long long>(static_cast<long long>(mb) * 1024, INT32_MIN, INT32_MAX));
        return;
    }
    s.undo.undoAutoBudget = true;
    recomputeUndoBudget(s.undo, s.page);
}

int32_t totalUndoMemoryMB(EngineState& s) {
    recomputeUndoBudget(s.undo, s.page);
    return s.undo.undoBudgetKB / 1024;
}

int32_t currentUndoMemoryMB(const UndoState& u) noexcept { return u.undoUsedKB / 1024; }

void pauseUndo(UndoState& u) noexcept { u.paused = true; }
void resumeUndo(UndoState& u) noexcept { u.paused = false; }

bool canUndo(const UndoState& u) noexcept {
    return u.undoPosition >= 0 && u.undoPosition < u.undoLevels && u.entries[u.undoPosition].inUse();
}
bool canRedo(const UndoState& u) noexcept { return u.undoPosition != 0; }
int32_t redoCount(const UndoState& u) noexcept { return u.undoPosition; }
int32_t undoCount(const UndoState& u) noexcept {
    return static_cast<int32_t>(std::count_if(u.entries.begin(), u.entries.end(), [](const UndoRecord& e) { return e.inUse(); }));
}

}  // namespace orv
