// The engine's one pseudo-random sequence:
//   state = state * 214013 + 2531011 (mod 2^32), result = (state >> 16) & 32767.
// Dab variation, grit and the random byte arrays draw from it, so results repeat for a
// given seed and call sequence.
#pragma once
#include <cstdint>

namespace orv {

struct EngineRandom {
    uint32_t state = 0;
    void seed(uint32_t s) noexcept { state = s; }
    int32_t next() noexcept {
        state = state * 214013u + 2531011u;
        return static_cast<int32_t>((state >> 16) & 32767u);
    }
};

}  // namespace orv
