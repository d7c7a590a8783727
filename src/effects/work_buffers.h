// The work buffers: page-sized 8-bit copies of the current layer that effects, filters,
// scripts, the magic wand, the clipboard and screen capture work on.
//
// Every allocation first releases the buffer of the same name, so a second allocation never
// leaks the first and a failed one (std::bad_alloc) leaves the buffer null. The source
// buffers are filled from the current layer when allocated and only refreshed on request;
// they do not follow later changes of the layer. Destination buffers come out zero-filled,
// so a filter that leaves pixels unwritten gives the same bytes every run.
#pragma once
#include <cstdint>

namespace orv {
struct EngineState;

// source32 = the layer numbered currentLayerNumber as R, G, B, A bytes (pageWidth x 4 per row).
uint8_t* allocSrcBuffer32(EngineState& s);
void freeSrcBuffer32(EngineState& s) noexcept;
uint8_t* allocDstBuffer32(EngineState& s);
void freeDstBuffer32(EngineState& s) noexcept;
// Refills source32 from the current layer; null (nothing done) when there is no source32.
uint8_t* updateSrcBuffer32(EngineState& s) noexcept;
// Copy a page of R, G, B, A bytes into source32 / destination32 when both exist.
void setSrcBuffer32(EngineState& s, const void* pixels) noexcept;
void setDstBuffer32(EngineState& s, const void* pixels) noexcept;

// source24 = the current layer as R, G, B bytes (pageWidth x 3 per row).
uint8_t* allocSrcBuffer24(EngineState& s);
void freeSrcBuffer24(EngineState& s) noexcept;
uint8_t* allocDstBuffer24(EngineState& s);
void freeDstBuffer24(EngineState& s) noexcept;

}  // namespace orv
