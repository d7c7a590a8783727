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

std::vector<uint8_t> encode(StartRowsFn start, bool bottomUp, const std::vector<uint8_t>& px, int w, int h) {
    VectorSink sink;
    EXPECT_TRUE(encodeWithRows(start, bottomUp, px.data(), EncodeParams{w, h, 3, {}, 97, false}, sink));
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

using Encoder = bool (*)(const std::vector<uint8_t>& px, int w, int h, ByteSink& sink);

template <StartRowsFn Start, int Ch, bool BottomUp>
bool viaRows(const std::vector<uint8_t>& px, int w, int h, ByteSink& sink) {
    EncodeParams p{w, h, Ch, Resolution::perMetreFromDpi(300), 97, true};
    if (Start == startJpegRows || Start == startTiffRows) p.res = Resolution::dpi(300);
    return encodeWithRows(Start, BottomUp, px.data(), p, sink);
}
template <bool (*Whole)(const uint8_t*, int32_t, int32_t, ByteSink&)>
bool whole(const std::vector<uint8_t>& px, int w, int h, ByteSink& sink) {
    return Whole(px.data(), w, h, sink);
}

struct RoundTrip {
    const char* name;
    Encoder encode;
    int channels;
    ImageFormat format;
    int tolerance;
    Resolution res;  // expected back
};

}  // namespace

TEST(MediaCodecs, WritersRoundTripThroughReaders) {
    const Resolution ppm = Resolution::perMetreFromDpi(300), dpi = Resolution::dpi(300), none{};
    const RoundTrip cases[] = {
        {"bmp24", viaRows<startBmpRows, 3, true>, 3, ImageFormat::Bmp, 0, ppm},
        {"png24", viaRows<startPngRows, 3, false>, 3, ImageFormat::Png, 0, ppm},
        {"png32", viaRows<startPngRows, 4, false>, 4, ImageFormat::Png, 0, ppm},
        {"jpeg", viaRows<startJpegRows, 3, false>, 3, ImageFormat::Jpeg, 40, dpi},
        {"tga32", viaRows<startTgaRows, 4, false>, 4, ImageFormat::Tga, 0, none},
        {"tiff24", viaRows<startTiffRows, 3, false>, 3, ImageFormat::Tiff, 0, dpi},
        {"tiff32", viaRows<startTiffRows, 4, false>, 4, ImageFormat::Tiff, 0, dpi},
        {"pcx24", whole<encodePcx24>, 3, ImageFormat::Pcx, 0, none},
        {"psd24", whole<encodePsd24>, 3, ImageFormat::Psd, 0, none},
        {"gif", whole<encodeGif24>, 3, ImageFormat::Gif, 24, none},
    };
    for (const RoundTrip& c : cases) {
        SCOPED_TRACE(c.name);
        const int w = 37, h = 21;  // odd sizes exercise row padding
        auto px = pattern(w, h, c.channels);
        VectorSink sink;
        ASSERT_TRUE(c.encode(px, w, h, sink));
        ByteSpan span{sink.bytes.data(), sink.bytes.size()};
        EXPECT_EQ(guessImageFormat(span), c.format);
        RgbaImage img;
        ImageHeader hdr;
        ASSERT_TRUE(decodeImage(span, img, &hdr));
        ASSERT_EQ(img.width, w);
        ASSERT_EQ(img.height, h);
        EXPECT_LE(maxDiff(px, c.channels, img), c.tolerance);
        EXPECT_EQ(hdr.res.x, c.res.x);
        EXPECT_EQ(hdr.res.unit, c.res.unit);
    }
}

TEST(MediaCodecs, DamagedInputIsRefusedAndLeavesOutputAlone) {
    auto px = pattern(16, 16, 3);
    std::vector<std::vector<uint8_t>> files = {
        encode(startBmpRows, true, px, 16, 16),
        encode(startPngRows, false, px, 16, 16),
        encode(startJpegRows, false, px, 16, 16),
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
