// The size of the primary screen in pixels, as the system reports it. {0, 0} when the
// system has no screen it can name (a headless machine).
#pragma once
#include <cstdint>

namespace orv {

struct ScreenSize {
    int32_t width = 0;
    int32_t height = 0;
};

ScreenSize screenSize() noexcept;

}  // namespace orv
