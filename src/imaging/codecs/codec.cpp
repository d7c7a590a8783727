#include "imaging/codecs/codec.h"

#include <cstring>

namespace orv {

bool plausibleImageSize(int64_t width, int64_t height, size_t available, double maxPixelsPerByte) noexcept {
    if (width <= 0 || height <= 0) return false;
    if (width > (int64_t(1) << 30) || height > (int64_t(1) << 30)) return false;
    uint64_t pixels = static_cast<uint64_t>(width) * static_cast<uint64_t>(height);
    if (pixels > kMaxImagePixels) return false;
    // A small allowance covers formats whose smallest valid stream is a few bytes.
    return static_cast<double>(pixels) <= (static_cast<double>(available) + 64.0) * maxPixelsPerByte;
}

namespace {

bool startsWith(ByteSpan in, const char* sig, size_t n) {
    return in.size >= n && std::memcmp(in.data, sig, n) == 0;
}

uint32_t le32At(ByteSpan in, size_t at) {
    if (in.size < at + 4) return 0;
    const uint8_t* b = in.data + at;
    return b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24;
}

bool looksLikePcx(ByteSpan in) {
    if (in.size < 128 || in.data[0] != 0x0A || in.data[2] != 1) return false;
    uint8_t version = in.data[1], bpp = in.data[3];
    return (version == 0 || version == 2 || version == 3 || version == 4 || version == 5) &&
           (bpp == 1 || bpp == 2 || bpp == 4 || bpp == 8);
}

bool looksLikeWmf(ByteSpan in) {
    if (le32At(in, 0) == 0x9AC6CDD7u) return true;  // placeable header
    if (in.size < 18) return false;
    uint16_t type = static_cast<uint16_t>(in.data[0] | in.data[1] << 8);
    uint16_t headerWords = static_cast<uint16_t>(in.data[2] | in.data[3] << 8);
    uint16_t version = static_cast<uint16_t>(in.data[4] | in.data[5] << 8);
    return (type == 1 || type == 2) && headerWords == 9 && (version == 0x0300 || version == 0x0100);
}

bool looksLikeTga(ByteSpan in) {
    if (in.size < 18) return false;
    const uint8_t* h = in.data;
    uint8_t cmapType = h[1], type = h[2], bpp = h[16];
    uint16_t w = static_cast<uint16_t>(h[12] | h[13] << 8), ht = static_cast<uint16_t>(h[14] | h[15] << 8);
    if (cmapType > 1 || w == 0 || ht == 0) return false;
    switch (type) {
        case 1: case 9: return cmapType == 1 && bpp == 8;
        case 2: case 10: return bpp == 15 || bpp == 16 || bpp == 24 || bpp == 32;
        case 3: case 11: return bpp == 8;
        default: return false;
    }
}

}  // namespace

ImageFormat guessImageFormat(ByteSpan in) noexcept {
    if (startsWith(in, "\x89PNG\r\n\x1a\n", 8)) return ImageFormat::Png;
    if (startsWith(in, "\xFF\xD8\xFF", 3)) return ImageFormat::Jpeg;
    if (startsWith(in, "GIF87a", 6) || startsWith(in, "GIF89a", 6)) return ImageFormat::Gif;
    if (startsWith(in, "II*\0", 4) || startsWith(in, "MM\0*", 4)) return ImageFormat::Tiff;
    if (startsWith(in, "8BPS", 4)) return ImageFormat::Psd;
    if (startsWith(in, "BM", 2)) return ImageFormat::Bmp;
    if (le32At(in, 0) == 1 && le32At(in, 40) == 0x464D4520u) return ImageFormat::Emf;  // " EMF"
    if (looksLikeWmf(in)) return ImageFormat::Wmf;
    if (looksLikePcx(in)) return ImageFormat::Pcx;
    if (looksLikeTga(in)) return ImageFormat::Tga;
    return ImageFormat::Unknown;
}

DecodeFn decoderFor(ImageFormat f) noexcept {
    switch (f) {
        case ImageFormat::Bmp: return decodeBmp;
        case ImageFormat::Png: return decodePng;
        case ImageFormat::Jpeg: return decodeJpeg;
        case ImageFormat::Tiff: return decodeTiff;
        case ImageFormat::Gif: return decodeGif;
        case ImageFormat::Tga: return decodeTga;
        case ImageFormat::Pcx: return decodePcx;
        case ImageFormat::Psd: return decodePsd;
        default: return nullptr;
    }
}

bool decodeImage(ByteSpan in, RgbaImage& out, ImageHeader* header) {
    DecodeFn decode = decoderFor(guessImageFormat(in));
    if (!decode) return false;
    RgbaImage img;
    ImageHeader h;
    if (!decode(in, &img, h) || img.empty()) return false;
    out = std::move(img);
    if (header) *header = h;
    return true;
}

bool encodeWithRows(StartRowsFn start, bool bottomUp, const uint8_t* pixels, const EncodeParams& p, ByteSink& sink) {
    if (!pixels || p.width <= 0 || p.height <= 0) return false;
    std::unique_ptr<RowEncoder> enc = start(sink, p);
    if (!enc) return false;
    const size_t stride = checkedSize(p.width, p.channels);
    bool good = true;
    for (int32_t i = 0; i < p.height && good; ++i) {
        int32_t y = bottomUp ? p.height - 1 - i : i;
        good = enc->writeRow(pixels + static_cast<size_t>(y) * stride);
    }
    return enc->finish() && good;
}

}  // namespace orv
