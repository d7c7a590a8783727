// System and memory service entry points.
#include <cstdlib>
#include <cstring>

#include "engine/exports/guard.h"
#include "platform/memory_status.h"
#include "platform/system_info.h"

using namespace orv;

extern "C" {

ORV_API void* ORV_CALL ORV_Alloc(int32_t size) {
    if (size < 0) return nullptr;
    return std::malloc(size ? static_cast<size_t>(size) : 1);
}
ORV_API void ORV_CALL ORV_Free(void* p) { std::free(p); }
ORV_API void ORV_CALL ORV_Memcpy(void* dst, const void* src, int32_t n) {
    if (dst && src && n > 0) std::memcpy(dst, src, static_cast<size_t>(n));
}
ORV_API void* ORV_CALL BankAdrs(void* p) { return p; }
ORV_API int32_t ORV_CALL ORV_RenameFile(const char* oldPath, const char* newPath) {
    return renameNoReplace(oldPath, newPath) ? 1 : 0;
}
ORV_API int32_t ORV_CALL ORV_SetWindowRedraw(void* window, uint8_t on) { return setWindowRedraw(window, on); }
ORV_API int32_t ORV_CALL ORV_RedrawWindow(void* window) { return redrawWindow(window); }

ORV_API int32_t ORV_CALL ORV_GetTotalPhyMemory(void) { return megabytes(queryMemoryStatus().totalPhys); }
ORV_API int32_t ORV_CALL ORV_GetAvailPhyMemory(void) { return megabytes(queryMemoryStatus().availPhys); }
ORV_API int32_t ORV_CALL ORV_GetTotalPgMemory(void) { return megabytes(queryMemoryStatus().totalPageFile); }
ORV_API int32_t ORV_CALL ORV_GetAvailPgMemory(void) { return megabytes(queryMemoryStatus().availPageFile); }
ORV_API int32_t ORV_CALL ORV_GetTotalVirMemory(void) { return megabytes(queryMemoryStatus().totalVirtual); }
ORV_API int32_t ORV_CALL ORV_GetAvailVirMemory(void) { return megabytes(queryMemoryStatus().availVirtual); }

ORV_API uint32_t ORV_CALL ORV_GetWindowBackgroundColor(void) { return kWindowBackgroundColour; }
ORV_API uint32_t ORV_CALL ORV_GetWindowTextColor(void) { return kWindowTextColour; }
ORV_API int32_t ORV_CALL ORV_GetWindowCaptionSize(void) { return kWindowCaptionSize; }
ORV_API int32_t ORV_CALL ORV_GetWindowSmallCaptionSize(void) { return kWindowSmallCaptionSize; }
ORV_API int32_t ORV_CALL ORV_GetWindowFixedFrameSize(void) { return kWindowFixedFrameSize; }

ORV_API const char* ORV_CALL ORV_GetDirInfo(void) {
    char* text = engine().settings.systemDirectory;
    std::strncpy(text, systemDirectory(), sizeof(engine().settings.systemDirectory) - 1);
    return text;
}

}  // extern "C"
