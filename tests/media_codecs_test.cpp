// Codec round trips and refusals of damaged input, on small generated images.
#include <gtest/gtest.h>

#include <cstring>

#include "imaging/codecs/codec.h"

using namespace orv;

namespace {

// A w x h RGB or RGBA pattern that exercises every channel independently.
std::vector<uint8_t> pattern(int w, int h, int ch) {
    std::vector<uint8_t> px(size_t(w) * h * ch);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = &px[(size_t(y) * w + x) * ch];
            p[0] = uint8_t(x * 7 + y);
            p[1] = uint8_t(y * 13);
            p[2] = uint8_t((x ^ y) * 5);
            if (ch == 4) p[3] = uint8_t(255 - x * 3);
        }
    return px;
}

std::vector<uint8_t> encode(StartRowsFn start, bool bottomUp, const std::vector<uint8_t>& px, EncodeParams p) {
    VectorSink sink;
    EXPECT_TRUE(encodeWithRows(start, bottomUp, px.data(), p, sink));
    return sink.bytes;
}

// Largest channel difference between an RGB/RGBA buffer and a decoded RGBA image.
int maxDiff(const std::vector<uint8_t>& px, int ch, const RgbaImage& img) {
    int worst = 0;
    for (size_t i = 0; i < size_t(img.width) * img.height; ++i)
        for (int c = 0; c < 4; ++c) {
            int want = c < ch ? px[i * ch + c] : 255;
            worst = std::max(worst, std::abs(want - img.rgba[i * 4 + c]));
        }
    return worst;
}

struct RoundTrip {
    const char* name;
    StartRowsFn start;
    bool bottomUp;
    int channels;
    ImageFormat format;
    int tolerance;
};

}  // namespace

TEST(MediaCodecs, RowEncodersRoundTrip) {
    const RoundTrip cases[] = {
        {"bmp24", startBmpRows, true, 3, ImageFormat::Bmp, 0},
        {"png24", startPngRows, false, 3, ImageFormat::Png, 0},
        {"png32", startPngRows, false, 4, ImageFormat::Png, 0},
        {"jpeg", startJpegRows, false, 3, ImageFormat::Jpeg, 40},
    };
    for (const RoundTrip& c : cases) {
        SCOPED_TRACE(c.name);
        const int w = 37, h = 21;  // odd sizes exercise row padding
        auto px = pattern(w, h, c.channels);
        EncodeParams p{w, h, c.channels, Resolution::dpi(300), 97, true};
        if (c.format != ImageFormat::Jpeg) p.res = Resolution::perMetreFromDpi(300);
        auto bytes = encode(c.start, c.bottomUp, px, p);
        ByteSpan span{bytes.data(), bytes.size()};
        EXPECT_EQ(guessImageFormat(span), c.format);
        RgbaImage img;
        ImageHeader hdr;
        ASSERT_TRUE(decodeImage(span, img, &hdr));
        ASSERT_EQ(img.width, w);
        ASSERT_EQ(img.height, h);
        EXPECT_LE(maxDiff(px, c.channels, img), c.tolerance);
        EXPECT_EQ(hdr.res.x, p.res.x);
        EXPECT_EQ(hdr.res.unit, p.res.unit);
    }
}

TEST(MediaCodecs, DamagedInputIsRefusedAndLeavesOutputAlone) {
    auto px = pattern(16, 16, 3);
    std::vector<std::vector<uint8_t>> files = {
        encode(startBmpRows, true, px, {16, 16, 3}),
        encode(startPngRows, false, px, {16, 16, 3}),
        encode(startJpegRows, false, px, {16, 16, 3}),
    };
    for (size_t f = 0; f < files.size(); ++f) {
        SCOPED_TRACE(f);
        const auto& full = files[f];
        RgbaImage keep;
        keep.resize(2, 3);
        keep.rgba[0] = 77;
        // Truncations at several points, including inside the header.
        for (size_t cut : {size_t(0), size_t(5), size_t(20), full.size() / 2, full.size() - 3}) {
            std::vector<uint8_t> t(full.begin(), full.begin() + cut);
            EXPECT_FALSE(decodeImage({t.data(), t.size()}, keep)) << cut;
            EXPECT_EQ(keep.width, 2);
            EXPECT_EQ(keep.rgba[0], 77);
        }
    }
    const char text[] = "this is a text file named picture.png";
    RgbaImage img;
    EXPECT_FALSE(decodeImage({reinterpret_cast<const uint8_t*>(text), sizeof text}, img));
}
