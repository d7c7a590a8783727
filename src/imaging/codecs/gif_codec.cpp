// GIF through giflib: reads the first image of a file onto its logical screen (uncovered
// screen and transparent index alpha 0); writes a quantised 8-bit image.
#include <gif_lib.h>

#include <algorithm>
#include <cstring>

#include "imaging/codecs/codec.h"
#include "imaging/quantize.h"

namespace orv {
namespace {

// LZW codes are at most 12 bits and stand for at most 4096 pixels.
constexpr double kGifPixelsPerByte = 4096.0;

int readFromReader(GifFileType* gif, GifByteType* out, int n) {
    auto* r = static_cast<ByteReader*>(gif->UserData);
    size_t k = std::min<size_t>(size_t(n > 0 ? n : 0), r->remaining());
    const uint8_t* p = r->take(k);
    if (k) std::memcpy(out, p, k);
    return int(k);
}

struct GifIn {
    GifFileType* gif = nullptr;
    ~GifIn() {
        int err;
        if (gif) DGifCloseFile(gif, &err);
    }
};

bool skipExtension(GifFileType* gif, int& transparent) {
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) != GIF_OK) return false;
    if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4) {
        GraphicsControlBlock gcb;
        if (DGifExtensionToGCB(block[0], block + 1, &gcb) == GIF_OK) transparent = gcb.TransparentColor;
    }
    while (block) {
        if (DGifGetExtensionNext(gif, &block) != GIF_OK) return false;
    }
    return true;
}

}  // namespace

bool decodeGif(ByteSpan in, RgbaImage* out, ImageHeader& header) {
    ByteReader reader(in);
    GifIn g;
    int err = 0;
    g.gif = DGifOpen(&reader, readFromReader, &err);
    if (!g.gif) return false;
    GifFileType* gif = g.gif;
    int transparent = NO_TRANSPARENT_COLOR;
    for (;;) {
        GifRecordType type;
        if (DGifGetRecordType(gif, &type) != GIF_OK) return false;
        if (type == EXTENSION_RECORD_TYPE) {
            if (!skipExtension(gif, transparent)) return false;
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE) return false;  // no image before the end
        if (DGifGetImageDesc(gif) != GIF_OK) return false;
        break;
    }
    const GifImageDesc& d = gif->Image;
    if (d.Left < 0 || d.Top < 0 || d.Width <= 0 || d.Height <= 0) return false;
    const int32_t w = std::max<int32_t>(gif->SWidth, d.Left + d.Width);
    const int32_t h = std::max<int32_t>(gif->SHeight, d.Top + d.Height);
    header.width = w;
    header.height = h;
    if (!plausibleImageSize(w, h, in.size, kGifPixelsPerByte) ||
        !plausibleImageSize(d.Width, d.Height, reader.remaining(), kGifPixelsPerByte))
        return false;
    const ColorMapObject* map = d.ColorMap ? d.ColorMap : gif->SColorMap;
    if (!map || !map->Colors || map->ColorCount <= 0) return false;
    if (!out) return true;

    RgbaImage img;
    img.resize(w, h);
    std::vector<GifPixelType> line(size_t(d.Width));
    // Interlaced images store rows in four passes.
    static const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
    const int passes = d.Interlace ? 4 : 1;
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = d.Interlace ? start[pass] : 0; y < d.Height; y += d.Interlace ? step[pass] : 1) {
            if (DGifGetLine(gif, line.data(), d.Width) != GIF_OK) return false;
            uint8_t* p = img.row(d.Top + y) + size_t(d.Left) * 4;
            for (int x = 0; x < d.Width; ++x, p += 4) {
                int index = line[size_t(x)];
                if (index == transparent) continue;  // stays 0, 0, 0, 0
                const GifColorType& c = map->Colors[index < map->ColorCount ? index : 0];
                p[0] = c.Red, p[1] = c.Green, p[2] = c.Blue, p[3] = 255;
            }
        }
    }
    *out = std::move(img);
    return true;
}

namespace {

int writeToSink(GifFileType* gif, const GifByteType* p, int n) {
    return static_cast<ByteSink*>(gif->UserData)->write(p, size_t(n)) ? n : 0;
}

}  // namespace

bool encodeGif24(const uint8_t* rgb, int32_t w, int32_t h, ByteSink& sink) {
    if (!rgb || w <= 0 || h <= 0 || w > 65535 || h > 65535) return false;
    const size_t pixels = checkedSize(w, h);
    std::vector<uint8_t> indices(pixels);
    Palette256 pal;
    quantizeMedianCut(rgb, pixels, 256, pal, indices.data());
    GifColorType colours[256] = {};
    for (int i = 0; i < pal.count; ++i) colours[i] = {pal.rgb[i * 3], pal.rgb[i * 3 + 1], pal.rgb[i * 3 + 2]};
    ColorMapObject* map = GifMakeMapObject(256, colours);
    if (!map) return false;
    int err = 0;
    GifFileType* gif = EGifOpen(&sink, writeToSink, &err);
    bool good = gif && EGifPutScreenDesc(gif, w, h, 8, 0, map) == GIF_OK &&
                EGifPutImageDesc(gif, 0, 0, w, h, false, nullptr) == GIF_OK;
    for (int32_t y = 0; good && y < h; ++y)
        good = EGifPutLine(gif, indices.data() + size_t(y) * w, w) == GIF_OK;
    if (gif && EGifCloseFile(gif, &err) != GIF_OK) good = false;
    GifFreeMapObject(map);
    return good && sink.ok();
}

}  // namespace orv
