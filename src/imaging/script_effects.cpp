#include "imaging/script_effects.h"

#include <algorithm>

#include "imaging/rotate.h"

namespace orv {
namespace {

// 51: turn about the centre, keeping the size. Value 3: degrees, positive clockwise as
// displayed. Value 4 is a percentage every caller passes as 100; it is accepted and does not
// change the result.
bool rotateEffect(RgbaImage& image, const ScriptEffect& e) {
    RgbaImage turned;
    rotateImage(image, e.value(3, 0), turned);
    image = std::move(turned);
    return true;
}

constexpr ScriptEffectInfo kEffects[] = {
    {51, "Rotate", rotateEffect},
};

}  // namespace

std::span<const ScriptEffectInfo> scriptEffects() noexcept { return kEffects; }

const ScriptEffectInfo* findScriptEffect(int32_t id) noexcept {
    const auto it = std::lower_bound(std::begin(kEffects), std::end(kEffects), id,
                                     [](const ScriptEffectInfo& e, int32_t v) { return e.id < v; });
    return it != std::end(kEffects) && it->id == id ? &*it : nullptr;
}

}  // namespace orv
