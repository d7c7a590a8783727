// PSD (version 1): reads the merged image of bitmap, grey, indexed, RGB and CMYK documents,
// 8 or 16 bits per channel, raw or PackBits-compressed, with the first extra channel as
// alpha; writes flat 24-bit RGB documents.
#include <cstring>

#include "imaging/codecs/codec.h"

namespace orv {
namespace {

enum Mode : uint16_t { kBitmap = 0, kGray = 1, kIndexed = 2, kRgb = 3, kCmyk = 4 };

// The resolution record keeps pixels per inch as 16.16 fixed point whatever unit it shows.
void readResources(ByteSpan res, Resolution& out) {
    ByteReader r(res);
    while (r.remaining() >= 12) {
        if (r.be32() != 0x3842494Du) return;  // "8BIM"
        uint16_t id = r.be16();
        uint8_t nameLen = r.u8();
        r.skip(nameLen + ((nameLen + 1) & 1));
        uint32_t size = r.be32();
        if (!r.ok() || size > r.remaining()) return;
        if (id == 0x03ED && size >= 16) {
            ByteReader d(r.base() + r.pos(), size);
            uint32_t h = d.be32();
            d.skip(4);
            uint32_t v = d.be32();
            out = {h >> 16, v >> 16, ResolutionUnit::PerInch};
        }
        r.skip(size + (size & 1));
    }
}

// PackBits: n in 0..127 copies n + 1 bytes, n in -127..-1 repeats one byte 1 - n times.
bool unpackBits(const uint8_t* s, size_t n, uint8_t* out, size_t want) {
    size_t i = 0, o = 0;
    while (o < want) {
        if (i >= n) return false;
        int8_t c = static_cast<int8_t>(s[i++]);
        if (c >= 0) {
            size_t k = size_t(c) + 1;
            if (i + k > n || o + k > want) return false;
            std::memcpy(out + o, s + i, k);
            i += k, o += k;
        } else if (c != -128) {
            size_t k = size_t(1 - c);
            if (i >= n || o + k > want) return false;
            std::memset(out + o, s[i++], k);
            o += k;
        }
    }
    return true;
}

}  // namespace

bool decodePsd(ByteSpan in, RgbaImage* out, ImageHeader& header) {
    ByteReader r(in);
    if (r.be32() != 0x38425053u || r.be16() != 1) return false;  // "8BPS", version 1
    r.skip(6);
    const uint16_t channels = r.be16();
    const uint32_t height = r.be32(), width = r.be32();
    const uint16_t depth = r.be16(), mode = r.be16();
    if (!r.ok() || channels < 1 || channels > 56 || width < 1 || height < 1 || width > 30000 || height > 30000) return false;
    header.width = int32_t(width);
    header.height = int32_t(height);
    const unsigned need = mode == kRgb ? 3 : mode == kCmyk ? 4 : 1;
    if (channels < need) return false;
    if (!(mode == kBitmap && depth == 1) && !((mode == kGray || mode == kIndexed || mode == kRgb || mode == kCmyk) &&
                                              (depth == 8 || (depth == 16 && mode != kIndexed))))
        return false;
    uint32_t len = r.be32();
    const uint8_t* colourData = r.take(len);
    if (mode == kIndexed && (!colourData || len < 768)) return false;
    len = r.be32();
    const uint8_t* resources = r.take(len);
    if (!r.ok()) return false;
    readResources({resources, len}, header.res);
    len = r.be32();
    r.skip(len);
    const uint16_t compression = r.be16();
    if (!r.ok() || compression > 1) return false;

    const size_t rowBytes = depth == 1 ? (size_t(width) + 7) / 8 : size_t(width) * (depth / 8);
    const unsigned used = need + (channels > need ? 1 : 0);  // colour channels plus alpha
    const uint64_t planeBytes = uint64_t(rowBytes) * height;
    if (!plausibleImageSize(width, height, r.remaining(), 1e9)) return false;  // pixel cap; data checked below
    if (compression == 0 && planeBytes * used > r.remaining()) return false;
    if (compression == 1 && (uint64_t(channels) * height * 2 > r.remaining() ||
                             planeBytes * used > (uint64_t(r.remaining()) + 2) * 64))
        return false;
    if (!out) return true;

    // Plane data in file order: raw planes follow each other; compressed ones follow a table
    // of every row's byte count.
    std::vector<uint8_t> plane(static_cast<size_t>(planeBytes));
    RgbaImage img;
    img.resize(int32_t(width), int32_t(height));
    for (size_t i = 3; i < img.rgba.size(); i += 4) img.rgba[i] = 255;
    std::vector<uint32_t> counts;
    size_t dataStart = r.pos();
    if (compression == 1) {
        counts.resize(size_t(channels) * height);
        for (auto& c : counts) c = r.be16();
        dataStart = r.pos();
    }
    size_t offset = dataStart;
    for (unsigned ch = 0; ch < used; ++ch) {
        if (compression == 0) {
            ByteReader p(in);
            const uint8_t* s = p.seek(offset) ? p.take(static_cast<size_t>(planeBytes)) : nullptr;
            if (!s) return false;
            std::memcpy(plane.data(), s, plane.size());
            offset += static_cast<size_t>(planeBytes);
        } else {
            for (uint32_t y = 0; y < height; ++y) {
                uint32_t n = counts[size_t(ch) * height + y];
                if (offset > in.size || n > in.size - offset) return false;
                if (!unpackBits(in.data + offset, n, plane.data() + size_t(y) * rowBytes, rowBytes)) return false;
                offset += n;
            }
        }
        const bool alpha = ch >= need;
        for (uint32_t y = 0; y < height; ++y) {
            const uint8_t* s = plane.data() + size_t(y) * rowBytes;
            uint8_t* d = img.row(int32_t(y));
            for (uint32_t x = 0; x < width; ++x, d += 4) {
                uint8_t v = depth == 1 ? ((s[x / 8] >> (7 - x % 8)) & 1 ? 0 : 255) : s[x * (depth / 8)];
                if (alpha) {
                    d[3] = v;
                } else if (mode == kRgb) {
                    d[ch] = v;
                } else if (mode == kGray || mode == kBitmap) {
                    d[0] = d[1] = d[2] = v;
                } else if (mode == kIndexed) {
                    d[0] = colourData[v], d[1] = colourData[256 + v], d[2] = colourData[512 + v];
                } else if (ch < 3) {  // CMYK stores ink inverted: 255 is no ink
                    d[ch] = v;
                } else {
                    for (int c = 0; c < 3; ++c) d[c] = uint8_t((d[c] * v + 127) / 255);
                }
            }
        }
    }
    *out = std::move(img);
    return true;
}

bool encodePsd24(const uint8_t* rgb, int32_t w, int32_t h, ByteSink& sink) {
    if (!rgb || w <= 0 || h <= 0 || w > 30000 || h > 30000) return false;
    sink.write("8BPS", 4);
    sink.be16(1);
    sink.write("\0\0\0\0\0\0", 6);
    sink.be16(3);
    sink.be32(uint32_t(h));
    sink.be32(uint32_t(w));
    sink.be16(8);
    sink.be16(kRgb);
    sink.be32(0);  // colour mode data
    sink.be32(0);  // image resources
    sink.be32(0);  // layers and masks
    sink.be16(0);  // raw planes
    std::vector<uint8_t> row(static_cast<size_t>(w));
    for (int c = 0; c < 3; ++c)
        for (int32_t y = 0; y < h; ++y) {
            const uint8_t* s = rgb + size_t(y) * w * 3 + c;
            for (int32_t x = 0; x < w; ++x) row[x] = s[x * 3];
            if (!sink.write(row.data(), row.size())) return false;
        }
    return sink.ok();
}

}  // namespace orv
