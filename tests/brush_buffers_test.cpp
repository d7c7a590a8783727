// Paint layer, paper texture, pickup buffer and the alpha helpers.
#include <gtest/gtest.h>

#include <vector>

#include "engine/engine_state.h"
#include "orvcore.h"

using namespace orv;

namespace {

constexpr int W = 20, H = 16, B = 16;

struct BufferPage : ::testing::Test {
    void SetUp() override {
        engine().brush.settings = BrushSettings{};
        ORV_CreateImage(nullptr, W, H, B, 0);
        ORV_CreateLayer(1, W, H);
        ORV_CreateLayer(2, W, H);
        ORV_SetLayer(2);
    }
    void TearDown() override {
        ORV_DeletePaintLayer();
        ORV_DeleteTexture();
        ORV_DeleteImage();
    }
    const uint16_t* pickup(int row, int col) { return engine().brush.blendBuffer.data() + (row * B + col) * 4; }
};

}  // namespace

TEST_F(BufferPage, TextureFromLuminanceIsLimitedTo4And250) {
    const uint8_t* white = static_cast<const uint8_t*>(ORV_CreateTexture(1));
    ASSERT_NE(white, nullptr);
    EXPECT_EQ(white[0], 250);
    EXPECT_EQ(static_cast<const uint8_t*>(ORV_CreateTexture(2))[5], 4);  // transparent black
    EXPECT_EQ(ORV_CreateTexture(9), nullptr);                             // empty slot
}

TEST_F(BufferPage, PaintLayerOptionsAndOldClear) {
    ORV_CreatePaintLayer(100, "Multiply");
    LayerRecord& pl = engine().brush.paintLayer;
    EXPECT_EQ(pl.opacity, 256);
    EXPECT_EQ(pl.blendMode, 1);
    EXPECT_EQ(pl.dirtyLeft, W);
    pl.pixels[0] = 1234;
    ORV_CreatePaintLayer(50, "No Such Mode");
    EXPECT_EQ(pl.pixels[0], 1234);  // reconfigured, pixels kept
    EXPECT_EQ(pl.opacity, 128);
    EXPECT_EQ(pl.blendMode, 0);
    pl.dirtyLeft = 2, pl.dirtyTop = 3, pl.dirtyRight = 4, pl.dirtyBottom = 5;
    ORV_ClearPaintLayer_old();
    EXPECT_EQ(pl.pixels[(3 * W + 2) * 4 + 3], 0);      // inside the old rectangle
    EXPECT_EQ(pl.pixels[(5 * W + 2) * 4 + 3], 65535);  // outside it
    EXPECT_EQ(pl.dirtyRight, 0);
}

TEST_F(BufferPage, BlurredPaintAlphaKeepsSolidPixels) {
    ORV_CreatePaintLayer(100, "Normal");
    LayerRecord& pl = engine().brush.paintLayer;
    pl.pixels[(8 * W + 8) * 4 + 3] = 0xF000;
    ORV_BlurPaintLayerAlpha();
    EXPECT_EQ(pl.pixels[(8 * W + 8) * 4 + 3], 65535);
    EXPECT_EQ(pl.pixels[(8 * W + 9) * 4 + 3], ((0xF0 + 4) / 9) << 8);
    EXPECT_EQ(pl.pixels[(8 * W + 11) * 4 + 3], 0);
}

TEST_F(BufferPage, PickupLoads) {
    ORV_SetSize(8);
    ORV_SetColor(0x10, 0x20, 0x30);
    ORV_DoCopyBlendBuffer(10, 8, engine().layers.slots[1].pixels.data(), 0, 0);  // blending off: nothing
    EXPECT_EQ(pickup(0, 0)[0], 0);
    ORV_SetBlendStrength(128);
    ORV_CopyBlendBufferLayer(1, 10, 8, 0);  // opaque white, brush weight 0
    EXPECT_EQ(pickup(3, 3)[0], 65280);     // limited to 65280, not 65535
    EXPECT_EQ(pickup(3, 3)[3], 65535 * 256 >> 8);
    engine().mask.maskBuffer[4 * W + 6] = 65535;  // fully selected passes the alpha unchanged
    ORV_CopyBlendBufferLayer(1, 10, 8, 0);
    EXPECT_EQ(pickup(0, 0)[3], 65535);
    ORV_CopyBlendBufferLayer(1, 1, 8, 64);  // window half left of the page: whole buffer first filled
    EXPECT_EQ(pickup(0, 0)[0], 0x1000);
    EXPECT_EQ(pickup(0, 0)[3], 64 * 256);
    EXPECT_EQ(pickup(0, 5)[0], std::min(((192u * 65535 + 64u * 0x1000) >> 8) + 1, 65280u));
    ORV_CopyBlendBufferSurface(10, 8, 100, 1);  // transparent source with d set: page share of alpha
    EXPECT_EQ(pickup(2, 2)[3], 156 * 256);
    ORV_FilterBlendBuffer(292, 50);
    EXPECT_EQ(pickup(2, 2)[0], 0x1000);
    ORV_FilterBlendBuffer(290, 0);
    EXPECT_EQ(pickup(2, 2)[0], 65535 - 0x1000);
    ORV_FilterBlendBuffer(292, 50);
    EXPECT_EQ(pickup(2, 2)[0], 65280);
}

TEST_F(BufferPage, MaskPickupFromTheSelection) {
    ORV_SetSize(4);
    ORV_SetBlendStrength(1);
    ORV_SetColor(0, 0, 0);
    ORV_DoCopyBlendBufferMask(10, 8, 256);  // all brush: black selects
    EXPECT_EQ(engine().brush.blendBuffer[0], 65280);
    ORV_DoCopyBlendBufferMask(0, 8, 0);  // clipped: the whole square first takes M0
    EXPECT_EQ(engine().brush.blendBuffer[0], 65535);
    EXPECT_EQ(engine().brush.blendBuffer[2], 65280);
}

TEST_F(BufferPage, AlphaHelpers) {
    ORV_SetLayerAlpha(2, 0x10000 + 40000);
    EXPECT_EQ(engine().layers.slots[2].pixels[3], 40000);
    ORV_SetLayerOptions(2, 1, 0, 50, "Normal");
    ORV_NormalizeLayerAlpha(2);
    EXPECT_EQ(engine().layers.slots[2].pixels[3], 20000);
    EXPECT_EQ(engine().layers.slots[2].opacity, 256);
    ORV_InvertAlpha(2);
    EXPECT_EQ(engine().layers.slots[2].pixels[3], 45535);

    std::vector<uint16_t> px = {65535, 40000, 0, 65535, 65535, 40000, 0, 32768};
    ORV_AdjustRGBA64PreFilter(px.data(), 2, 1);
    EXPECT_EQ(px[0], 65535);  // full alpha passes colour unchanged
    EXPECT_EQ(px[4], 32767);
    px[5] = 40000;  // more colour than alpha 32768 allows
    ORV_AdjustRGBA64PostFilter(px.data(), 2, 1);
    EXPECT_EQ(px[1], 40000);
    EXPECT_EQ(px[4], 65533);  // 32767 x 65535 / 32768, truncated
    EXPECT_EQ(px[5], 65535);  // limited

    std::vector<uint8_t> rgba = {200, 100, 0, 128, 9, 9, 9, 0};
    ORV_AdjustRGBA32PreFilter(rgba.data(), 2, 1);
    EXPECT_EQ(rgba[0], 100);  // trunc(128/255 x 201)
    ORV_AdjustRGBA32PostFilter(rgba.data(), 2, 1);
    EXPECT_EQ(rgba[0], 199);
    ORV_SetColorAlphaRGBABuf(rgba.data(), 2, 1, 1, 2, 3);
    EXPECT_EQ(rgba[4], 1);
    EXPECT_EQ(rgba[0], 199);
}
