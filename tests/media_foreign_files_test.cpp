// Files laid out the way other programs write them (header variants, run-length forms,
// origins, palettes, extra channels), built byte by byte, and hostile headers.
#include <gtest/gtest.h>
#include <gif_lib.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "imaging/codecs/codec.h"

using namespace orv;

namespace {

struct Bytes {
    std::vector<uint8_t> b;
    Bytes& u8(unsigned v) { b.push_back(uint8_t(v)); return *this; }
    Bytes& le16(unsigned v) { return u8(v).u8(v >> 8); }
    Bytes& le32(uint32_t v) { return le16(v & 0xFFFF).le16(v >> 16); }
    Bytes& be16(unsigned v) { return u8(v >> 8).u8(v); }
    Bytes& be32(uint32_t v) { return be16(v >> 16).be16(v & 0xFFFF); }
    Bytes& str(const char* s) { while (*s) u8(uint8_t(*s++)); return *this; }
    Bytes& fill(size_t n, uint8_t v) { b.insert(b.end(), n, v); return *this; }
    Bytes& raw(std::initializer_list<unsigned> v) { for (unsigned x : v) u8(x); return *this; }
};

// Expected pixels as 0xRRGGBBAA words, row by row.
void expectPixels(const Bytes& file, int w, int h, std::vector<uint32_t> want, ImageFormat fmt) {
    ByteSpan span{file.b.data(), file.b.size()};
    EXPECT_EQ(guessImageFormat(span), fmt);
    RgbaImage img;
    ASSERT_TRUE(decodeImage(span, img));
    ASSERT_EQ(img.width, w);
    ASSERT_EQ(img.height, h);
    for (int i = 0; i < w * h; ++i) {
        const uint8_t* p = &img.rgba[size_t(i) * 4];
        uint32_t got = uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
        EXPECT_EQ(got, want[size_t(i)]) << "pixel " << i << std::hex << " got " << got << " want " << want[size_t(i)];
    }
}

Bytes bmpHeader(uint32_t dataOffset) { return std::move(Bytes().str("BM").le32(0).le32(0).le32(dataOffset)); }

}  // namespace

TEST(ForeignFiles, BmpVariants) {
    {   // 12-byte core header, 8-bit, 3-byte palette entries, bottom-up 2 x 2
        Bytes f = bmpHeader(14 + 12 + 6);
        f.le32(12).le16(2).le16(2).le16(1).le16(8);
        f.raw({0, 0, 255, 255, 0, 0});          // palette: red, blue (stored B, G, R)
        f.raw({0, 1, 0, 0, 1, 0, 0, 0});        // bottom row: red blue; top row: blue red
        expectPixels(f, 2, 2, {0x0000FFFF, 0xFF0000FF, 0xFF0000FF, 0x0000FFFF}, ImageFormat::Bmp);
    }
    {   // run-length 8-bit: a run, an absolute run, end of line, end of bitmap
        Bytes f = bmpHeader(14 + 40 + 8);
        f.le32(40).le32(4).le32(2).le16(1).le16(8).le32(1).le32(0).le32(2835).le32(2835).le32(2).le32(0);
        f.raw({0, 255, 0, 0, 0, 0, 255, 0});    // green, blue
        f.raw({4, 0, 0, 0});                    // bottom row: 4 x green; end of line
        f.raw({0, 3, 1, 0, 1, 0, 1, 0, 0, 1});  // absolute 1 0 1 (padded), then end of bitmap
        expectPixels(f, 4, 2, {0xFF0000FF, 0x00FF00FF, 0xFF0000FF, 0x00FF00FF,  // last pixel left at index 0
                               0x00FF00FF, 0x00FF00FF, 0x00FF00FF, 0x00FF00FF},
                     ImageFormat::Bmp);
    }
    {   // 124-byte header, 32-bit bit fields with an alpha mask, top-down
        Bytes f = bmpHeader(14 + 124);
        f.le32(124).le32(2).le32(uint32_t(-1)).le16(1).le16(32).le32(3).le32(8).le32(0).le32(0).le32(0).le32(0);
        f.le32(0x00FF0000).le32(0x0000FF00).le32(0x000000FF).le32(0xFF000000);
        f.fill(124 - 56, 0);
        f.raw({0x30, 0x20, 0x10, 0x80, 0x01, 0x02, 0x03, 0x00});
        expectPixels(f, 2, 1, {0x10203080, 0x03020100}, ImageFormat::Bmp);
    }
    {   // 16-bit 5-6-5 through bit fields after a 40-byte header
        Bytes f = bmpHeader(14 + 40 + 12);
        f.le32(40).le32(2).le32(1).le16(1).le16(16).le32(3).le32(0).le32(0).le32(0).le32(0).le32(0);
        f.le32(0xF800).le32(0x07E0).le32(0x001F);
        f.le16(0xF800).le16(0x07E0);
        expectPixels(f, 2, 1, {0xFF0000FF, 0x00FF00FF}, ImageFormat::Bmp);
    }
}

TEST(ForeignFiles, TgaVariants) {
    {   // run-length 24-bit, bottom-left origin, a run crossing from one row into the next
        Bytes f;
        f.raw({0, 0, 10}).fill(5, 0).le16(0).le16(0).le16(3).le16(2).u8(24).u8(0);
        f.raw({0x83, 0, 0, 255});               // 4 x red: bottom row and the first top pixel
        f.raw({0x01, 255, 0, 0, 0, 255, 0});    // raw: blue, green
        expectPixels(f, 3, 2, {0xFF0000FF, 0x0000FFFF, 0x00FF00FF, 0xFF0000FF, 0xFF0000FF, 0xFF0000FF},
                     ImageFormat::Tga);
    }
    {   // colour-mapped, 24-bit map starting at index 1, top-left origin, an image id
        Bytes f;
        f.raw({2, 1, 1}).le16(1).le16(2).u8(24).le16(0).le16(0).le16(2).le16(1).u8(8).u8(0x20);
        f.raw({'i', 'd'});
        f.raw({10, 20, 30, 40, 50, 60});
        f.raw({2, 1});
        expectPixels(f, 2, 1, {0x3C3228FF, 0x1E140AFF}, ImageFormat::Tga);
    }
}

TEST(ForeignFiles, PcxVariants) {
    {   // 8-bit with the 256-colour palette after the data; a run of a byte needing escape
        Bytes f;
        f.raw({0x0A, 5, 1, 8}).le16(0).le16(0).le16(2).le16(0).le16(72).le16(72).fill(48, 0).u8(0).u8(1).le16(4);
        f.fill(128 - f.b.size(), 0);
        f.raw({0xC3, 0xC1, 7});                  // 3 x index 0xC1, then index 7
        f.u8(12);
        Bytes pal;
        for (int i = 0; i < 256; ++i) pal.raw({unsigned(i), unsigned(255 - i), 9});
        f.b.insert(f.b.end(), pal.b.begin(), pal.b.end());
        expectPixels(f, 3, 1, {0xC13E09FF, 0xC13E09FF, 0xC13E09FF}, ImageFormat::Pcx);
    }
    {   // 16 colours as four 1-bit planes with the header palette
        Bytes f;
        f.raw({0x0A, 5, 1, 1}).le16(0).le16(0).le16(1).le16(0).le16(72).le16(72);
        for (int i = 0; i < 16; ++i) f.raw({unsigned(i * 16), 0, unsigned(255 - i * 16)});
        f.u8(0).u8(4).le16(2);
        f.fill(128 - f.b.size(), 0);
        f.raw({0x80, 0, 0x00, 0, 0x80, 0, 0x40, 0});  // pixel 0: planes 0, 2 -> 5; pixel 1: plane 3 -> 8
        expectPixels(f, 2, 1, {0x5000AFFF, 0x80007FFF}, ImageFormat::Pcx);
    }
}

TEST(ForeignFiles, PsdVariants) {
    auto header = [](uint16_t channels, uint32_t h, uint32_t w, uint16_t mode) {
        Bytes f;
        f.str("8BPS").be16(1).fill(6, 0).be16(channels).be32(h).be32(w).be16(8).be16(mode).be32(0);
        return f;
    };
    {   // RGB with alpha, PackBits rows, a 150 dpi resolution record shown in centimetres
        Bytes f = header(4, 1, 3, 3);
        Bytes res;
        res.str("8BIM").be16(0x03ED).be16(0).be32(16).be32(150u << 16).be16(2).be16(1).be32(150u << 16).be16(2).be16(1);
        f.be32(uint32_t(res.b.size()));
        f.b.insert(f.b.end(), res.b.begin(), res.b.end());
        f.be32(0).be16(1);
        f.be16(2).be16(4).be16(2).be16(2);        // byte counts of the 4 rows
        f.raw({0xFE, 10});                        // red: 3 x 10
        f.raw({0x02, 1, 2, 3});                   // green: 1 2 3
        f.raw({0xFE, 30});                        // blue
        f.raw({0xFE, 128});                       // alpha
        expectPixels(f, 3, 1, {0x0A011E80, 0x0A021E80, 0x0A031E80}, ImageFormat::Psd);
        ImageHeader h;
        ASSERT_TRUE(decodePsd({f.b.data(), f.b.size()}, nullptr, h));
        EXPECT_EQ(h.res.x, 150u);
        EXPECT_EQ(h.res.unit, ResolutionUnit::PerInch);
    }
    {   // greyscale, raw, without alpha, with an empty layer section
        Bytes f = header(1, 1, 2, 1);
        f.be32(0).be32(0).be16(0).raw({0, 200});
        expectPixels(f, 2, 1, {0x000000FF, 0xC8C8C8FF}, ImageFormat::Psd);
    }
}

TEST(ForeignFiles, GifInterlacedWithTransparency) {
    // Written with the GIF library directly: 2 x 5, interlaced, index 1 transparent, the image
    // placed at (1, 0) on a 3 x 5 screen.
    VectorSink sink;
    int err = 0;
    GifFileType* gif = EGifOpen(&sink, [](GifFileType* g, const GifByteType* p, int n) {
        static_cast<VectorSink*>(g->UserData)->write(p, size_t(n));
        return n;
    }, &err);
    ASSERT_NE(gif, nullptr);
    GifColorType colours[4] = {{255, 0, 0}, {0, 0, 0}, {0, 0, 255}, {9, 9, 9}};
    ColorMapObject* map = GifMakeMapObject(4, colours);
    EGifSetGifVersion(gif, true);
    ASSERT_EQ(EGifPutScreenDesc(gif, 3, 5, 2, 0, map), GIF_OK);
    GraphicsControlBlock gcb{0, false, 0, 1};
    GifByteType ext[4];
    EGifGCBToExtension(&gcb, ext);
    ASSERT_EQ(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, ext), GIF_OK);
    ASSERT_EQ(EGifPutImageDesc(gif, 1, 0, 2, 5, true, nullptr), GIF_OK);
    // Rows in interlaced order 0, 4, 2, 1, 3; row y is (y % 3, 1).
    for (int y : {0, 4, 2, 1, 3}) {
        GifPixelType line[2] = {GifPixelType(y % 3), 1};
        ASSERT_EQ(EGifPutLine(gif, line, 2), GIF_OK);
    }
    ASSERT_EQ(EGifCloseFile(gif, &err), GIF_OK);
    GifFreeMapObject(map);
    Bytes f{sink.bytes};
    const uint32_t R = 0xFF0000FF, B = 0x0000FFFF, T = 0;
    expectPixels(f, 3, 5, {T, R, T, T, T, T, T, B, T, T, R, T, T, T, T}, ImageFormat::Gif);
}

TEST(ForeignFiles, HostileHeadersAreRefused) {
    std::vector<std::pair<const char*, Bytes>> files;
    {
        Bytes f = bmpHeader(54);
        f.le32(40).le32(100000).le32(100000).le16(1).le16(24).le32(0).le32(0).le32(0).le32(0).le32(0).le32(0);
        files.push_back({"bmp", f});
        Bytes rle = bmpHeader(54 + 1024);
        rle.le32(40).le32(16000).le32(16000).le16(1).le16(8).le32(1).le32(0).le32(0).le32(0).le32(0).le32(0);
        rle.fill(1024 + 4, 0).raw({0, 1});
        files.push_back({"bmp rle", rle});
    }
    {
        Bytes ihdr;
        ihdr.str("IHDR").be32(100000).be32(100000).raw({8, 6, 0, 0, 0});
        Bytes f;
        f.raw({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}).be32(13);
        f.b.insert(f.b.end(), ihdr.b.begin(), ihdr.b.end());
        f.be32(uint32_t(crc32(0, ihdr.b.data(), uInt(ihdr.b.size()))));
        files.push_back({"png", f});
    }
    {
        Bytes f;
        f.raw({0xFF, 0xD8, 0xFF, 0xC0}).be16(17).u8(8).be16(65000).be16(65000).u8(3);
        for (int c = 1; c <= 3; ++c) f.raw({unsigned(c), 0x11, 0});
        files.push_back({"jpeg", f});
    }
    {
        Bytes f;
        f.raw({0, 0, 2}).fill(9, 0).le16(65535).le16(65535).u8(32).u8(8).fill(64, 0);
        files.push_back({"tga", f});
        Bytes r;
        r.raw({0, 0, 10}).fill(9, 0).le16(65535).le16(65535).u8(32).u8(8).fill(64, 0xFF);
        files.push_back({"tga rle", r});
    }
    {
        Bytes f;
        f.raw({0x0A, 5, 1, 8}).le16(0).le16(0).le16(65534).le16(65534).fill(53, 0).u8(3).le16(65535);
        f.fill(128 - f.b.size() + 64, 0);
        files.push_back({"pcx", f});
    }
    {
        Bytes f;
        f.str("8BPS").be16(1).fill(6, 0).be16(3).be32(30000).be32(30000).be16(8).be16(3).be32(0).be32(0).be32(0).be16(1);
        f.fill(64, 0);
        files.push_back({"psd", f});
    }
    {
        Bytes f;
        f.str("GIF89a").le16(65535).le16(65535).raw({0x80, 0, 0}).fill(6, 0).u8(0x2C).le16(0).le16(0).le16(65535)
            .le16(65535).u8(0).u8(2).raw({2, 0x4C, 0x01, 0}).u8(0x3B);
        files.push_back({"gif", f});
    }
    {   // little-endian TIFF, one IFD: width, height, 8-bit RGB, one strip of 16 bytes
        Bytes f;
        f.raw({'I', 'I', 42, 0}).le32(8).le16(6);
        auto tag = [&](unsigned t, unsigned type, uint32_t count, uint32_t v) { f.le16(t).le16(type).le32(count).le32(v); };
        tag(256, 4, 1, 100000);
        tag(257, 4, 1, 100000);
        tag(258, 3, 1, 8);
        tag(262, 3, 1, 1);
        tag(273, 4, 1, 8 + 2 + 6 * 12 + 4);
        tag(279, 4, 1, 16);
        f.le32(0).fill(16, 0);
        files.push_back({"tiff", f});
    }
    {   // a colour map with 0-bit entries on a true-colour image
        Bytes f;
        f.raw({0xDD, 1, 2, 0, 0, 0x11, 0, 0, 1, 1, 0, 0, 4, 0, 3, 0, 0x10, 0, 0, 0x14, 0x2B});
        files.push_back({"tga colour map", f});
    }
    files.push_back({"empty", Bytes{}});
    for (auto& [name, f] : files) {
        RgbaImage img;
        EXPECT_FALSE(decodeImage({f.b.data(), f.b.size()}, img)) << name;
        EXPECT_TRUE(img.empty()) << name;
    }
}
