#include "imaging/codecs/metafile.h"

#include <algorithm>
#include <cstring>


namespace orv {
namespace {

enum : uint32_t {
    kEmrHeader = 1,
    kEmrEof = 14,
    kEmrSetDiBitsToDevice = 80,
    kEmrStretchDiBits = 81,
};
enum : uint16_t { kWmfSetWindowOrg = 0x020B, kWmfSetWindowExt = 0x020C, kWmfDibBitBlt = 0x0940,
                  kWmfDibStretchBlt = 0x0B41, kWmfStretchDib = 0x0F43 };

// Every metafile canvas stays below this many pixels on a side.
constexpr int32_t kMaxCanvasSide = 16384;

// A device-independent bitmap (info header, palette, bits) decoded through the BMP reader.
bool decodeDib(ByteSpan bmi, ByteSpan bits, RgbaImage& out) {
    if (bmi.size < 12 || bmi.size > (1u << 20) || bits.size > (size_t(1) << 31)) return false;
    std::vector<uint8_t> file(14 + bmi.size + bits.size);
    const uint32_t total = uint32_t(file.size()), offset = uint32_t(14 + bmi.size);
    const uint8_t head[14] = {'B', 'M', uint8_t(total), uint8_t(total >> 8), uint8_t(total >> 16), uint8_t(total >> 24),
                              0, 0, 0, 0, uint8_t(offset), uint8_t(offset >> 8), uint8_t(offset >> 16), uint8_t(offset >> 24)};
    std::memcpy(file.data(), head, 14);
    std::memcpy(file.data() + 14, bmi.data, bmi.size);
    if (bits.size) std::memcpy(file.data() + offset, bits.data, bits.size);
    ImageHeader h;
    return decodeBmp({file.data(), file.size()}, &out, h);
}

// Copies the source rectangle of a bitmap, scaled to the destination rectangle (nearest
// pixel, negative sizes mirror), onto the canvas, clipped. Source pixels land opaque.
void place(RgbaImage& canvas, const RgbaImage& bmp, int32_t sx, int32_t sy, int32_t sw, int32_t sh, int32_t dx,
           int32_t dy, int32_t dw, int32_t dh) {
    sx = std::clamp(sx, 0, bmp.width);
    sy = std::clamp(sy, 0, bmp.height);
    sw = std::min(sw, bmp.width - sx);
    sh = std::min(sh, bmp.height - sy);
    if (sw <= 0 || sh <= 0 || dw == 0 || dh == 0) return;
    const int64_t aw = std::abs(int64_t(dw)), ah = std::abs(int64_t(dh));
    // Only the steps that land on the canvas are visited: step i lands at d + i (or d - i).
    auto range = [](int64_t d, bool mirror, int64_t n, int64_t side, int64_t& lo, int64_t& hi) {
        lo = mirror ? std::max<int64_t>(0, d - (side - 1)) : std::max<int64_t>(0, -d);
        hi = mirror ? std::min<int64_t>(n, d + 1) : std::min<int64_t>(n, side - d);
    };
    int64_t y0, y1, x0, x1;
    range(dy, dh < 0, ah, canvas.height, y0, y1);
    range(dx, dw < 0, aw, canvas.width, x0, x1);
    for (int64_t y = y0; y < y1; ++y) {
        const int64_t cy = dh < 0 ? dy - y : dy + y;
        const uint8_t* srow = bmp.row(sy + int32_t(y * sh / ah));
        for (int64_t x = x0; x < x1; ++x) {
            const int64_t cx = dw < 0 ? dx - x : dx + x;
            uint8_t* d = canvas.row(int32_t(cy)) + size_t(cx) * 4;
            std::memcpy(d, srow + size_t(sx + x * sw / aw) * 4, 3);
            d[3] = 255;
        }
    }
}

void fill(RgbaImage& canvas, uint32_t colour) {
    for (size_t i = 0; i < canvas.rgba.size(); i += 4) {
        canvas.rgba[i] = uint8_t(colour), canvas.rgba[i + 1] = uint8_t(colour >> 8);
        canvas.rgba[i + 2] = uint8_t(colour >> 16), canvas.rgba[i + 3] = 255;
    }
}

bool newCanvas(RgbaImage& canvas, int64_t w, int64_t h, uint32_t background) {
    if (w <= 0 || h <= 0 || w > kMaxCanvasSide || h > kMaxCanvasSide) return false;
    canvas.resize(int32_t(w), int32_t(h));
    fill(canvas, background);
    return true;
}

ByteSpan subspan(ByteSpan record, uint32_t offset, uint32_t size) {
    if (offset > record.size || size > record.size - offset) return {};
    return {record.data + offset, size};
}

struct Placed {
    RgbaImage bmp;
    int32_t sx, sy, sw, sh, dx, dy, dw, dh;
};

// The canvas is allocated only once a bitmap has decoded, and only at a size the file's
// bytes make plausible, so a tiny file cannot claim a huge canvas.
bool drawPlaced(std::vector<Placed>& placed, int64_t w, int64_t h, size_t fileSize, uint32_t background,
                RgbaImage& out) {
    if (placed.empty() || !plausibleImageSize(w, h, fileSize, 4096.0)) return false;
    RgbaImage canvas;
    if (!newCanvas(canvas, w, h, background)) return false;
    for (const Placed& p : placed) place(canvas, p.bmp, p.sx, p.sy, p.sw, p.sh, p.dx, p.dy, p.dw, p.dh);
    out = std::move(canvas);
    return true;
}

bool renderEmf(ByteSpan in, uint32_t background, RgbaImage& out) {
    ByteReader r(in);
    if (r.le32() != kEmrHeader) return false;
    const uint32_t headerSize = r.le32();
    const int32_t left = int32_t(r.le32()), top = int32_t(r.le32()), right = int32_t(r.le32()), bottom = int32_t(r.le32());
    if (!r.ok() || headerSize < 88 || headerSize > in.size || headerSize % 4) return false;
    std::vector<Placed> placed;
    uint64_t held = 0;  // decoded bitmap pixels kept until drawing
    size_t at = headerSize;
    while (at + 8 <= in.size) {
        ByteReader rec(in.data + at, in.size - at);
        const uint32_t type = rec.le32(), size = rec.le32();
        if (size < 8 || size % 4 || size > in.size - at) return false;
        ByteSpan record{in.data + at, size};
        if (type == kEmrEof) break;
        if ((type == kEmrStretchDiBits && size >= 80) || (type == kEmrSetDiBitsToDevice && size >= 76)) {
            ByteReader p(record);
            p.skip(24);
            Placed pl{};
            pl.dx = int32_t(p.le32()), pl.dy = int32_t(p.le32());
            pl.sx = int32_t(p.le32()), pl.sy = int32_t(p.le32());
            pl.sw = int32_t(p.le32()), pl.sh = int32_t(p.le32());
            const uint32_t offBmi = p.le32(), cbBmi = p.le32(), offBits = p.le32(), cbBits = p.le32();
            p.le32();  // colour usage
            pl.dw = pl.sw, pl.dh = pl.sh;
            if (type == kEmrStretchDiBits) {
                p.le32();  // raster operation
                pl.dw = int32_t(p.le32());
                pl.dh = int32_t(p.le32());
            }
            pl.dx = int32_t(int64_t(pl.dx) - left), pl.dy = int32_t(int64_t(pl.dy) - top);
            if (p.ok() && decodeDib(subspan(record, offBmi, cbBmi), subspan(record, offBits, cbBits), pl.bmp)) {
                if ((held += pl.bmp.rgba.size() / 4) > kMaxImagePixels) return false;
                placed.push_back(std::move(pl));
            }
        }
        at += size;
    }
    return drawPlaced(placed, int64_t(right) - left + 1, int64_t(bottom) - top + 1, in.size, background, out);
}

// Windows metafile: logical coordinates map onto the canvas through the window origin and
// extent; the canvas is the placeable header's box at 96 dpi, or the window extent.
bool renderWmf(ByteSpan in, uint32_t background, RgbaImage& out) {
    ByteReader r(in);
    int64_t boxW = 0, boxH = 0;
    int32_t orgX = 0, orgY = 0, extX = 0, extY = 0;
    if (r.le32() == 0x9AC6CDD7u) {
        r.le16();
        int16_t l = int16_t(r.le16()), t = int16_t(r.le16()), rt = int16_t(r.le16()), b = int16_t(r.le16());
        uint16_t inch = r.le16();
        r.skip(6);
        if (!r.ok() || inch == 0) return false;
        boxW = (int64_t(rt) - l) * 96 / inch;
        boxH = (int64_t(b) - t) * 96 / inch;
        orgX = l, orgY = t, extX = rt - l, extY = b - t;
    } else {
        r.seek(0);
    }
    const size_t headerAt = r.pos();
    r.le16();
    const uint16_t headerWords = r.le16();
    if (!r.ok() || headerWords != 9) return false;
    // Records first to find the window, then to draw.
    struct Blit {
        int32_t sx, sy, sw, sh, dx, dy, dw, dh;
        ByteSpan dib;
    };
    std::vector<Blit> blits;
    size_t at = headerAt + 18;
    while (at + 6 <= in.size) {
        ByteReader rec(in.data + at, in.size - at);
        const uint32_t words = rec.le32();
        const uint16_t fn = rec.le16();
        if (words < 3 || words > (in.size - at) / 2) return false;
        const size_t size = size_t(words) * 2;
        if (fn == 0) break;
        ByteReader p(in.data + at + 6, size - 6);
        auto s16 = [&] { return int32_t(int16_t(p.le16())); };
        if (fn == kWmfSetWindowOrg) {
            orgY = s16(), orgX = s16();
        } else if (fn == kWmfSetWindowExt) {
            extY = s16(), extX = s16();
        } else if (fn == kWmfStretchDib || fn == kWmfDibStretchBlt || fn == kWmfDibBitBlt) {
            p.le32();  // raster operation
            if (fn == kWmfStretchDib) p.le16();  // colour usage
            Blit b{};
            if (fn == kWmfDibBitBlt) {
                b.sy = s16(), b.sx = s16(), b.dh = s16(), b.dw = s16(), b.dy = s16(), b.dx = s16();
                b.sw = b.dw, b.sh = b.dh;
            } else {
                b.sh = s16(), b.sw = s16(), b.sy = s16(), b.sx = s16();
                b.dh = s16(), b.dw = s16(), b.dy = s16(), b.dx = s16();
            }
            if (p.ok()) {
                b.dib = {p.base() + p.pos(), p.remaining()};
                blits.push_back(b);
            }
        }
        at += size;
    }
    if (blits.empty() || extX == 0 || extY == 0) return false;
    if (boxW <= 0 || boxH <= 0) boxW = std::abs(extX), boxH = std::abs(extY);
    std::vector<Placed> placed;
    uint64_t held = 0;
    for (const Blit& b : blits) {
        // The info header's size tells where the palette and bits start.
        ByteReader d(b.dib);
        const uint32_t hsize = d.le32();
        if (!d.ok() || hsize < 12 || hsize > b.dib.size) continue;
        uint32_t bmiSize = hsize;
        if (hsize >= 40) {
            ByteReader h(b.dib);
            h.skip(14);
            const uint16_t bpp = h.le16();
            const uint32_t compression = h.le32();
            h.skip(12);
            uint32_t used = h.le32();
            if (bpp <= 8) bmiSize += 4 * (used ? std::min(used, 256u) : (1u << bpp));
            if (compression == 3 && hsize == 40) bmiSize += 12;
        }
        if (bmiSize > b.dib.size) continue;
        Placed pl{};
        if (!decodeDib({b.dib.data, bmiSize}, {b.dib.data + bmiSize, b.dib.size - bmiSize}, pl.bmp)) continue;
        if ((held += pl.bmp.rgba.size() / 4) > kMaxImagePixels) return false;
        auto mapX = [&](int64_t x) { return int32_t(std::clamp<int64_t>((x - orgX) * boxW / extX, INT32_MIN / 2, INT32_MAX / 2)); };
        auto mapY = [&](int64_t y) { return int32_t(std::clamp<int64_t>((y - orgY) * boxH / extY, INT32_MIN / 2, INT32_MAX / 2)); };
        pl.dx = mapX(b.dx), pl.dy = mapY(b.dy);
        pl.dw = mapX(int64_t(b.dx) + b.dw) - pl.dx, pl.dh = mapY(int64_t(b.dy) + b.dh) - pl.dy;
        pl.sx = b.sx, pl.sy = b.sy, pl.sw = b.sw, pl.sh = b.sh;
        placed.push_back(std::move(pl));
    }
    return drawPlaced(placed, boxW, boxH, in.size, background, out);
}

}  // namespace

bool renderMetafile(ByteSpan in, uint32_t background, RgbaImage& out) {
    switch (guessImageFormat(in)) {
        case ImageFormat::Emf: return renderEmf(in, background, out);
        case ImageFormat::Wmf: return renderWmf(in, background, out);
        default: return false;
    }
}

bool encodeEmf24(const uint8_t* rgb, int32_t w, int32_t h, ByteSink& sink) {
    if (!rgb || w <= 0 || h <= 0) return false;
    const uint64_t rowBytes = (uint64_t(w) * 3 + 3) & ~uint64_t(3);
    const uint64_t bits = rowBytes * uint64_t(h);
    const uint64_t record = 80 + 40 + bits, total = 88 + record + 20;
    if (total > 0xFFFFFFFFull) return false;
    // Reference device of 96 dots per inch: 960 pixels over 254 millimetres.
    auto frame = [](int32_t px) { return uint32_t(int64_t(px) * 2540 / 96); };
    const uint32_t header[22] = {kEmrHeader, 88, 0, 0, uint32_t(w - 1), uint32_t(h - 1), 0, 0, frame(w), frame(h),
                                 0x464D4520u, 0x10000u, uint32_t(total), 3, 1, 0, 0, 0, 960, 960, 254, 254};
    for (uint32_t v : header) sink.le32(v);
    const uint32_t stretch[20] = {kEmrStretchDiBits, uint32_t(record), 0, 0, uint32_t(w - 1), uint32_t(h - 1),
                                  0, 0, 0, 0, uint32_t(w), uint32_t(h), 80, 40, 120, uint32_t(bits), 0,
                                  0x00CC0020u, uint32_t(w), uint32_t(h)};
    for (uint32_t v : stretch) sink.le32(v);
    const uint32_t info[10] = {40, uint32_t(w), uint32_t(h), 1u | 24u << 16, 0, uint32_t(bits), 0, 0, 0, 0};
    for (uint32_t v : info) sink.le32(v);
    std::vector<uint8_t> row(static_cast<size_t>(rowBytes), 0);
    for (int32_t y = h - 1; y >= 0; --y) {
        const uint8_t* s = rgb + size_t(y) * size_t(w) * 3;
        for (int32_t x = 0; x < w; ++x) row[size_t(x) * 3] = s[x * 3 + 2], row[size_t(x) * 3 + 1] = s[x * 3 + 1], row[size_t(x) * 3 + 2] = s[x * 3];
        if (!sink.write(row.data(), row.size())) return false;
    }
    const uint32_t eof[5] = {kEmrEof, 20, 0, 16, 20};
    for (uint32_t v : eof) sink.le32(v);
    return sink.ok();
}

}  // namespace orv
