#include "media/image_reader.h"

#include "media/image_files.h"

namespace orv {

// Metafiles are rendered over white.
bool readImageFile(const char* path, RgbaImage& out) { return readAnyImage(path, 0xFFFFFF, out); }

}  // namespace orv
