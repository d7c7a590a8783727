#include "imaging/codecs/metafile.h"

#include <algorithm>
#include <cstring>

#include "imaging/resample.h"

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

// Copies the source rectangle of a bitmap, scaled to the destination rectangle, onto the
// canvas (clipped). Source pixels are composited as opaque.
void place(RgbaImage& canvas, const RgbaImage& bmp, int32_t sx, int32_t sy, int32_t sw, int32_t sh, int32_t dx,
           int32_t dy, int32_t dw, int32_t dh) {
    sx = std::clamp(sx, 0, bmp.width);
    sy = std::clamp(sy, 0, bmp.height);
    sw = std::min(sw, bmp.width - sx);
    sh = std::min(sh, bmp.height - sy);
    if (sw <= 0 || sh <= 0 || dw == 0 || dh == 0) return;
    const bool flipX = dw < 0, flipY = dh < 0;
    dw = std::min(std::abs(dw), kMaxCanvasSide);
    dh = std::min(std::abs(dh), kMaxCanvasSide);
    RgbaImage crop;
    crop.resize(sw, sh);
    for (int32_t y = 0; y < sh; ++y) std::memcpy(crop.row(y), bmp.row(sy + y) + size_t(sx) * 4, size_t(sw) * 4);
    RgbaImage scaled;
    scaled.resize(dw, dh);
    resampleImage({crop.rgba.data(), sw, sh}, {scaled.rgba.data(), dw, dh}, 4);
    for (int32_t y = 0; y < dh; ++y) {
        int32_t cy = dy + (flipY ? -y : y);
        if (cy < 0 || cy >= canvas.height) continue;
        for (int32_t x = 0; x < dw; ++x) {
            int32_t cx = dx + (flipX ? -x : x);
            if (cx < 0 || cx >= canvas.width) continue;
            uint8_t* d = canvas.row(cy) + size_t(cx) * 4;
            std::memcpy(d, scaled.row(y) + size_t(x) * 4, 3);
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

bool renderEmf(ByteSpan in, uint32_t background, RgbaImage& out) {
    ByteReader r(in);
    if (r.le32() != kEmrHeader) return false;
    const uint32_t headerSize = r.le32();
    const int32_t left = int32_t(r.le32()), top = int32_t(r.le32()), right = int32_t(r.le32()), bottom = int32_t(r.le32());
    if (!r.ok() || headerSize < 88 || headerSize > in.size || headerSize % 4) return false;
    RgbaImage canvas;
    if (!newCanvas(canvas, int64_t(right) - left + 1, int64_t(bottom) - top + 1, background)) return false;
    bool drew = false;
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
            const int32_t xDest = int32_t(p.le32()), yDest = int32_t(p.le32());
            const int32_t xSrc = int32_t(p.le32()), ySrc = int32_t(p.le32());
            const int32_t cxSrc = int32_t(p.le32()), cySrc = int32_t(p.le32());
            const uint32_t offBmi = p.le32(), cbBmi = p.le32(), offBits = p.le32(), cbBits = p.le32();
            p.le32();  // colour usage
            int32_t cxDest = cxSrc, cyDest = cySrc;
            if (type == kEmrStretchDiBits) {
                p.le32();  // raster operation
                cxDest = int32_t(p.le32());
                cyDest = int32_t(p.le32());
            }
            RgbaImage bmp;
            if (p.ok() && decodeDib(subspan(record, offBmi, cbBmi), subspan(record, offBits, cbBits), bmp)) {
                place(canvas, bmp, xSrc, ySrc, cxSrc, cySrc, xDest - left, yDest - top, cxDest, cyDest);
                drew = true;
            }
        }
        at += size;
    }
    if (!drew) return false;
    out = std::move(canvas);
    return true;
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
    RgbaImage canvas;
    if (!newCanvas(canvas, boxW, boxH, background)) return false;
    bool drew = false;
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
        RgbaImage bmp;
        if (!decodeDib({b.dib.data, bmiSize}, {b.dib.data + bmiSize, b.dib.size - bmiSize}, bmp)) continue;
        auto mapX = [&](int64_t x) { return int32_t((x - orgX) * boxW / extX); };
        auto mapY = [&](int64_t y) { return int32_t((y - orgY) * boxH / extY); };
        const int32_t x0 = mapX(b.dx), y0 = mapY(b.dy), x1 = mapX(int64_t(b.dx) + b.dw), y1 = mapY(int64_t(b.dy) + b.dh);
        place(canvas, bmp, b.sx, b.sy, b.sw, b.sh, x0, y0, x1 - x0, y1 - y0);
        drew = true;
    }
    if (!drew) return false;
    out = std::move(canvas);
    return true;
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
