// Exchange with the desktop: clipboard, screen and scanner.
#pragma once
#include <cstdint>

#include "engine/buffer.h"

namespace orv {

struct DesktopState {};

}  // namespace orv
