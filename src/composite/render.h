// The display render: composites the visible layers (with the paint layer of a running
// stroke) into the host's blue-green-red buffer for one page rectangle.
#pragma once
#include "composite/render_plan.h"

namespace orv {

// Renders what the plan describes. The row renderer is the one in use; the per-pixel
// reference states each step literally and is what the row renderer is checked against.
enum class RenderPath : uint8_t { Rows, Reference };
void renderPlan(const RenderPlan& p, RenderPath path = RenderPath::Rows);

void render(const EngineState& s, const RenderRequest& r);

// The composited 16-bit pixel of one page pixel, before tracing and checkerboard (reference).
Px compositeReference(const RenderPlan& p, int32_t px, int32_t py);

// The row renderer's split across threads; 0 picks by size. Results never depend on it.
void setRenderThreads(int n) noexcept;

}  // namespace orv
