// Colour models shared by every part of the engine that converts colour (masks, adjustments,
// built-in filters, scripts): 8-bit RGB to and from HSV, HSL, CIE XYZ, CIE L*a*b* and CMYK.
//
// All arithmetic is in double precision with the constants written out below; every
// conversion back to a byte truncates toward zero (never rounds), and where a clamp is
// stated it is applied after the truncation. The functions are pure and write their results
// through the caller's variables.
#pragma once
#include <cstdint>

namespace orv {

// The channel fraction: byte x kByteToUnit (the double nearest 1/255).
inline constexpr double kByteToUnit = 0.00392156862745098;

// Hue in degrees 0..360, or -1 for a colour without hue (grey, black, white; saturation 0).
// Ties between channels go to red first, then green.
void RgbToHsv(int red, int green, int blue, double& hue, double& saturation, double& value);

// Hue 360 counts as 0; a hue outside 0..360 is wrapped into it. Bytes = trunc(channel x 255).
void HsvToRgb(double hue, double saturation, double value, uint8_t& red, uint8_t& green, uint8_t& blue);

// Hue in degrees 0..360 (0 for a colour without hue), saturation and lightness 0..1.
void RgbToHsl(int red, int green, int blue, double& hue, double& saturation, double& lightness);

// One channel of the HSL inverse: trunc(value x 255), the hue wrapped once into 0..360.
int HueToChannel(double m1, double m2, double hue);

void HslToRgb(double hue, double saturation, double lightness, uint8_t& red, uint8_t& green, uint8_t& blue);

// sRGB (D65) to XYZ with white at X = 95.047, Y = 100, Z = 108.883; negatives become 0.
void RgbToXyz(int red, int green, int blue, double& x, double& y, double& z);
void XyzToLab(double x, double y, double z, double& l, double& a, double& b);
void LabToXyz(double l, double a, double b, double& x, double& y, double& z);
// Bytes truncated, then clamped to 0..255.
void XyzToRgb(double x, double y, double z, uint8_t& red, uint8_t& green, uint8_t& blue);
void LabToRgb(double l, double a, double b, uint8_t& red, uint8_t& green, uint8_t& blue);

// Under-colour removal: black = min(1, c, m, y); the rest scaled by 1 / (1 - black).
void CmyToCmyk(double c, double m, double y, double& cyan, double& magenta, double& yellow, double& black);
// Bytes keep only the low 8 bits of the truncated result (no clamp): inputs are expected in
// 0..1.
void CmykToRgb(double cyan, double magenta, double yellow, double black, uint8_t& red, uint8_t& green,
               uint8_t& blue);

}  // namespace orv
