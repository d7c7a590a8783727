// BMP: reads 1/4/8-bit palette images (plain, RLE8, RLE4), 16/24/32-bit images (plain or
// with bit masks), bottom-up or top-down; writes 24-bit bottom-up images.
#include <array>
#include <cstring>

#include "imaging/codecs/codec.h"

namespace orv {
namespace {

enum : uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3, kAlphaBitfields = 6 };

struct BmpInfo {
    uint32_t dataOffset = 0;
    uint32_t headerSize = 0;
    int32_t width = 0, height = 0;
    bool topDown = false;
    uint16_t bpp = 0;
    uint32_t compression = kRgb;
    uint32_t xppm = 0, yppm = 0;
    uint32_t colorsUsed = 0;
    uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha
    bool hasAlphaMask = false;
    size_t paletteOffset = 0;
    uint32_t paletteEntrySize = 4;
};

bool readInfo(ByteReader& r, BmpInfo& info) {
    if (r.u8() != 'B' || r.u8() != 'M') return false;
    r.skip(8);
    info.dataOffset = r.le32();
    info.headerSize = r.le32();
    if (!r.ok()) return false;
    if (info.headerSize == 12) {
        info.width = r.le16();
        info.height = static_cast<int16_t>(r.le16());
        r.le16();
        info.bpp = r.le16();
        info.paletteEntrySize = 3;
    } else if (info.headerSize >= 40 && info.headerSize <= 1024) {
        info.width = static_cast<int32_t>(r.le32());
        info.height = static_cast<int32_t>(r.le32());
        r.le16();
        info.bpp = r.le16();
        info.compression = r.le32();
        r.le32();
        info.xppm = r.le32();
        info.yppm = r.le32();
        info.colorsUsed = r.le32();
        r.le32();
        if (info.headerSize >= 52 || info.compression == kBitfields || info.compression == kAlphaBitfields) {
            // Masks sit inside the larger headers, or just after the 40-byte one.
            int count = info.compression == kAlphaBitfields || info.headerSize >= 56 ? 4 : 3;
            for (int i = 0; i < count; ++i) info.masks[i] = r.le32();
            info.hasAlphaMask = count == 4 && info.masks[3] != 0;
        }
    } else {
        return false;
    }
    if (!r.ok()) return false;
    info.paletteOffset = 14 + size_t(info.headerSize);
    if (info.headerSize == 40 && (info.compression == kBitfields || info.compression == kAlphaBitfields))
        info.paletteOffset += info.compression == kAlphaBitfields ? 16 : 12;
    if (info.height == INT32_MIN) return false;
    if (info.height < 0) {
        info.topDown = true;
        info.height = -info.height;
    }
    return info.width > 0 && info.height > 0;
}

// Bit field extraction scaled to 8 bits.
struct Field {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t max = 0;
    explicit Field(uint32_t m = 0) : mask(m) {
        if (!m) return;
        while (!((m >> shift) & 1)) ++shift;
        max = m >> shift;
    }
    uint8_t get(uint32_t v) const {
        if (!mask) return 0;
        return static_cast<uint8_t>((uint64_t((v & mask) >> shift) * 255 + max / 2) / max);
    }
};

bool decodePalette(ByteSpan in, const BmpInfo& info, std::array<uint32_t, 256>& pal) {
    pal.fill(0xFF000000u);
    uint32_t count = info.colorsUsed ? info.colorsUsed : (1u << info.bpp);
    if (count > 256) count = 256;
    ByteReader r(in);
    if (!r.seek(info.paletteOffset)) return false;
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* e = r.take(info.paletteEntrySize);
        if (!e) return i > 0;  // short palettes are common; the rest stays black
        pal[i] = e[2] | e[1] << 8 | e[0] << 16 | 0xFF000000u;
    }
    return true;
}

inline void putColour(uint8_t* d, uint32_t c) {
    d[0] = uint8_t(c);
    d[1] = uint8_t(c >> 8);
    d[2] = uint8_t(c >> 16);
    d[3] = uint8_t(c >> 24);
}

// Run-length data: absolute and encoded runs, end of line, end of bitmap and deltas.
bool decodeRle(ByteReader& r, const BmpInfo& info, const std::array<uint32_t, 256>& pal, RgbaImage& img) {
    const bool four = info.compression == kRle4;
    int32_t x = 0, y = 0;  // y counts file rows from the bottom
    auto put = [&](uint8_t index) {
        if (x < img.width && y < img.height) {
            int32_t row = info.topDown ? y : img.height - 1 - y;
            putColour(img.row(row) + size_t(x) * 4, pal[index]);
        }
        ++x;
    };
    while (y < img.height) {
        uint8_t n = r.u8(), v = r.u8();
        if (!r.ok()) return false;
        if (n > 0) {
            for (int i = 0; i < n; ++i) put(four ? ((i & 1) ? (v & 15) : (v >> 4)) : v);
        } else if (v == 0) {
            x = 0;
            ++y;
        } else if (v == 1) {
            break;
        } else if (v == 2) {
            x += r.u8();
            y += r.u8();
        } else {
            size_t bytes = four ? (v + 1) / 2 : v;
            const uint8_t* p = r.take(bytes + (bytes & 1));
            if (!p) return false;
            for (int i = 0; i < v; ++i) put(four ? ((i & 1) ? (p[i / 2] & 15) : (p[i / 2] >> 4)) : p[i]);
        }
        if (x > img.width + 255) return false;
    }
    return true;
}

bool decodePlain(ByteSpan in, const BmpInfo& info, const std::array<uint32_t, 256>& pal, RgbaImage& img) {
    const size_t rowBytes = (checkedSize(info.width, info.bpp) + 31) / 32 * 4;
    ByteReader r(in);
    if (!r.seek(info.dataOffset)) return false;
    const bool masked = info.compression == kBitfields || info.compression == kAlphaBitfields;
    uint32_t defMasks16[4] = {0x7C00, 0x03E0, 0x001F, 0};
    uint32_t defMasks32[4] = {0xFF0000, 0xFF00, 0xFF, 0};
    const uint32_t* m = masked ? info.masks : (info.bpp == 16 ? defMasks16 : defMasks32);
    Field fr(m[0]), fg(m[1]), fb(m[2]), fa(info.hasAlphaMask ? m[3] : 0);
    // Plain 32-bit files often carry alpha in the fourth byte; it is used unless all zero.
    const bool alphaByte = !masked && info.bpp == 32;
    bool anyAlpha = false;
    for (int32_t fy = 0; fy < info.height; ++fy) {
        const uint8_t* s = r.take(rowBytes);
        if (!s) return false;
        uint8_t* d = img.row(info.topDown ? fy : info.height - 1 - fy);
        for (int32_t x = 0; x < info.width; ++x, d += 4) {
            switch (info.bpp) {
                case 1: putColour(d, pal[(s[x >> 3] >> (7 - (x & 7))) & 1]); break;
                case 4: putColour(d, pal[(s[x >> 1] >> ((x & 1) ? 0 : 4)) & 15]); break;
                case 8: putColour(d, pal[s[x]]); break;
                case 24:
                    d[0] = s[x * 3 + 2], d[1] = s[x * 3 + 1], d[2] = s[x * 3], d[3] = 255;
                    break;
                default: {
                    uint32_t v = info.bpp == 16 ? uint32_t(s[x * 2] | s[x * 2 + 1] << 8)
                                                : uint32_t(s[x * 4] | s[x * 4 + 1] << 8 | s[x * 4 + 2] << 16 |
                                                           uint32_t(s[x * 4 + 3]) << 24);
                    d[0] = fr.get(v), d[1] = fg.get(v), d[2] = fb.get(v);
                    if (alphaByte) {
                        d[3] = uint8_t(v >> 24);
                        anyAlpha |= d[3] != 0;
                    } else {
                        d[3] = fa.mask ? fa.get(v) : 255;
                    }
                }
            }
        }
    }
    if (alphaByte && !anyAlpha)
        for (size_t i = 3; i < img.rgba.size(); i += 4) img.rgba[i] = 255;
    return true;
}

}  // namespace

bool decodeBmp(ByteSpan in, RgbaImage* out, ImageHeader& header) {
    ByteReader r(in);
    BmpInfo info;
    if (!readInfo(r, info)) return false;
    header.width = info.width;
    header.height = info.height;
    header.res = info.xppm ? Resolution{info.xppm, info.yppm, ResolutionUnit::PerMetre} : Resolution{};
    const bool rle = info.compression == kRle8 || info.compression == kRle4;
    switch (info.bpp) {
        case 1: case 4: case 8:
            if (info.compression != kRgb && !(info.compression == kRle8 && info.bpp == 8) &&
                !(info.compression == kRle4 && info.bpp == 4))
                return false;
            break;
        case 16: case 32:
            if (info.compression != kRgb && info.compression != kBitfields && info.compression != kAlphaBitfields)
                return false;
            break;
        case 24:
            if (info.compression != kRgb) return false;
            break;
        default: return false;
    }
    if (info.dataOffset >= in.size) return false;
    const size_t available = in.size - info.dataOffset;
    // Run-length data expands at most 255 pixels per two bytes, and a delta may skip
    // further, so a generous ratio is allowed there; uncompressed rows must all be present.
    if (!plausibleImageSize(info.width, info.height, available, rle ? 1024.0 : 64.0)) return false;
    if (!rle && (uint64_t(info.width) * info.bpp + 31) / 32 * 4 * uint64_t(info.height) > available) return false;
    if (!out) return true;
    std::array<uint32_t, 256> pal{};
    if (info.bpp <= 8 && !decodePalette(in, info, pal)) return false;
    RgbaImage img;
    img.resize(info.width, info.height);
    if (rle) {
        for (size_t i = 0; i < img.rgba.size(); i += 4) putColour(&img.rgba[i], pal[0]);
        ByteReader data(in);
        if (!data.seek(info.dataOffset) || !decodeRle(data, info, pal, img)) return false;
    } else if (!decodePlain(in, info, pal, img)) {
        return false;
    }
    *out = std::move(img);
    return true;
}

namespace {

class BmpRows final : public RowEncoder {
public:
    BmpRows(ByteSink& sink, const EncodeParams& p) : RowEncoder(p.height), sink_(sink), p_(p) {}

    bool begin() {
        rowBytes_ = (checkedSize(p_.width, 3) + 3) & ~size_t(3);
        const uint64_t image = uint64_t(rowBytes_) * uint64_t(p_.height);
        if (image > 0xFFFFFFFFull - 54) return false;
        row_.assign(rowBytes_, 0);
        uint32_t ppm = p_.res.unit == ResolutionUnit::PerMetre ? p_.res.x : 0;
        uint32_t ppmY = p_.res.unit == ResolutionUnit::PerMetre ? p_.res.y : 0;
        sink_.write("BM", 2);
        sink_.le32(static_cast<uint32_t>(54 + image));
        sink_.le32(0);
        sink_.le32(54);
        sink_.le32(40);
        sink_.le32(static_cast<uint32_t>(p_.width));
        sink_.le32(static_cast<uint32_t>(p_.height));
        sink_.le16(1);
        sink_.le16(24);
        sink_.le32(kRgb);
        sink_.le32(static_cast<uint32_t>(image));
        sink_.le32(ppm);
        sink_.le32(ppmY);
        sink_.le32(0);
        return sink_.le32(0);
    }
private:
    bool encodeRow(const uint8_t* px) override {
        uint8_t* d = row_.data();
        for (int32_t x = 0; x < p_.width; ++x, px += 3, d += 3) d[0] = px[2], d[1] = px[1], d[2] = px[0];
        return sink_.write(row_.data(), row_.size());
    }
    bool complete(bool rowsGood) override { return rowsGood && sink_.ok(); }

    ByteSink& sink_;
    EncodeParams p_;
    size_t rowBytes_ = 0;
    std::vector<uint8_t> row_;
};

}  // namespace

std::unique_ptr<RowEncoder> startBmpRows(ByteSink& sink, const EncodeParams& p) {
    if (p.channels != 3 || p.width <= 0 || p.height <= 0) return nullptr;
    auto enc = std::make_unique<BmpRows>(sink, p);
    if (!enc->begin()) return nullptr;
    return enc;
}

}  // namespace orv
