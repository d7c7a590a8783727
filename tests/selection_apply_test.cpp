// The selection and paper texture folded into the alpha of RGBA32 buffers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "effects/work_buffers.h"
#include "engine/engine_state.h"
#include "mask/selection_apply.h"
#include "orvcore.h"

using namespace orv;

namespace {

constexpr int W = 12, H = 8;

struct SelectionFixture : ::testing::Test {
    std::vector<uint8_t> buf = std::vector<uint8_t>(W * H * 4, 255);

    void SetUp() override {
        ORV_CreateImage(nullptr, W, H, 16, 0);
        ASSERT_EQ(ORV_CreateLayer(2, W, H), 1);
        ORV_SetLayer(2);
    }
    void TearDown() override { ORV_DeleteImage(); }
    static uint16_t* mask() { return engine().mask.maskBuffer.data(); }
    static void fillMask(uint16_t v) { std::fill_n(mask(), W * H, v); }
    uint8_t alpha(int x, int y) const { return buf[(y * W + x) * 4 + 3]; }
    void makeTexture(uint8_t v) {
        engine().brush.textureBuffer.allocate(W * H);
        engine().brush.textureBuffer.fillBytes(v);
    }
};

}  // namespace

TEST_F(SelectionFixture, ApplyMaskToAlphaScalesByHighByte) {
    const struct { uint16_t m; uint8_t a, want; } rows[] = {
        {65535, 255, 255}, {0, 255, 0}, {32768, 255, 128}, {0x00FF, 200, 0}, {0xFF00, 77, 77}, {0x7FFF, 255, 127}};
    for (auto r : rows) {
        fillMask(r.m);
        std::fill(buf.begin(), buf.end(), r.a);
        ORV_EnableMask(0);  // applied whether or not the mask is active
        ORV_ApplyMaskToAlpha_RGBA32(buf.data());
        EXPECT_EQ(alpha(W - 1, H - 1), r.want) << std::hex << r.m;
        EXPECT_EQ(buf[0], r.a);  // colour untouched
    }
}

TEST_F(SelectionFixture, ApplyMaskRectIsCutToThePage) {
    fillMask(0);
    mask()[0] = 65535;
    // A 4 x 3 buffer at (-2, -1): only page columns 0..1, rows 0..1 are touched.
    std::vector<uint8_t> small(4 * 3 * 4, 200);
    ORV_ApplyMaskToAlphaRect_RGBA32(small.data(), 16, -2, -1, 1, 1);
    auto a = [&](int bx, int by) { return small[(by * 4 + bx) * 4 + 3]; };
    EXPECT_EQ(a(2, 1), 200);  // page (0, 0), mask full
    EXPECT_EQ(a(3, 1), 0);    // page (1, 0)
    EXPECT_EQ(a(3, 2), 0);
    EXPECT_EQ(a(1, 1), 200);  // off the page
    EXPECT_EQ(a(0, 0), 200);
    ORV_ApplyMaskToAlphaRect_RGBA32(small.data(), 16, W, 0, W + 3, 2);  // wholly outside
    ORV_ApplyMaskToAlphaRect_RGBA32(nullptr, 16, 0, 0, 1, 1);
    EXPECT_EQ(a(2, 1), 200);
}

TEST_F(SelectionFixture, AdjustFactorFromTextureAndMask) {
    const struct { bool active; int texture; uint16_t m; uint8_t want; } rows[] = {
        {false, -1, 0, 255},     // inactive and no texture: nothing at all
        {true, -1, 65535, 255},  // fully selected keeps its alpha
        {false, 64, 0, 127},     // texture 64 alone: f = 32767
        {false, 128, 0, 255},
        {false, 0, 0, 0},
        {true, -1, 32768, 127},  // 32768 x 65535 >> 16 = 32767
        {true, 64, 32768, 63},   // f = 32767 x 32768 >> 16 = 16383
        {true, 200, 0, 0},
    };
    for (auto r : rows) {
        engine().brush.textureBuffer.release();
        if (r.texture >= 0) makeTexture(static_cast<uint8_t>(r.texture));
        ORV_EnableMask(r.active);
        fillMask(r.m);
        std::fill(buf.begin(), buf.end(), 255);
        ORV_AdjustRGBA32ByMaskAndTexture(buf.data(), W, H);
        EXPECT_EQ(alpha(3, 4), r.want) << r.active << " " << r.texture << " " << r.m;
        EXPECT_EQ(buf[0], 255);
    }
}

// The factor x alpha / 65535 quotient, truncated, equals the literal product with the double
// nearest 1/65535 in extended precision everywhere except at whole quotients, where that
// constant lands just below and would lose one step.
TEST(SelectionAlphaScale, ExactQuotientDiffersFromConstantOnlyAtWholeNumbers) {
    const long double c = 1.5259021896696422e-05;
    size_t wholeSteps = 0;
    for (uint32_t f = 0; f <= 65535; f += (f < 300 || f > 65200) ? 1 : 7) {
        for (uint32_t a = 0; a <= 255; ++a) {
            const auto literal = static_cast<uint32_t>(static_cast<long double>(f) * c * a);
            const uint8_t ours = scaleAlphaByFactor(f, static_cast<uint8_t>(a));
            if (f * a != 0 && (f * a) % 65535 == 0) {
                ASSERT_EQ(literal + 1, ours) << f << " " << a;
                ++wholeSteps;
            } else {
                ASSERT_EQ(literal, ours) << f << " " << a;
            }
        }
    }
    EXPECT_GT(wholeSteps, 255u);
    EXPECT_EQ(scaleAlphaByFactor(65535, 255), 255);
}

TEST_F(SelectionFixture, AdjustRectReadsPageCoordinatesAndClips) {
    fillMask(65535);
    mask()[0] = 0;  // page (0, 0)
    mask()[W + 1] = 0;  // page (1, 1)
    // 14 x 3 buffer at (-10, 0): buffer column 10 is page column 0; columns past the page stay.
    std::vector<uint8_t> b(14 * 3 * 4, 255);
    ORV_AdjustRGBA32RectByMaskAndTexture(b.data(), -10, 0, 14, 3);
    auto a = [&](int bx, int by) { return b[(by * 14 + bx) * 4 + 3]; };
    EXPECT_EQ(a(10, 0), 0);
    EXPECT_EQ(a(11, 1), 0);
    EXPECT_EQ(a(9, 0), 255);
    EXPECT_EQ(a(12, 2), 255);
    // A packed buffer wider than the page changes only its on-page part.
    std::vector<uint8_t> wide((W + 4) * (H + 2) * 4, 255);
    ORV_AdjustRGBA32ByMaskAndTexture(wide.data(), W + 4, H + 2);
    EXPECT_EQ(wide[3], 0);
    EXPECT_EQ(wide[((W + 4) + 1) * 4 + 3], 0);
}

TEST_F(SelectionFixture, RecolourByAlphaRangeAndFloodMap) {
    for (int i = 0; i < W * H; ++i) buf[i * 4 + 3] = static_cast<uint8_t>(i);
    auto redCount = [&](uint8_t v) {
        int n = 0;
        for (int i = 0; i < W * H; ++i) n += buf[i * 4] == v;
        return n;
    };
    ORV_ReplaceFromRGBAImageAlphaRange(buf.data(), 5, 0, 1, 2, 3, 4);
    EXPECT_EQ(redCount(1), 1);
    EXPECT_EQ(buf[5 * 4 + 3], 4);
    ORV_ReplaceFromRGBAImageAlphaRange(buf.data(), 50, 1, 9, 9, 9, 9);  // limit trunc(2.56) = 2
    EXPECT_EQ(buf[47 * 4], 255);
    EXPECT_EQ(buf[48 * 4], 9);
    EXPECT_EQ(buf[52 * 4], 9);
    EXPECT_EQ(buf[53 * 4], 255);
    ORV_ReplaceFromRGBAImageAlphaRange(buf.data(), 50, 101, 7, 7, 7, 7);  // out of range
    EXPECT_EQ(redCount(7), 0);

    std::vector<uint8_t> map(W * H, 0);
    map[2] = 1, map[3] = 3;
    ORV_ColorRGBA32FromFloodMask(buf.data(), map.data(), 11, 12, 13, 14);
    EXPECT_EQ(buf[2 * 4 + 3], 14);
    EXPECT_EQ(buf[3 * 4], 255);
}

TEST_F(SelectionFixture, SourceWorkBufferGetsTheSelection) {
    EXPECT_EQ(ORV_ApplyMaskToAlpha_IPLSrcRGBA(), nullptr);
    std::vector<uint16_t> px(W * H * 4, 0xFFFF);
    ORV_SetLayerData(px.data(), 2);
    uint8_t* src = allocSrcBuffer32(engine());
    fillMask(0);
    ORV_EnableMask(0);
    EXPECT_EQ(ORV_ApplyMaskToAlpha_IPLSrcRGBA(), src);
    EXPECT_EQ(src[3], 255);  // inactive mask: untouched
    ORV_EnableMask(1);
    ORV_ApplyMaskToAlpha_IPLSrcRGBA();
    EXPECT_EQ(src[3], 0);
}

TEST_F(SelectionFixture, MaskedLayerLoadReplacesOnlyTheSelectionOfTheNamedSlot) {
    ASSERT_EQ(ORV_CreateLayer(3, W, H), 1);
    auto paintRed = [](int layer) {
        uint16_t* p = engine().layers.slots[layer].pixels.data();
        for (int i = 0; i < W * H; ++i) p[i * 4] = 0xFF00, p[i * 4 + 1] = 0, p[i * 4 + 2] = 0, p[i * 4 + 3] = 0xFF00;
    };
    paintRed(2);
    paintRed(3);
    fillMask(0);
    mask()[0] = 65535;
    for (int i = 0; i < W * H; ++i) buf[i * 4] = 0, buf[i * 4 + 1] = 0, buf[i * 4 + 2] = 255, buf[i * 4 + 3] = 255;
    ORV_LoadRGBA32Layer_BAD(buf.data(), 0, 3, W, H, 1);  // layer 2 stays current
    const uint16_t* l3 = engine().layers.slots[3].pixels.data();
    EXPECT_EQ(l3[0] >> 8, 0);     // selected: blue
    EXPECT_EQ(l3[2] >> 8, 255);
    EXPECT_EQ(l3[3] >> 8, 255);
    EXPECT_EQ(l3[4] >> 8, 255);   // protected: still red
    EXPECT_EQ(l3[6], 0);
    const uint16_t* l2 = engine().layers.slots[2].pixels.data();
    EXPECT_EQ(l2[0], 0xFF00);     // the current layer is not the one cleared
    EXPECT_EQ(l2[3], 0xFF00);
    EXPECT_EQ(engine().layers.currentLayerNumber, 2);

    std::vector<uint16_t> before(l3, l3 + W * H * 4);
    ORV_LoadRGBA32Layer_BAD(nullptr, 0, 3, W, H, 1);
    ORV_LoadRGBA32Layer_BAD(buf.data(), 0, 5, W, H, 1);   // empty slot
    ORV_LoadRGBA32Layer_BAD(buf.data(), 0, 64, W, H, 1);  // no such slot
    EXPECT_TRUE(std::equal(before.begin(), before.end(), l3));
}
