#include "mask/masked_layer_load.h"

#include "composite/merge.h"
#include "engine/engine_state.h"
#include "engine/pixel_transfer.h"
#include "mask/selection_apply.h"

namespace orv {

namespace {

// Makes a slot the current layer for the length of one step.
class CurrentLayerScope {
public:
    CurrentLayerScope(LayerTable& t, int32_t layer) noexcept
        : t_(t), number_(t.currentLayerNumber), record_(t.currentLayer) {
        t.currentLayerNumber = layer;
        t.currentLayer = &t.slots[layer];
    }
    ~CurrentLayerScope() {
        t_.currentLayerNumber = number_;
        t_.currentLayer = record_;
    }

private:
    LayerTable& t_;
    int32_t number_;
    LayerRecord* record_;
};

}  // namespace

void loadRgba32LayerMasked(EngineState& s, uint8_t* rgba, int32_t layer, int32_t adjustWidth, int32_t adjustHeight,
                           bool adjust) {
    LayerRecord* target = s.layers.presentLayer(layer);
    if (!target || !rgba) return;
    if (adjust) adjustByMaskAndTexture(s, rgba, adjustWidth, adjustHeight);
    {
        // The clear belongs to the slot being loaded; clearing the current layer instead
        // would wipe the selection out of a layer the caller did not name.
        CurrentLayerScope scope(s.layers, layer);
        clearLayerMasked(s, Colour8{0, 0, 0, 0});
    }
    mergeBufferIntoLayer(s, rgba, *target, 0, 255, target->lockAlpha != 0);
}

}  // namespace orv
