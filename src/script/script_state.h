// Scripted filters: the filter host's settings and the paint-script recorder.
#pragma once
#include <cstdint>

#include "engine/buffer.h"

namespace orv {

struct ScriptState {};

}  // namespace orv
