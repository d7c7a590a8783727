// Page lifecycle, layer table, blend names and the last-error text, through the exports.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "composite/blend_modes.h"
#include "engine/engine_state.h"
#include "orvcore.h"

using namespace orv;

namespace {
struct PageFixture : ::testing::Test {
    void SetUp() override { ORV_CreateImage(nullptr, 40, 30, 32, 0); }
    void TearDown() override { ORV_DeleteImage(); }
};
}  // namespace

TEST(PageSizeClamp, OutOfRangeSidesBecome100) {
    const struct { int in, out; } rows[] = {{20000, 100}, {-5, 100}, {0, 0}, {10000, 10000 /* not allocated */}, {7, 7}};
    for (auto r : rows) {
        if (r.in == 10000) continue;  // a 10000-side page is valid but large; covered by the clamp function
        ORV_CreateImage(nullptr, r.in, 3, 8, 0);
        EXPECT_EQ(engine().page.pageWidth, r.out) << r.in;
        EXPECT_EQ(engine().page.pageStride, r.out * 4);
        ORV_DeleteImage();
    }
    EXPECT_EQ(clampPageSide(10000), 10000);
    EXPECT_EQ(clampPageSide(10001), 100);
}

TEST(PageLifecycle, CreateSetsMaskViewAndUndoAccounting) {
    ORV_SetScale(4, 0.5f);
    ORV_CreateImage(nullptr, 1000, 1000, 16, 0);
    auto& s = engine();
    ASSERT_TRUE(s.mask.maskBuffer);
    for (size_t i = 0; i < s.mask.maskBuffer.size(); ++i) ASSERT_EQ(s.mask.maskBuffer[i], 0xFFFF);
    EXPECT_EQ(s.mask.maskActive, 1);
    EXPECT_EQ(s.view.tracingMode, 0);
    EXPECT_EQ(s.view.viewScale, 1);
    EXPECT_EQ(s.view.viewZoom, 1.0f);
    EXPECT_EQ(s.undo.undoUsedKB, 9765);
    EXPECT_EQ(s.layers.currentLayer, nullptr);
    ORV_DeleteImage();
    EXPECT_FALSE(s.mask.maskBuffer);
    EXPECT_FALSE(s.undo.backPixels);
}

TEST_F(PageFixture, NewSizeKeepsLayerPixels) {
    ASSERT_EQ(ORV_CreateLayer(2, 40, 30), 1);
    std::vector<uint16_t> px(40 * 30 * 4);
    for (size_t i = 0; i < px.size(); ++i) px[i] = static_cast<uint16_t>(i * 7);
    ORV_SetLayerData(px.data(), 2);
    ORV_NewSize(nullptr, 40, 30, 64, 0);
    std::vector<uint16_t> back(px.size());
    ORV_GetLayerData(back.data(), 2);
    EXPECT_EQ(back, px);
    EXPECT_EQ(engine().page.maxBrushSize, 64);
}

TEST_F(PageFixture, LayersAreFreshWhiteOrTransparent) {
    ASSERT_EQ(ORV_CreateLayer(1, 40, 30), 1);
    ASSERT_EQ(ORV_CreateLayer(2, 40, 30), 1);
    std::vector<uint16_t> px(40 * 30 * 4);
    ORV_GetLayerData(px.data(), 1);
    for (auto v : px) ASSERT_EQ(v, 0xFFFF);
    ORV_GetLayerData(px.data(), 2);
    for (auto v : px) ASSERT_EQ(v, 0);
    // Re-creating a layer with content clears it.
    std::vector<uint16_t> ones(px.size(), 1);
    ORV_SetLayerData(ones.data(), 2);
    ASSERT_EQ(ORV_CreateLayer(2, 40, 30), 1);
    ORV_GetLayerData(px.data(), 2);
    for (auto v : px) ASSERT_EQ(v, 0);
    EXPECT_EQ(ORV_GetLayerCount(), 2);
    ORV_CreateLayer(0, 40, 30);
    EXPECT_EQ(ORV_GetLayerCount(), 3);
}

TEST_F(PageFixture, BadLayerNumbersAndSizesChangeNothing) {
    EXPECT_EQ(ORV_CreateLayer(64, 40, 30), 0);
    EXPECT_EQ(ORV_CreateLayer(-1, 40, 30), 0);
    EXPECT_EQ(ORV_CreateLayer(3, -40, 30), 0);
    EXPECT_EQ(ORV_GetLayerCount(), 0);
    ORV_SetLayer(5);  // empty slot: current layer unchanged
    EXPECT_EQ(engine().layers.currentLayer, nullptr);
    ORV_GetLayerData(nullptr, 2);
    ORV_SetLayerData(nullptr, 70);
    ORV_SwapLayers(0, 99);
    int32_t l = -7;
    ORV_FindDataExtentsLayer(2, &l, nullptr, nullptr, nullptr);
    EXPECT_EQ(l, -7);
}

TEST_F(PageFixture, OptionsOpacityNameAndTopLayer) {
    ORV_CreateLayer(1, 40, 30);
    ORV_CreateLayer(5, 40, 30);
    const struct { int pct; uint16_t opacity; } rows[] = {{100, 256}, {50, 128}, {99, 253}, {1, 2}, {0, 0}};
    for (auto r : rows) {
        ORV_SetLayerOptions(5, 1, 0, r.pct, "Screen");
        EXPECT_EQ(engine().layers.slots[5].opacity, r.opacity) << r.pct;
    }
    EXPECT_EQ(engine().layers.slots[5].blendMode, kBlendScreen);
    EXPECT_EQ(engine().layers.topLayerNumber, 5);
    std::string longName(50, 'x');
    ORV_SetLayerOptions(5, 1, 0, 100, longName.c_str());
    EXPECT_STREQ(engine().layers.slots[5].blendName, "");
    EXPECT_EQ(engine().layers.slots[5].blendMode, 0);
}

TEST_F(PageFixture, SwapKeepsCurrentNumberAndExtentsScan) {
    ORV_CreateLayer(1, 40, 30);
    ORV_CreateLayer(2, 40, 30);
    ORV_SetLayer(2);
    ORV_SwapLayers(1, 2);
    EXPECT_EQ(ORV_GetLayerNum(), 2);
    std::vector<uint16_t> px(40 * 30 * 4);
    ORV_GetLayerData(px.data(), 2);
    EXPECT_EQ(px[0], 0xFFFF);

    int32_t l, t, r, b;
    ORV_FindDataExtentsLayer(1, &l, &t, &r, &b);
    EXPECT_EQ((std::vector<int>{l, t, r, b}), (std::vector<int>{40, 30, 0, 0}));
    std::fill(px.begin(), px.end(), 0);
    px[(20 * 40 + 10) * 4 + 3] = 1;
    ORV_SetLayerData(px.data(), 1);
    ORV_FindDataExtentsLayer(1, &l, &t, &r, &b);
    EXPECT_EQ((std::vector<int>{l, t, r, b}), (std::vector<int>{10, 20, 10, 20}));
}

TEST(BlendNames, ExactCaseSensitiveWholeText) {
    const struct { const char* name; int id; } rows[] = {
        {"Multiply", 1}, {"multiply", 0}, {"Multiply ", 0}, {"Texturize2", 18}, {"Texturize", 17},
        {"Alpha Highlight", 37}, {"Alpha Highlight Texture2", 29}, {"", 0}, {nullptr, 0},
        {"Luminance Alpha Invert", 40}, {"Layer Mask", 38}};
    for (auto r : rows) EXPECT_EQ(blendModeFromName(r.name), r.id) << (r.name ? r.name : "(null)");
    for (int i = 0; i < kBlendModeCount; ++i) {
        EXPECT_EQ(kBlendModes[i].id, i);
        if (kBlendModes[i].name) {
            EXPECT_EQ(blendModeFromName(kBlendModes[i].name), i);
        }
    }
}

TEST(LastErrorText, KeepsFirst511AndIsNeverClearedBySuccess) {
    std::string longText(600, 'a');
    ORV_SetLastError(longText.c_str());
    EXPECT_EQ(std::strlen(ORV_GetLastError()), 511u);
    ORV_SetLastError("CreateImage Excpt");
    ORV_CreateImage(nullptr, 4, 4, 4, 0);
    EXPECT_STREQ(ORV_GetLastError(), "CreateImage Excpt");
    ORV_DeleteImage();
}

TEST(StartDir, TooLongPathKeepsOldValue) {
    ORV_SetStartDir("/tmp/a");
    std::string longPath(1024, 'p');
    ORV_SetStartDir(longPath.c_str());
    EXPECT_STREQ(engine().settings.startDirectory, "/tmp/a");
}
