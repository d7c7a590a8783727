#include "platform/memory_status.h"

#include <cstdio>
#include <cstring>

namespace orv {

MemoryStatus queryMemoryStatus() noexcept {
    MemoryStatus m;
    uint64_t memTotal = 0, memAvailable = 0, swapTotal = 0, swapFree = 0;
    if (FILE* f = std::fopen("/proc/meminfo", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, f)) {
            char key[64];
            unsigned long long kb = 0;
            if (std::sscanf(line, "%63[^:]: %llu", key, &kb) != 2) continue;
            const uint64_t bytes = static_cast<uint64_t>(kb) << 10;
            if (!std::strcmp(key, "MemTotal")) memTotal = bytes;
            else if (!std::strcmp(key, "MemAvailable")) memAvailable = bytes;
            else if (!std::strcmp(key, "SwapTotal")) swapTotal = bytes;
            else if (!std::strcmp(key, "SwapFree")) swapFree = bytes;
        }
        std::fclose(f);
    }
    m.totalPhys = memTotal;
    m.availPhys = memAvailable;
    m.totalPageFile = memTotal + swapTotal;
    m.availPageFile = memAvailable + swapFree;
    return m;
}

}  // namespace orv
