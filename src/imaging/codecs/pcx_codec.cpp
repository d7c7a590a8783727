// PCX: reads run-length encoded 1-bit (mono or 16-colour planes), 8-bit palette or grey,
// and 24/32-bit plane images; writes 24-bit images as three 8-bit planes.
#include <cstring>

#include "imaging/codecs/codec.h"

namespace orv {
namespace {

constexpr size_t kHeaderSize = 128;

// Decodes one scanline of `n` bytes; a run may continue into the next scanline.
struct PcxRunDecoder {
    ByteReader& r;
    uint8_t runValue = 0;
    size_t runLeft = 0;
    bool line(uint8_t* out, size_t n) {
        for (size_t i = 0; i < n;) {
            if (runLeft) {
                size_t k = runLeft < n - i ? runLeft : n - i;
                std::memset(out + i, runValue, k);
                i += k;
                runLeft -= k;
                continue;
            }
            uint8_t b = r.u8();
            if (!r.ok()) return false;
            if ((b & 0xC0) == 0xC0) {
                runLeft = b & 0x3F;
                runValue = r.u8();
                if (!r.ok()) return false;
            } else {
                out[i++] = b;
            }
        }
        return true;
    }
};

}  // namespace

bool decodePcx(ByteSpan in, RgbaImage* out, ImageHeader& header) {
    ByteReader r(in);
    const uint8_t* h = r.take(kHeaderSize);
    if (!h || h[0] != 0x0A || h[2] != 1) return false;
    auto le16 = [&](int at) { return unsigned(h[at] | h[at + 1] << 8); };
    const unsigned bpp = h[3], planes = h[65], bytesPerLine = le16(66);
    const unsigned xmin = le16(4), ymin = le16(6), xmax = le16(8), ymax = le16(10);
    if (xmax < xmin || ymax < ymin) return false;
    const int32_t w = int32_t(xmax - xmin + 1), ht = int32_t(ymax - ymin + 1);
    header.width = w;
    header.height = ht;
    const bool mono = bpp == 1 && (planes == 1 || planes == 4);
    const bool deep = bpp == 8 && (planes == 1 || planes == 3 || planes == 4);
    if (!mono && !deep) return false;
    if (bytesPerLine < (uint64_t(w) * bpp + 7) / 8) return false;
    // Every 2 bytes of data yield at most 63 decoded bytes.
    const uint64_t decoded = uint64_t(bytesPerLine) * planes * uint64_t(ht);
    if (!plausibleImageSize(w, ht, in.size, 1e9) || decoded > (uint64_t(r.remaining()) + 2) * 32) return false;
    if (!out) return true;

    // The 256-colour palette follows the data after a 12 marker; without it 8-bit is grey.
    uint8_t palette[256 * 3];
    if (deep && planes == 1) {
        const bool hasPal = in.size >= kHeaderSize + 769 && in.data[in.size - 769] == 12;
        for (int i = 0; i < 256; ++i)
            for (int c = 0; c < 3; ++c) palette[i * 3 + c] = hasPal ? in.data[in.size - 768 + i * 3 + c] : uint8_t(i);
    } else if (mono && planes == 4) {
        std::memcpy(palette, h + 16, 48);
    } else {
        palette[0] = palette[1] = palette[2] = 0;
        palette[3] = palette[4] = palette[5] = 255;
    }

    RgbaImage img;
    img.resize(w, ht);
    std::vector<uint8_t> line(size_t(bytesPerLine) * planes);
    PcxRunDecoder dec{r};
    for (int32_t y = 0; y < ht; ++y) {
        if (!dec.line(line.data(), line.size())) return false;
        uint8_t* d = img.row(y);
        for (int32_t x = 0; x < w; ++x, d += 4) {
            if (deep && planes >= 3) {
                for (unsigned c = 0; c < 3; ++c) d[c] = line[c * bytesPerLine + x];
                d[3] = planes == 4 ? line[3 * bytesPerLine + x] : 255;
                continue;
            }
            unsigned index;
            if (deep) {
                index = line[x];
            } else {
                index = 0;
                for (unsigned p = 0; p < planes; ++p)
                    index |= ((line[p * bytesPerLine + x / 8] >> (7 - x % 8)) & 1u) << p;
            }
            std::memcpy(d, palette + index * 3, 3);
            d[3] = 255;
        }
    }
    *out = std::move(img);
    return true;
}

namespace {

void encodeRunLine(const uint8_t* s, size_t n, std::vector<uint8_t>& out) {
    for (size_t i = 0; i < n;) {
        size_t run = 1;
        while (i + run < n && run < 63 && s[i + run] == s[i]) ++run;
        if (run > 1 || (s[i] & 0xC0) == 0xC0) out.push_back(uint8_t(0xC0 | run));
        out.push_back(s[i]);
        i += run;
    }
}

}  // namespace

bool encodePcx24(const uint8_t* rgb, int32_t w, int32_t h, ByteSink& sink) {
    if (!rgb || w <= 0 || h <= 0 || w > 65535 || h > 65535) return false;
    const size_t bytesPerLine = (size_t(w) + 1) & ~size_t(1);
    uint8_t hdr[kHeaderSize] = {};
    hdr[0] = 0x0A, hdr[1] = 5, hdr[2] = 1, hdr[3] = 8;
    auto put16 = [&](int at, unsigned v) { hdr[at] = uint8_t(v), hdr[at + 1] = uint8_t(v >> 8); };
    put16(8, unsigned(w - 1));
    put16(10, unsigned(h - 1));
    put16(12, 72);
    put16(14, 72);
    hdr[65] = 3;
    put16(66, unsigned(bytesPerLine));
    put16(68, 1);
    if (!sink.write(hdr, sizeof hdr)) return false;
    std::vector<uint8_t> plane(bytesPerLine, 0), packed;
    packed.reserve(bytesPerLine * 2);
    for (int32_t y = 0; y < h; ++y) {
        packed.clear();
        const uint8_t* row = rgb + size_t(y) * w * 3;
        for (int c = 0; c < 3; ++c) {
            for (int32_t x = 0; x < w; ++x) plane[x] = row[x * 3 + c];
            encodeRunLine(plane.data(), bytesPerLine, packed);
        }
        if (!sink.write(packed.data(), packed.size())) return false;
    }
    return sink.ok();
}

}  // namespace orv
