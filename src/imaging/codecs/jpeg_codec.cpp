// JPEG through libjpeg: greyscale, YCbCr/RGB and CMYK/YCCK files decode to RGBA (alpha 255);
// writes 8-bit RGB at a given quality, optionally without chroma subsampling.
#include <cstdio>
#include <jpeglib.h>
#include <jerror.h>

#include <csetjmp>
#include <cstring>

#include "imaging/codecs/codec.h"

namespace orv {
namespace {

// The most compact baseline or progressive stream still spends a bit per 8 x 8 block.
constexpr double kJpegPixelsPerByte = 512.0;
// A progressive file with thousands of scans decodes for minutes; real ones have a dozen.
constexpr int kMaxScans = 256;

struct JpegError {
    jpeg_error_mgr mgr;
    jmp_buf jump;
};

void onError(j_common_ptr c) { longjmp(reinterpret_cast<JpegError*>(c->err)->jump, 1); }
void onMessage(j_common_ptr, int) {}

// Warnings the decoder recovers from by inventing data: a truncated or corrupt stream. The
// image would come back partly grey, so the file is refused instead.
void onDecodeMessage(j_common_ptr c, int level) {
    if (level >= 0) return;
    switch (c->err->msg_code) {
        case JWRN_JPEG_EOF:
        case JWRN_HUFF_BAD_CODE:
        case JWRN_HIT_MARKER:
        case JWRN_MUST_RESYNC:
        case JWRN_BOGUS_PROGRESSION:
            onError(c);
            break;
        default:
            break;
    }
}
void onOutput(j_common_ptr) {}

void onProgress(j_common_ptr c) {
    auto* d = reinterpret_cast<j_decompress_ptr>(c);
    if (d->input_scan_number > kMaxScans) onError(c);
}

struct JpegRead {
    jpeg_decompress_struct cinfo{};
    JpegError err{};
    jpeg_progress_mgr progress{};
    RgbaImage img;
    std::vector<uint8_t> cmykRow;
    bool created = false;
    ~JpegRead() {
        if (created) jpeg_destroy_decompress(&cinfo);
    }
};

void cmykToRgba(const uint8_t* s, uint8_t* d, int32_t w, bool inverted) {
    for (int32_t x = 0; x < w; ++x, s += 4, d += 4) {
        unsigned c = s[0], m = s[1], y = s[2], k = s[3];
        if (!inverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
        d[0] = uint8_t((c * k + 127) / 255);
        d[1] = uint8_t((m * k + 127) / 255);
        d[2] = uint8_t((y * k + 127) / 255);
        d[3] = 255;
    }
}

bool runJpegRead(JpegRead* ctx, ByteSpan in, ImageHeader* header, bool wantPixels) {
    j_decompress_ptr cinfo = &ctx->cinfo;
    cinfo->err = jpeg_std_error(&ctx->err.mgr);
    ctx->err.mgr.error_exit = onError;
    ctx->err.mgr.emit_message = onDecodeMessage;
    ctx->err.mgr.output_message = onOutput;
    if (setjmp(ctx->err.jump)) return false;
    jpeg_create_decompress(cinfo);
    ctx->created = true;
    cinfo->mem->max_memory_to_use = 1024L * 1024L * 1024L;
    ctx->progress.progress_monitor = onProgress;
    cinfo->progress = &ctx->progress;
    jpeg_mem_src(cinfo, in.data, static_cast<unsigned long>(in.size));
    if (jpeg_read_header(cinfo, TRUE) != JPEG_HEADER_OK) return false;
    header->width = static_cast<int32_t>(cinfo->image_width);
    header->height = static_cast<int32_t>(cinfo->image_height);
    if (cinfo->density_unit == 1)
        header->res = {cinfo->X_density, cinfo->Y_density, ResolutionUnit::PerInch};
    else if (cinfo->density_unit == 2)
        header->res = {cinfo->X_density, cinfo->Y_density, ResolutionUnit::PerCm};
    if (!plausibleImageSize(cinfo->image_width, cinfo->image_height, in.size, kJpegPixelsPerByte)) return false;
    if (!wantPixels) return true;

    const bool cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
    cinfo->out_color_space = cmyk ? JCS_CMYK : JCS_EXT_RGBA;
    jpeg_start_decompress(cinfo);
    const int32_t w = static_cast<int32_t>(cinfo->output_width), h = static_cast<int32_t>(cinfo->output_height);
    if (cinfo->output_components != 4) return false;
    ctx->img.resize(w, h);
    if (cmyk) ctx->cmykRow.resize(checkedSize(w, 4));
    while (cinfo->output_scanline < cinfo->output_height) {
        int32_t y = static_cast<int32_t>(cinfo->output_scanline);
        JSAMPROW row = cmyk ? ctx->cmykRow.data() : ctx->img.row(y);
        if (jpeg_read_scanlines(cinfo, &row, 1) != 1) return false;
        if (cmyk) cmykToRgba(row, ctx->img.row(y), w, cinfo->saw_Adobe_marker);
    }
    jpeg_finish_decompress(cinfo);
    return true;
}

}  // namespace

bool decodeJpeg(ByteSpan in, RgbaImage* out, ImageHeader& header) {
    if (!in.data || in.size < 4) return false;
    JpegRead ctx;
    if (!runJpegRead(&ctx, in, &header, out != nullptr)) return false;
    if (out) *out = std::move(ctx.img);
    return true;
}

namespace {

constexpr size_t kJpegOutBuffer = 1 << 16;

class JpegRows final : public RowEncoder {
public:
    JpegRows(ByteSink& sink, const EncodeParams& p) : RowEncoder(p.height), sink_(sink), p_(p), buffer_(kJpegOutBuffer) {}
    ~JpegRows() override {
        if (created_) jpeg_destroy_compress(&cinfo_);
    }

    bool begin() { return beginJmp(this); }

private:
    bool encodeRow(const uint8_t* px) override { return rowJmp(this, px); }
    bool complete(bool rowsGood) override { return rowsGood && endJmp(this); }

    struct Dest {
        jpeg_destination_mgr mgr;
        JpegRows* owner;
    };

    static void initDest(j_compress_ptr c) {
        Dest* d = reinterpret_cast<Dest*>(c->dest);
        d->mgr.next_output_byte = d->owner->buffer_.data();
        d->mgr.free_in_buffer = d->owner->buffer_.size();
    }
    static boolean emptyDest(j_compress_ptr c) {
        Dest* d = reinterpret_cast<Dest*>(c->dest);
        if (!d->owner->sink_.write(d->owner->buffer_.data(), d->owner->buffer_.size())) onError(reinterpret_cast<j_common_ptr>(c));
        initDest(c);
        return TRUE;
    }
    static void termDest(j_compress_ptr c) {
        Dest* d = reinterpret_cast<Dest*>(c->dest);
        size_t used = d->owner->buffer_.size() - d->mgr.free_in_buffer;
        if (!d->owner->sink_.write(d->owner->buffer_.data(), used)) onError(reinterpret_cast<j_common_ptr>(c));
    }

    static bool beginJmp(JpegRows* s) {
        j_compress_ptr c = &s->cinfo_;
        c->err = jpeg_std_error(&s->err_.mgr);
        s->err_.mgr.error_exit = onError;
        s->err_.mgr.emit_message = onMessage;
        s->err_.mgr.output_message = onOutput;
        if (setjmp(s->err_.jump)) return !(s->failed_ = true);
        jpeg_create_compress(c);
        s->created_ = true;
        s->dest_.owner = s;
        s->dest_.mgr.init_destination = initDest;
        s->dest_.mgr.empty_output_buffer = emptyDest;
        s->dest_.mgr.term_destination = termDest;
        c->dest = &s->dest_.mgr;
        c->image_width = static_cast<JDIMENSION>(s->p_.width);
        c->image_height = static_cast<JDIMENSION>(s->p_.height);
        c->input_components = 3;
        c->in_color_space = JCS_RGB;
        jpeg_set_defaults(c);
        jpeg_set_quality(c, s->p_.quality, TRUE);
        if (s->p_.fullChroma)
            for (int i = 0; i < c->num_components; ++i) c->comp_info[i].h_samp_factor = c->comp_info[i].v_samp_factor = 1;
        if (s->p_.res.unit == ResolutionUnit::PerInch || s->p_.res.unit == ResolutionUnit::PerCm) {
            c->write_JFIF_header = TRUE;
            c->density_unit = s->p_.res.unit == ResolutionUnit::PerInch ? 1 : 2;
            c->X_density = static_cast<UINT16>(s->p_.res.x > 65535 ? 65535 : s->p_.res.x);
            c->Y_density = static_cast<UINT16>(s->p_.res.y > 65535 ? 65535 : s->p_.res.y);
        }
        jpeg_start_compress(c, TRUE);
        return true;
    }
    static bool rowJmp(JpegRows* s, const uint8_t* px) {
        if (setjmp(s->err_.jump)) return !(s->failed_ = true);
        JSAMPROW row = const_cast<JSAMPROW>(px);
        return jpeg_write_scanlines(&s->cinfo_, &row, 1) == 1;
    }
    static bool endJmp(JpegRows* s) {
        if (setjmp(s->err_.jump)) return !(s->failed_ = true);
        jpeg_finish_compress(&s->cinfo_);
        return s->sink_.ok();
    }

    ByteSink& sink_;
    EncodeParams p_;
    std::vector<uint8_t> buffer_;
    jpeg_compress_struct cinfo_{};
    JpegError err_{};
    Dest dest_{};
    bool created_ = false;
};

}  // namespace

std::unique_ptr<RowEncoder> startJpegRows(ByteSink& sink, const EncodeParams& p) {
    if (p.channels != 3 || p.width <= 0 || p.height <= 0 || p.width > 65500 || p.height > 65500) return nullptr;
    auto enc = std::make_unique<JpegRows>(sink, p);
    if (!enc->begin()) return nullptr;
    return enc;
}

}  // namespace orv
