#include "platform/memory_status.h"

#include <sys/resource.h>

#include <fstream>
#include <sstream>
#include <string>

namespace orv {

namespace {

// The value of a "Key:   N kB" line in bytes, or `missing` when the key is absent.
uint64_t kbField(std::string_view text, std::string_view key, uint64_t missing) noexcept {
    for (size_t at = 0; at < text.size();) {
        size_t end = text.find('\n', at);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(at, end - at);
        at = end + 1;
        if (line.size() <= key.size() || line.substr(0, key.size()) != key || line[key.size()] != ':') continue;
        uint64_t v = 0;
        for (char c : line.substr(key.size() + 1))
            if (c >= '0' && c <= '9') v = v * 10 + static_cast<uint64_t>(c - '0');
            else if (v) break;
        return v * 1024;
    }
    return missing;
}

std::string readText(const char* path) {
    std::ifstream f(path);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

uint64_t addressSpaceSize() noexcept {
    // User address space of the pointer width: 47 bits on 64-bit systems, 3 GB on 32-bit ones.
    const uint64_t full = sizeof(void*) >= 8 ? (uint64_t{1} << 47) : (uint64_t{3} << 30);
    rlimit r{};
    if (getrlimit(RLIMIT_AS, &r) == 0 && r.rlim_cur != RLIM_INFINITY && r.rlim_cur < full) return r.rlim_cur;
    return full;
}

}  // namespace

MemoryStatus memoryStatusFrom(std::string_view meminfo, std::string_view selfStatus, uint64_t addressSpace) noexcept {
    MemoryStatus m;
    m.totalPhys = kbField(meminfo, "MemTotal", 0);
    m.availPhys = kbField(meminfo, "MemAvailable", kbField(meminfo, "MemFree", 0));
    m.totalPageFile = m.totalPhys + kbField(meminfo, "SwapTotal", 0);
    m.availPageFile = m.availPhys + kbField(meminfo, "SwapFree", 0);
    m.totalVirtual = addressSpace;
    const uint64_t used = kbField(selfStatus, "VmSize", 0);
    m.availVirtual = used < addressSpace ? addressSpace - used : 0;
    return m;
}

MemoryStatus queryMemoryStatus() noexcept {
    try {
        return memoryStatusFrom(readText("/proc/meminfo"), readText("/proc/self/status"), addressSpaceSize());
    } catch (...) {
        return memoryStatusFrom({}, {}, addressSpaceSize());
    }
}

int32_t megabytes(uint64_t bytes) noexcept { return static_cast<int32_t>(static_cast<uint32_t>(bytes >> 20)); }

}  // namespace orv
