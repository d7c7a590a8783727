// The arithmetic of every blend mode, written once and shared by the compositor and the merge.
//
// Colour formulas work on four float lanes (red, green, blue, unused) so one formula serves
// every channel; each lane is plain IEEE single-precision arithmetic in the written order, so
// the result does not depend on how many lanes run at once. S and D are premultiplied
// (colour x alpha), Sa and Da the alphas 0..1 broadcast over the lanes. The result alpha Ra
// is Sa + Da - Sa x Da unless the mode sets it itself.
//
// Alpha-only modes first transform the layer's 16-bit colour and alpha; the transforms are
// integer functions here too. kBlendFormulas holds one row per id of blend_modes.h: adding
// a mode means adding its name there and its row (and functions) here.
#pragma once
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "composite/blend_modes.h"

namespace orv {

using F4 = float __attribute__((vector_size(16)));
using I4 = int32_t __attribute__((vector_size(16)));

// One 16-bit pixel (or a 16-bit accumulator value) in 32-bit fields.
struct Px {
    uint32_t r, g, b, a;
};

namespace blend {

inline F4 sel(I4 m, F4 a, F4 b) noexcept { return m ? a : b; }
inline F4 splat(float v) noexcept { return F4{v, v, v, v}; }
// Clamp to [0, 1]; a NaN (0/0 in Dodge or Burn at the edges) becomes 0.
inline F4 clamp01(F4 v) noexcept { return sel(v > 0.0f, sel(v < 1.0f, v, splat(1.0f)), splat(0.0f)); }
inline float clamp01(float v) noexcept { return v > 0.0f ? (v < 1.0f ? v : 1.0f) : 0.0f; }
inline F4 vsqrt(F4 v) noexcept { return F4{std::sqrt(v[0]), std::sqrt(v[1]), std::sqrt(v[2]), std::sqrt(v[3])}; }

// Inputs of one floating-point blend step.
struct In {
    F4 S, D;    // premultiplied source and destination colour
    F4 Sa, Da;  // alphas, broadcast
    F4 d;       // destination colour, not premultiplied (texturize)
    F4 Sc;      // source colour, not premultiplied
    float sa, da;
    float L;    // source mean colour, (r + g + b) x (1/195840) (texturize)
};
struct Out {
    F4 R;
    float Ra;
};
using Formula = Out (*)(const In&) noexcept;

inline float unionAlpha(const In& i) noexcept { return i.sa + i.da - i.sa * i.da; }
// S x (1 - Da) + D x (1 - Sa) added to x, the tail most formulas share.
inline F4 plusTails(F4 x, const In& i) noexcept { return x + i.S * (1.0f - i.Da) + i.D * (1.0f - i.Sa); }

inline Out normal(const In& i) noexcept { return {i.S + i.D * (1.0f - i.Sa), unionAlpha(i)}; }
inline Out multiply(const In& i) noexcept { return {i.S * (1.0f - i.Da) + i.D * (1.0f - i.Sa) + i.S * i.D, unionAlpha(i)}; }
inline Out screen(const In& i) noexcept { return {i.S + i.D - i.S * i.D, unionAlpha(i)}; }
inline Out darken(const In& i) noexcept {
    return {sel(i.D * i.Sa <= i.S * i.Da, i.S * (1.0f - i.Da) + i.D, i.D * (1.0f - i.Sa) + i.S), unionAlpha(i)};
}
inline Out lighten(const In& i) noexcept {
    return {sel(i.D * i.Sa < i.S * i.Da, i.D * (1.0f - i.Sa) + i.S, i.S * (1.0f - i.Da) + i.D), unionAlpha(i)};
}
inline Out difference(const In& i) noexcept {
    const F4 x = i.S * i.Da, y = i.D * i.Sa;
    return {i.S + i.D - 2.0f * sel(y < x, y, x), unionAlpha(i)};
}
// Negation and Exclusion: S x Da + D x Sa - 2 x S x D + tails.
inline Out negation(const In& i) noexcept {
    return {plusTails(i.S * i.Da + i.D * i.Sa - 2.0f * i.S * i.D, i), unionAlpha(i)};
}
inline F4 overlayWith(I4 low, const In& i) noexcept {
    const F4 lo = 2.0f * i.S * i.D;
    const F4 hi = i.Sa * i.Da - 2.0f * (i.Da - i.D) * (i.Sa - i.S);
    return plusTails(sel(low, lo, hi), i);
}
inline Out overlay(const In& i) noexcept { return {overlayWith(2.0f * i.D < i.Da, i), unionAlpha(i)}; }
inline Out hardLight(const In& i) noexcept { return {overlayWith(2.0f * i.S < i.Sa, i), unionAlpha(i)}; }
inline Out softLight(const In& i) noexcept {
    const F4 m = i.D / i.Da;
    const F4 k = 2.0f * i.S - i.Sa;
    const F4 a = i.D * (i.Sa + k * (1.0f - m));
    const F4 b = i.D * (i.Sa + k * (1.0f - m) * (3.0f - 8.0f * m));
    const F4 c = i.D * i.Sa + (vsqrt(m) * i.Da - i.D) * k;
    return {plusTails(sel(2.0f * i.S < i.Sa, a, sel(8.0f * i.D <= i.Da, b, c)), i), unionAlpha(i)};
}
inline Out dodge(const In& i) noexcept {
    const F4 sum = i.S * i.Da + i.D * i.Sa;
    const F4 full = i.Sa * i.Da;
    return {plusTails(sel(sum >= full, full, i.D * i.Sa / (1.0f - i.S / i.Sa)), i), unionAlpha(i)};
}
inline Out burn(const In& i) noexcept {
    const F4 sum = i.S * i.Da + i.D * i.Sa;
    const F4 full = i.Sa * i.Da;
    return {plusTails(sel(sum <= full, splat(0.0f), i.Sa * (sum - full) / i.S), i), unionAlpha(i)};
}
inline Out add(const In& i) noexcept { return {i.S + i.D, i.sa + i.da}; }
inline Out subtract(const In& i) noexcept { return {i.S + i.D - i.Sa * i.Da, i.sa + i.da}; }
// Texturize: A = mean(d) + Sa x (L - 0.5); R = d + 1.75 x Sa x (A - 0.5); Ra = Da.
inline Out texturize(const In& i) noexcept {
    const float A = (i.d[0] + i.d[1] + i.d[2]) / 3.0f + i.sa * (i.L - 0.5f);
    return {i.d + 1.75f * i.sa * (A - 0.5f), i.da};
}
// Texturize2: R = d + 1.75 x Sa x (L - 0.5); Ra = Da.
inline Out texturize2(const In& i) noexcept { return {i.d + 1.75f * i.sa * (i.L - 0.5f), i.da}; }
// Texturize3 as a blend leaves the destination as it was: R = D, Ra = Da.
inline Out keepDestination(const In& i) noexcept { return {i.D, i.da}; }
// The compositor's Texturize3 paint layer shown over its own layer: the paint colour, opaque.
inline Out replaceWithSource(const In& i) noexcept { return {i.Sc, 1.0f}; }

// Common last step: Ra clamped to [0, 1], the new colour R / Ra clamped to [0, 1].
struct Result {
    F4 Dc;
    float Da;
};
inline Result finish(const Out& o) noexcept {
    const float Ra = clamp01(o.Ra);
    return {clamp01(o.R / Ra), Ra};
}

// ---- Alpha-only transforms (16-bit colour and alpha) ----------------------------------
using Transform = void (*)(Px&) noexcept;

inline void setColour(Px& p, uint32_t v) noexcept { p.r = p.g = p.b = v; }
inline uint32_t lumMean(const Px& p) noexcept { return (p.r + p.g + p.b) / 3; }

inline void alphaFilter(Px& p) noexcept { setColour(p, 0xFFFF); p.a = 0xFFFF - p.a; }
inline void blackOutline(Px& p) noexcept {
    if (p.a > 0 && p.a < 0xFF00) { setColour(p, 0); p.a = 0xFFFF; }
}
template <uint32_t Cap>
inline void outlineTint(Px& p) noexcept {
    if (p.a) p.a = p.a < 0x2FFF ? 0xFFFF - p.a : Cap;
}
inline void alphaInvert(Px& p) noexcept { if (p.a) p.a = 0xFFFF - p.a; }
inline void alphaShader(Px& p) noexcept {
    if (p.a) { setColour(p, p.a); p.a = 0xFFFF; }
}
inline void shaderColour(Px& p) noexcept {
    if (!p.a) return;
    auto shift = [&](uint32_t& c) {
        if (p.a < 0x7FFF) {
            const uint32_t t = 2 * (0x7FFF - p.a);
            c = c < t ? 0 : c - t;
        } else {
            c = std::min<uint32_t>(c + 2 * p.a - 0xFFFE, 0xFFFF);
        }
    };
    shift(p.r), shift(p.g), shift(p.b);
    p.a = 0xFFFF;
}
inline void highlightTexture2(Px& p) noexcept {
    if (!p.a) return;
    if (p.a >= 0x7FFF) {
        const uint32_t t = 2 * p.a - 0xFFFE;
        p.r = std::min<uint32_t>(p.r + t, 0xFFFF), p.g = std::min<uint32_t>(p.g + t, 0xFFFF), p.b = std::min<uint32_t>(p.b + t, 0xFFFF);
        p.a = 0xFFFF;
    } else {
        const uint32_t t = 2 * (0x7FFF - p.a);
        p.a = p.a < t ? 0 : p.a - t;
    }
}
inline void alphaSmooth(Px& p) noexcept {
    if (!p.a) return;
    if (p.a >= 0x7FFF) {
        p.a = 0xFFFF;
    } else {
        const uint32_t t = 4 * (0x7FFF - p.a);
        p.a = p.a < t ? 0 : p.a - t;
    }
}
// Colour shift of the smooth-luminance modes, in double precision: below the pivot P the
// colour darkens by (P - a) x darken, above it lightens by (a - P) x lighten. Results are
// kept within 0..0xFFFF (a factor above 1 would otherwise wrap the channel).
template <uint32_t P, int DarkDiv, int LightDiv, bool Ramp>
inline void smoothLum(Px& p) noexcept {
    constexpr double darken = 1.0 / DarkDiv, lighten = 1.0 / LightDiv;
    auto shift = [&](uint32_t& c) {
        double v;
        if (p.a <= P) {
            const double k = (P - p.a) * darken;
            v = std::trunc(c - c * k);
        } else {
            const double k = (p.a - P) * lighten;
            v = std::trunc(c + (0xFFFF - c) * k);
        }
        c = static_cast<uint32_t>(std::clamp(v, 0.0, 65535.0));
    };
    shift(p.r), shift(p.g), shift(p.b);
    if (!p.a) return;
    if (p.a < 0x1FFF) p.a = 0;
    else if (!Ramp || p.a >= 0x23FF) p.a = 0xFFFF;
    else p.a = 0xFFFF - std::min<uint32_t>((0x23FF - p.a) * 64, 0xFFFF);
}
inline void alphaHighlight(Px& p) noexcept { if (p.a > 0x7F00) p.a = 0; }
inline void layerMaskSelf(Px& p) noexcept { p.a = 0; }
inline void luminanceAlpha(Px& p) noexcept { p.a = lumMean(p); setColour(p, 0xFFFF); }
inline void luminanceAlphaInvert(Px& p) noexcept { p.a = 0xFFFF - lumMean(p); setColour(p, 0); }

// How a merge treats a source whose alpha-only mode equals the destination's.
enum class SameMode : uint8_t {
    None,           // not an alpha-only mode
    ReplaceNonZero, // a != 0: replace
    Replace1FFF,    // a >= 0x1FFF: replace, else a = 0
    Ramp,           // a < 0x1FFF: a = 0; below 0x23FF blend as Multiply; else replace
    Replace7F00,    // a > 0x7F00: replace, else a = 0
    Hide,           // a = 0
    Transform,      // apply the ordinary transform
};

struct FormulaRow {
    int32_t id;
    Formula formula;      // the colour formula of this id when it blends as itself
    int32_t blendsAs;     // id whose formula and shortcuts apply after any transform
    Transform transform;  // alpha-only transform, or null
    SameMode sameMode;
};

inline constexpr std::array<FormulaRow, kBlendModeCount> kBlendFormulas = {{
    {kBlendNormal, normal, kBlendNormal, nullptr, SameMode::None},
    {kBlendMultiply, multiply, kBlendMultiply, nullptr, SameMode::None},
    {kBlendScreen, screen, kBlendScreen, nullptr, SameMode::None},
    {kBlendDarken, darken, kBlendDarken, nullptr, SameMode::None},
    {kBlendLighten, lighten, kBlendLighten, nullptr, SameMode::None},
    {kBlendDifference, difference, kBlendDifference, nullptr, SameMode::None},
    {kBlendNegation, negation, kBlendNegation, nullptr, SameMode::None},
    {kBlendExclusion, negation, kBlendExclusion, nullptr, SameMode::None},
    {kBlendOverlay, overlay, kBlendOverlay, nullptr, SameMode::None},
    {kBlendHardLight, hardLight, kBlendHardLight, nullptr, SameMode::None},
    {kBlendSoftLight, softLight, kBlendSoftLight, nullptr, SameMode::None},
    {kBlendDodge, dodge, kBlendDodge, nullptr, SameMode::None},
    {kBlendBurn, burn, kBlendBurn, nullptr, SameMode::None},
    {kBlendReflect, normal, kBlendNormal, nullptr, SameMode::None},
    {kBlendGlow, normal, kBlendNormal, nullptr, SameMode::None},
    {kBlendAdd, add, kBlendAdd, nullptr, SameMode::None},
    {kBlendSubtract, subtract, kBlendSubtract, nullptr, SameMode::None},
    {kBlendTexturize, texturize, kBlendTexturize, nullptr, SameMode::None},
    {kBlendTexturize2, texturize2, kBlendTexturize2, nullptr, SameMode::None},
    {kBlendTexturize3, keepDestination, kBlendTexturize3, nullptr, SameMode::None},
    {kBlendUnnamed20, normal, kBlendNormal, nullptr, SameMode::None},
    {kBlendAlphaFilter, normal, kBlendNormal, alphaFilter, SameMode::ReplaceNonZero},
    {kBlendAlphaBlackOutline, normal, kBlendNormal, blackOutline, SameMode::ReplaceNonZero},
    {kBlendAlphaOutlineTint1, normal, kBlendNormal, outlineTint<0x2FFF>, SameMode::ReplaceNonZero},
    {kBlendAlphaOutlineTint2, normal, kBlendNormal, outlineTint<0x7FFF>, SameMode::ReplaceNonZero},
    {kBlendAlphaInvert, normal, kBlendNormal, alphaInvert, SameMode::ReplaceNonZero},
    {kBlendAlphaShader, normal, kBlendNormal, alphaShader, SameMode::ReplaceNonZero},
    {kBlendAlphaShaderColor, normal, kBlendNormal, shaderColour, SameMode::ReplaceNonZero},
    {kBlendAlphaShaderTexture2, normal, kBlendTexturize2, shaderColour, SameMode::ReplaceNonZero},
    {kBlendAlphaHighlightTexture2, normal, kBlendTexturize2, highlightTexture2, SameMode::ReplaceNonZero},
    {kBlendAlphaSmooth, normal, kBlendNormal, alphaSmooth, SameMode::ReplaceNonZero},
    {kBlendAlphaSmoothLum, normal, kBlendNormal, smoothLum<0x7FFF, 32767, 32767, false>, SameMode::Replace1FFF},
    {kBlendAlphaSmoothLum2, normal, kBlendNormal, smoothLum<0x7FFF, 65535, 32767, false>, SameMode::Replace1FFF},
    {kBlendAlphaSmoothLum3, normal, kBlendNormal, smoothLum<0x8FFE, 30000, 28672, false>, SameMode::Replace1FFF},
    {kBlendAlphaSmoothLum4, normal, kBlendNormal, smoothLum<0x8FFE, 30000, 28672, true>, SameMode::Ramp},
    {kBlendAlphaSmoothLum5, normal, kBlendNormal, smoothLum<0x7FFF, 32767, 32767, true>, SameMode::Ramp},
    {kBlendAlphaOverlayOutline, normal, kBlendNormal, blackOutline, SameMode::ReplaceNonZero},
    {kBlendAlphaHighlight, normal, kBlendNormal, alphaHighlight, SameMode::Replace7F00},
    {kBlendLayerMask, normal, kBlendNormal, layerMaskSelf, SameMode::Hide},
    {kBlendLuminanceAlpha, normal, kBlendNormal, luminanceAlpha, SameMode::Transform},
    {kBlendLuminanceAlphaInvert, normal, kBlendNormal, luminanceAlphaInvert, SameMode::Transform},
}};

constexpr bool rowsMatchIds() {
    for (int i = 0; i < kBlendModeCount; ++i)
        if (kBlendFormulas[i].id != i || kBlendModes[i].id != i) return false;
    return true;
}
static_assert(rowsMatchIds(), "formula rows follow the blend-mode ids");

// The row of an id; ids outside 0..40 blend as Normal.
inline const FormulaRow& formulaRow(int32_t id) noexcept {
    return kBlendFormulas[(id >= 0 && id < kBlendModeCount) ? id : kBlendNormal];
}
inline bool isAlphaOnly(int32_t id) noexcept { return id >= kBlendAlphaFilter && id <= kBlendLuminanceAlphaInvert; }
inline bool isTexturize(int32_t id) noexcept { return id >= kBlendTexturize && id <= kBlendTexturize3; }

// The id a layer blends as once its alpha a is final: Reflect, Glow, id 20 and the
// alpha-only ids are Normal for every later test, the opaque shortcut included; the two
// "... Texture2" modes are Texturize2 while a is not 0 and Normal when it is.
inline int32_t blendsAs(int32_t id, uint32_t a) noexcept {
    const int32_t m = formulaRow(id).blendsAs;
    return (m == kBlendTexturize2 && isAlphaOnly(id) && a == 0) ? kBlendNormal : m;
}

// Source mean colour of the texturize modes: the 16-bit sum times 1/195840.
inline float meanColour(const Px& c) noexcept { return static_cast<float>(c.r + c.g + c.b) * (1.0f / 195840.0f); }

}  // namespace blend
}  // namespace orv
