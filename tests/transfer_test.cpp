// Pixel transfer between layers and host buffers: channel conversions, clipping, the
// selection-weighted loads, clears and the buffer conversions.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <random>
#include <vector>

#include "engine/coverage.h"
#include "engine/engine_state.h"
#include "orvcore.h"

using namespace orv;

namespace {

constexpr int W = 8, H = 4;

struct Transfer : ::testing::Test {
    void SetUp() override {
        ORV_CreateImage(nullptr, W, H, 8, 0);
        ORV_CreateLayer(2, W, H);
        ORV_SetLayerOptions(2, 1, 0, 100, "Normal");  // options outlive the page
        ORV_SetLayer(2);
        engine().mask.maskActive = 0;
    }
    void TearDown() override { ORV_DeleteImage(); }

    static uint16_t* px(int x, int y, int layer = 2) { return engine().layers.slots[layer].pixels.data() + (y * W + x) * 4; }
    static void setPx(int x, int y, std::array<uint16_t, 4> v) { std::copy(v.begin(), v.end(), px(x, y)); }
    static std::array<uint16_t, 4> getPx(int x, int y) { return {px(x, y)[0], px(x, y)[1], px(x, y)[2], px(x, y)[3]}; }
    static void setMask(uint16_t m) {
        engine().mask.maskActive = 1;
        for (size_t i = 0; i < engine().mask.maskBuffer.size(); ++i) engine().mask.maskBuffer[i] = m;
    }
    static void setTexture(uint8_t t) {
        engine().brush.textureBuffer.allocate(W * H);
        engine().brush.textureBuffer.fillBytes(t);
    }
    // A page-sized RGBA32 buffer of one colour.
    static std::vector<uint8_t> page32(std::array<uint8_t, 4> c) {
        std::vector<uint8_t> b(W * H * 4);
        for (size_t i = 0; i < b.size(); ++i) b[i] = c[i % 4];
        return b;
    }
};

std::string hex(std::array<uint16_t, 4> v) {
    char b[40];
    std::snprintf(b, sizeof b, "%04x %04x %04x %04x", v[0], v[1], v[2], v[3]);
    return b;
}

}  // namespace

TEST_F(Transfer, EightBitValuesEnterShiftedAndLeaveAsHighByte) {
    auto src = page32({255, 128, 0, 255});
    ORV_LoadRGBA32(src.data(), W * 4, 0);
    EXPECT_EQ(getPx(3, 2), (std::array<uint16_t, 4>{0xFF00, 0x8000, 0x0000, 0xFF00}));
    std::vector<uint8_t> back(W * H * 4);
    ORV_GetRGBA32(back.data(), W * 4);
    EXPECT_EQ(back, src);

    // Blue-green-red input, alpha full; RGB24 reads give red, green, blue.
    std::vector<uint8_t> bgr(W * H * 3);
    for (size_t i = 0; i < bgr.size(); ++i) bgr[i] = static_cast<uint8_t>(10 * (i % 3 + 1));
    ORV_Load(bgr.data(), W * 3, W, H);
    EXPECT_EQ(getPx(0, 0), (std::array<uint16_t, 4>{30 << 8, 20 << 8, 10 << 8, 0xFFFF}));
    std::vector<uint8_t> rgb(W * H * 3);
    ORV_GetRGB24(rgb.data(), W * 3);
    EXPECT_EQ((std::vector<uint8_t>(rgb.begin(), rgb.begin() + 3)), (std::vector<uint8_t>{30, 20, 10}));
    ORV_GetRGB24FromAlpha(rgb.data(), W * 3);
    EXPECT_EQ(rgb[5], 0xFF);

    // Raw 16-bit rows in and out, with a padded stride.
    std::vector<uint16_t> raw(W * H * 4 + H * 4);
    for (size_t i = 0; i < raw.size(); ++i) raw[i] = static_cast<uint16_t>(i * 331);
    ORV_SetRGBA64Layer(raw.data(), (W + 1) * 8, 2);
    EXPECT_EQ(getPx(1, 1)[0], raw[(W + 1 + 1) * 4]);
    std::vector<uint16_t> out(raw.size(), 0);
    ORV_GetRGBA64Layer(out.data(), (W + 1) * 8, 2);
    for (int y = 0; y < H; ++y)
        for (int i = 0; i < W * 4; ++i) ASSERT_EQ(out[y * (W + 1) * 4 + i], raw[y * (W + 1) * 4 + i]);
}

TEST_F(Transfer, PlacedLoadClipsToTheLayer) {
    // A 12-wide source at x = -5: source columns 5..11 land on layer columns 0..6.
    std::vector<uint8_t> src(12 * 2 * 4);
    for (int i = 0; i < 12 * 2; ++i) src[i * 4] = static_cast<uint8_t>(i), src[i * 4 + 3] = 255;
    ORV_LoadRGBA32Layer(src.data(), 12 * 4, 2, -5, -1, 12, 2, 0);
    EXPECT_EQ(px(0, 0)[0], (12 + 5) << 8);  // source row 1 (row 0 skipped), column 5
    EXPECT_EQ(px(6, 0)[0], (12 + 11) << 8);
    EXPECT_EQ(px(7, 0)[3], 0);  // past the source's right edge
    EXPECT_EQ(px(0, 1)[3], 0);  // below the source
    // A wide source at the right edge is cut there; far-off and null sources do nothing.
    ORV_LoadRGBA32Layer(src.data(), 12 * 4, 2, 6, 2, 12, 2, 0);
    EXPECT_EQ(px(7, 3)[0], (12 + 1) << 8);
    ORV_LoadRGBA32Layer(src.data(), 12 * 4, 2, INT32_MAX - 3, 0, 12, 2, 0);
    ORV_LoadRGBA32Layer(src.data(), 12 * 4, 2, 0, INT32_MIN + 2, 12, 2, 0);
    ORV_LoadRGBA32Layer(nullptr, 12 * 4, 2, 0, 0, 12, 2, 0);
    ORV_LoadRGBA32Layer(src.data(), 12 * 4, 64, 0, 0, 12, 2, 0);
}

TEST_F(Transfer, UnweightedAlphaZeroClearsUnlessAlphaLocked) {
    setPx(0, 0, {1, 2, 3, 4});
    auto src = page32({200, 100, 50, 0});
    ORV_LoadRGBA32(src.data(), W * 4, 1);  // useMask without mask or texture: unweighted
    EXPECT_EQ(getPx(0, 0), (std::array<uint16_t, 4>{0, 0, 0, 0}));
    setPx(0, 0, {1, 2, 3, 4});
    ORV_SetLayerOptions(2, 1, 1, 100, "Normal");
    ORV_LoadRGBA32(src.data(), W * 4, 0);
    EXPECT_EQ(getPx(0, 0), (std::array<uint16_t, 4>{200 << 8, 100 << 8, 50 << 8, 4}));
}

TEST(Coverage, RulesAAndB) {
    const uint8_t t0 = 0, t1 = 1, t127 = 127, t128 = 128, t255 = 255;
    const uint16_t m0 = 0, m7fff = 0x7FFF, mff = 0xFF00, mfffe = 0xFFFE, mffff = 0xFFFF;
    const struct { const uint8_t* t; const uint16_t* m; int32_t a; uint32_t b; } rows[] = {
        {nullptr, nullptr, 0xFFFF, 0xFFFF},
        {&t0, nullptr, 0, 0},
        {&t1, nullptr, 767, 511},
        {&t127, nullptr, (255 * 0xFFFF) >> 8, (254 * 0xFFFF) >> 8},
        {&t128, nullptr, 0xFFFF, 0xFFFF},
        {&t255, nullptr, 0xFFFF, 0xFFFF},
        {nullptr, &m0, kSkipPixel, 0},
        {nullptr, &m7fff, 32767, 0x7FFE},
        {nullptr, &mff, 0xFFFF, 0xFEFF},
        {nullptr, &mfffe, 0xFFFF, 0xFFFD},
        {nullptr, &mffff, 0xFFFF, 0xFFFF},
        {&t1, &m7fff, (128 * 767) >> 8, (0x7FFF * 511) >> 16},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(coverageA(r.t, r.m, 0), r.a) << (r.t ? *r.t : -1) << " " << (r.m ? *r.m : -1);
        EXPECT_EQ(coverageB(r.t, r.m, 0), r.b) << (r.t ? *r.t : -1) << " " << (r.m ? *r.m : -1);
    }
}

TEST_F(Transfer, WeightedLoadCases) {
    // Mask high byte 127 gives c = 32767.
    const uint32_t c = 32767;
    auto lerp = [&](uint32_t n, uint32_t d) { return static_cast<uint16_t>((((n * c) >> 8) + ((d * (0xFFFF - c)) >> 8)) >> 8); };
    const struct { std::array<uint8_t, 4> src; std::array<uint16_t, 4> old, want; } rows[] = {
        // Transparent destination: colour copied, alpha scaled by c.
        {{100, 150, 200, 255}, {9, 9, 9, 0}, {100 << 8, 150 << 8, 200 << 8, static_cast<uint16_t>((0xFF00u * c) >> 16)}},
        // Transparent source: colour kept, alpha reduced.
        {{100, 150, 200, 0}, {0x1000, 0x2000, 0x3000, 0x8000}, {0x1000, 0x2000, 0x3000, static_cast<uint16_t>((0x8000u * (0xFFFF - c)) >> 16)}},
        // Both present: every channel blended.
        {{100, 150, 200, 255}, {0x1000, 0x2000, 0x3000, 0x8000}, {lerp(100 << 8, 0x1000), lerp(150 << 8, 0x2000), lerp(200 << 8, 0x3000), lerp(0xFF00, 0x8000)}},
    };
    for (const auto& r : rows) {
        setMask(0x7F00);
        setPx(0, 0, r.old);
        auto src = page32(r.src);
        ORV_LoadRGBA32(src.data(), W * 4, 1);
        EXPECT_EQ(hex(getPx(0, 0)), hex(r.want));
    }
    // Full coverage writes colour and alpha even for an alpha-0 source; mask 0 leaves the pixel.
    setMask(0xFFFF);
    setPx(0, 0, {1, 2, 3, 4});
    auto clear = page32({10, 20, 30, 0});
    ORV_LoadRGBA32(clear.data(), W * 4, 1);
    EXPECT_EQ(getPx(0, 0), (std::array<uint16_t, 4>{10 << 8, 20 << 8, 30 << 8, 0}));
    setMask(0x00FF);
    ORV_LoadRGBA32(page32({99, 99, 99, 99}).data(), W * 4, 1);
    EXPECT_EQ(getPx(0, 0), (std::array<uint16_t, 4>{10 << 8, 20 << 8, 30 << 8, 0}));
    // A texture byte of 0 protects too; with useMask = 0 neither applies.
    setMask(0xFFFF);
    setTexture(0);
    ORV_LoadRGBA32(page32({99, 99, 99, 99}).data(), W * 4, 1);
    EXPECT_EQ(getPx(0, 0)[0], 10 << 8);
    ORV_LoadRGBA32(page32({99, 99, 99, 99}).data(), W * 4, 0);
    EXPECT_EQ(getPx(0, 0)[0], 99 << 8);
}

TEST_F(Transfer, WeightedRGB24LoadsKeepAlphaAndTransparency) {
    std::vector<uint8_t> rgb(W * H * 3, 200);
    setPx(0, 0, {0x1000, 0x1000, 0x1000, 0x4000});
    setPx(1, 0, {0x1000, 0x1000, 0x1000, 0});
    setMask(0x7F00);
    ORV_LoadRGB24(rgb.data(), W * 3, 1);
    EXPECT_EQ(px(0, 0)[0], coverageLerp(200 << 8, 0x1000, 32767));
    EXPECT_EQ(px(0, 0)[3], 0x4000);
    // Alpha load: rule B with M = 0x7F00, and alpha-0 pixels stay transparent.
    ORV_LoadRGB24ToAlpha(rgb.data(), W * 3, 1);
    EXPECT_EQ(px(0, 0)[3], coverageLerp(200 << 8, 0x4000, (0x7F00u * 0xFFFF) >> 16));
    EXPECT_EQ(px(1, 0)[3], 0);
    ORV_LoadRGB24ToAlpha(rgb.data(), W * 3, 0);
    EXPECT_EQ(px(0, 0)[3], 200 << 8);
    EXPECT_EQ(px(1, 0)[3], 0);
}

TEST_F(Transfer, Clears) {
    ORV_Clear(1, 2, 3, 4);
    EXPECT_EQ(getPx(7, 3), (std::array<uint16_t, 4>{0x100, 0x200, 0x300, 0x400}));
    // Partly selected pixels blend their colour and become opaque; unselected stay.
    setMask(0x8000);
    engine().mask.maskBuffer[1] = 0;
    engine().mask.maskBuffer[2] = 0xFFFF;
    ORV_ClearMasked(255, 0, 0, 0);
    EXPECT_EQ(getPx(0, 0), (std::array<uint16_t, 4>{coverageLerp(0xFF00, 0x100, 0x8000), coverageLerp(0, 0x200, 0x8000),
                                                     coverageLerp(0, 0x300, 0x8000), 0xFFFF}));
    EXPECT_EQ(getPx(1, 0), (std::array<uint16_t, 4>{0x100, 0x200, 0x300, 0x400}));
    EXPECT_EQ(getPx(2, 0), (std::array<uint16_t, 4>{0xFF00, 0, 0, 0}));
}

TEST_F(Transfer, ClearMaskedAlphaEqualsWeightedLoadOfAColourPage) {
    std::mt19937 rng(5);
    for (size_t i = 0; i < engine().mask.maskBuffer.size(); ++i) engine().mask.maskBuffer[i] = static_cast<uint16_t>(rng());
    engine().mask.maskActive = 1;
    setTexture(0);
    for (size_t i = 0; i < W * H; ++i) engine().brush.textureBuffer[i] = static_cast<uint8_t>(rng());
    std::vector<uint16_t> start(W * H * 4);
    for (auto& v : start) v = static_cast<uint16_t>(rng());
    ORV_SetLayerData(start.data(), 2);
    ORV_LoadRGBA32(page32({10, 20, 30, 40}).data(), W * 4, 1);
    std::vector<uint16_t> want(start.size()), got(start.size());
    ORV_GetLayerData(want.data(), 2);
    ORV_SetLayerData(start.data(), 2);
    ORV_ClearMaskedAlpha(10, 20, 30, 40);
    ORV_GetLayerData(got.data(), 2);
    EXPECT_EQ(got, want);
}

TEST_F(Transfer, HostBufferConversions) {
    std::vector<uint16_t> wide(4 * 3 * 4);
    for (size_t i = 0; i < wide.size(); ++i) wide[i] = static_cast<uint16_t>(0x0101 * i + 0x80);
    // Rectangle (1, 1) 2 x 2 of a 4-pixel-wide buffer, packed out.
    std::vector<uint8_t> out(2 * 2 * 4);
    ORV_RGBA64RectToRGBA32(wide.data(), 1, 1, 2, 2, 4, 0, out.data());
    EXPECT_EQ(out[0], wide[(4 + 1) * 4] >> 8);
    EXPECT_EQ(out[8 + 3], wide[(8 + 1) * 4 + 3] >> 8);
    std::vector<uint8_t> out3(2 * 2 * 3);
    ORV_RGBA64RectToRGBA24(wide.data(), 1, 1, 2, 2, 4, 0, out3.data());
    EXPECT_EQ(out3[3], wide[(4 + 2) * 4] >> 8);
    // Rect forms: x and y move neither pointer; height 0 writes nothing.
    std::vector<uint8_t> dst(4 * 4, 0xAA);
    ORV_GetRGBA32FromRGBA64Rect(dst.data(), 16, wide.data(), 32, 3, 2, 1, 1);
    EXPECT_EQ(dst[0], wide[0] >> 8);
    std::vector<uint8_t> untouched(16, 0xAA);
    ORV_GetRGB24FromRGBA64Rect(untouched.data(), 12, wide.data(), 32, 0, 0, 4, 0);
    EXPECT_EQ(untouched, std::vector<uint8_t>(16, 0xAA));

    const std::vector<uint8_t> rgb = {10, 20, 31, 255, 255, 254};
    std::vector<uint8_t> rgba(8, 7);
    ORV_RGBToRGBA(rgba.data(), 2, 1, rgb.data());
    EXPECT_EQ(rgba, (std::vector<uint8_t>{10, 20, 31, 7, 255, 255, 254, 7}));
    ORV_RGBToRGBAlpha(rgba.data(), 2, 1, rgb.data());
    EXPECT_EQ(rgba[3], 20);   // 61 / 3
    EXPECT_EQ(rgba[7], 254);  // 764 / 3
    std::vector<uint8_t> back(6);
    ORV_RGBAToRGB(back.data(), 2, 1, rgba.data());
    EXPECT_EQ(back, rgb);
    ORV_RGBAlphaToRGB(back.data(), 2, 1, rgba.data());
    EXPECT_EQ(back, (std::vector<uint8_t>{20, 20, 20, 254, 254, 254}));
    std::vector<uint8_t> buf(3 * 2 * 4);
    ORV_ClearRGBA32Buf(buf.data(), 3, 2, 1, 2, 3, 4);
    EXPECT_EQ(buf[20], 1);
    EXPECT_EQ(buf[23], 4);
}

TEST_F(Transfer, PageEdgesAndShrunkLayers) {
    std::vector<uint8_t> rgb(W * H * 3, 0);
    ORV_SetPixelRGB24(rgb.data(), W * 3, W, 0, 0xFFFF, 0xFFFF, 0xFFFF);
    ORV_SetPixelRGB24(rgb.data(), W * 3, 0, -1, 0xFFFF, 0xFFFF, 0xFFFF);
    EXPECT_EQ(rgb, std::vector<uint8_t>(W * H * 3, 0));
    ORV_SetPixelRGB24(rgb.data(), W * 3, W - 1, H - 1, 0x12FF, 0x3400, 0x56AB);
    EXPECT_EQ((std::vector<uint8_t>(rgb.end() - 3, rgb.end())), (std::vector<uint8_t>{0x12, 0x34, 0x56}));

    // A rectangle read hanging off the page reads only the page part.
    ORV_Clear(0, 0, 0, 0x11);
    std::vector<uint16_t> rect(3 * 3 * 4, 0xBEEF);
    ORV_GetRGBA64LayerRect(rect.data(), 3 * 8, 2, W - 2, -1, 3, 3);
    EXPECT_EQ(rect[0 * 12 + 3], 0xBEEF);      // row y = -1
    EXPECT_EQ(rect[1 * 12 + 0 * 4 + 3], 0x1100);  // (W-2, 0)
    EXPECT_EQ(rect[1 * 12 + 2 * 4 + 3], 0xBEEF);  // x = W

    // After the page grows, the old-size layer is skipped by page-addressed operations.
    ORV_NewSize(nullptr, W * 2, H * 2, 8, 0);
    std::vector<uint8_t> big(W * 2 * H * 2 * 4, 0x55);
    ORV_GetRGBA32(big.data(), W * 2 * 4);
    ORV_Clear(1, 1, 1, 1);
    ORV_LoadRGB24(big.data(), W * 2 * 3, 1);
    ORV_ClearMasked(1, 1, 1, 1);
    EXPECT_EQ(big, std::vector<uint8_t>(big.size(), 0x55));
    EXPECT_EQ(px(0, 0)[3], 0x1100);
}

TEST(TransferRows, PlainLoadEqualsThePerPixelRule) {
    // An odd width exercises the tail after the four-pixel steps.
    const int w = 13, h = 5;
    ORV_CreateImage(nullptr, w, h, 8, 0);
    ORV_CreateLayer(2, w, h);
    ORV_SetLayerOptions(2, 1, 0, 100, "Normal");
    ORV_SetLayer(2);
    std::mt19937 rng(21);
    std::vector<uint8_t> src(w * h * 4);
    for (size_t i = 0; i < src.size(); ++i) src[i] = static_cast<uint8_t>(i % 4 == 3 && rng() % 3 == 0 ? 0 : rng());
    std::vector<uint16_t> start(w * h * 4, 0x5A5A), got(start.size());
    ORV_SetLayerData(start.data(), 2);
    ORV_LoadRGBA32(src.data(), w * 4, 0);
    ORV_GetLayerData(got.data(), 2);
    for (size_t p = 0; p < static_cast<size_t>(w * h); ++p)
        for (int k = 0; k < 4; ++k) {
            const uint16_t want = src[p * 4 + 3] == 0 ? 0 : static_cast<uint16_t>(src[p * 4 + k] << 8);
            ASSERT_EQ(got[p * 4 + k], want) << "pixel " << p << " channel " << k;
        }
    ORV_DeleteImage();
}
