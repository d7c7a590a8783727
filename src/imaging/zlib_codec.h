// Whole-buffer deflate and inflate as zlib streams (the compressed-layer container).
#pragma once
#include <cstddef>
#include <cstdint>

namespace orv {

// The zlib level a compression option selects: 0..9 as given, anything else the default.
int zlibLevel(int32_t option) noexcept;

// Compresses n bytes into dst; returns the stream's size, or 0 when dst is null or too
// small for the stream. Throws std::bad_alloc when zlib runs out of memory.
size_t deflateBuffer(const uint8_t* src, size_t n, uint8_t* dst, size_t dstSize, int level);

enum class InflateStatus {
    Complete,   // the stream ended; bytes tells how much it held
    Filled,     // dst is full and the stream holds more; the rest is not read
    Truncated,  // the input ran out before the stream ended
    Corrupt,    // not a valid stream
};
struct Inflated {
    InflateStatus status;
    size_t bytes;  // bytes written to dst
};
// Decompresses at most dstSize bytes into dst, reading at most n bytes of src. Never
// writes past dst or reads past src, whatever the bytes say. Throws std::bad_alloc when
// zlib runs out of memory.
Inflated inflateBuffer(const uint8_t* src, size_t n, uint8_t* dst, size_t dstSize);

}  // namespace orv
