// Undo history entry points.
#include "engine/exports/guard.h"
#include "undo/undo.h"

using namespace orv;

extern "C" {

ORV_API void ORV_CALL ORV_SetUndoLevels(int32_t levels) {
    guarded(err::ClearUndo, [&] { setUndoLevels(engine(), levels); });
}
ORV_API void ORV_CALL ORV_SetUndoMB(int32_t megabytes) {
    guarded(nullptr, [&] { setUndoMB(engine(), megabytes); });
}
ORV_API int32_t ORV_CALL ORV_GetTotalUndoMemory(void) {
    return guarded(nullptr, 0, [&] { return totalUndoMemoryMB(engine()); });
}
ORV_API int32_t ORV_CALL ORV_GetCurrentUndoMemory(void) { return currentUndoMemoryMB(engine().undo); }
ORV_API void ORV_CALL ORV_PauseUndo(void) { pauseUndo(engine().undo); }
ORV_API void ORV_CALL ORV_ResumeUndo(void) { resumeUndo(engine().undo); }
ORV_API void ORV_CALL ORV_SaveUndoBuffer(uint8_t savePixels, uint8_t saveMask) {
    guarded(err::SaveUndoBuf, [&] { saveUndoBuffer(engine(), savePixels != 0, saveMask != 0); });
}
ORV_API void ORV_CALL ORV_SaveUndoBackBuffer(int32_t layer) {
    guarded(nullptr, [&] { saveUndoBackBuffer(engine(), layer); });
}
ORV_API void ORV_CALL ORV_Undo(void) {
    guarded(nullptr, [&] { undo(engine()); });
}
ORV_API void ORV_CALL ORV_Redo(void) {
    guarded(nullptr, [&] { redo(engine()); });
}
ORV_API int32_t ORV_CALL ORV_CanUndo(void) { return canUndo(engine().undo) ? 1 : 0; }
ORV_API int32_t ORV_CALL ORV_CanRedo(void) { return canRedo(engine().undo) ? 1 : 0; }
ORV_API int32_t ORV_CALL ORV_GetRedoCount(void) { return redoCount(engine().undo); }
ORV_API int32_t ORV_CALL ORV_GetUndoCount(void) { return undoCount(engine().undo); }
ORV_API void ORV_CALL ORV_ClearUndo(void) {
    guarded(err::ClearUndo, [&] { clearUndo(engine()); });
}
ORV_API void ORV_CALL ORV_ReduceUndo(int32_t kilobytes) {
    guarded(nullptr, [&] { reduceUndo(engine(), kilobytes); });
}

}  // extern "C"
