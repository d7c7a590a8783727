#include "engine/line_codecs.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "engine/engine_state.h"
#include "engine/fixed_point.h"
#include "engine/page_access.h"
#include "engine/pixel_transfer.h"
#include "imaging/zlib_codec.h"

namespace orv {

namespace {

// K channels per value: 4 for RGBA64 pixels, 1 for mask values. A run holds values whose
// high bytes agree in every channel.
template <int K>
uint64_t runKey(const uint16_t* p) noexcept {
    uint64_t v = 0;
    std::memcpy(&v, p, K * sizeof(uint16_t));
    return v & 0xFF00FF00FF00FF00ull;
}

template <int K>
uint8_t* putRecord(uint8_t* d, size_t n, const uint16_t* first) noexcept {
    d[0] = static_cast<uint8_t>(n);
    for (int k = 0; k < K; ++k) d[1 + k] = hi8(first[k]);
    return d + 1 + K;
}

template <int K>
size_t rleEncode(const uint16_t* src, uint8_t* dst, size_t count) noexcept {
    if (!src || !dst || count == 0) return 0;
    uint8_t* d = dst;
    size_t start = 0;
    while (start < count) {
        // A run starts at `start` and takes every following value with the same high
        // bytes, up to 255 values.
        const uint64_t key = runKey<K>(src + start * K);
        const size_t limit = std::min(count, start + 255);
        size_t end = start + 1;
        while (end < limit && runKey<K>(src + end * K) == key) ++end;
        d = putRecord<K>(d, end - start, src + start * K);
        start = end;
    }
    return static_cast<size_t>(d - dst);
}

template <int K>
size_t rleDecode(const uint8_t* src, size_t srcBytes, uint16_t* dst, size_t count) noexcept {
    if (!src || !dst) return 0;
    size_t written = 0;
    for (size_t at = 0; written < count && srcBytes - at >= 1 + K; at += 1 + K) {
        const size_t n = std::min<size_t>(src[at], count - written);
        uint16_t v[K];
        for (int k = 0; k < K; ++k) v[k] = to16(src[at + 1 + k]);
        uint16_t* d = dst + written * K;
        for (size_t i = 0; i < n; ++i, d += K) std::memcpy(d, v, sizeof v);
        written += n;
    }
    return written;
}

bool validRow(const PageGeometry& g, int32_t row) noexcept { return row >= 0 && row < g.pageHeight && g.pageWidth > 0; }

const uint16_t* maskRow(const PageGeometry& g, MaskState& m, int32_t row) noexcept {
    const uint16_t* plane = pagePlane(g, m.maskBuffer);
    return plane && validRow(g, row) ? plane + static_cast<size_t>(row) * static_cast<size_t>(g.pageWidth) : nullptr;
}

}  // namespace

size_t rleEncodeRGBA(const uint16_t* src, uint8_t* dst, size_t count) noexcept { return rleEncode<4>(src, dst, count); }
size_t rleEncodeGray(const uint16_t* src, uint8_t* dst, size_t count) noexcept { return rleEncode<1>(src, dst, count); }
size_t rleDecodeRGBA(const uint8_t* src, size_t srcBytes, uint16_t* dst, size_t count) noexcept {
    return rleDecode<4>(src, srcBytes, dst, count);
}
size_t rleDecodeGray(const uint8_t* src, size_t srcBytes, uint16_t* dst, size_t count) noexcept {
    return rleDecode<1>(src, srcBytes, dst, count);
}

size_t getLayerLineRLE(const PageGeometry& g, LayerRecord* layer, uint8_t* dst, int32_t row) noexcept {
    const PageLayerView v = pageView(g, layer);
    if (!v || !validRow(g, row)) return 0;
    return rleEncodeRGBA(v.row(row), dst, static_cast<size_t>(v.width));
}

void putLayerLineRLE(const PageGeometry& g, LayerRecord* layer, const uint8_t* src, int32_t row) noexcept {
    const PageLayerView v = pageView(g, layer);
    if (!v || !validRow(g, row)) return;
    const size_t n = static_cast<size_t>(v.width);
    rleDecodeRGBA(src, n * kRgbaRecordBytes, v.row(row), n);
}

size_t getMaskLineRLE(const PageGeometry& g, MaskState& m, uint8_t* dst, int32_t row) noexcept {
    const uint16_t* r = maskRow(g, m, row);
    return r ? rleEncodeGray(r, dst, static_cast<size_t>(g.pageWidth)) : 0;
}

void putMaskLineRLE(const PageGeometry& g, MaskState& m, const uint8_t* src, int32_t row) noexcept {
    const uint16_t* r = maskRow(g, m, row);
    const size_t n = static_cast<size_t>(g.pageWidth);
    if (r) rleDecodeGray(src, n * kGrayRecordBytes, const_cast<uint16_t*>(r), n);
}

int32_t compressLayer(const PageGeometry& g, LayerRecord* layer, uint8_t* dst, int32_t dstSize, int32_t option) {
    const PageLayerView v = pageView(g, layer);
    if (!v || !dst || dstSize <= 0) return 0;
    Buffer<uint8_t> image;
    image.allocate(checkedSize(g.pageWidth, g.pageHeight, 4));
    getRGBA32(g, layer, image.data(), g.pageWidth * 4);
    const size_t n = deflateBuffer(image.data(), image.size(), dst, static_cast<size_t>(dstSize), zlibLevel(option));
    return static_cast<int32_t>(n);  // n <= dstSize
}

void loadCompressedLayer(EngineState& s, LayerRecord* layer, const uint8_t* src, int32_t srcSize) {
    if (!layer || !layer->present() || !src) return;
    if (srcSize < 0 || layer->width <= 0 || layer->height <= 0) throw std::invalid_argument("compressed layer size");
    Buffer<uint8_t> image;
    image.allocateZeroed(checkedSize(layer->width, layer->height, 4));
    const Inflated r = inflateBuffer(src, static_cast<size_t>(srcSize), image.data(), image.size());
    if (r.status == InflateStatus::Corrupt || r.status == InflateStatus::Truncated)
        throw std::runtime_error("compressed layer stream");
    loadRGBA32(s, layer, {image.data(), layer->width * 4, 0, 0, layer->width, layer->height, false});
}

}  // namespace orv
