#include "media/file_formats.h"

#include <strings.h>

#include "imaging/codecs/metafile.h"

namespace orv {
namespace {

EncodeParams params(int32_t w, int32_t h, int channels, Resolution res) {
    EncodeParams p;
    p.width = w;
    p.height = h;
    p.channels = channels;
    p.res = res;
    return p;
}

// ---- Buffer writers ----

bool bmp24(const uint8_t* px, int32_t w, int32_t h, int32_t dpi, ByteSink& s) {
    return encodeWithRows(startBmpRows, true, px, params(w, h, 3, Resolution::perMetreFromDpi(dpi)), s);
}
bool png24(const uint8_t* px, int32_t w, int32_t h, int32_t dpi, ByteSink& s) {
    return encodeWithRows(startPngRows, false, px, params(w, h, 3, Resolution::perMetreFromDpi(dpi)), s);
}
bool png32(const uint8_t* px, int32_t w, int32_t h, int32_t dpi, ByteSink& s) {
    return encodeWithRows(startPngRows, false, px, params(w, h, 4, Resolution::perMetreFromDpi(dpi)), s);
}
bool jpg24(const uint8_t* px, int32_t w, int32_t h, int32_t dpi, ByteSink& s) {
    return encodeWithRows(startJpegRows, false, px, params(w, h, 3, Resolution::dpi(dpi)), s);
}
bool gif24(const uint8_t* px, int32_t w, int32_t h, int32_t, ByteSink& s) { return encodeGif24(px, w, h, s); }
bool pcx24(const uint8_t* px, int32_t w, int32_t h, int32_t, ByteSink& s) { return encodePcx24(px, w, h, s); }
bool psd24(const uint8_t* px, int32_t w, int32_t h, int32_t, ByteSink& s) { return encodePsd24(px, w, h, s); }
bool emf24(const uint8_t* px, int32_t w, int32_t h, int32_t, ByteSink& s) { return encodeEmf24(px, w, h, s); }
bool tga32(const uint8_t* px, int32_t w, int32_t h, int32_t, ByteSink& s) {
    return encodeWithRows(startTgaRows, false, px, params(w, h, 4, {}), s);
}
bool tif32(const uint8_t* px, int32_t w, int32_t h, int32_t dpi, ByteSink& s) {
    return encodeWithRows(startTiffRows, false, px, params(w, h, 4, Resolution::dpi(dpi)), s);
}

// ---- Page row writers ----

std::unique_ptr<RowEncoder> bmpRows24(ByteSink& s, int32_t w, int32_t h, int32_t dpi) {
    return startBmpRows(s, params(w, h, 3, Resolution::perMetreFromDpi(dpi)));
}
std::unique_ptr<RowEncoder> pngRows24(ByteSink& s, int32_t w, int32_t h, int32_t dpi) {
    return startPngRows(s, params(w, h, 3, Resolution::perMetreFromDpi(dpi)));
}
std::unique_ptr<RowEncoder> pngRows32(ByteSink& s, int32_t w, int32_t h, int32_t dpi) {
    return startPngRows(s, params(w, h, 4, Resolution::perMetreFromDpi(dpi)));
}
// The page JPEG keeps full colour resolution (no chroma subsampling).
std::unique_ptr<RowEncoder> jpgRows24(ByteSink& s, int32_t w, int32_t h, int32_t dpi) {
    EncodeParams p = params(w, h, 3, Resolution::dpi(dpi));
    p.fullChroma = true;
    return startJpegRows(s, p);
}
std::unique_ptr<RowEncoder> tgaRows32(ByteSink& s, int32_t w, int32_t h, int32_t) {
    return startTgaRows(s, params(w, h, 4, {}));
}
std::unique_ptr<RowEncoder> tifRows32(ByteSink& s, int32_t w, int32_t h, int32_t dpi) {
    return startTiffRows(s, params(w, h, 4, Resolution::dpi(dpi)));
}

// ".jpeg" is deliberately absent: hosts pass ".jpg" and expect the long form refused.
// ".wmf" is written as an enhanced metafile, like ".emf".
constexpr FileFormatEntry kFormats[] = {
    {".bmp", bmp24, nullptr, {bmpRows24, true}, {}},
    {".png", png24, png32, {pngRows24, false}, {pngRows32, false}},
    {".emf", emf24, nullptr, {}, {}},
    {".gif", gif24, nullptr, {}, {}},
    {".jpg", jpg24, nullptr, {jpgRows24, false}, {}},
    {".pcx", pcx24, nullptr, {}, {}},
    {".psd", psd24, nullptr, {}, {}},
    {".wmf", emf24, nullptr, {}, {}},
    {".tga", nullptr, tga32, {}, {tgaRows32, false}},
    {".tif", nullptr, tif32, {}, {tifRows32, false}},
};

}  // namespace

const FileFormatEntry* findFileFormat(const char* extension) noexcept {
    if (!extension) return nullptr;
    for (const FileFormatEntry& e : kFormats)
        if (strcasecmp(e.extension, extension) == 0) return &e;
    return nullptr;
}

}  // namespace orv
