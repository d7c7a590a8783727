// Brush and colour setters, the random byte arrays, the grit patterns and the tool setter.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "brush/settings.h"
#include "brush/tool.h"
#include "engine/engine_state.h"
#include "orvcore.h"

using namespace orv;

namespace {

struct BrushPage : ::testing::Test {
    void SetUp() override {
        engine().brush.settings = BrushSettings{};
        ORV_SetRandomSeed(1234);
        ORV_CreateImage(nullptr, 64, 48, 40, 0);
        ORV_CreateLayer(1, 64, 48);
        ORV_CreateLayer(2, 64, 48);
        ORV_SetLayer(2);
    }
    void TearDown() override { ORV_DeleteImage(); }
    BrushSettings& b() { return engine().brush.settings; }
};

void setTool(float intensity, int cell, int cellThr, int pixThr, const char* paper = "", int repeat = 3) {
    ORV_SetTool(intensity, cell, cellThr, pixThr, 0, 0, repeat, 0, 0, 0, 0, 0, 0, paper, "", 0);
}

}  // namespace

TEST_F(BrushPage, SettersStoreAndDerive) {
    ORV_SetColor(300, 0, 0x1FF);
    EXPECT_EQ(b().currentColor[0], 44 * 256);
    EXPECT_EQ(b().currentColor[2], 0xFF00);
    EXPECT_EQ(b().currentColor[3], 65535);
    ORV_SetColor16(0x12345, 7, 65535);
    EXPECT_EQ(b().currentColor[0], 0x2345);

    ORV_SetBlendStrength(100);
    ORV_SetBlendStrength(0);
    EXPECT_EQ(b().blendStrength, 0);
    EXPECT_EQ(b().blendStrengthRest, 156);  // kept from the previous value

    const struct { int percent, factor; } alpha[] = {{50, 64}, {100, 128}, {99, 126}, {1, 1}};
    for (auto r : alpha) {
        ORV_SetAlpha(r.percent);
        EXPECT_EQ(b().alphaFactor, r.factor) << r.percent;
    }
    const struct { int amount, shift; } post[] = {{255, 16}, {127, 0}, {119, -1}, {0, -15} /* 127 x (1/127) falls just below 1 */};
    for (auto r : post) {
        ORV_SetMixMode(40, r.amount);
        EXPECT_EQ(b().posterizeShift, r.shift) << r.amount;
        EXPECT_EQ(b().mixRest, 256 - r.amount);
    }
    ORV_SetDensity(1);
    EXPECT_EQ(b().density, 0);
    ORV_SetRotateBrushMode(1, 90);
    EXPECT_NEAR(b().rotateSin, 1.0f, 1e-5);
    EXPECT_NEAR(b().rotateCos, 0.0f, 1e-5);
}

TEST_F(BrushPage, SizeIsLimitedAndScaleSamplesPartCentres) {
    ORV_SetSize(500);  // maxBrushSize is 40
    EXPECT_EQ(b().brushSize, 40);
    ORV_SetSize(10);
    ORV_SetScaleSize(0);
    EXPECT_EQ(b().footprintSize, 1);
    EXPECT_EQ(b().scaleTable[0], 5);
    ORV_SetScaleSize(4);
    EXPECT_EQ(b().footprintSize, 4);
    EXPECT_EQ(std::vector<int>(b().scaleTable.begin(), b().scaleTable.begin() + 4), (std::vector<int>{1, 3, 6, 8}));
    ORV_SetScaleSize(50);
    EXPECT_EQ(b().footprintSize, 10);
    EXPECT_EQ(b().scaleTable[9], 9);
}

TEST_F(BrushPage, PageRandomArraysFollowTheSeed) {
    EngineRandom r;
    r.seed(1234);
    const auto& a = engine().brush.gritCellBytes;
    ASSERT_EQ(a.length, kRandomArrayLength);
    for (int i = 0; i < 100; ++i) ASSERT_EQ(a.data[i], r.next() % 255) << i;
    EXPECT_EQ(engine().brush.gritValueBytes.modulus, 254);
}

TEST_F(BrushPage, PixelArraysAreBuiltOncePerSeedAndRebuiltForLargerBrushes) {
    ORV_SetPixColorVary(5);
    const uint32_t stateAfterBuild = engine().brush.random.state;
    engine().brush.random.next();
    const uint32_t moved = engine().brush.random.state;
    ORV_SetPixColorVary(5);  // same length, modulus and seed: kept, sequence not restarted
    EXPECT_EQ(engine().brush.random.state, moved);
    EXPECT_NE(stateAfterBuild, moved);
    EXPECT_EQ(engine().brush.pixelColorVaryBytes.length, 120u);
    ORV_NewSize(nullptr, 64, 48, 100, 0);
    EXPECT_EQ(engine().brush.pixelColorVaryBytes.length, 300u);
}

TEST_F(BrushPage, ToolWithoutGritLeavesPatternsAndResetsModeAndFlags) {
    for (auto& g : engine().brush.gritMaps) g.fillBytes(7);
    ORV_SetMixMode(40, 200);
    ORV_SetEraseModeOn();
    ORV_TempDisableBlend();
    setTool(1.0f, 0, 0, 0);
    for (auto& g : engine().brush.gritMaps) EXPECT_EQ(g[123], 7);
    EXPECT_EQ(b().mixMode, 32);
    EXPECT_EQ(b().mixAmount, 200);
    EXPECT_EQ(b().eraseModeOn, 0);
    EXPECT_EQ(b().tempDisableBlend, 0);
}

TEST_F(BrushPage, RandomGritIsDeterministicAndUsesCellValues) {
    ORV_SetSize(40);
    setTool(1.0f, 4, 128, 200);
    std::vector<uint8_t> first(engine().brush.gritMaps[5].data(), engine().brush.gritMaps[5].data() + 65 * 65);
    EXPECT_EQ(engine().brush.currentGrit.pattern, 19);
    EXPECT_EQ(b().drawingLength, 3);
    size_t set = 0;
    for (uint8_t v : first) {
        EXPECT_TRUE(v == 255 || v <= 253);
        set += v != 255;
    }
    EXPECT_GT(set, 0u);
    setTool(1.0f, 4, 128, 200);
    EXPECT_EQ(0, std::memcmp(first.data(), engine().brush.gritMaps[5].data(), first.size()));
}

TEST_F(BrushPage, HugeGritCellsStayInsideTheArrays) {
    ORV_NewSize(nullptr, 64, 48, 1000, 0);
    ORV_SetSize(1000);
    setTool(1.0f, 600000, 255, 255);  // L - 2c wraps; every read must wrap inside the array
    setTool(1.0f, 300, 255, 255);
    EXPECT_NE(engine().brush.gritMaps[0][0], 255);
}

TEST_F(BrushPage, PaperGrainWindowsComeFromTheImageAndSmallImagesAreSkipped) {
    ORV_SetSize(10);
    std::vector<uint8_t> gray(100 * 80);
    for (size_t i = 0; i < gray.size(); ++i) gray[i] = static_cast<uint8_t>(i % 251);
    for (auto& g : engine().brush.gritMaps) g.fillBytes(9);
    EXPECT_FALSE(applyGrainWindows(engine(), gray.data(), 35, 80));  // not wider than S + 25
    EXPECT_EQ(engine().brush.gritMaps[0][0], 9);
    engine().brush.random.seed(77);
    ASSERT_TRUE(applyGrainWindows(engine(), gray.data(), 100, 80));
    EngineRandom r;
    r.seed(77);
    for (int k = 0; k < kGritMapCount; ++k) {
        const uint32_t col = static_cast<uint32_t>(r.next()) % 65, row = static_cast<uint32_t>(r.next()) % 45;
        const auto& pat = engine().brush.gritMaps[k];
        EXPECT_EQ(pat[0], gray[row * 100 + col]) << k;
        EXPECT_EQ(pat[34 * 40 + 34], gray[(row + 34) * 100 + col + 34]) << k;
        EXPECT_EQ(pat[35 * 40], 255);  // outside the (S + 25) window
    }
    const uint8_t before = engine().brush.gritMaps[3][0];
    setTool(1.0f, 0, 0, 0, "/nonexistent/grain.png");  // unreadable: patterns as they were
    EXPECT_EQ(engine().brush.gritMaps[3][0], before);
}
