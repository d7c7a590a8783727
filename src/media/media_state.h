// Files and media: the loaded-image buffer and the open movie and document.
#pragma once
#include <cstdint>

#include "engine/buffer.h"

namespace orv {

struct MediaState {};

}  // namespace orv
