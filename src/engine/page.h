// Page geometry, view settings and the page-wide settings of the engine state.
#pragma once
#include <cstdint>

namespace orv {

inline constexpr int32_t kMaxPageSide = 10000;

struct PageGeometry {
    void* ownerWindow = nullptr;
    int32_t pageWidth = 0;
    int32_t pageHeight = 0;
    int32_t pageStride = 0;     // pageWidth * 4, in 16-bit units
    int32_t maxBrushSize = 0;
    int32_t brushStride = 0;    // maxBrushSize * 4, in 16-bit units
    int32_t reserved = 0;

    size_t pixelCount() const noexcept {
        return static_cast<size_t>(pageWidth > 0 ? pageWidth : 0) * static_cast<size_t>(pageHeight > 0 ? pageHeight : 0);
    }
};

struct ViewSettings {
    int32_t viewScale = 1;
    float viewZoom = 1.0f;
    int32_t viewOffsetX = 0, viewOffsetY = 0;
    int32_t viewWidth = 0, viewHeight = 0;
    uint8_t tracingMode = 0;
};

struct EngineSettings {
    char startDirectory[1024] = {};
    uint32_t randomSeed = 0;
    char systemDirectory[260] = {};  // filled by ORV_GetDirInfo; valid until its next call
};

// A page side as the page operations accept it: negative values and values above
// 10000 become 100; zero stays zero.
constexpr int32_t clampPageSide(int32_t v) noexcept { return (v < 0 || v > kMaxPageSide) ? 100 : v; }

}  // namespace orv
