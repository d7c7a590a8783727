#include "media/image_files.h"

#include <cmath>
#include <cstring>

#include "engine/pixel_transfer.h"
#include "imaging/codecs/metafile.h"
#include "imaging/resample.h"
#include "media/file_formats.h"
#include "media/new_rgba.h"

namespace orv {

uint32_t dpiOfResolution(const Resolution& r) noexcept {
    switch (r.unit) {
        case ResolutionUnit::PerInch: return r.x;
        case ResolutionUnit::PerCm: return static_cast<uint32_t>(r.x * 2.5400000025908);
        case ResolutionUnit::PerMetre: return static_cast<uint32_t>(r.x * 0.025400000025908);
        default: return 0;
    }
}

int32_t snapDpi(uint32_t dpi) noexcept {
    static constexpr int32_t kSteps[] = {72, 96, 150, 200, 300, 450, 600};
    for (int32_t s : kSteps)
        if (dpi + 1 >= uint32_t(s) && dpi <= uint32_t(s) + 1) return s;
    return 72;
}

int32_t dpiFromFile(const char* path) {
    std::vector<uint8_t> bytes;
    if (!readWholeFile(path, bytes)) return 72;
    ByteSpan span{bytes.data(), bytes.size()};
    const ImageFormat f = guessImageFormat(span);
    // Only these formats state a resolution the engine honours.
    if (f != ImageFormat::Bmp && f != ImageFormat::Jpeg && f != ImageFormat::Png && f != ImageFormat::Tiff &&
        f != ImageFormat::Psd)
        return 72;
    ImageHeader h;
    if (!decoderFor(f)(span, nullptr, h)) return 72;
    return snapDpi(dpiOfResolution(h.res));
}

bool readAnyImage(const char* path, uint32_t metafileBackground, RgbaImage& out) {
    std::vector<uint8_t> bytes;
    if (!readWholeFile(path, bytes)) return false;
    ByteSpan span{bytes.data(), bytes.size()};
    const ImageFormat f = guessImageFormat(span);
    if (f == ImageFormat::Emf || f == ImageFormat::Wmf) return renderMetafile(span, metafileBackground, out);
    return decodeImage(span, out);
}

bool readIntoNewRGBA(NewRgbaBuffer& b, const char* path, uint32_t metafileBackground) {
    RgbaImage img;
    if (!readAnyImage(path, metafileBackground, img)) return false;
    replaceNewRGBA(b, std::move(img));
    return true;
}

bool readIntoBuffer(const char* path, uint8_t* dst, int32_t width, int32_t height, int channels,
                    uint32_t metafileBackground) {
    if (!dst) return false;
    RgbaImage img;
    if (!readAnyImage(path, metafileBackground, img) || img.width != width || img.height != height) return false;
    if (channels == 4)
        std::memcpy(dst, img.rgba.data(), img.rgba.size());
    else
        rgba32ToRGB24(dst, img.rgba.data(), width, height);
    return true;
}

int32_t writeImageBuffer(const uint8_t* pixels, int32_t width, int32_t height, int channels, const char* path,
                         const char* extension, int32_t dpi) {
    const FileFormatEntry* e = findFileFormat(extension);
    BufferWriteFn write = e ? (channels == 4 ? e->rgba32 : e->rgb24) : nullptr;
    if (!write || !pixels || width <= 0 || height <= 0) return 0;
    FileSink sink(path);
    if (!sink.isOpen()) return 0;
    bool good = write(pixels, width, height, dpi, sink);
    return sink.close() && good ? 1 : 0;
}

namespace {

// A side of at least one pixel: a very long, thin image would otherwise give a side of 0.
int32_t side(float v) noexcept { return v >= 1.0f ? static_cast<int32_t>(v) : 1; }

// Reads the source, scales its colour to the size sizeOf gives and writes it through the row
// encoder without a resolution record.
template <class SizeFn>
void writeScaled(const char* source, const char* destination, SizeFn sizeOf, StartRowsFn start, bool bottomUp,
                 int quality) {
    RgbaImage img;
    if (!readAnyImage(source, 0xFFFFFF, img)) return;
    const int32_t w = img.width, h = img.height;
    const PictureSize size = sizeOf(w, h);
    std::vector<uint8_t> rgb(checkedSize(w, h, 3));
    rgba32ToRGB24(rgb.data(), img.rgba.data(), w, h);
    img = RgbaImage();
    std::vector<uint8_t> scaled(checkedSize(size.width, size.height, 3));
    resampleImage({rgb.data(), w, h}, {scaled.data(), size.width, size.height}, 3);
    EncodeParams p;
    p.width = size.width;
    p.height = size.height;
    p.channels = 3;
    p.quality = quality;
    FileSink sink(destination);
    if (!sink.isOpen()) return;
    encodeWithRows(start, bottomUp, scaled.data(), p, sink);
    sink.close();
}

}  // namespace

PictureSize thumbnailSize(int32_t width, int32_t height) noexcept {
    if (height < width) return {100, side(100.0f / float(width) * float(height))};
    return {side(100.0f / float(height) * float(width)), 100};
}

PictureSize webPicSize(int32_t width, int32_t height, int32_t maxWidth, int32_t maxHeight) noexcept {
    const float w = float(width), h = float(height), mw = float(maxWidth), mh = float(maxHeight);
    PictureSize s{width, height};
    if (w / h < mw / mh) {
        if (uint32_t(height) > uint32_t(maxHeight)) s = {side(mh / h * w), side(mh)};
    } else if (uint32_t(width) > uint32_t(maxWidth)) {
        s = {side(mw), side(mw / w * h)};
    }
    return s;
}

}  // namespace orv

namespace orv {

void makeThumbnail(const char* source, const char* destination) {
    writeScaled(source, destination, thumbnailSize, startBmpRows, true, 0);
}

void makeWebPic(const char* source, const char* destination, int32_t maxWidth, int32_t maxHeight) {
    auto size = [&](int32_t w, int32_t h) { return webPicSize(w, h, maxWidth, maxHeight); };
    writeScaled(source, destination, size, startJpegRows, false, 75);
}

}  // namespace orv
