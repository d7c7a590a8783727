// The brush settings: process-wide values the host sets through the brush setters and the
// tool call, with the values derived from them; they keep their values across pages until
// set again.
#pragma once
#include <array>
#include <cstdint>

namespace orv {

inline constexpr int kScaleTableSize = 1000;

struct BrushSettings {
    uint16_t currentColor[4] = {0, 0, 0, 65535};  // the paint colour, R, G, B, A
    uint16_t colorBanks[16] = {};   // R[0..3], G[0..3], B[0..3], A[0..3]
    int32_t blendStrength = 0, blendStrengthRest = 0;
    int32_t blendPrimaryColorStrength = 0, primaryRest = 0;
    uint8_t blendRemix = 0;
    int32_t density = 0;  // grit threshold: a grit byte above it is not painted
    int32_t alphaPercent = 0, alphaFactor = 0;
    int32_t colorVary = 0, pixelColorVary = 0, pixelLumVary = 0;
    int32_t alphaLocked = 0, colorLocked = 0, blobLocked = 0;
    int32_t alphaLevel = 0;
    int32_t imageBrushMode = 0, solidBrushMode = 0;
    int32_t rotateMode = 0, rotateAngle = 0;
    float rotateRadians = 0, rotateSin = 0, rotateCos = 1;
    int32_t mixMode = 0, mixAmount = 0, mixRest = 256, posterizeShift = 0;
    int32_t brushSize = 0;      // S: edge of the brush shape in pixels
    int32_t footprintSize = 0;  // N: edge of the dab footprint
    std::array<int32_t, kScaleTableSize> scaleTable{};  // shape row/column sampled per footprint row/column
    uint8_t tempDisableBlend = 0, maskMakerOn = 0, eraseModeOn = 0;
    float shapeIntensity = 1.0f;  // factor on every shape value
    int32_t gritCellSize = 0, gritCellThreshold = 0, gritPixelThreshold = 0;
    uint8_t edgeSoftness = 0;  // soft edge of the built-in round shape, 0 hard .. 255
    uint8_t invertShape = 0;   // invert the built-in round shape
    int32_t gritRepeat = 0;     // dabs painted with one grit pattern
    int32_t drawingLength = 0;  // below 1: the next dab picks a new grit pattern
    uint8_t toolOption11 = 0, toolOption13 = 0;
    int32_t shapeAngle = 0;
};

}  // namespace orv
