#include "platform/display_watch.h"

#include "engine/engine_state.h"

namespace orv {

void notifyDisplayChanged() noexcept { engine().displayChanged = 1; }

bool takeDisplayChanged() noexcept {
    uint8_t& f = engine().displayChanged;
    if (!f) return false;
    f = 0;
    return true;
}

}  // namespace orv
