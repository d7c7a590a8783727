// The machine's and the process's memory figures, in bytes.
#pragma once
#include <cstdint>
#include <string_view>

namespace orv {

struct MemoryStatus {
    uint64_t totalPhys = 0;
    uint64_t availPhys = 0;      // memory that can be handed out without swapping
    uint64_t totalPageFile = 0;  // physical memory plus swap
    uint64_t availPageFile = 0;  // available physical memory plus free swap
    uint64_t totalVirtual = 0;   // the process's address space
    uint64_t availVirtual = 0;   // what the process has not mapped of it
};

// Figures from the texts of /proc/meminfo and /proc/self/status and the size of the
// process's address space. Physical: MemTotal and MemAvailable (MemFree on kernels without
// it). Page file: physical plus SwapTotal, available plus SwapFree. Virtual: the address
// space, and what VmSize leaves of it. Figures the texts lack stay 0.
MemoryStatus memoryStatusFrom(std::string_view meminfo, std::string_view selfStatus, uint64_t addressSpace) noexcept;

// Reads the kernel's figures for this machine and process now.
MemoryStatus queryMemoryStatus() noexcept;

// Whole megabytes (bytes >> 20) cut to 32 bits.
int32_t megabytes(uint64_t bytes) noexcept;

}  // namespace orv
