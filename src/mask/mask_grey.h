// The grey conventions of the selection mask: black selects, white protects.
#pragma once
#include <cstdint>

namespace orv {

inline constexpr uint16_t kMaskSelected = 0xFFFF;

// From a 16-bit grey L: 65535 when L <= 255, 0 when L > 65280, otherwise 65280 - L.
constexpr uint16_t maskFromGrey16(int64_t L) noexcept {
    return L <= 255 ? 0xFFFF : L > 65280 ? 0 : static_cast<uint16_t>(65280 - L);
}

// From an 8-bit grey g: 65535 when g = 0, otherwise 65280 - 256 g.
constexpr uint16_t maskFromGrey8(uint32_t g) noexcept {
    return g == 0 ? 0xFFFF : static_cast<uint16_t>(65280 - 256 * g);
}

// To an 8-bit grey: 255 - (m >> 8).
constexpr uint8_t greyFromMask(uint16_t m) noexcept { return static_cast<uint8_t>(255 - (m >> 8)); }

// The value the colour-based makers write at a selected pixel for a selection strength a
// (0..255): (255 - a) x 256 taken modulo 65536, so a = 0 writes 65280 and a = 255 writes 0.
constexpr uint16_t maskFromStrength(int32_t a) noexcept {
    return static_cast<uint16_t>((255u - static_cast<uint32_t>(a)) * 256u);  // unsigned: wraps, never overflows
}

// The grey or strength of the geometric makers and the wand: trunc(level x 2.559), level
// 0..100 giving 0..255.
constexpr int32_t strengthFromLevel(int32_t level) noexcept { return static_cast<int32_t>(level * 2.559); }

// Tolerances of the range makers are percentages 0..100; the 8-bit limit is
// trunc(tolerance x 2.56), 0..256.
constexpr bool validTolerancePercent(int32_t t) noexcept { return t >= 0 && t <= 100; }
constexpr int32_t rangeLimit8(int32_t tolerancePercent) noexcept { return static_cast<int32_t>(tolerancePercent * 2.56); }

}  // namespace orv
