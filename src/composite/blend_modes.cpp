#include "composite/blend_modes.h"

#include <cstring>

namespace orv {

int32_t blendModeFromName(const char* name) noexcept {
    if (!name) return kBlendNormal;
    for (const auto& m : kBlendModes)
        if (m.name && std::strcmp(m.name, name) == 0) return m.id;
    return kBlendNormal;
}

const char* blendModeName(int32_t id) noexcept {
    return (id >= 0 && id < kBlendModeCount) ? kBlendModes[id].name : nullptr;
}

}  // namespace orv
