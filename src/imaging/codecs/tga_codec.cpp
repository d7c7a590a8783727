// TGA: reads colour-mapped, true-colour and greyscale images, plain or run-length encoded,
// 8/15/16/24/32 bits, with either origin; writes 32-bit top-down images with alpha.
#include <algorithm>
#include <array>
#include <cstring>

#include "imaging/codecs/codec.h"

namespace orv {
namespace {

struct TgaInfo {
    uint8_t idLength, cmapType, type;
    uint16_t cmapFirst, cmapLength;
    uint8_t cmapBits;
    uint16_t width, height;
    uint8_t bpp, descriptor;
};

// One stored pixel of `bits` bits to RGBA. 16-bit pixels are 5-5-5 with the top bit
// ignored (most writers leave it clear even for opaque images).
inline void unpack(const uint8_t* s, int bits, uint8_t* d) {
    switch (bits) {
        case 8: d[0] = d[1] = d[2] = s[0], d[3] = 255; break;
        case 15:
        case 16: {
            unsigned v = s[0] | s[1] << 8;
            d[0] = uint8_t(((v >> 10) & 31) * 255 / 31);
            d[1] = uint8_t(((v >> 5) & 31) * 255 / 31);
            d[2] = uint8_t((v & 31) * 255 / 31);
            d[3] = 255;
            break;
        }
        case 24: d[0] = s[2], d[1] = s[1], d[2] = s[0], d[3] = 255; break;
        default: d[0] = s[2], d[1] = s[1], d[2] = s[0], d[3] = s[3]; break;
    }
}

bool readInfo(ByteReader& r, TgaInfo& t) {
    t.idLength = r.u8();
    t.cmapType = r.u8();
    t.type = r.u8();
    t.cmapFirst = r.le16();
    t.cmapLength = r.le16();
    t.cmapBits = r.u8();
    r.skip(4);
    t.width = r.le16();
    t.height = r.le16();
    t.bpp = r.u8();
    t.descriptor = r.u8();
    if (!r.ok() || t.width == 0 || t.height == 0 || t.cmapType > 1) return false;
    // A colour map, even one the image type does not use, has entries of a known size.
    if (t.cmapType == 1 && t.cmapBits != 15 && t.cmapBits != 16 && t.cmapBits != 24 && t.cmapBits != 32) return false;
    const uint8_t base = t.type & 7;
    if (base == 1) return t.cmapType == 1 && t.bpp == 8;
    if (base == 2) return t.bpp == 15 || t.bpp == 16 || t.bpp == 24 || t.bpp == 32;
    if (base == 3) return t.bpp == 8;
    return false;
}

}  // namespace

bool decodeTga(ByteSpan in, RgbaImage* out, ImageHeader& header) {
    ByteReader r(in);
    TgaInfo t{};
    if (!readInfo(r, t)) return false;
    if (t.type != 1 && t.type != 2 && t.type != 3 && t.type != 9 && t.type != 10 && t.type != 11) return false;
    header.width = t.width;
    header.height = t.height;
    if (!r.skip(t.idLength)) return false;
    std::array<uint8_t, 256 * 4> pal{};
    if (t.cmapType == 1) {
        const int entryBytes = (t.cmapBits + 7) / 8;
        for (uint32_t i = 0; i < t.cmapLength; ++i) {
            const uint8_t* e = r.take(entryBytes);
            if (!e) return false;
            uint32_t index = t.cmapFirst + i;
            if (index < 256) unpack(e, t.cmapBits, &pal[index * 4]);
        }
    }
    if (!r.ok()) return false;
    const bool rle = t.type >= 9;
    const int pixelBytes = (t.bpp + 7) / 8;
    // Plain data must be complete; a run packet of 1 + pixelBytes bytes yields 128 pixels.
    if (!plausibleImageSize(t.width, t.height, r.remaining(), rle ? 128.0 / (1 + pixelBytes) : 1.0 / pixelBytes))
        return false;
    if (!out) return true;

    RgbaImage img;
    img.resize(t.width, t.height);
    const bool mapped = (t.type & 7) == 1;
    auto store = [&](const uint8_t* s, uint8_t* d) {
        if (mapped) {
            const uint8_t* c = &pal[size_t(s[0]) * 4];
            d[0] = c[0], d[1] = c[1], d[2] = c[2], d[3] = c[3];
        } else {
            unpack(s, t.bpp, d);
        }
    };
    // Pixels arrive in file order; the origin bits place them afterwards.
    const size_t total = size_t(t.width) * t.height;
    uint8_t* d = img.rgba.data();
    for (size_t i = 0; i < total;) {
        if (!rle) {
            const uint8_t* s = r.take(pixelBytes);
            if (!s) return false;
            store(s, d + i * 4);
            ++i;
            continue;
        }
        uint8_t packet = r.u8();
        size_t count = (packet & 0x7F) + 1u;
        if (count > total - i) count = total - i;
        if (packet & 0x80) {
            const uint8_t* s = r.take(pixelBytes);
            if (!s) return false;
            store(s, d + i * 4);
            for (size_t k = 1; k < count; ++k) std::memcpy(d + (i + k) * 4, d + i * 4, 4);
        } else {
            for (size_t k = 0; k < count; ++k) {
                const uint8_t* s = r.take(pixelBytes);
                if (!s) return false;
                store(s, d + (i + k) * 4);
            }
        }
        i += count;
    }
    // 32-bit files that declare no alpha bits and hold only zeros there are opaque.
    if (t.bpp == 32 && (t.descriptor & 15) == 0) {
        bool anyAlpha = false;
        for (size_t i = 3; i < img.rgba.size() && !anyAlpha; i += 4) anyAlpha = img.rgba[i] != 0;
        if (!anyAlpha)
            for (size_t i = 3; i < img.rgba.size(); i += 4) img.rgba[i] = 255;
    }
    const size_t rowBytes = size_t(t.width) * 4;
    if (!(t.descriptor & 0x20))  // bottom-left origin: flip rows
        for (int32_t y = 0; y < img.height / 2; ++y)
            std::swap_ranges(img.row(y), img.row(y) + rowBytes, img.row(img.height - 1 - y));
    if (t.descriptor & 0x10)  // right-to-left
        for (int32_t y = 0; y < img.height; ++y) {
            uint32_t* p = reinterpret_cast<uint32_t*>(img.row(y));
            std::reverse(p, p + img.width);
        }
    *out = std::move(img);
    return true;
}

namespace {

class TgaRows final : public RowEncoder {
public:
    TgaRows(ByteSink& sink, const EncodeParams& p) : RowEncoder(p.height), sink_(sink), p_(p), row_(size_t(p.width) * 4) {}
    bool begin() {
        const uint8_t h[18] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                               uint8_t(p_.width), uint8_t(p_.width >> 8), uint8_t(p_.height), uint8_t(p_.height >> 8),
                               32, 0x28};  // 8 alpha bits, top-left origin
        return sink_.write(h, sizeof h);
    }
private:
    bool encodeRow(const uint8_t* px) override {
        uint8_t* d = row_.data();
        for (int32_t x = 0; x < p_.width; ++x, px += 4, d += 4) d[0] = px[2], d[1] = px[1], d[2] = px[0], d[3] = px[3];
        return sink_.write(row_.data(), row_.size());
    }
    bool complete(bool rowsGood) override {
        if (!rowsGood) return false;
        static const uint8_t footer[26] = {0, 0, 0, 0, 0, 0, 0, 0, 'T', 'R', 'U', 'E', 'V', 'I', 'S', 'I', 'O',
                                           'N', '-', 'X', 'F', 'I', 'L', 'E', '.', 0};
        return sink_.write(footer, sizeof footer) && sink_.ok();
    }

    ByteSink& sink_;
    EncodeParams p_;
    std::vector<uint8_t> row_;
};

}  // namespace

std::unique_ptr<RowEncoder> startTgaRows(ByteSink& sink, const EncodeParams& p) {
    if (p.channels != 4 || p.width <= 0 || p.height <= 0 || p.width > 65535 || p.height > 65535) return nullptr;
    auto enc = std::make_unique<TgaRows>(sink, p);
    if (!enc->begin()) return nullptr;
    return enc;
}

}  // namespace orv
