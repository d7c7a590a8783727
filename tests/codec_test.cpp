// Run-length line codes and the compressed layer, including decoders fed random and cut
// bytes (run under the sanitizers, any read or write past a buffer fails the test).
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "engine/engine_state.h"
#include "engine/line_codecs.h"
#include "imaging/zlib_codec.h"
#include "orvcore.h"

using namespace orv;

namespace {

std::vector<uint16_t> pixels(std::initializer_list<std::array<uint16_t, 4>> px) {
    std::vector<uint16_t> v;
    for (auto& p : px) v.insert(v.end(), p.begin(), p.end());
    return v;
}

std::vector<uint8_t> encodeRGBA(const std::vector<uint16_t>& px) {
    std::vector<uint8_t> out(px.size() / 4 * 5);
    out.resize(ORV_RLECompressRGBA64ToRGBA32(px.data(), out.data(), static_cast<int32_t>(px.size() / 4)));
    return out;
}

}  // namespace

TEST(RunLength, RgbaRecordsAreExact) {
    std::vector<uint16_t> white(300 * 4, 0xFFFF);
    EXPECT_EQ(encodeRGBA(white), (std::vector<uint8_t>{255, 255, 255, 255, 255, 45, 255, 255, 255, 255}));

    auto alternating = pixels({{0x0100, 0, 0, 0xFF00}, {0x0200, 0, 0, 0xFF00}, {0x0100, 0, 0, 0xFF00}, {0x0200, 0, 0, 0xFF00}});
    EXPECT_EQ(encodeRGBA(alternating).size(), 20u);

    // Low bytes do not split a run and do not come back.
    auto lowBytes = pixels({{0x1234, 1, 2, 3}, {0x12FF, 0xFF, 0x80, 0x7F}});
    auto code = encodeRGBA(lowBytes);
    EXPECT_EQ(code, (std::vector<uint8_t>{2, 0x12, 0, 0, 0}));
    std::vector<uint16_t> back(8, 0xDEAD);
    ORV_RLEUncompressRGBA32ToRGBA64(code.data(), back.data(), 2);
    EXPECT_EQ(back, (pixels({{0x1200, 0, 0, 0}, {0x1200, 0, 0, 0}})));

    uint8_t dst[5] = {};
    EXPECT_EQ(ORV_RLECompressRGBA64ToRGBA32(white.data(), dst, 1), 5);
    EXPECT_EQ(ORV_RLECompressRGBA64ToRGBA32(white.data(), dst, 0), 0);
    EXPECT_EQ(ORV_RLECompressRGBA64ToRGBA32(nullptr, dst, 3), 0);
    EXPECT_EQ(ORV_RLECompressRGBA64ToRGBA32(white.data(), nullptr, 3), 0);
}

TEST(RunLength, DecodeStopsAtTheLineEnd) {
    // A record of 10 with 4 pixels left writes 4; a record of count 0 writes nothing.
    const uint8_t code[] = {0, 9, 9, 9, 9, 2, 1, 2, 3, 4, 10, 5, 6, 7, 8};
    std::vector<uint16_t> line(6 * 4 + 4, 0xAAAA);
    ORV_RLEUncompressRGBA32ToRGBA64(code, line.data(), 6);
    EXPECT_EQ(line[0], 0x0100);
    EXPECT_EQ(line[2 * 4], 0x0500);
    EXPECT_EQ(line[5 * 4 + 3], 0x0800);
    EXPECT_EQ(line[6 * 4], 0xAAAA);  // the guard pixel past the line

    const uint8_t gray[] = {3, 0xFF, 200, 0x10};
    std::vector<uint16_t> g(5, 1);
    ORV_RLEUncompressG8ToG16(gray, g.data(), 4);
    EXPECT_EQ(g, (std::vector<uint16_t>{0xFF00, 0xFF00, 0xFF00, 0x1000, 1}));
    std::vector<uint16_t> ones(600, 0xFFFF);
    std::vector<uint8_t> gcode(1200);
    EXPECT_EQ(ORV_RLECompressG16ToG8(ones.data(), gcode.data(), 600), 6);
    EXPECT_EQ((std::vector<uint8_t>(gcode.begin(), gcode.begin() + 6)), (std::vector<uint8_t>{255, 255, 255, 255, 90, 255}));
}

TEST(RunLength, RoundTripKeepsHighBytes) {
    std::mt19937 rng(11);
    for (int trial = 0; trial < 50; ++trial) {
        const size_t n = 1 + rng() % 700;
        std::vector<uint16_t> px(n * 4), gray(n);
        uint16_t v[4] = {};
        for (size_t i = 0; i < n; ++i) {
            if (rng() % 4 == 0)
                for (auto& c : v) c = static_cast<uint16_t>(rng() & 0x0303);  // few distinct high bytes, random low bytes
            for (int k = 0; k < 4; ++k) px[i * 4 + k] = static_cast<uint16_t>(v[k] | (rng() & 0xFF));
            gray[i] = px[i * 4];
        }
        std::vector<uint8_t> code(n * 5);
        const size_t bytes = rleEncodeRGBA(px.data(), code.data(), n);
        ASSERT_EQ(bytes % 5, 0u);
        std::vector<uint16_t> back(n * 4);
        ASSERT_EQ(rleDecodeRGBA(code.data(), bytes, back.data(), n), n);
        std::vector<uint8_t> gcode(n * 2);
        const size_t gbytes = rleEncodeGray(gray.data(), gcode.data(), n);
        std::vector<uint16_t> gback(n);
        ASSERT_EQ(rleDecodeGray(gcode.data(), gbytes, gback.data(), n), n);
        for (size_t i = 0; i < n * 4; ++i) ASSERT_EQ(back[i], px[i] & 0xFF00) << i;
        for (size_t i = 0; i < n; ++i) ASSERT_EQ(gback[i], gray[i] & 0xFF00) << i;
    }
}

TEST(RunLength, DecodersSurviveRandomAndCutBytes) {
    std::mt19937 rng(3);
    for (int trial = 0; trial < 2000; ++trial) {
        const size_t n = 1 + rng() % 64;
        // Exactly sized heap buffers: the sanitizers catch any access past them.
        std::vector<uint8_t> junk(rng() % (n * 5 + 1));
        for (auto& b : junk) b = static_cast<uint8_t>(rng() % 4 == 0 ? 0 : rng());
        std::vector<uint16_t> px(n * 4), g(n);
        const size_t w = rleDecodeRGBA(junk.data(), junk.size(), px.data(), n);
        const size_t wg = rleDecodeGray(junk.data(), junk.size(), g.data(), n);
        ASSERT_LE(w, n);
        ASSERT_LE(wg, n);
    }
    // The exported decoders read at most the longest code of the line: all-zero records.
    std::vector<uint8_t> zeros(40 * 5, 0);
    std::vector<uint16_t> px(40 * 4, 7);
    ORV_RLEUncompressRGBA32ToRGBA64(zeros.data(), px.data(), 40);
    ORV_RLEUncompressG8ToG16(zeros.data(), px.data(), 100);
    EXPECT_EQ(px[0], 7);
    ORV_RLEUncompressRGBA32ToRGBA64(zeros.data(), px.data(), -3);
    ORV_RLEUncompressRGBA32ToRGBA64(nullptr, px.data(), 3);
}

namespace {
struct Codecs : ::testing::Test {
    static constexpr int W = 37, H = 11;
    void SetUp() override {
        ORV_CreateImage(nullptr, W, H, 8, 0);
        ORV_CreateLayer(3, W, H);
        ORV_SetLayerOptions(3, 1, 0, 100, "Normal");
    }
    void TearDown() override { ORV_DeleteImage(); }
    static std::vector<uint16_t> randomPage(unsigned seed) {
        std::mt19937 rng(seed);
        std::vector<uint16_t> px(W * H * 4);
        for (size_t i = 0; i < px.size(); i += 4) {
            const uint16_t v = static_cast<uint16_t>(rng() % 3 * 0x4000 + 0x80);
            px[i] = px[i + 1] = v;
            px[i + 2] = static_cast<uint16_t>(i);
            px[i + 3] = (i / 4) % 5 == 0 ? 0 : v;
        }
        return px;
    }
    static std::vector<uint16_t> layer(int l) {
        std::vector<uint16_t> px(W * H * 4);
        ORV_GetLayerData(px.data(), l);
        return px;
    }
};
}  // namespace

TEST_F(Codecs, LineWrappersRoundTripAndRejectBadRows) {
    auto px = randomPage(1);
    ORV_SetLayerData(px.data(), 3);
    std::vector<uint8_t> code(W * 5);
    const int32_t n = ORV_GetRGBA32LayerLineRLE(code.data(), 3, 4);
    ASSERT_GT(n, 0);
    ORV_CreateLayer(3, W, H);
    ORV_PutRGBA32LayerLineRLE(code.data(), 3, 4);
    auto back = layer(3);
    for (int i = 0; i < W * 4; ++i) ASSERT_EQ(back[4 * W * 4 + i], px[4 * W * 4 + i] & 0xFF00);
    EXPECT_EQ(ORV_GetRGBA32LayerLineRLE(code.data(), 5, 0), 0);  // empty slot
    EXPECT_EQ(ORV_GetRGBA32LayerLineRLE(code.data(), 3, H), 0);
    EXPECT_EQ(ORV_GetRGBA32LayerLineRLE(code.data(), 3, -1), 0);
    ORV_PutRGBA32LayerLineRLE(code.data(), 3, H);

    auto& mask = engine().mask.maskBuffer;
    for (int x = 0; x < W; ++x) mask[2 * W + x] = static_cast<uint16_t>(x < 10 ? 0xFFFF : 0x1234);
    std::vector<uint8_t> mcode(W * 2);
    EXPECT_EQ(ORV_GetMaskLineRLE(mcode.data(), 2), 4);
    ORV_PutMaskLineRLE(mcode.data(), 0);
    EXPECT_EQ(mask[0], 0xFF00);
    EXPECT_EQ(mask[W - 1], 0x1200);
    ORV_DeleteImage();
    EXPECT_EQ(ORV_GetMaskLineRLE(mcode.data(), 0), 0);  // no mask
}

TEST_F(Codecs, CompressedLayerRoundTrip) {
    auto px = randomPage(2);
    ORV_SetLayerData(px.data(), 3);
    std::vector<uint8_t> z(W * H * 4 + 1024);
    for (int level : {0, 1, 9, -1, 42}) {
        const int32_t n = ORV_GetRGBA32LayerCompressed(z.data(), 0, static_cast<int32_t>(z.size()), 3, level);
        ASSERT_GT(n, 0) << level;
        ORV_CreateLayer(3, W, H);
        ORV_LoadRGBA32LayerCompressed(z.data(), 0, n, 3);
        auto back = layer(3);
        for (size_t i = 0; i < px.size(); i += 4) {
            const bool clear = (px[i + 3] >> 8) == 0;
            for (int k = 0; k < 4; ++k) ASSERT_EQ(back[i + k], clear ? 0 : px[i + k] & 0xFF00) << i << " " << level;
        }
        ORV_SetLayerData(px.data(), 3);
    }
    EXPECT_EQ(ORV_GetRGBA32LayerCompressed(z.data(), 0, 8, 3, 6), 0);  // too small for the stream
    EXPECT_EQ(ORV_GetRGBA32LayerCompressed(z.data(), 0, static_cast<int32_t>(z.size()), 9, 6), 0);
    EXPECT_EQ(ORV_GetRGBA32LayerCompressed(nullptr, 0, 100, 3, 6), 0);
}

TEST_F(Codecs, BadStreamsChangeNothingAndReport) {
    auto px = randomPage(3);
    ORV_SetLayerData(px.data(), 3);
    std::vector<uint8_t> z(W * H * 4 + 1024);
    const int32_t n = ORV_GetRGBA32LayerCompressed(z.data(), 0, static_cast<int32_t>(z.size()), 3, 6);
    ASSERT_GT(n, 10);
    ORV_SetLastError("");
    std::mt19937 rng(9);
    for (int trial = 0; trial < 300; ++trial) {
        std::vector<uint8_t> bad(z.begin(), z.begin() + n);
        if (trial % 3 == 0) bad.resize(rng() % n);                                          // cut
        else if (trial % 3 == 1) bad[2 + rng() % (n - 2)] ^= static_cast<uint8_t>(1 + rng() % 255);  // flipped
        else for (auto& b : bad) b = static_cast<uint8_t>(rng());                          // noise
        ORV_LoadRGBA32LayerCompressed(bad.data(), 0, static_cast<int32_t>(bad.size()), 3);
        if (std::strcmp(ORV_GetLastError(), "") == 0) {  // a change the stream's checks cannot see loads what it says
            ORV_SetLayerData(px.data(), 3);
            continue;
        }
        EXPECT_STREQ(ORV_GetLastError(), "LoadRGBA32LayerCompressed Excpt");
        ASSERT_EQ(layer(3), px) << trial;
        ORV_SetLastError("");
    }
    ORV_SetLayerData(px.data(), 3);
    ORV_LoadRGBA32LayerCompressed(z.data(), 0, -1, 3);
    EXPECT_STREQ(ORV_GetLastError(), "LoadRGBA32LayerCompressed Excpt");
    EXPECT_EQ(layer(3), px);
    ORV_LoadRGBA32LayerCompressed(nullptr, 0, n, 3);
    ORV_LoadRGBA32LayerCompressed(z.data(), 0, n, 12);  // empty slot: nothing
}

TEST(ZlibBuffer, ShortAndLongStreams) {
    std::vector<uint8_t> data(1000);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * i);
    std::vector<uint8_t> z(2000);
    const size_t n = deflateBuffer(data.data(), data.size(), z.data(), z.size(), 6);
    ASSERT_GT(n, 0u);
    std::vector<uint8_t> big(1500, 0xEE), small(400);
    Inflated r = inflateBuffer(z.data(), n, big.data(), big.size());
    EXPECT_EQ(r.status, InflateStatus::Complete);
    EXPECT_EQ(r.bytes, 1000u);
    EXPECT_EQ(big[1000], 0xEE);
    r = inflateBuffer(z.data(), n, small.data(), small.size());
    EXPECT_EQ(r.status, InflateStatus::Filled);
    EXPECT_EQ(0, std::memcmp(small.data(), data.data(), small.size()));
    r = inflateBuffer(z.data(), n / 2, big.data(), big.size());
    EXPECT_EQ(r.status, InflateStatus::Truncated);
    EXPECT_EQ(deflateBuffer(data.data(), data.size(), z.data(), 10, 6), 0u);
}
