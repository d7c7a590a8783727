// The one process-wide engine record. Each subsystem owns its part; the record only holds
// them together. Subsystem code takes the parts it needs as parameters; only the exported
// entry points reach the process-wide instance through engine().
#pragma once
#include <cstdint>

#include "brush/brush_state.h"
#include "composite/composite_state.h"
#include "desktop/desktop_state.h"
#include "effects/effects_state.h"
#include "engine/last_error.h"
#include "engine/layer.h"
#include "engine/page.h"
#include "mask/mask_state.h"
#include "media/media_state.h"
#include "script/script_state.h"
#include "tablet/tablet_state.h"
#include "undo/undo_state.h"

namespace orv {

struct EngineState {
    PageGeometry page;
    ViewSettings view;
    EngineSettings settings;
    LayerTable layers;
    MaskState mask;
    UndoState undo;
    BrushState brush;
    CompositeState composite;
    EffectsState effects;
    TabletState tablet;
    ScriptState script;
    MediaState media;
    DesktopState desktop;
    LastError lastError;
    uint8_t displayChanged = 0;
};

// The process-wide instance.
EngineState& engine() noexcept;

}  // namespace orv
