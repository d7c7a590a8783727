#include "imaging/zlib_codec.h"

#include <zlib.h>

#include <algorithm>
#include <limits>
#include <new>

namespace orv {

namespace {
// zlib counts in uInt; larger buffers are fed in pieces.
constexpr size_t kPiece = std::numeric_limits<uInt>::max();

void feed(z_stream& z, const uint8_t*& in, size_t& inLeft, uint8_t*& out, size_t& outLeft) {
    if (z.avail_in == 0 && inLeft) {
        z.next_in = const_cast<Bytef*>(in);
        z.avail_in = static_cast<uInt>(std::min(inLeft, kPiece));
        in += z.avail_in;
        inLeft -= z.avail_in;
    }
    if (z.avail_out == 0 && outLeft) {
        z.next_out = out;
        z.avail_out = static_cast<uInt>(std::min(outLeft, kPiece));
        out += z.avail_out;
        outLeft -= z.avail_out;
    }
}
}  // namespace

int zlibLevel(int32_t option) noexcept { return option >= 0 && option <= 9 ? option : Z_DEFAULT_COMPRESSION; }

size_t deflateBuffer(const uint8_t* src, size_t n, uint8_t* dst, size_t dstSize, int level) {
    if (!dst || !dstSize || (!src && n)) return 0;
    z_stream z{};
    const int init = deflateInit(&z, level);
    if (init == Z_MEM_ERROR) throw std::bad_alloc();
    if (init != Z_OK) return 0;
    size_t inLeft = n, outLeft = dstSize;
    int rc = Z_OK;
    while (rc == Z_OK) {
        feed(z, src, inLeft, dst, outLeft);
        if (z.avail_out == 0) break;  // dst is full before the stream ended
        rc = deflate(&z, inLeft == 0 ? Z_FINISH : Z_NO_FLUSH);
        if (rc == Z_BUF_ERROR) rc = Z_OK;  // no progress possible this round; feed more
    }
    const size_t written = z.total_out;
    deflateEnd(&z);
    return rc == Z_STREAM_END ? written : 0;
}

Inflated inflateBuffer(const uint8_t* src, size_t n, uint8_t* dst, size_t dstSize) {
    if (!src || !dst) return {InflateStatus::Corrupt, 0};
    z_stream z{};
    const int init = inflateInit(&z);
    if (init == Z_MEM_ERROR) throw std::bad_alloc();
    if (init != Z_OK) return {InflateStatus::Corrupt, 0};
    size_t inLeft = n, outLeft = dstSize;
    InflateStatus status = InflateStatus::Truncated;
    // Once dst is full, one spare byte tells a stream that ends there (its checksum is
    // then verified) from one that holds more.
    uint8_t spare = 0;
    bool full = false;
    for (;;) {
        feed(z, src, inLeft, dst, outLeft);
        if (z.avail_out == 0 && !full) {
            full = true;
            z.next_out = &spare;
            z.avail_out = 1;
        }
        const uInt inBefore = z.avail_in, outBefore = z.avail_out;
        const int rc = inflate(&z, Z_NO_FLUSH);
        if (rc == Z_STREAM_END && !(full && z.avail_out == 0)) {
            status = InflateStatus::Complete;
            break;
        }
        if (full && z.avail_out == 0) {
            status = InflateStatus::Filled;
            break;
        }
        if (rc == Z_MEM_ERROR) {
            inflateEnd(&z);
            throw std::bad_alloc();
        }
        if (rc == Z_DATA_ERROR || rc == Z_NEED_DICT || rc == Z_STREAM_ERROR) {
            status = InflateStatus::Corrupt;
            break;
        }
        const bool progressed = z.avail_in != inBefore || z.avail_out != outBefore;
        if (!progressed && z.avail_in == 0 && inLeft == 0) break;  // input ran out: truncated
    }
    const size_t written = z.total_out - (full && status == InflateStatus::Filled ? 1 : 0);
    inflateEnd(&z);
    return {status, written};
}

}  // namespace orv
