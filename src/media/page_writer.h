// Writing the flattened page to a file one row at a time: the page is never held whole,
// only one row of layer pixels and one output row.
#pragma once
#include <cstdint>
#include <functional>

namespace orv {
struct EngineState;

// Fills `row` with page row y of the flattened page: pageWidth RGBA64 pixels.
using PageRowSource = std::function<void(int32_t y, uint16_t* row)>;

// The page's own rows: the visible layers merged for the rectangle (0, y, pageWidth, 1).
PageRowSource mergedRowSource(EngineState& s);

// Writes the page with the row writer the extension names for 3 (RGB) or 4 (RGBA) channels.
// An extension without such a writer, an empty page or rows that cannot be allocated write
// nothing (the path is not touched). Returns whether the file was written completely.
bool savePageToFile(EngineState& s, const char* path, const char* extension, int32_t dpi, int channels,
                    const PageRowSource& rows);

}  // namespace orv
