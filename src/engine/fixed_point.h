// Channel conversions and fixed-point helpers shared by every pixel loop.
//
// Layer channels are unsigned 16-bit; host channels are 8-bit. The engine's conventions:
//   to16(v8)  = v8 << 8          (255 becomes 0xFF00, not 0xFFFF)
//   hi8(v16)  = v16 >> 8         (truncating)
//   x257(v8)  = v8 * 257         (where an operation asks for a full-range expansion)
//   mul16(a,b)= (a * b) >> 16    (unsigned 32-bit product, truncated)
//   mul8sh(a,b)= (a * b) >> 8
// Conversions from floating point truncate toward zero (a plain C++ cast does that).
#pragma once
#include <cstdint>

namespace orv {

constexpr uint16_t to16(uint8_t v) noexcept { return static_cast<uint16_t>(v << 8); }
constexpr uint8_t hi8(uint16_t v) noexcept { return static_cast<uint8_t>(v >> 8); }
constexpr uint16_t x257(uint8_t v) noexcept { return static_cast<uint16_t>(v * 257u); }
constexpr uint32_t mul16(uint32_t a, uint32_t b) noexcept { return (a * b) >> 16; }
constexpr uint32_t mul8sh(uint32_t a, uint32_t b) noexcept { return (a * b) >> 8; }

// 8-bit fraction in 0..1 as the engine computes it: c * (1/255) in 32-bit float.
inline float frac255(uint32_t c) noexcept { return static_cast<float>(c) * (1.0f / 255.0f); }

template <class T>
constexpr T clampTo(T v, T lo, T hi) noexcept { return v < lo ? lo : (v > hi ? hi : v); }

}  // namespace orv
