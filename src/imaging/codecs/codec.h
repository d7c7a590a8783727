// The codec layer: formats recognised by content, the decoder of each format, the row
// encoders and the limits every decoder applies before it allocates.
//
// Each format has one decode function over bytes in memory. With out null it reads only the
// header (size and resolution); otherwise it decodes to RGBA. A decoder refuses (returns
// false, out untouched) any input it cannot read completely: bad signatures, sizes that do
// not fit the limits below, truncated or corrupt data.
#pragma once
#include <cstdint>
#include <memory>

#include "imaging/codecs/byte_io.h"
#include "imaging/image.h"

namespace orv {

enum class ImageFormat : uint8_t { Unknown, Bmp, Jpeg, Png, Tiff, Gif, Pcx, Psd, Tga, Emf, Wmf };

// The unit a file states its resolution in.
enum class ResolutionUnit : uint8_t { None, PerInch, PerCm, PerMetre };

struct Resolution {
    uint32_t x = 0, y = 0;
    ResolutionUnit unit = ResolutionUnit::None;

    // A dpi of 0 or less gives no record.
    static Resolution dpi(int32_t dpi) noexcept {
        if (dpi <= 0) return {};
        return {uint32_t(dpi), uint32_t(dpi), ResolutionUnit::PerInch};
    }
    // Pixels per metre = truncate(dpi * 39.3700787).
    static Resolution perMetreFromDpi(int32_t dpi) noexcept {
        if (dpi <= 0) return {};
        uint32_t v = static_cast<uint32_t>(dpi * 39.3700787);
        return {v, v, ResolutionUnit::PerMetre};
    }
};

struct ImageHeader {
    int32_t width = 0;
    int32_t height = 0;
    Resolution res;
};

// The largest image any decoder produces: 2^28 pixels (1 GiB of RGBA).
inline constexpr uint64_t kMaxImagePixels = uint64_t(1) << 28;

// True when a width x height image can be allocated and could be encoded in `available`
// bytes by a format that expands at most maxPixelsPerByte pixels from each input byte.
// Decoders call it before allocating, so a tiny hostile header cannot claim gigabytes.
bool plausibleImageSize(int64_t width, int64_t height, size_t available, double maxPixelsPerByte) noexcept;

using DecodeFn = bool (*)(ByteSpan in, RgbaImage* out, ImageHeader& header);

bool decodeBmp(ByteSpan in, RgbaImage* out, ImageHeader& header);
bool decodePng(ByteSpan in, RgbaImage* out, ImageHeader& header);
bool decodeJpeg(ByteSpan in, RgbaImage* out, ImageHeader& header);
bool decodeTiff(ByteSpan in, RgbaImage* out, ImageHeader& header);
bool decodeGif(ByteSpan in, RgbaImage* out, ImageHeader& header);
bool decodeTga(ByteSpan in, RgbaImage* out, ImageHeader& header);
bool decodePcx(ByteSpan in, RgbaImage* out, ImageHeader& header);
bool decodePsd(ByteSpan in, RgbaImage* out, ImageHeader& header);

// The format of the bytes, by signature; Unknown when none matches.
ImageFormat guessImageFormat(ByteSpan in) noexcept;
// The decoder of a format, null for metafiles and Unknown.
DecodeFn decoderFor(ImageFormat f) noexcept;

// Decodes any supported raster format by content. False (out untouched) on failure.
bool decodeImage(ByteSpan in, RgbaImage& out, ImageHeader* header = nullptr);

// ---- Writing -------------------------------------------------------------------------------

// Receives the rows of an image one at a time, in the order the format stores them (see each
// start function), and finishes the file. Pixels are RGB (3 bytes) or RGBA (4 bytes).
class RowEncoder {
public:
    explicit RowEncoder(int32_t height) noexcept : height_(height) {}
    virtual ~RowEncoder() = default;
    // Takes exactly `height` rows; false for a row past the height, and from the first
    // failed row on (a failure is latched, so a damaged file never completes).
    bool writeRow(const uint8_t* pixels) {
        if (failed_ || rows_ >= height_) return false;
        ++rows_;
        if (!encodeRow(pixels)) failed_ = true;
        return !failed_;
    }
    // Completes the file; false when any step failed (including a failed sink) or rows
    // are missing.
    bool finish() { return complete(!failed_ && rows_ == height_); }

protected:
    // Encodes the next row, whose index is rowIndex().
    virtual bool encodeRow(const uint8_t* pixels) = 0;
    // Ends the file when rowsGood; releases what the encoder holds either way.
    virtual bool complete(bool rowsGood) = 0;
    int32_t rowIndex() const noexcept { return rows_ - 1; }

    bool failed_ = false;  // also set by an encoder's own failure handlers

private:
    int32_t height_;
    int32_t rows_ = 0;
};

struct EncodeParams {
    int32_t width = 0;
    int32_t height = 0;
    int channels = 3;  // 3: RGB, 4: RGBA
    Resolution res;    // unit None: no resolution written
    int quality = 97;  // JPEG only
    bool fullChroma = false;  // JPEG only: no chroma subsampling
};

// BMP rows arrive bottom row first; all other formats top row first. Null when the
// parameters are not supported by the format.
std::unique_ptr<RowEncoder> startBmpRows(ByteSink& sink, const EncodeParams& p);   // RGB only
std::unique_ptr<RowEncoder> startPngRows(ByteSink& sink, const EncodeParams& p);   // RGB or RGBA
std::unique_ptr<RowEncoder> startJpegRows(ByteSink& sink, const EncodeParams& p);  // RGB only
std::unique_ptr<RowEncoder> startTgaRows(ByteSink& sink, const EncodeParams& p);   // RGBA only
std::unique_ptr<RowEncoder> startTiffRows(ByteSink& sink, const EncodeParams& p);  // RGB or RGBA

using StartRowsFn = std::unique_ptr<RowEncoder> (*)(ByteSink&, const EncodeParams&);
// Writes a whole top-down buffer (rows of width * channels bytes) through a row encoder,
// feeding rows bottom-first when bottomUp is set.
bool encodeWithRows(StartRowsFn start, bool bottomUp, const uint8_t* pixels, const EncodeParams& p, ByteSink& sink);

// Whole-image writers of RGB buffers.
bool encodePcx24(const uint8_t* rgb, int32_t width, int32_t height, ByteSink& sink);
bool encodePsd24(const uint8_t* rgb, int32_t width, int32_t height, ByteSink& sink);
// Quantises to at most 256 colours and writes a GIF without transparency.
bool encodeGif24(const uint8_t* rgb, int32_t width, int32_t height, ByteSink& sink);

}  // namespace orv
