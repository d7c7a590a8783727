// TIFF through libtiff: 8-bit RGB, RGBA and grey strips are read directly (alpha kept as
// stored); every other layout goes through the library's general RGBA reader. Writes 8-bit
// RGB or RGBA (unassociated alpha) strips, uncompressed, with an optional resolution.
#include <tiffio.h>

#include <algorithm>
#include <cstring>
#include <mutex>

#include "imaging/codecs/codec.h"

namespace orv {
namespace {

// Compressed strips expand at most a few thousand times (deflate, LZW, fax runs).
constexpr double kTiffPixelsPerByte = 8192.0;
constexpr tmsize_t kMaxSingleAlloc = tmsize_t(1) << 30;

void quietHandlers() {
    static std::once_flag once;
    std::call_once(once, [] {
        TIFFSetErrorHandler(nullptr);
        TIFFSetWarningHandler(nullptr);
    });
}

// Memory-backed client procs for reading.
struct MemFile {
    ByteSpan span;
    toff_t pos = 0;
};
tmsize_t memRead(thandle_t h, void* buf, tmsize_t n) {
    auto* m = static_cast<MemFile*>(h);
    if (n < 0 || m->pos >= m->span.size) return 0;
    size_t k = std::min<size_t>(size_t(n), m->span.size - size_t(m->pos));
    std::memcpy(buf, m->span.data + m->pos, k);
    m->pos += k;
    return tmsize_t(k);
}
tmsize_t noWrite(thandle_t, void*, tmsize_t) { return 0; }
toff_t memSeek(thandle_t h, toff_t off, int whence) {
    auto* m = static_cast<MemFile*>(h);
    toff_t base = whence == SEEK_CUR ? m->pos : whence == SEEK_END ? m->span.size : 0;
    m->pos = base + off;
    return m->pos;
}
int noClose(thandle_t) { return 0; }
toff_t memSize(thandle_t h) { return static_cast<MemFile*>(h)->span.size; }
int noMap(thandle_t, void**, toff_t*) { return 0; }
void noUnmap(thandle_t, void*, toff_t) {}

struct TiffHandle {
    TIFF* tif = nullptr;
    ~TiffHandle() {
        if (tif) TIFFClose(tif);
    }
};

TIFF* openClient(const char* mode, thandle_t h, TIFFReadWriteProc rd, TIFFReadWriteProc wr, TIFFSeekProc sk,
                 TIFFSizeProc sz) {
    quietHandlers();
    TIFFOpenOptions* opts = TIFFOpenOptionsAlloc();
    if (!opts) return nullptr;
    TIFFOpenOptionsSetMaxSingleMemAlloc(opts, kMaxSingleAlloc);
    TIFF* t = TIFFClientOpenExt("image", mode, h, rd, wr, sk, noClose, sz, noMap, noUnmap, opts);
    TIFFOpenOptionsFree(opts);
    return t;
}

// Contiguous 8-bit RGB, RGBA or grey strips, read scanline by scanline.
bool readDirect(TIFF* tif, uint16_t photometric, uint16_t spp, RgbaImage& img) {
    std::vector<uint8_t> line(static_cast<size_t>(TIFFScanlineSize(tif)));
    if (line.size() < size_t(img.width) * spp) return false;
    for (int32_t y = 0; y < img.height; ++y) {
        if (TIFFReadScanline(tif, line.data(), uint32_t(y), 0) < 0) return false;
        uint8_t* d = img.row(y);
        const uint8_t* s = line.data();
        for (int32_t x = 0; x < img.width; ++x, d += 4, s += spp) {
            if (photometric == PHOTOMETRIC_RGB) {
                d[0] = s[0], d[1] = s[1], d[2] = s[2];
                d[3] = spp >= 4 ? s[3] : 255;
            } else {
                uint8_t v = photometric == PHOTOMETRIC_MINISWHITE ? uint8_t(255 - s[0]) : s[0];
                d[0] = d[1] = d[2] = v;
                d[3] = spp >= 2 ? s[1] : 255;
            }
        }
    }
    return true;
}

bool readGeneral(TIFF* tif, RgbaImage& img) {
    char msg[1024];
    if (!TIFFRGBAImageOK(tif, msg)) return false;
    // Packed words in the library's order are R, G, B, A bytes in memory on little-endian hosts;
    // the unpacking below does not rely on that.
    std::vector<uint32_t> raster(checkedSize(img.width, img.height));
    if (!TIFFReadRGBAImageOriented(tif, uint32_t(img.width), uint32_t(img.height), raster.data(), ORIENTATION_TOPLEFT, 0))
        return false;
    uint16_t extra = 0, *types = nullptr;
    const bool associated = TIFFGetField(tif, TIFFTAG_EXTRASAMPLES, &extra, &types) && extra > 0 &&
                            types[0] == EXTRASAMPLE_ASSOCALPHA;
    (void)associated;  // the library returns associated alpha either way; undone below
    uint8_t* d = img.rgba.data();
    for (uint32_t v : raster) {
        uint8_t a = uint8_t(TIFFGetA(v));
        uint8_t c[3] = {uint8_t(TIFFGetR(v)), uint8_t(TIFFGetG(v)), uint8_t(TIFFGetB(v))};
        for (int k = 0; k < 3; ++k) d[k] = a == 0 ? 0 : a == 255 ? c[k] : uint8_t(std::min(255, (c[k] * 255 + a / 2) / a));
        d[3] = a;
        d += 4;
    }
    return true;
}

}  // namespace

bool decodeTiff(ByteSpan in, RgbaImage* out, ImageHeader& header) {
    MemFile mem{in, 0};
    TiffHandle h;
    h.tif = openClient("rm", &mem, memRead, noWrite, memSeek, memSize);
    if (!h.tif) return false;
    uint32_t w = 0, ht = 0;
    if (!TIFFGetField(h.tif, TIFFTAG_IMAGEWIDTH, &w) || !TIFFGetField(h.tif, TIFFTAG_IMAGELENGTH, &ht)) return false;
    header.width = int32_t(w);
    header.height = int32_t(ht);
    float xr = 0, yr = 0;
    uint16_t unit = RESUNIT_INCH;
    TIFFGetFieldDefaulted(h.tif, TIFFTAG_RESOLUTIONUNIT, &unit);
    if (TIFFGetField(h.tif, TIFFTAG_XRESOLUTION, &xr) && xr > 0 && xr < 4e9f) {
        if (!TIFFGetField(h.tif, TIFFTAG_YRESOLUTION, &yr) || !(yr > 0 && yr < 4e9f)) yr = xr;
        ResolutionUnit u = unit == RESUNIT_INCH ? ResolutionUnit::PerInch
                           : unit == RESUNIT_CENTIMETER ? ResolutionUnit::PerCm : ResolutionUnit::None;
        if (u != ResolutionUnit::None) header.res = {uint32_t(xr), uint32_t(yr), u};
    }
    if (!plausibleImageSize(w, ht, in.size, kTiffPixelsPerByte)) return false;
    if (!out) return true;

    uint16_t bits = 0, spp = 0, photometric = 0, planar = PLANARCONFIG_CONTIG;
    TIFFGetFieldDefaulted(h.tif, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(h.tif, TIFFTAG_SAMPLESPERPIXEL, &spp);
    TIFFGetFieldDefaulted(h.tif, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetField(h.tif, TIFFTAG_PHOTOMETRIC, &photometric);
    uint16_t extra = 0, *types = nullptr;
    TIFFGetField(h.tif, TIFFTAG_EXTRASAMPLES, &extra, &types);
    const bool unassociated = extra == 0 || types[0] != EXTRASAMPLE_ASSOCALPHA;
    const bool direct = bits == 8 && planar == PLANARCONFIG_CONTIG && !TIFFIsTiled(h.tif) && unassociated &&
                        ((photometric == PHOTOMETRIC_RGB && (spp == 3 || spp == 4)) ||
                         ((photometric == PHOTOMETRIC_MINISBLACK || photometric == PHOTOMETRIC_MINISWHITE) &&
                          (spp == 1 || spp == 2)));
    RgbaImage img;
    img.resize(int32_t(w), int32_t(ht));
    if (!(direct ? readDirect(h.tif, photometric, spp, img) : readGeneral(h.tif, img))) return false;
    *out = std::move(img);
    return true;
}

namespace {

// Write procs over a seekable sink; the library appends strips at the end of the file and
// patches the header after them, so the end is tracked here.
struct SinkFile {
    ByteSink& sink;
    uint64_t end = 0;
};
tmsize_t sinkWrite(thandle_t h, void* buf, tmsize_t n) {
    auto* f = static_cast<SinkFile*>(h);
    if (n < 0 || !f->sink.write(buf, size_t(n))) return 0;
    f->end = std::max(f->end, f->sink.tell());
    return n;
}
tmsize_t sinkRead(thandle_t, void*, tmsize_t) { return 0; }
toff_t sinkSeek(thandle_t h, toff_t off, int whence) {
    auto* f = static_cast<SinkFile*>(h);
    uint64_t base = whence == SEEK_CUR ? f->sink.tell() : whence == SEEK_END ? f->end : 0;
    return f->sink.seek(base + off) ? base + off : toff_t(-1);
}
toff_t sinkSize(thandle_t h) { return static_cast<SinkFile*>(h)->end; }

class TiffRows final : public RowEncoder {
public:
    TiffRows(ByteSink& sink, const EncodeParams& p) : RowEncoder(p.height), sink_(sink), file_{sink}, p_(p), row_(size_t(p.width) * p.channels) {}
    ~TiffRows() override {
        if (tif_) TIFFClose(tif_);
    }
    bool begin() {
        if (!sink_.seek(0)) return false;
        tif_ = openClient("w", &file_, sinkRead, sinkWrite, sinkSeek, sinkSize);
        if (!tif_) return false;
        TIFFSetField(tif_, TIFFTAG_IMAGEWIDTH, uint32_t(p_.width));
        TIFFSetField(tif_, TIFFTAG_IMAGELENGTH, uint32_t(p_.height));
        TIFFSetField(tif_, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(tif_, TIFFTAG_SAMPLESPERPIXEL, p_.channels);
        TIFFSetField(tif_, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
        TIFFSetField(tif_, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
        TIFFSetField(tif_, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
        TIFFSetField(tif_, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
        if (p_.channels == 4) {
            uint16_t extra[1] = {EXTRASAMPLE_UNASSALPHA};
            TIFFSetField(tif_, TIFFTAG_EXTRASAMPLES, 1, extra);
        }
        if (p_.res.unit == ResolutionUnit::PerInch || p_.res.unit == ResolutionUnit::PerCm) {
            TIFFSetField(tif_, TIFFTAG_XRESOLUTION, float(p_.res.x));
            TIFFSetField(tif_, TIFFTAG_YRESOLUTION, float(p_.res.y));
            TIFFSetField(tif_, TIFFTAG_RESOLUTIONUNIT, p_.res.unit == ResolutionUnit::PerInch ? RESUNIT_INCH : RESUNIT_CENTIMETER);
        }
        TIFFSetField(tif_, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tif_, 0));
        return true;
    }
private:
    bool encodeRow(const uint8_t* px) override {
        std::memcpy(row_.data(), px, row_.size());  // the library may alter the row it is given
        return TIFFWriteScanline(tif_, row_.data(), uint32_t(rowIndex()), 0) >= 0;
    }
    bool complete(bool rowsGood) override {
        if (!tif_) return false;
        bool good = rowsGood && TIFFWriteDirectory(tif_);
        TIFFClose(tif_);
        tif_ = nullptr;
        return good && sink_.ok();
    }

    ByteSink& sink_;
    SinkFile file_;
    EncodeParams p_;
    std::vector<uint8_t> row_;
    TIFF* tif_ = nullptr;
};

}  // namespace

std::unique_ptr<RowEncoder> startTiffRows(ByteSink& sink, const EncodeParams& p) {
    if ((p.channels != 3 && p.channels != 4) || p.width <= 0 || p.height <= 0) return nullptr;
    auto enc = std::make_unique<TiffRows>(sink, p);
    if (!enc->begin()) return nullptr;
    return enc;
}

}  // namespace orv
