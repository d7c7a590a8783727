#include "engine/engine_state.h"

namespace orv {

EngineState& engine() noexcept {
    static EngineState state;
    return state;
}

}  // namespace orv
