// Selection coverage of the masked loads: how much of a new pixel replaces the old one,
// made from the paper texture (one byte per page pixel) and the selection mask (one 16-bit
// value per page pixel). Coverage c runs 0..0xFFFF; 0 leaves a pixel, 0xFFFF replaces it.
#pragma once
#include <cstdint>

namespace orv {

inline constexpr uint32_t kFullCoverage = 0xFFFF;
// Returned by the rule-A coverage when the mask protects the pixel outright.
inline constexpr int32_t kSkipPixel = -1;

// Rule A (RGBA32 and RGB24 loads). texture / mask may be null (absent).
//   texture t: 0 -> 0; t >= 128 -> full; else ((2t + 1) * 0xFFFF) >> 8
//   mask high byte m: 0 -> skip; m < 255 -> ((m + 1) * c) >> 8; 255 keeps c
inline int32_t coverageA(const uint8_t* texture, const uint16_t* mask, size_t i) noexcept {
    uint32_t c = kFullCoverage;
    if (texture) {
        const uint32_t t = texture[i];
        if (t == 0) c = 0;
        else if (2 * t < 255) c = ((2 * t + 1) * 0xFFFFu) >> 8;
    }
    if (mask) {
        const uint32_t m = mask[i] >> 8;
        if (m == 0) return kSkipPixel;
        if (m < 255) c = ((m + 1) * c) >> 8;
    }
    return static_cast<int32_t>(c);
}

// Rule B (alpha loads).
//   texture t: 2t >= 255 keeps c; else (2t * 0xFFFF) >> 8
//   mask value M: M < 0xFFFF -> (M * c) >> 16
inline uint32_t coverageB(const uint8_t* texture, const uint16_t* mask, size_t i) noexcept {
    uint32_t c = kFullCoverage;
    if (texture) {
        const uint32_t t = texture[i];
        if (2 * t < 255) c = (2 * t * 0xFFFFu) >> 8;
    }
    if (mask) {
        const uint32_t m = mask[i];
        if (m < 0xFFFF) c = (m * c) >> 16;
    }
    return c;
}

// Coverage blend of one channel, new n over old d (0 < c < 0xFFFF); each product is an
// unsigned 32-bit value shifted right by 8 before the sum, and the sum by 8 more:
//   ((n * c) >> 8 + (d * (0xFFFF - c)) >> 8) >> 8
inline uint16_t coverageLerp(uint32_t n, uint32_t d, uint32_t c) noexcept {
    return static_cast<uint16_t>((((n * c) >> 8) + ((d * (0xFFFFu - c)) >> 8)) >> 8);
}

}  // namespace orv
