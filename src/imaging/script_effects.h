// The image-script effect registry: one row per effect id, each with its name and the
// operation that runs it on an RGBA image. Scripts name effects by id and pass numbered
// integer values; an effect reads the values it knows and ignores the rest.
#pragma once
#include <array>
#include <cstdint>
#include <span>

#include "imaging/image.h"

namespace orv {

inline constexpr int kScriptValueCount = 32;  // value indices 0..31

// One effect of a script: its id and the values set for it.
struct ScriptEffect {
    int32_t id = 0;
    std::array<int32_t, kScriptValueCount> values{};
    uint32_t setMask = 0;  // bit i: value i was set

    static constexpr bool validIndex(int32_t i) noexcept { return i >= 0 && i < kScriptValueCount; }
    // false for an index outside 0..31.
    bool set(int32_t index, int32_t v) noexcept {
        if (!validIndex(index)) return false;
        values[static_cast<size_t>(index)] = v;
        setMask |= 1u << index;
        return true;
    }
    int32_t value(int32_t index, int32_t fallback) const noexcept {
        return validIndex(index) && (setMask >> index & 1u) ? values[static_cast<size_t>(index)] : fallback;
    }
};

// Runs one effect in place on a non-empty image, keeping its size; false when it cannot run
// (the image may then be partly changed; callers run effects on a copy).
using ScriptEffectRun = bool (*)(RgbaImage& image, const ScriptEffect& effect);

struct ScriptEffectInfo {
    int32_t id;
    const char* name;
    ScriptEffectRun run;
};

// Every known effect, in increasing id order.
std::span<const ScriptEffectInfo> scriptEffects() noexcept;
// The effect with this id, or null.
const ScriptEffectInfo* findScriptEffect(int32_t id) noexcept;

}  // namespace orv
