#include "media/image_reader.h"

namespace orv {

// Replaced by the codec layer; until then no format is recognised.
bool readImageFile(const char*, RgbaImage&) { return false; }

}  // namespace orv
