// Operating-system figures and services the host asks the engine for: memory figures,
// window colours and metrics, a system directory, a rename that never replaces, and
// window redraw control.
#pragma once
#include <cstdint>
#include <string_view>

namespace orv {

// Memory figures in bytes, in the host's six categories.
struct MemoryStatus {
    uint64_t totalPhys = 0, availPhys = 0;
    uint64_t totalPageFile = 0, availPageFile = 0;  // commit space: physical memory plus swap
    uint64_t totalVirtual = 0, availVirtual = 0;    // the process's address space
};

// Figures from the texts of /proc/meminfo and /proc/self/status and the size of the
// process's address space. Physical: MemTotal and MemAvailable (MemFree when the kernel
// lacks it). Page file: physical plus SwapTotal, available plus SwapFree. Virtual: the
// address space, and what VmSize leaves of it.
MemoryStatus memoryStatusFrom(std::string_view meminfo, std::string_view selfStatus, uint64_t addressSpace) noexcept;
// The figures of this machine and process now.
MemoryStatus queryMemoryStatus() noexcept;
// Whole megabytes (bytes >> 20) cut to 32 bits.
int32_t megabytes(uint64_t bytes) noexcept;

// Window colours (colour words 0x00BBGGRR) and metrics in pixels: fixed values, as there is
// no desktop theme to ask.
inline constexpr uint32_t kWindowBackgroundColour = 0x00F0F0F0;
inline constexpr uint32_t kWindowTextColour = 0x00000000;
inline constexpr int32_t kWindowCaptionSize = 23;
inline constexpr int32_t kWindowSmallCaptionSize = 17;
inline constexpr int32_t kWindowFixedFrameSize = 3;

// The directory holding the system's shared data (fonts and the like).
const char* systemDirectory() noexcept;

// Renames a file; false when either path is null, the target exists (it is never
// replaced) or the system refuses.
bool renameNoReplace(const char* from, const char* to) noexcept;

// Window redraw control. Without a window system there is nothing to send: both return 0.
int32_t setWindowRedraw(void* window, uint8_t on) noexcept;
int32_t redrawWindow(void* window) noexcept;

}  // namespace orv
