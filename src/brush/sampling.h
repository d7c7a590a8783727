// Colour sampling: one pixel of an RGBA64 page image, as a 16-bit channel, a packed 8-bit
// RGBA value, or a packed 8-bit RGB colour that marks transparent pixels.
#pragma once
#include <cstdint>

namespace orv {
struct EngineState;
struct PageGeometry;

// RGBA packing of the high bytes: (R << 24) | (G << 16) | (B << 8) | A. Callers read it as
// unsigned; as a signed value it is negative whenever the red high byte is 128 or more.
int32_t packRGBA(const uint16_t* px) noexcept;
// Colour packing: (R << 16) | (G << 8) | B of the high bytes, or -1 when the alpha high
// byte is 0 (alpha below 256).
int32_t packColour(const uint16_t* px) noexcept;

// The pixel of a page-sized RGBA64 image nearest to (x, y): positions outside the page
// read the edge pixel. Null when there is no image or no page.
const uint16_t* clampedPagePixel(const PageGeometry& g, const uint16_t* pixels, int32_t x, int32_t y) noexcept;

enum class SampleSource {
    Surface,     // the current layer
    Layer,       // a layer of the table by number
    UnderLayer,  // the undo back buffer: the current layer as of the last snapshot
    Trace,       // the tracing layer, slot 0
};
// The source's page pixels, or null: no current layer, a layer number outside 0..63, an
// empty slot, or a buffer that does not hold the whole page.
const uint16_t* samplePixels(EngineState& s, SampleSource src, int32_t layer = 0) noexcept;

// Channel 0..3 (red, green, blue, alpha) of the current layer at (x, y); 0 when there is no
// current layer or (x, y) lies outside the page.
int32_t currentLayerChannel(EngineState& s, int32_t x, int32_t y, int channel) noexcept;

// Colour packing of the undo back buffer at (x, y) when the history holds an entry to
// undo at its position, else 0.
int32_t colourAtHistory(EngineState& s, int32_t x, int32_t y) noexcept;

// Colour packing of the flattened page at (x, y): the pixel merged from the visible layers
// as the layer merge flattens a rectangle (a position outside the page merges nothing and
// reads as transparent, -1). 0 when there is no page.
int32_t colourAtMerged(EngineState& s, int32_t x, int32_t y);

}  // namespace orv
