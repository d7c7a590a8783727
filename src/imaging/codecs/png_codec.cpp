// PNG through libpng: any bit depth and colour type decodes to 8-bit RGBA; writes 8-bit RGB
// or RGBA with an optional pixels-per-metre record.
#include <png.h>

#include <csetjmp>
#include <cstring>

#include "imaging/codecs/codec.h"

namespace orv {
namespace {

// Deflate expands at most 1032 bytes per input byte; at one bit per pixel that is 8256
// pixels per byte of file.
constexpr double kPngPixelsPerByte = 8256.0;

void onError(png_structp png, png_const_charp) { longjmp(png_jmpbuf(png), 1); }
void onWarning(png_structp, png_const_charp) {}

void readFromReader(png_structp png, png_bytep out, png_size_t n) {
    auto* r = static_cast<ByteReader*>(png_get_io_ptr(png));
    const uint8_t* p = r->take(n);
    if (!p) png_error(png, "truncated");
    std::memcpy(out, p, n);
}

struct PngRead {
    ByteReader reader;
    RgbaImage img;
    std::vector<png_bytep> rows;
    png_structp png = nullptr;
    png_infop info = nullptr;
    explicit PngRead(ByteSpan in) : reader(in) {}
    ~PngRead() { png_destroy_read_struct(&png, &info, nullptr); }
};

// Kept apart from the caller so that only ctx (in memory, not registers) is live across
// the longjmp.
bool runPngRead(PngRead* ctx, ImageHeader* header, bool wantPixels) {
    png_structp png = ctx->png;
    png_infop info = ctx->info;
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_read_fn(png, &ctx->reader, readFromReader);
    png_set_user_limits(png, 1u << 30, 1u << 30);
    png_read_info(png, info);
    png_uint_32 w = png_get_image_width(png, info), h = png_get_image_height(png, info);
    header->width = static_cast<int32_t>(w);
    header->height = static_cast<int32_t>(h);
    png_uint_32 rx = 0, ry = 0;
    int unit = 0;
    if (png_get_pHYs(png, info, &rx, &ry, &unit) && unit == PNG_RESOLUTION_METER)
        header->res = {rx, ry, ResolutionUnit::PerMetre};
    if (!plausibleImageSize(w, h, ctx->reader.size(), kPngPixelsPerByte)) return false;
    if (!wantPixels) return true;

    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != size_t(w) * 4) return false;
    ctx->img.resize(static_cast<int32_t>(w), static_cast<int32_t>(h));
    ctx->rows.resize(h);
    for (png_uint_32 y = 0; y < h; ++y) ctx->rows[y] = ctx->img.row(static_cast<int32_t>(y));
    png_read_image(png, ctx->rows.data());
    png_read_end(png, nullptr);
    return true;
}

}  // namespace

bool decodePng(ByteSpan in, RgbaImage* out, ImageHeader& header) {
    PngRead ctx(in);
    ctx.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
    if (!ctx.png) return false;
    ctx.info = png_create_info_struct(ctx.png);
    if (!ctx.info) return false;
    if (!runPngRead(&ctx, &header, out != nullptr)) return false;
    if (out) *out = std::move(ctx.img);
    return true;
}

namespace {

void writeToSink(png_structp png, png_bytep data, png_size_t n) {
    if (!static_cast<ByteSink*>(png_get_io_ptr(png))->write(data, n)) png_error(png, "write failed");
}
void flushNothing(png_structp) {}

class PngRows final : public RowEncoder {
public:
    PngRows(ByteSink& sink, const EncodeParams& p) : RowEncoder(p.height), sink_(sink), p_(p) {}
    ~PngRows() override { png_destroy_write_struct(&png_, &info_); }

    bool begin() {
        png_ = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
        if (!png_) return false;
        info_ = png_create_info_struct(png_);
        if (!info_) return false;
        return beginJmp(this);
    }

private:
    bool encodeRow(const uint8_t* px) override { return rowJmp(this, px); }
    bool complete(bool rowsGood) override { return rowsGood && endJmp(this); }

    static bool beginJmp(PngRows* s) {
        if (setjmp(png_jmpbuf(s->png_))) return !(s->failed_ = true);
        png_set_write_fn(s->png_, &s->sink_, writeToSink, flushNothing);
        png_set_IHDR(s->png_, s->info_, s->p_.width, s->p_.height, 8,
                     s->p_.channels == 4 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        if (s->p_.res.unit == ResolutionUnit::PerMetre)
            png_set_pHYs(s->png_, s->info_, s->p_.res.x, s->p_.res.y, PNG_RESOLUTION_METER);
        png_write_info(s->png_, s->info_);
        return true;
    }
    static bool rowJmp(PngRows* s, const uint8_t* px) {
        if (setjmp(png_jmpbuf(s->png_))) return !(s->failed_ = true);
        png_write_row(s->png_, px);
        return true;
    }
    static bool endJmp(PngRows* s) {
        if (setjmp(png_jmpbuf(s->png_))) return !(s->failed_ = true);
        png_write_end(s->png_, nullptr);
        return s->sink_.ok();
    }

    ByteSink& sink_;
    EncodeParams p_;
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};

}  // namespace

std::unique_ptr<RowEncoder> startPngRows(ByteSink& sink, const EncodeParams& p) {
    if ((p.channels != 3 && p.channels != 4) || p.width <= 0 || p.height <= 0) return nullptr;
    auto enc = std::make_unique<PngRows>(sink, p);
    if (!enc->begin()) return nullptr;
    return enc;
}

}  // namespace orv
