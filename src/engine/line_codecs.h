// Run-length line codes and the compressed layer: the compact forms hosts keep layers and
// the selection mask in. The byte formats are persisted, so they are fixed:
//
//   RGBA line: 5-byte records (count 1..255, red, green, blue, alpha high bytes)
//   gray line: 2-byte records (count 1..255, value high byte)
//
// No header, no literal records, no end marker: the reader knows the line length. Runs
// longer than 255 are split into records of 255 and a remainder. Decoding writes each byte
// b as b << 8, so 8 bits per channel survive. The compressed layer is the page-sized RGBA32
// image of a layer as one zlib stream.
#pragma once
#include <cstddef>
#include <cstdint>

#include "engine/layer.h"
#include "engine/page.h"

namespace orv {
struct EngineState;
struct MaskState;

inline constexpr size_t kRgbaRecordBytes = 5;
inline constexpr size_t kGrayRecordBytes = 2;

// Encode count values into dst (at least record-size x count bytes); returns the bytes
// written, 0 for null buffers or an empty line.
size_t rleEncodeRGBA(const uint16_t* src, uint8_t* dst, size_t count) noexcept;
size_t rleEncodeGray(const uint16_t* src, uint8_t* dst, size_t count) noexcept;
// Decode records from srcBytes bytes of src into at most count values; returns the values
// written. A record running past the line is cut at its end, a record of count 0 writes
// nothing, and reading stops at srcBytes: neither buffer is passed whatever the bytes say.
size_t rleDecodeRGBA(const uint8_t* src, size_t srcBytes, uint16_t* dst, size_t count) noexcept;
size_t rleDecodeGray(const uint8_t* src, size_t srcBytes, uint16_t* dst, size_t count) noexcept;

// Line wrappers: row r of a page-addressed layer or of the mask (0 <= r < pageHeight; any
// other row, an empty slot or a missing mask does nothing and returns 0). Decoding reads at
// most the longest code of a line, record-size x pageWidth bytes.
size_t getLayerLineRLE(const PageGeometry& g, LayerRecord* layer, uint8_t* dst, int32_t row) noexcept;
void putLayerLineRLE(const PageGeometry& g, LayerRecord* layer, const uint8_t* src, int32_t row) noexcept;
size_t getMaskLineRLE(const PageGeometry& g, MaskState& m, uint8_t* dst, int32_t row) noexcept;
void putMaskLineRLE(const PageGeometry& g, MaskState& m, const uint8_t* src, int32_t row) noexcept;

// The layer's page-sized RGBA32 image deflated into dst at the option's level (0..9, else
// the default). Returns the stream's size; 0 for an empty slot, a layer smaller than the
// page or a dst too small. Throws on a failed allocation.
int32_t compressLayer(const PageGeometry& g, LayerRecord* layer, uint8_t* dst, int32_t dstSize, int32_t option);
// Inflates srcSize bytes into a layer-sized RGBA32 image and loads it unweighted (alpha-0
// pixels become transparent black unless alpha is locked). A stream that ends early fills
// the rest with transparent black; a corrupt or truncated stream changes nothing and throws.
void loadCompressedLayer(EngineState& s, LayerRecord* layer, const uint8_t* src, int32_t srcSize);

}  // namespace orv
