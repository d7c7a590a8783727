#include "brushes.h"

#include <iterator>

namespace orvpaint {

namespace {
// name, size, opacity, edge, mix, amount, grit cell/cell thr/pixel thr/repeat/density,
// pickup strength/primary, remix, colour vary, erase, paint layer, pressure, spacing
constexpr BrushPreset kBrushes[] = {
    {"hard round", 12, 100, 0, 32, 256, 0, 0, 0, 1, 256, 0, 0, 0, 0, false, true, Pressure::Size, 0.15f},
    {"soft airbrush", 40, 35, 255, 32, 256, 0, 0, 0, 1, 256, 0, 0, 0, 0, false, true, Pressure::Opacity, 0.1f},
    {"grit chalk", 24, 100, 40, 32, 256, 3, 140, 200, 3, 200, 0, 0, 0, 12, false, false, Pressure::Opacity, 0.25f},
    {"wet smudge", 28, 100, 160, 32, 256, 0, 0, 0, 1, 256, 200, 30, 1, 0, false, false, Pressure::Size, 0.12f},
    {"multiply marker", 18, 100, 60, 33, 256, 0, 0, 0, 1, 256, 0, 0, 0, 0, false, false, Pressure::None, 0.15f},
    {"overlay glaze", 48, 100, 200, 40, 160, 0, 0, 0, 1, 256, 0, 0, 0, 0, false, false, Pressure::Opacity, 0.15f},
    {"eraser", 30, 100, 80, 32, 256, 0, 0, 0, 1, 256, 0, 0, 0, 0, true, false, Pressure::Size, 0.15f},
    {"colour jitter", 16, 100, 30, 32, 256, 0, 0, 0, 1, 256, 0, 0, 0, 40, false, false, Pressure::Size, 0.5f},
};
}  // namespace

int brushCount() { return static_cast<int>(std::size(kBrushes)); }

const BrushPreset* brushPreset(int n) { return n >= 0 && n < brushCount() ? &kBrushes[n] : nullptr; }

}  // namespace orvpaint
