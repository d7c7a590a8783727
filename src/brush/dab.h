// The dab painter: stamps the brush shape through the footprint scale table onto the paint
// layer or the current layer (or, in mask-maker mode, into the selection mask).
#pragma once
#include <cstdint>

namespace orv {
struct EngineState;

// Which implementation of the per-pixel loop runs: the literal one that follows the
// arithmetic step by step with every choice made per pixel, or the specialised one that
// makes the choices once per dab. Both give identical pixels; the literal one is the
// reference the tests hold the fast one to.
enum class DabLoop { Fast, Literal };

// x, y: the dab centre in page pixels; r, g, b: 16-bit colour of which only the high byte
// counts. Returns 0.
int32_t drawDabGrit(EngineState& s, int32_t x, int32_t y, int32_t r, int32_t g, int32_t b, DabLoop loop = DabLoop::Fast);
// Paints a grey level from currentColor into the selection mask. Returns 0.
int32_t drawDabGritMask(EngineState& s, int32_t x, int32_t y);

}  // namespace orv
