// Tablet input: the open context and its packet queue.
#pragma once
#include <cstdint>

#include "engine/buffer.h"

namespace orv {

struct TabletState {};

}  // namespace orv
