// The brush shape: fills the shapeBuffer (brushSize x brushSize coverage values, row stride
// maxBrushSize) from an image script, an image file or the built-in round shape.
#pragma once
#include <cstddef>
#include <cstdint>

namespace orv {
struct EngineState;

struct BrushShapeRequest {
    const char* path = nullptr;  // image script or image file; null or under 2 characters: round shape
    int32_t angle = 0;           // degrees the source image is turned by before it is sized
    bool imageFileOnly = false;  // never read the path as an image script, and round the round
                                 // shape's soft-edge width to a 32-bit float
};

// Paths this long or longer are refused (the round shape is used) and never cached.
inline constexpr size_t kMaxShapePathLength = 1024;

// Clears the shape area, then builds the shape from the request's source, falling back to
// the round shape whenever the source cannot be loaded, turned or sized. Reads brushSize,
// shapeIntensity, edgeSoftness and invertShape from the brush settings; sets drawingLength
// to gritRepeat when an image was sized. The source image is cached by path and angle.
// Does nothing without a shape buffer (no page).
void setBrushShape(EngineState& s, const BrushShapeRequest& r);

// The built-in round shape of edge size into shape (row stride stride): a disc of radius
// size / 2 with a linear soft rim of edgeSoftness / 255 of the radius, optionally inverted,
// every value scaled by intensity and limited to 0..65535.
struct RoundShapeParams {
    int32_t size = 0;
    float intensity = 1.0f;
    uint8_t edgeSoftness = 0;
    uint8_t invert = 0;
    bool floatSoftWidth = false;  // round the soft-edge width to a 32-bit float
};
void drawRoundShape(uint16_t* shape, size_t stride, const RoundShapeParams& p);

}  // namespace orv
