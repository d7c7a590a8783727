// Reading image files by content (not by extension) into an RGBA image.
#pragma once
#include "imaging/image.h"

namespace orv {

// Decodes the file at path; false (out untouched) when it cannot be read or decoded.
bool readImageFile(const char* path, RgbaImage& out);

}  // namespace orv
