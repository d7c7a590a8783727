// Turning an RGBA image about its centre while keeping its size.
#pragma once
#include "imaging/image.h"

namespace orv {

// Turns src by degrees about its centre into out (same width and height). Positive angles
// turn clockwise as displayed (rows run downward). Each output pixel samples the source
// bilinearly at the inverse-turned position, weighting colour by alpha; positions outside
// the source read transparent black, so corners that leave the frame are lost and uncovered
// corners become transparent. A whole number of turns copies the image unchanged. out may
// not alias src.
void rotateImage(const RgbaImage& src, double degrees, RgbaImage& out);

}  // namespace orv
