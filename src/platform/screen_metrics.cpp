#include "platform/screen_metrics.h"

#include <cstdio>

namespace orv {

// The first frame buffer's visible size ("width,height"), the screen the console and any
// display server draw on.
ScreenSize screenSize() noexcept {
    ScreenSize s;
    if (std::FILE* f = std::fopen("/sys/class/graphics/fb0/virtual_size", "r")) {
        int w = 0, h = 0;
        if (std::fscanf(f, "%d,%d", &w, &h) == 2 && w > 0 && h > 0) s = {w, h};
        std::fclose(f);
    }
    return s;
}

}  // namespace orv
