// Colour sampling: packings, position clamping, sources and refused input.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "brush/sampling.h"
#include "engine/engine_state.h"
#include "orvcore.h"

using namespace orv;

namespace {
constexpr int W = 8, H = 6;

void setPixel(int layer, int x, int y, uint16_t r, uint16_t g, uint16_t b, uint16_t a) {
    uint16_t* p = engine().layers.slots[layer].pixels.data() + (static_cast<size_t>(y) * W + x) * 4;
    p[0] = r, p[1] = g, p[2] = b, p[3] = a;
}

struct SamplingFixture : ::testing::Test {
    void SetUp() override {
        ORV_CreateImage(nullptr, W, H, 16, 0);
        engine().layers.currentLayerNumber = 0;
    }
    void TearDown() override {
        ORV_SetUndoLevels(0);
        ORV_DeleteImage();
    }
};
}  // namespace

TEST(SamplingPackings, RgbaAndColour) {
    struct Row {
        uint16_t px[4];
        uint32_t rgba;
        int32_t colour;
    } rows[] = {
        {{65535, 32768, 0, 65535}, 0xFF8000FFu, 0x00FF8000},
        {{65535, 65535, 65535, 255}, 0xFFFFFF00u, -1},  // alpha high byte 0: marked transparent
        {{0x12FF, 0x3400, 0x56AB, 0x0100}, 0x12345601u, 0x00123456},
        {{0, 0, 0, 0}, 0u, -1},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(static_cast<uint32_t>(packRGBA(r.px)), r.rgba) << std::hex << r.px[0];
        EXPECT_EQ(packColour(r.px), r.colour) << std::hex << r.px[0];
    }
    EXPECT_LT(packRGBA(rows[0].px), 0);  // red high byte >= 128: negative as signed
}

TEST_F(SamplingFixture, NoCurrentLayerAndBadLayerNumbersAreRefused) {
    ASSERT_EQ(ORV_CreateLayer(0, W, H), 1);  // slot 0 exists but no layer was made current
    setPixel(0, 0, 0, 65535, 65535, 65535, 65535);
    EXPECT_EQ(ORV_GetRGBAAtSurface(0, 0), 0);
    EXPECT_EQ(ORV_GetColorAtSurface(0, 0), 0);
    EXPECT_EQ(ORV_GetRed64(0, 0), 0);
    for (int layer : {-1, 64, 1000, 5 /* empty slot */}) {
        EXPECT_EQ(ORV_GetRGBAAtLayer(0, 0, layer), 0) << layer;
        EXPECT_EQ(ORV_GetColorAtLayer(0, 0, layer), 0) << layer;
    }
    EXPECT_EQ(ORV_GetRGBAAt(0, 0, nullptr), 0);
    EXPECT_EQ(ORV_GetColorAt(0, 0, nullptr), 0);
    EXPECT_EQ(ORV_GetColorAtTrace(0, 0), 0xFFFFFF);
    ORV_DeleteLayer(0);
    EXPECT_EQ(ORV_GetRGBAAtTrace(0, 0), 0);
}

TEST_F(SamplingFixture, PositionsClampToTheEdgesExceptForChannels) {
    ASSERT_EQ(ORV_CreateLayer(2, W, H), 1);
    ORV_SetLayer(2);
    setPixel(2, 0, 0, 0x1100, 0x2200, 0x3300, 0xFF00);
    setPixel(2, W - 1, 0, 0x4400, 0x5500, 0x6600, 0xFF00);
    setPixel(2, W - 1, H - 1, 0x7700, 0x8800, 0x9900, 0x00FF);
    EXPECT_EQ(ORV_GetColorAtSurface(-5, -5), 0x112233);
    EXPECT_EQ(static_cast<uint32_t>(ORV_GetRGBAAtSurface(W, 0)), 0x445566FFu);
    EXPECT_EQ(ORV_GetColorAtLayer(W + 100, H + 100, 2), -1);
    EXPECT_EQ(static_cast<uint32_t>(ORV_GetRGBAAtLayer(W + 100, H + 100, 2)), 0x77889900u);
    EXPECT_EQ(ORV_GetRed64(W, 0), 0);
    EXPECT_EQ(ORV_GetRed64(0, -1), 0);
    EXPECT_EQ(ORV_GetRed64(W - 1, 0), 0x4400);
    EXPECT_EQ(ORV_GetGreen64(W - 1, 0), 0x5500);
    EXPECT_EQ(ORV_GetBlue64(W - 1, 0), 0x6600);
    EXPECT_EQ(ORV_GetAlpha64(W - 1, H - 1), 0x00FF);
    const uint16_t* raw = engine().layers.slots[2].pixels.data();
    EXPECT_EQ(ORV_GetColorAt(100, 0, raw), 0x445566);
}

TEST_F(SamplingFixture, UnderLayerAndHistoryReadTheBackBuffer) {
    ASSERT_EQ(ORV_CreateLayer(2, W, H), 1);
    setPixel(2, 1, 1, 0xAA00, 0xBB00, 0xCC00, 0xFF00);
    ORV_SetLayer(2);  // the back buffer now holds the layer
    setPixel(2, 1, 1, 0, 0, 0, 0xFF00);  // a stroke in progress
    EXPECT_EQ(ORV_GetColorAtUnderLayer(1, 1), 0xAABBCC);
    EXPECT_EQ(static_cast<uint32_t>(ORV_GetRGBAAtUnderLayer(1, 1)), 0xAABBCCFFu);
    EXPECT_EQ(ORV_GetColorAtHistory(1, 1), 0);  // nothing to undo
    ORV_SetUndoLevels(5);
    setPixel(2, 1, 1, 0x1100, 0x2200, 0x3300, 0xFF00);
    ORV_SaveUndoBuffer(1, 0);
    EXPECT_EQ(ORV_GetColorAtHistory(1, 1), 0x112233);  // the back buffer follows the layer
    ORV_Undo();
    EXPECT_EQ(ORV_GetColorAtHistory(1, 1), 0);  // position 1 holds no entry
    ORV_Redo();
    EXPECT_EQ(ORV_GetColorAtHistory(1, 1), 0x112233);
}

TEST_F(SamplingFixture, MergedReadsTheFlattenedPage) {
    ASSERT_EQ(ORV_CreateLayer(1, W, H), 1);
    ORV_SetLayerOptions(1, 1, 0, 100, "Normal");
    EXPECT_EQ(ORV_GetColorAtMerged(3, 3), 0x00FFFFFF);  // only the opaque white background
    ASSERT_EQ(ORV_CreateLayer(2, W, H), 1);
    ORV_SetLayerOptions(2, 1, 0, 60, "Multiply");
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) setPixel(2, x, y, static_cast<uint16_t>(x * 8000), 0x8000, static_cast<uint16_t>(y * 9000), 0xC000);
    std::vector<uint16_t> flat(static_cast<size_t>(W) * H * 4);
    ORV_MergeRect(flat.data(), 0, 0, W, H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            ASSERT_EQ(ORV_GetColorAtMerged(x, y), packColour(&flat[(static_cast<size_t>(y) * W + x) * 4])) << x << "," << y;
    EXPECT_EQ(ORV_GetColorAtMerged(-1, 0), -1);  // outside the page nothing is merged
    ORV_SetLayerOptions(1, 0, 0, 100, "Normal");
    ORV_SetLayerOptions(2, 0, 0, 100, "Normal");
    EXPECT_EQ(ORV_GetColorAtMerged(0, 0), -1);  // nothing visible: transparent black
}
