// Mask makers over page-sized host buffers (RGBA32: red, green, blue, alpha bytes; RGB24:
// red, green, blue; both packed with pageWidth pixels a row) and page-sized byte maps.
//
// A maker writes only the pixels it selects; every other mask value stays, so selections
// add up until the host clears the mask. Selected pixels get (255 - a) x 256 modulo 65536
// for the selection strength a (maskFromStrength). Tolerances are percentages 0..100: a
// tolerance outside that range changes nothing. A null buffer or a page without a mask
// changes nothing.
#pragma once
#include <cstdint>

namespace orv {
struct EngineState;

struct Rgb {
    int32_t r, g, b;
};

// Pixels whose red, green and blue equal the colour.
void maskFromRgbaColor(EngineState& s, const uint8_t* rgba, Rgb c, int32_t a) noexcept;
void maskFromRgb24Color(EngineState& s, const uint8_t* rgb, Rgb c, int32_t a) noexcept;

// Squared RGB distance to the colour at most maxDistanceSq (0 .. 195075).
void maskFromRgbaColorDistance(EngineState& s, const uint8_t* rgba, Rgb c, uint32_t maxDistanceSq, int32_t a) noexcept;
// Every channel within rangeLimit8 of the colour's.
void maskFromRgbaColorRange(EngineState& s, const uint8_t* rgba, Rgb c, int32_t tolerance, int32_t a) noexcept;
// Alpha within rangeLimit8 of the given alpha.
void maskFromRgbaAlphaRange(EngineState& s, const uint8_t* rgba, int32_t alpha, int32_t tolerance, int32_t a) noexcept;
// Integer mean (R + G + B) / 3 within rangeLimit8 of the colour's mean.
void maskFromRgbaLuminanceRange(EngineState& s, const uint8_t* rgba, Rgb c, int32_t tolerance, int32_t a) noexcept;
// HSV hue within trunc(tolerance x 1.8) degrees of the colour's hue (see hueWithin).
void maskFromRgbaHueRange(EngineState& s, const uint8_t* rgba, Rgb c, int32_t tolerance, int32_t a) noexcept;

struct HslTolerance {
    double hue;         // fraction of 180 degrees
    double saturation;  // 0..1
    double lightness;   // 0..1
};
// HSL hue within hue x 180 degrees, saturation and lightness within their tolerances.
void maskFromRgbaHslRange(EngineState& s, const uint8_t* rgba, Rgb c, const HslTolerance& t, int32_t a) noexcept;

// Pixels whose map byte is 1.
void maskFromFloodMap(EngineState& s, const uint8_t* map, int32_t a) noexcept;
// Pixels where any of the four bytes differ between the buffers get value (low 16 bits).
void maskFromDiffRgba(EngineState& s, const uint8_t* rgba1, const uint8_t* rgba2, int32_t value) noexcept;

// The hue test: h and h0 in degrees match when any of trunc(h - h0), trunc(h - (h0 - 360))
// and trunc(h - 360 - h0) lies within the limit in absolute value (the last two cover the
// wrap at 360).
bool hueWithin(double h, double h0, double limit) noexcept;

}  // namespace orv
