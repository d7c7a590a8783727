// The machine's memory figures, in bytes.
#pragma once
#include <cstdint>

namespace orv {

struct MemoryStatus {
    uint64_t totalPhys = 0;
    uint64_t availPhys = 0;      // memory that can be handed out without swapping
    uint64_t totalPageFile = 0;  // physical memory plus swap
    uint64_t availPageFile = 0;  // available physical memory plus free swap
};

// Reads the kernel's figures (/proc/meminfo: MemTotal, MemAvailable, SwapTotal, SwapFree).
// Figures it cannot read stay 0.
MemoryStatus queryMemoryStatus() noexcept;

}  // namespace orv
