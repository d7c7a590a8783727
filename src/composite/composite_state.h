// The compositor's per-call scratch and settings.
#pragma once
#include <cstdint>

#include "engine/buffer.h"

namespace orv {

struct CompositeState {};

}  // namespace orv
