// The blend-mode vocabulary: ids 0..40, their exact names and kinds. This table is the one
// place that names a mode; the compositor and the merge take their arithmetic from
// blend_formulas.h, keyed by the same ids.
#pragma once
#include <array>
#include <cstdint>

namespace orv {

enum class BlendKind : uint8_t { Blend, BlendAsNormal, Texturize, TextureSource, None, AlphaOnly, AlphaThenTexturize2, LayerMask };

struct BlendModeInfo {
    int32_t id;
    const char* name;  // null for the unnamed id 20
    BlendKind kind;
};

enum BlendId : int32_t {
    kBlendNormal = 0, kBlendMultiply, kBlendScreen, kBlendDarken, kBlendLighten, kBlendDifference,
    kBlendNegation, kBlendExclusion, kBlendOverlay, kBlendHardLight, kBlendSoftLight, kBlendDodge,
    kBlendBurn, kBlendReflect, kBlendGlow, kBlendAdd, kBlendSubtract, kBlendTexturize, kBlendTexturize2,
    kBlendTexturize3, kBlendUnnamed20, kBlendAlphaFilter, kBlendAlphaBlackOutline, kBlendAlphaOutlineTint1,
    kBlendAlphaOutlineTint2, kBlendAlphaInvert, kBlendAlphaShader, kBlendAlphaShaderColor,
    kBlendAlphaShaderTexture2, kBlendAlphaHighlightTexture2, kBlendAlphaSmooth, kBlendAlphaSmoothLum,
    kBlendAlphaSmoothLum2, kBlendAlphaSmoothLum3, kBlendAlphaSmoothLum4, kBlendAlphaSmoothLum5,
    kBlendAlphaOverlayOutline, kBlendAlphaHighlight, kBlendLayerMask, kBlendLuminanceAlpha,
    kBlendLuminanceAlphaInvert,
    kBlendModeCount
};

inline constexpr std::array<BlendModeInfo, kBlendModeCount> kBlendModes = {{
    {0, "Normal", BlendKind::Blend},
    {1, "Multiply", BlendKind::Blend},
    {2, "Screen", BlendKind::Blend},
    {3, "Darken", BlendKind::Blend},
    {4, "Lighten", BlendKind::Blend},
    {5, "Difference", BlendKind::Blend},
    {6, "Negation", BlendKind::Blend},
    {7, "Exclusion", BlendKind::Blend},
    {8, "Overlay", BlendKind::Blend},
    {9, "Hard Light", BlendKind::Blend},
    {10, "Soft Light", BlendKind::Blend},
    {11, "Dodge", BlendKind::Blend},
    {12, "Burn", BlendKind::Blend},
    {13, "Reflect", BlendKind::BlendAsNormal},
    {14, "Glow", BlendKind::BlendAsNormal},
    {15, "Add", BlendKind::Blend},
    {16, "Subtract", BlendKind::Blend},
    {17, "Texturize", BlendKind::Texturize},
    {18, "Texturize2", BlendKind::Texturize},
    {19, "Texturize3", BlendKind::TextureSource},
    {20, nullptr, BlendKind::None},
    {21, "Alpha Filter", BlendKind::AlphaOnly},
    {22, "Alpha Black Outline", BlendKind::AlphaOnly},
    {23, "Alpha Outline Tint 1", BlendKind::AlphaOnly},
    {24, "Alpha Outline Tint 2", BlendKind::AlphaOnly},
    {25, "Alpha Invert", BlendKind::AlphaOnly},
    {26, "Alpha Shader", BlendKind::AlphaOnly},
    {27, "Alpha Shader Color", BlendKind::AlphaOnly},
    {28, "Alpha Shader Texture2", BlendKind::AlphaThenTexturize2},
    {29, "Alpha Highlight Texture2", BlendKind::AlphaThenTexturize2},
    {30, "Alpha Smooth", BlendKind::AlphaOnly},
    {31, "Alpha Smooth Lum", BlendKind::AlphaOnly},
    {32, "Alpha Smooth Lum2", BlendKind::AlphaOnly},
    {33, "Alpha Smooth Lum3", BlendKind::AlphaOnly},
    {34, "Alpha Smooth Lum4", BlendKind::AlphaOnly},
    {35, "Alpha Smooth Lum5", BlendKind::AlphaOnly},
    {36, "Alpha Overlay Outline", BlendKind::AlphaOnly},
    {37, "Alpha Highlight", BlendKind::AlphaOnly},
    {38, "Layer Mask", BlendKind::LayerMask},
    {39, "Luminance Alpha", BlendKind::AlphaOnly},
    {40, "Luminance Alpha Invert", BlendKind::AlphaOnly},
}};

// Exact, case-sensitive, whole-text match; an unknown or null name gives 0 ("Normal").
int32_t blendModeFromName(const char* name) noexcept;

// The name of an id, or null for id 20 and ids outside 0..40.
const char* blendModeName(int32_t id) noexcept;

}  // namespace orv
