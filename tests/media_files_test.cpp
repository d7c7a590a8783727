// Image files and the loaded-image buffer, through the exports.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "engine/engine_state.h"
#include "imaging/codecs/codec.h"
#include "media/image_files.h"
#include "orvcore.h"

using namespace orv;

namespace {

std::string tmp(const std::string& name) { return ::testing::TempDir() + "orv_media_" + name; }

std::vector<uint8_t> rgbPattern(int w, int h, int ch) {
    std::vector<uint8_t> px(size_t(w) * h * ch);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < ch; ++c) px[(size_t(y) * w + x) * ch + c] = uint8_t(c == 3 ? 100 + x : x * 5 + y * 3 + c * 60);
    return px;
}

std::vector<uint8_t> fileBytes(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
}

void writeBytes(const std::string& path, const std::vector<uint8_t>& b) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
}

bool exists(const std::string& path) { return std::ifstream(path).good(); }

struct NewRgbaFixture : ::testing::Test {
    void TearDown() override { ORV_DeleteNewRGBA(); }
};

}  // namespace

TEST_F(NewRgbaFixture, EveryBufferWriterReadsBackAtItsSize) {
    const int w = 23, h = 9;
    const struct {
        const char* ext;
        int channels;
        int tolerance;
    } rows[] = {{".bmp", 3, 0}, {".png", 3, 0}, {".emf", 3, 0}, {".gif", 3, 0}, {".jpg", 3, 40}, {".pcx", 3, 0},
                {".psd", 3, 0}, {".wmf", 3, 0}, {".PNG", 4, 0}, {".tga", 4, 0}, {".Tif", 4, 0}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.ext);
        auto px = rgbPattern(w, h, r.channels);
        std::string path = tmp(std::string("w") + r.ext);
        int32_t written = r.channels == 3 ? ORV_WriteToFileRGB24(px.data(), w, h, path.c_str(), r.ext, 300)
                                          : ORV_WriteToFileRGBA32(px.data(), w, h, path.c_str(), r.ext, 300);
        ASSERT_EQ(written, 1);
        ASSERT_EQ(ORV_ReadFromFile(path.c_str()), 1);
        ASSERT_EQ(ORV_GetNewRGBAWidth(), w);
        ASSERT_EQ(ORV_GetNewRGBAHeight(), h);
        std::vector<uint8_t> back(size_t(w) * h * 4);
        ORV_GetNewRGBA32(back.data());
        int worst = 0;
        for (size_t i = 0; i < size_t(w) * h; ++i)
            for (int c = 0; c < r.channels; ++c) worst = std::max(worst, std::abs(px[i * r.channels + c] - back[i * 4 + c]));
        // The GIF pattern has few enough colours to keep them exactly.
        EXPECT_LE(worst, r.tolerance);
        EXPECT_EQ(ORV_IsNewRGBA32Transparent(), r.channels == 4 ? 1 : 0);
    }
}

TEST(MediaFiles, ExtensionsOutsideEachListWriteNothing) {
    auto px = rgbPattern(4, 4, 4);
    const struct {
        const char* ext;
        int channels;
    } rows[] = {{".jpeg", 3}, {".tga", 3}, {".tif", 3}, {"bmp", 3}, {".bmp", 4}, {".jpg", 4}, {".gif", 4}, {"", 3}};
    for (const auto& r : rows) {
        std::string path = tmp(std::string("none") + r.ext + std::to_string(r.channels));
        std::remove(path.c_str());
        int32_t res = r.channels == 3 ? ORV_WriteToFileRGB24(px.data(), 4, 4, path.c_str(), r.ext, 72)
                                      : ORV_WriteToFileRGBA32(px.data(), 4, 4, path.c_str(), r.ext, 72);
        EXPECT_EQ(res, 0) << r.ext;
        EXPECT_FALSE(exists(path)) << r.ext;
    }
    // Capital letters name the same format.
    std::string path = tmp("caps.jpg");
    ASSERT_EQ(ORV_WriteToFileRGB24(px.data(), 4, 4, path.c_str(), ".JPG", 72), 1);
    auto bytes = fileBytes(path);
    EXPECT_EQ(guessImageFormat({bytes.data(), bytes.size()}), ImageFormat::Jpeg);
}

TEST_F(NewRgbaFixture, FailedReadsKeepThePreviousBufferAndCallerBuffers) {
    auto px = rgbPattern(100, 81, 3);
    std::string good = tmp("keep.png");
    ASSERT_EQ(ORV_WriteToFileRGB24(px.data(), 100, 81, good.c_str(), ".png", 72), 1);
    ASSERT_EQ(ORV_ReadFromFile(good.c_str()), 1);

    std::string empty = tmp("empty.png"), text = tmp("text.png"), cut = tmp("cut.png");
    writeBytes(empty, {});
    writeBytes(text, std::vector<uint8_t>{'h', 'e', 'l', 'l', 'o', '\n'});
    auto bytes = fileBytes(good);
    bytes.resize(bytes.size() / 2);
    writeBytes(cut, bytes);
    for (const std::string& bad : {empty, text, cut, tmp("missing.png")}) {
        EXPECT_EQ(ORV_ReadFromFile(bad.c_str()), 0) << bad;
        EXPECT_EQ(ORV_GetNewRGBAWidth(), 100);
    }
    std::vector<uint8_t> back(100 * 81 * 4);
    ORV_GetNewRGBA32(back.data());
    EXPECT_EQ(back[3 * 4 + 1], px[3 * 3 + 1]);

    // A buffer one row short of the file's size is refused and left alone.
    std::vector<uint8_t> dst(100 * 80 * 3, 0xAB);
    EXPECT_EQ(ORV_ReadFromFileRGB24(dst.data(), 100, 80, good.c_str()), 0);
    EXPECT_EQ(std::count(dst.begin(), dst.end(), 0xAB), std::ptrdiff_t(dst.size()));
    std::vector<uint8_t> exact(100 * 81 * 4);
    EXPECT_EQ(ORV_ReadFromFileRGBA32(exact.data(), 100, 81, good.c_str()), 1);
    EXPECT_EQ(exact[3], 255);

    // Deleting keeps the last size; the accessors then do nothing.
    ORV_DeleteNewRGBA();
    EXPECT_EQ(ORV_GetNewRGBAWidth(), 100);
    EXPECT_EQ(ORV_IsNewRGBA32Transparent(), 0);
    std::vector<uint8_t> untouched(8, 0x11);
    ORV_GetNewRGBA32(untouched.data());
    EXPECT_EQ(untouched[0], 0x11);
}

TEST(MediaFiles, ResolutionIsReadAndSnapped) {
    auto px = rgbPattern(8, 8, 3);
    auto writeWith = [&](const char* name, StartRowsFn start, Resolution res) {
        EncodeParams p;
        p.width = p.height = 8;
        p.res = res;
        VectorSink sink;
        EXPECT_TRUE(encodeWithRows(start, false, px.data(), p, sink));
        std::string path = tmp(name);
        writeBytes(path, sink.bytes);
        return ORV_GetDPIFromFile(path.c_str());
    };
    EXPECT_EQ(writeWith("r1.jpg", startJpegRows, Resolution::dpi(300)), 300);
    EXPECT_EQ(writeWith("r2.jpg", startJpegRows, {118, 118, ResolutionUnit::PerCm}), 300);  // 299.7 snaps to 300
    EXPECT_EQ(writeWith("r3.png", startPngRows, {}), 72);
    EXPECT_EQ(writeWith("r4.jpg", startJpegRows, Resolution::dpi(240)), 72);
    EXPECT_EQ(writeWith("r5.jpg", startJpegRows, Resolution::dpi(449)), 450);
    EXPECT_EQ(writeWith("r6.tif", startTiffRows, Resolution::dpi(601)), 600);
    EXPECT_EQ(writeWith("r7.tif", startTiffRows, {59, 59, ResolutionUnit::PerCm}), 150);
    // The writers' own records: pixels per metre for BMP and PNG, dpi for TIFF.
    for (const char* ext : {".bmp", ".png"}) {
        std::string path = tmp(std::string("dpi") + ext);
        ASSERT_EQ(ORV_WriteToFileRGB24(px.data(), 8, 8, path.c_str(), ext, 96), 1);
        EXPECT_EQ(ORV_GetDPIFromFile(path.c_str()), 96) << ext;
    }
    EXPECT_EQ(ORV_GetDPIFromFile(tmp("missing.bmp").c_str()), 72);
    EXPECT_EQ(snapDpi(0), 72);
    EXPECT_EQ(snapDpi(95), 96);
    EXPECT_EQ(snapDpi(94), 72);
}

TEST(MediaFiles, ThumbnailAndWebPictureSizes) {
    const struct {
        int w, h, tw, th;
    } thumbs[] = {{400, 200, 100, 50}, {50, 20, 100, 40}, {200, 400, 50, 100}, {30, 30, 100, 100}, {1000, 3, 100, 1}};
    for (const auto& t : thumbs) {
        auto px = rgbPattern(t.w, t.h, 3);
        std::string src = tmp("thumb_src.png"), dst = tmp("thumb.bmp");
        ASSERT_EQ(ORV_WriteToFileRGB24(px.data(), t.w, t.h, src.c_str(), ".png", 72), 1);
        EXPECT_EQ(ORV_MakeThumbnail(src.c_str(), dst.c_str()), 0);
        auto bytes = fileBytes(dst);
        RgbaImage img;
        ImageHeader hdr;
        ASSERT_TRUE(decodeImage({bytes.data(), bytes.size()}, img, &hdr));
        EXPECT_EQ(guessImageFormat({bytes.data(), bytes.size()}), ImageFormat::Bmp);
        EXPECT_EQ(img.width, t.tw) << t.w << "x" << t.h;
        EXPECT_EQ(img.height, t.th) << t.w << "x" << t.h;
        EXPECT_EQ(hdr.res.unit, ResolutionUnit::None);
    }
    const struct {
        int w, h, mw, mh, ow, oh;
    } webs[] = {{1000, 1000, 640, 480, 480, 480}, {300, 200, 640, 480, 300, 200}, {1280, 480, 640, 480, 640, 240}};
    for (const auto& t : webs) {
        auto px = rgbPattern(t.w, t.h, 3);
        std::string src = tmp("web_src.bmp"), dst = tmp("web.jpg");
        ASSERT_EQ(ORV_WriteToFileRGB24(px.data(), t.w, t.h, src.c_str(), ".bmp", 72), 1);
        EXPECT_EQ(ORV_MakeWebPic(src.c_str(), dst.c_str(), t.mw, t.mh), 0);
        auto bytes = fileBytes(dst);
        RgbaImage img;
        ASSERT_TRUE(decodeImage({bytes.data(), bytes.size()}, img));
        EXPECT_EQ(img.width, t.ow);
        EXPECT_EQ(img.height, t.oh);
    }
}

TEST_F(NewRgbaFixture, ResizedCopyAndPlacingIntoTheLayer) {
    // A two-colour image: left half red, right half blue.
    const int w = 40, h = 20;
    std::vector<uint8_t> px(size_t(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) px[(size_t(y) * w + x) * 3 + (x < w / 2 ? 0 : 2)] = 200;
    std::string path = tmp("halves.bmp");
    ASSERT_EQ(ORV_WriteToFileRGB24(px.data(), w, h, path.c_str(), ".bmp", 72), 1);
    ASSERT_EQ(ORV_ReadFromFile(path.c_str()), 1);
    for (auto [rw, rh] : {std::pair{10, 5}, std::pair{80, 40}, std::pair{10, 40}}) {
        std::vector<uint8_t> out(size_t(rw) * rh * 3);
        ORV_GetResizedNewRGBA24(out.data(), rw, rh);
        EXPECT_EQ(out[0], 200) << rw;                          // top-left stays red
        EXPECT_EQ(out[(size_t(rw) * rh - 1) * 3 + 2], 200) << rw;  // bottom-right stays blue
    }
    std::vector<uint8_t> rgb(size_t(w) * h * 3);
    ORV_GetNewRGBA24(rgb.data());
    EXPECT_EQ(rgb, px);

    ORV_CreateImage(nullptr, w, h, 16, 0);
    ORV_CreateLayer(2, w, h);
    ORV_SetLayer(2);
    ORV_SetInNewRGBA();
    const LayerRecord& l = engine().layers.slots[2];
    EXPECT_EQ(l.pixels[0], 200 << 8);
    EXPECT_EQ(l.pixels[3], 0xFF00);
    ORV_DeleteImage();
}

TEST(MediaFiles, PageWritersWriteEveryRowOnce) {
    const int w = 13, h = 1;
    ORV_CreateImage(nullptr, w, h, 16, 0);
    ORV_CreateLayer(1, w, h);
    ORV_SetLayerOptions(1, 1, 0, 100, "Normal");
    std::string bmp = tmp("page.bmp");
    EXPECT_EQ(ORV_SavePageToFileRGB24(bmp.c_str(), ".bmp", 300), 0);
    auto bytes = fileBytes(bmp);
    EXPECT_EQ(bytes.size(), 54u + 40u);  // header and exactly one padded line

    ORV_DeleteImage();
    ORV_CreateImage(nullptr, 7, 5, 16, 0);
    ORV_CreateLayer(1, 7, 5);
    ORV_SetLayerOptions(1, 1, 0, 100, "Normal");
    uint16_t* px = engine().layers.slots[1].pixels.data();
    px[(2 * 7 + 3) * 4 + 0] = 0x1234;  // one dark-red pixel at (3, 2)
    // A visible layer above with one opaque blue pixel at (6, 4): the writers flatten the page.
    ORV_CreateLayer(2, 7, 5);
    ORV_SetLayerOptions(2, 1, 0, 100, "Normal");
    uint16_t* top = engine().layers.slots[2].pixels.data();
    top[(4 * 7 + 6) * 4 + 2] = 0xFF00;
    top[(4 * 7 + 6) * 4 + 3] = 0xFF00;
    for (const auto& [ext, ch] : {std::pair{".bmp", 3}, std::pair{".png", 3}, std::pair{".jpg", 3},
                                  std::pair{".png", 4}, std::pair{".tga", 4}, std::pair{".tif", 4}}) {
        std::string path = tmp(std::string("page") + std::to_string(ch) + ext);
        if (ch == 3)
            ORV_SavePageToFileRGB24(path.c_str(), ext, 150);
        else
            ORV_SavePageToFileRGB32(path.c_str(), ext, 150);
        RgbaImage img;
        auto b = fileBytes(path);
        ASSERT_TRUE(decodeImage({b.data(), b.size()}, img)) << ext << ch;
        ASSERT_EQ(img.width, 7);
        ASSERT_EQ(img.height, 5);
        if (std::string(ext) != ".jpg") {
            EXPECT_EQ(img.row(2)[3 * 4], 0x12) << ext << ch;
            EXPECT_EQ(img.row(2)[3 * 4 + 1], 0xFF) << ext << ch;
            EXPECT_EQ(img.row(0)[0], 0xFF) << ext << ch;
            EXPECT_EQ(img.row(4)[6 * 4], 0) << ext << ch;
            EXPECT_EQ(img.row(4)[6 * 4 + 2], 0xFF) << ext << ch;
        }
        if (ext == std::string(".png") || ext == std::string(".tif")) {
            EXPECT_EQ(ORV_GetDPIFromFile(path.c_str()), 150) << ext;
        }
    }
    std::string unlisted = tmp("page.gif");
    std::remove(unlisted.c_str());
    ORV_SavePageToFileRGB24(unlisted.c_str(), ".gif", 72);
    EXPECT_FALSE(exists(unlisted));
    ORV_DeleteImage();
}
