// The dab painter's mix formulas, one tiny function each, named after the modes.
//
// Values are unsigned 32-bit; Cb is the backdrop channel, Cp the working (paint) channel
// C'. Modes 34..48 give a per-channel f that is then lerped with the mix amount; the bank
// and special modes pick what to lerp. The integer order of operations is part of the
// result: products are shifted before they are added, exactly as written.
#pragma once
#include <cmath>
#include <cstdint>

namespace orv::mix {

// Lerp X: ((a x X) >> 4 + (a' x C') >> 4) >> 4 with a = mixAmount, a' = 256 - a.
inline uint32_t lerp(uint32_t a, uint32_t ar, uint32_t x, uint32_t cp) noexcept {
    return (((a * x) >> 4) + ((ar * cp) >> 4)) >> 4;
}

inline uint32_t screen(uint32_t cb, uint32_t cp) noexcept { return 65535 - (((65535 - cb) * (65535 - cp)) >> 16); }
inline uint32_t darken(uint32_t cb, uint32_t cp) noexcept { return cb < cp ? cb : cp; }
inline uint32_t lighten(uint32_t cb, uint32_t cp) noexcept { return cb > cp ? cb : cp; }
inline uint32_t difference(uint32_t cb, uint32_t cp) noexcept { return cb > cp ? cb - cp : cp - cb; }
inline uint32_t negation(uint32_t cb, uint32_t cp) noexcept {
    const int32_t d = 65535 - static_cast<int32_t>(cb) - static_cast<int32_t>(cp);
    return static_cast<uint32_t>(65535 - (d < 0 ? -d : d));
}
inline uint32_t exclusion(uint32_t cb, uint32_t cp) noexcept { return cb + cp - ((cb * cp) >> 15); }
inline uint32_t overlay(uint32_t cb, uint32_t cp) noexcept {
    return cb < 32767 ? (cb * cp) >> 15 : 65535 - (((65535 - cb) * (65535 - cp)) >> 15);
}
inline uint32_t hardLight(uint32_t cb, uint32_t cp) noexcept {
    return cp < 32767 ? (cb * cp) >> 15 : 65535 - (((65535 - cb) * (65535 - cp)) >> 15);
}
// s from C' in extended precision, d from Cb rounded to a 32-bit float.
inline uint32_t softLight(uint32_t cb, uint32_t cp) noexcept {
    const long double s = cp * static_cast<long double>(1.5259021896696422e-05);
    const long double d = static_cast<float>(cb * static_cast<long double>(1.5259021896696422e-05));
    const long double r = s < 0.5L ? d * (2 * s + (1 - 2 * s) * d) : std::sqrt(d) * (2 * s - 1) + 2 * d * (1 - s);
    return static_cast<uint32_t>(static_cast<long long>(r * 65535.0L));
}
inline uint32_t dodge(uint32_t cb, uint32_t cp) noexcept {
    if (cp >= 65535) return 65535;
    const uint32_t v = (cb * 65536u) / (65535 - cp);
    return v < 65535 ? v : 65535;
}
inline uint32_t burn(uint32_t cb, uint32_t cp) noexcept {
    if (cp == 0) return 0;
    const long long v = 65535 - static_cast<long long>((65535 - cb) * 65536u) / cp;
    return v < 0 ? 0 : static_cast<uint32_t>(v);
}
inline uint32_t reflect(uint32_t cb, uint32_t cp) noexcept {
    if (cp >= 65535) return 65535;
    const uint32_t v = cb * cb / (65535 - cp);
    return v < 65535 ? v : 65535;
}
inline uint32_t glow(uint32_t cb, uint32_t cp) noexcept {
    if (cb >= 65535) return 65535;
    const uint32_t v = cp * cp / (65535 - cb);
    return v < 65535 ? v : 65535;
}
inline uint32_t add(uint32_t cb, uint32_t cp) noexcept { return cb + cp < 65535 ? cb + cp : 65535; }
inline uint32_t subtract(uint32_t cb, uint32_t cp) noexcept { return cb + cp > 65535 ? cb + cp - 65535 : 0; }

inline uint32_t quantize4(uint32_t c) noexcept {
    return c < 0x2AAA ? 0 : c < 0x7FFF ? 0x5555 : c < 0xD555 ? 0xAAAA : 0xFFFF;
}
inline uint32_t quantize3(uint32_t c) noexcept { return c < 0x5555 ? 0 : c < 0xAAAA ? 0x7FFF : 0xFFFF; }

// Final step of the modes above 33: full coverage takes the mix as it is; otherwise
// Cout = min((((V Cm) >> 8 + ((65536 - V) Cb) >> 8) >> 8) + 1, 65535).
inline uint32_t finalColour(uint32_t v, uint32_t cm, uint32_t cb) noexcept {
    const uint32_t c = ((((v * cm) >> 8) + (((65536 - v) * cb) >> 8)) >> 8) + 1;
    return c < 65535 ? c : 65535;
}
inline uint32_t finalAlpha(uint32_t v, uint32_t amix, uint32_t ad) noexcept {
    return (((v * amix) >> 8) + (((65536 - v) * ad) >> 8)) >> 8;
}

// Backdrop of the modes above 33 over a partly transparent destination:
// k = min(3 (((65535 - Ad) V) >> 16), 65535), Cb = (((65535 - k) Cd) >> 8 + (k C') >> 8) >> 8.
inline uint32_t partialBackdrop(uint32_t k, uint32_t cd, uint32_t cp) noexcept {
    return ((((65535 - k) * cd) >> 8) + ((k * cp) >> 8)) >> 8;
}

}  // namespace orv::mix
