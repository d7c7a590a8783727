// The selection mask, its makers and the wand, through the exports.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>
#include <cstring>
#include <vector>

#include "effects/work_buffers.h"
#include "engine/engine_state.h"
#include "mask/mask_makers.h"
#include "orvcore.h"

using namespace orv;

namespace {

constexpr int W = 16, H = 12;

struct MaskFixture : ::testing::Test {
    void SetUp() override {
        ORV_CreateImage(nullptr, W, H, 16, 0);
        ASSERT_EQ(ORV_CreateLayer(2, W, H), 1);
        ORV_SetLayer(2);
        ORV_SetLastError("");
    }
    void TearDown() override { ORV_DeleteImage(); }

    static uint16_t* mask() { return engine().mask.maskBuffer.data(); }
    static uint16_t& m(int x, int y) { return mask()[y * W + x]; }
    static void fillMask(uint16_t v) { std::fill_n(mask(), W * H, v); }
    static uint16_t* layerPx(int x, int y, int layer = 2) { return engine().layers.slots[layer].pixels.data() + (y * W + x) * 4; }
    static void setLayerPixel(int x, int y, uint8_t r, uint8_t g, uint8_t b, uint8_t a, int layer = 2) {
        uint16_t* p = layerPx(x, y, layer);
        p[0] = r << 8, p[1] = g << 8, p[2] = b << 8, p[3] = a << 8;
    }
    static void fillLayer(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) setLayerPixel(x, y, r, g, b, a);
    }
    static size_t countMask(uint16_t v) { return std::count(mask(), mask() + W * H, v); }
};

struct Rgba {
    std::vector<uint8_t> px = std::vector<uint8_t>(W * H * 4, 0);
    uint8_t* at(int x, int y) { return &px[(y * W + x) * 4]; }
    void set(int x, int y, uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) {
        uint8_t* p = at(x, y);
        p[0] = r, p[1] = g, p[2] = b, p[3] = a;
    }
};

}  // namespace

TEST_F(MaskFixture, ClearMaskUsesSixteenBitGreyConvention) {
    const struct { int r, g, b; uint16_t want; } rows[] = {
        {0, 0, 0, 65535}, {65280, 65280, 65280, 0}, {65535, 65535, 65535, 0}, {255, 255, 255, 65535},
        {256, 256, 257, 65024}, {0, 0, 3000, 65280 - 1000}, {-9, 0, 0, 65535}};
    for (auto r : rows) {
        ORV_ClearMask(r.r, r.g, r.b);
        EXPECT_EQ(countMask(r.want), size_t(W * H)) << r.r << "," << r.g << "," << r.b;
    }
}

TEST_F(MaskFixture, GreyExchangeRoundTripQuantisesToHighByte) {
    const uint16_t in[] = {65280, 32768, 32767, 0, 65535, 255, 256};
    const uint16_t out[] = {65535, 32768, 32512, 0, 65535, 0, 256};
    for (int i = 0; i < 7; ++i) m(i, 0) = in[i];
    std::vector<uint8_t> grey(W * H * 3 + 10, 0xEE);
    ORV_SaveMask(grey.data(), W * 3);
    EXPECT_EQ(grey[0], 0);
    EXPECT_EQ(grey[3 * 3 + 2], 255);
    EXPECT_EQ(grey[W * H * 3], 0xEE);  // nothing past the page
    ORV_LoadMask(grey.data(), W * 3, W, H);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(m(i, 0), out[i]) << in[i];
    // A grey of unequal channels uses their integer mean.
    uint8_t px[3] = {1, 1, 2};
    ORV_LoadMask(px, 3, 1, 1);
    EXPECT_EQ(m(0, 0), 65280 - 256);
}

TEST_F(MaskFixture, LoadMaskLargerThanPageIsCutToThePage) {
    const int bw = W + 5, bh = H + 7;
    std::vector<uint8_t> grey(bw * bh * 3, 0);  // black: selects
    fillMask(0);
    ORV_LoadMask(grey.data(), bw * 3, bw, bh);
    EXPECT_EQ(countMask(65535), size_t(W * H));
    fillMask(0);
    ORV_LoadMask(grey.data(), bw * 3, 3, 2);  // a smaller image touches only its corner
    EXPECT_EQ(countMask(65535), 6u);
    EXPECT_EQ(m(2, 1), 65535);
    EXPECT_EQ(m(3, 1), 0);
    ORV_LoadMask(grey.data(), 2, W, H);  // stride shorter than a row: refused
    ORV_LoadMask(nullptr, W * 3, W, H);
    ORV_SaveMask(grey.data(), 5);
    EXPECT_EQ(countMask(65535), 6u);
}

TEST_F(MaskFixture, InvertCopiesAndProtectionReadout) {
    for (int i = 0; i < W * H; ++i) mask()[i] = uint16_t(i * 300);
    std::vector<uint16_t> saved(W * H), back(W * H);
    ORV_GetMaskData16(saved.data());
    ORV_InvertMask();
    EXPECT_EQ(m(1, 0), 65535 - 300);
    ORV_InvertMask();
    ORV_GetMaskData16(back.data());
    EXPECT_EQ(back, saved);
    std::fill(back.begin(), back.end(), 7);
    ORV_SetMaskData16(back.data());
    EXPECT_EQ(countMask(7), size_t(W * H));

    EXPECT_EQ(ORV_GetMask64(3, 3), 65535 - 7);
    EXPECT_EQ(ORV_GetMask64(W, 0), 0);
    EXPECT_EQ(ORV_GetMask64(0, -1), 0);
    ORV_EnableMask(0);
    EXPECT_EQ(ORV_GetMask64(3, 3), 0);
    ORV_EnableMask(1);
    engine().layers.currentLayer = nullptr;
    EXPECT_EQ(ORV_GetMask64(3, 3), 0);
}

TEST_F(MaskFixture, FlagsAndOverlayOptions) {
    ORV_DisplayMask(1);
    ORV_EnableMask(0);
    ORV_SetMaskOptions(255, 0, 1, 2, 3, 128, 1);
    const MaskState& s = engine().mask;
    EXPECT_EQ(s.maskDisplayed, 1);
    EXPECT_EQ(s.maskActive, 0);
    EXPECT_EQ(s.maskOverlayColor1[0], 0xFF00);
    EXPECT_EQ(s.maskOverlayColor1[2], 0x100);
    EXPECT_EQ(s.maskOverlayColor2[2], 0x8000);
    EXPECT_EQ(s.maskOverlayMode, 1);
}

TEST_F(MaskFixture, ConversionsWithTheCurrentLayer) {
    m(0, 0) = 0, m(1, 0) = 254, m(2, 0) = 255, m(3, 0) = 40000;
    ORV_CreateImageFromMask();
    const uint16_t greys[] = {65280, 65280, 65280, 25535};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(layerPx(i, 0)[0], greys[i]);
        EXPECT_EQ(layerPx(i, 0)[2], greys[i]);
        EXPECT_EQ(layerPx(i, 0)[3], 65535);
    }
    ORV_CreateAlphaFromMask();
    EXPECT_EQ(layerPx(3, 0)[3], 40000);
    layerPx(5, 5)[3] = 1234;
    ORV_CreateMaskFromAlpha();
    EXPECT_EQ(m(5, 5), 1234);
    // 16-bit grey: mean 255 selects fully, 65281 protects, between 65280 - L.
    uint16_t* p = layerPx(0, 1);
    p[0] = 0, p[1] = 300, p[2] = 465;  // mean 255
    p = layerPx(1, 1);
    p[0] = p[1] = 65535, p[2] = 64773;  // mean 65281
    p = layerPx(2, 1);
    p[0] = p[1] = p[2] = 1000;
    ORV_CreateMaskFromImage();
    EXPECT_EQ(m(0, 1), 65535);
    EXPECT_EQ(m(1, 1), 0);
    EXPECT_EQ(m(2, 1), 64280);

    engine().layers.currentLayer = nullptr;  // no current layer: nothing changes
    ORV_CreateMaskFromImage();
    EXPECT_EQ(m(2, 1), 64280);
}

TEST_F(MaskFixture, ColourMakersWriteStrengthOnlyWhereSelected) {
    Rgba img;
    img.set(1, 0, 10, 20, 30, 0);
    img.set(2, 0, 10, 20, 31);
    struct { int a; uint16_t want; } strengths[] = {{0, 65280}, {255, 0}, {127, 32768}, {256, 65280}, {-1, 0}, {INT32_MIN, 65280}};
    for (auto st : strengths) {
        fillMask(111);
        ORV_CreateMaskFromRGBAImageColor(img.px.data(), 10, 20, 30, st.a);
        EXPECT_EQ(m(1, 0), st.want) << st.a;
        EXPECT_EQ(m(2, 0), 111);
        EXPECT_EQ(countMask(111), size_t(W * H - 1));
    }
    std::vector<uint8_t> rgb(W * H * 3, 0);
    rgb[3 * 5] = 10, rgb[3 * 5 + 1] = 20, rgb[3 * 5 + 2] = 30;
    fillMask(111);
    ORV_CreateMaskFromRGB24ImageColor(rgb.data(), 10, 20, 30, 0);
    EXPECT_EQ(m(5, 0), 65280);
    EXPECT_EQ(countMask(111), size_t(W * H - 1));
    ORV_CreateMaskFromRGBAImageColor(nullptr, 0, 0, 0, 0);  // null buffer: nothing
    EXPECT_EQ(countMask(111), size_t(W * H - 1));
}

TEST_F(MaskFixture, RangeMakersUseTruncatedLimits) {
    Rgba img;
    img.set(0, 0, 100, 100, 100, 100);
    img.set(1, 0, 125, 75, 100, 125);  // channel and alpha distance 25
    img.set(2, 0, 126, 100, 100, 126);  // 26
    img.set(3, 0, 90, 90, 93, 0);       // mean 91
    struct Row {
        const char* what;
        void (*make)(const uint8_t*, int);
        std::vector<int> selected;  // x on row 0 at tolerance 10 (limit 25)
    };
    const Row rows[] = {
        {"colour", [](const uint8_t* b, int t) { ORV_CreateMaskFromRGBAImageColorRange(b, 100, 100, 100, t, 0); }, {0, 1, 3}},
        {"alpha", [](const uint8_t* b, int t) { ORV_CreateMaskFromRGBAImageAlphaRange(b, 100, t, 0); }, {0, 1}},
        // integer means 100, 100, 108, 91 against (130 + 121 + 100) / 3 = 117
        {"luminance", [](const uint8_t* b, int t) { ORV_CreateMaskFromRGBAImageLuminanceRange(b, 130, 121, 100, t, 0); }, {0, 1, 2}},
    };
    for (const auto& r : rows) {
        fillMask(1);
        r.make(img.px.data(), 10);
        for (int x = 0; x < 4; ++x) {
            bool want = std::find(r.selected.begin(), r.selected.end(), x) != r.selected.end();
            EXPECT_EQ(m(x, 0) == 65280, want) << r.what << " x " << x;
        }
        fillMask(1);
        r.make(img.px.data(), 101);  // out of range: nothing
        r.make(img.px.data(), -1);
        EXPECT_EQ(countMask(1), size_t(W * H)) << r.what;
        r.make(img.px.data(), 100);  // limit 256: everything for colour and luminance
        if (std::string(r.what) != "alpha") {
            EXPECT_EQ(countMask(65280), size_t(W * H)) << r.what;
        }
    }
}

TEST_F(MaskFixture, HueRangeWrapsAtThreeSixty) {
    EXPECT_TRUE(hueWithin(5, 350, 15));
    EXPECT_TRUE(hueWithin(350, 5, 15));
    EXPECT_FALSE(hueWithin(5, 350, 14));
    EXPECT_TRUE(hueWithin(100.9, 90, 10));  // trunc(10.9) = 10
    Rgba img;
    img.set(0, 0, 255, 21, 0);  // hue 4.94
    img.set(1, 0, 0, 255, 0);   // hue 120
    // Reference (255, 0, 43): hue 349.88; distance trunc(15.06) = 15.
    fillMask(1);
    ORV_CreateMaskFromRGBAImageHueRange(img.px.data(), 255, 0, 43, 8, 0);  // limit trunc(14.4) = 14
    EXPECT_EQ(m(0, 0), 1);
    ORV_CreateMaskFromRGBAImageHueRange(img.px.data(), 255, 0, 43, 9, 0);  // limit 16
    EXPECT_EQ(m(0, 0), 65280);
    EXPECT_EQ(m(1, 0), 1);
}

TEST_F(MaskFixture, HslRangeTestsAllThreeComponents) {
    Rgba img;
    img.set(0, 0, 255, 0, 0);      // hue 0, s 1, l 0.5
    img.set(1, 0, 191, 64, 64);    // hue 0, s 0.5, l 0.5
    img.set(2, 0, 128, 0, 0);      // hue 0, s 1, l 0.25
    img.set(3, 0, 255, 64, 0);     // hue 15
    fillMask(1);
    ORV_CreateMaskFromRGBAImageHSLRange(img.px.data(), 255, 0, 0, 0.05, 0.1, 0.1, 0);
    EXPECT_EQ(m(0, 0), 65280);
    EXPECT_EQ(m(1, 0), 1);
    EXPECT_EQ(m(2, 0), 1);
    EXPECT_EQ(m(3, 0), 1);  // 15 degrees > 9
    ORV_CreateMaskFromRGBAImageHSLRange(img.px.data(), 255, 0, 0, 0.1, 0.6, 0.3, 0);
    EXPECT_EQ(countMask(65280), 4u);
}

TEST_F(MaskFixture, FloodMapAndDifferenceMakers) {
    std::vector<uint8_t> map(W * H, 0);
    map[3] = 1, map[4] = 2;
    fillMask(1);
    ORV_CreateMaskFromFloodMask(map.data(), 255);
    EXPECT_EQ(m(3, 0), 0);
    EXPECT_EQ(m(4, 0), 1);
    Rgba a, b;
    b.at(7, 1)[3] = 1;  // only alpha differs
    ORV_CreateMaskFromDiff_RGBA32(a.px.data(), b.px.data(), 0x12345);
    EXPECT_EQ(m(7, 1), 0x2345);
    EXPECT_EQ(countMask(0x2345), 1u);
}

TEST_F(MaskFixture, GeometricMakersGoThroughTheGreyImage) {
    fillMask(0);
    m(0, 11) = 32767;  // far from the shapes: only quantised
    ORV_IPLMaskEllipse(10, 10, 11, 11, 0);  // radii 2 around (12, 12): only rows 10, 11 fit the page
    const struct { int x, y; uint16_t want; } cells[] = {
        {12, 10, 65535}, {11, 11, 65535}, {14, 11, 0 /* dx 2, dy 1: 16 + 4 > 16 */}, {11, 10, 0}, {9, 11, 0}};
    for (auto c : cells) EXPECT_EQ(m(c.x, c.y), c.want) << c.x << "," << c.y;
    EXPECT_EQ(countMask(65535), 4u);  // (12, 10) and (11..13, 11)
    EXPECT_EQ(m(0, 11), 32512);

    fillMask(0);
    ORV_IPLMaskRectangle(5, 4, 2, 1, 50);  // level 50: grey 127 -> 65280 - 32512
    EXPECT_EQ(m(2, 1), 32768);
    EXPECT_EQ(m(5, 4), 32768);
    EXPECT_EQ(m(6, 4), 0);
    EXPECT_EQ(countMask(32768), 16u);
    ORV_IPLMaskRectangle(0, 0, W, H, 100);  // level 100 protects
    EXPECT_EQ(countMask(0), size_t(W * H));
    ORV_IPLMaskRectangle(0, 0, W, H, 101);  // out of range: nothing
    ORV_IPLMaskEllipse(0, 0, W, H, -1);
    EXPECT_EQ(countMask(0), size_t(W * H));
    EXPECT_STREQ(ORV_GetLastError(), "");
}

namespace {

struct WandFixture : MaskFixture {
    void SetUp() override {
        MaskFixture::SetUp();
        fillLayer(200, 200, 200, 255);
        for (auto [x, y] : {std::pair{1, 1}, {2, 2}, {8, 8}, {9, 8}}) setLayerPixel(x, y, 10, 10, 10, 255);
        setLayerPixel(3, 3, 12, 10, 10, 255);  // squared distance 4 from the seed colour
        fillMask(1);
    }
    static std::vector<std::pair<int, int>> selected() {
        std::vector<std::pair<int, int>> out;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                if (m(x, y) != 1) out.push_back({x, y});
        return out;
    }
};

using Cells = std::vector<std::pair<int, int>>;

}  // namespace

TEST_F(WandFixture, EveryModeSelectsWhatItMatches) {
    const Cells seedPair{{1, 1}, {2, 2}}, allDark{{1, 1}, {2, 2}, {8, 8}, {9, 8}};
    Cells withNear = allDark;
    withNear.insert(withNear.begin() + 2, {3, 3});
    Cells pairAndNear{{1, 1}, {2, 2}, {3, 3}};
    struct Row {
        const char* mode;
        int tolerance;
        Cells want;
    };
    const Row rows[] = {
        {"Connected", 0, seedPair},            // diagonal neighbours join, (8, 8) is apart
        {"Connected", 100, pairAndNear},       // squared distance limit trunc(390.15)
        {"Non-connected", 0, allDark},
        {"Non-connected", 100, withNear},
        {"Color Range", 1000, withNear},       // 2 %: 5 levels a channel
        {"Luminance Range", 1000, withNear},
        {"HSL Range", 0, allDark},             // the reddish pixel has saturation
    };
    for (const auto& r : rows) {
        fillMask(1);
        ORV_IPLMaskWand(1, 1, r.tolerance, 0, r.mode);
        EXPECT_EQ(selected(), r.want) << r.mode << " " << r.tolerance;
        for (auto [x, y] : r.want) EXPECT_EQ(m(x, y), 65280) << r.mode;
    }
    // Greys have no hue (-1), so a grey reference matches every grey but not the reddish pixel.
    fillMask(1);
    ORV_IPLMaskWand(1, 1, 0, 0, "Hue Range");
    EXPECT_EQ(selected().size(), size_t(W * H - 1));
    EXPECT_EQ(m(3, 3), 1);
    EXPECT_STREQ(ORV_GetLastError(), "");
}

TEST_F(WandFixture, LevelSetsStrengthAndSourceWorkBufferIsReleased) {
    ASSERT_NE(allocSrcBuffer32(engine()), nullptr);  // the host's own source copy
    ORV_IPLMaskWand(8, 8, 0, 50, "Connected");
    EXPECT_EQ(m(8, 8), 32768);
    EXPECT_EQ(m(9, 8), 32768);
    EXPECT_EQ(m(1, 1), 1);
    EXPECT_FALSE(engine().effects.work.src32);
}

TEST_F(WandFixture, TransparentSeedReferencesWhite) {
    setLayerPixel(5, 5, 0, 0, 0, 0);
    setLayerPixel(6, 6, 255, 255, 255, 255);
    ORV_IPLMaskWand(5, 5, 0, 0, "Non-connected");
    EXPECT_EQ(selected(), (Cells{{6, 6}}));
}

TEST_F(WandFixture, BadInputChangesNothing) {
    const struct { int x, y, tol, level; const char* mode; } rows[] = {
        {W, 0, 0, 0, "Connected"},   {0, H, 0, 0, "Connected"},     {-1, 0, 0, 0, "Non-connected"},
        {1, 1, 50001, 0, "Connected"}, {1, 1, -1, 0, "Color Range"}, {1, 1, 0, 101, "Connected"},
        {1, 1, 0, 0, "connected"},   {1, 1, 0, 0, ""},              {1, 1, 0, 0, nullptr}};
    for (auto r : rows) {
        ORV_IPLMaskWand(r.x, r.y, r.tol, r.level, r.mode);
        EXPECT_TRUE(selected().empty()) << r.x << "," << r.y << " " << r.tol << " " << r.level;
    }
    engine().layers.currentLayer = nullptr;
    ORV_IPLMaskWand(1, 1, 0, 0, "Connected");
    EXPECT_TRUE(selected().empty());
    EXPECT_STREQ(ORV_GetLastError(), "");
}

TEST_F(WandFixture, AlphaModesFollowTheLayerAlpha) {
    for (int y = 0; y < H; ++y) layerPx(14, y)[3] = 0;
    layerPx(13, 0)[3] = 0;
    layerPx(12, 1)[3] = 0x00FF;  // high byte 0: the same grey
    layerPx(0, 11)[3] = 0;       // transparent but not connected
    ORV_IPLMaskWand(14, 5, 0, 0, "Alpha Connected");
    EXPECT_EQ(selected().size(), 14u);
    EXPECT_EQ(m(12, 1), 65280);
    EXPECT_EQ(m(0, 11), 1);
    fillMask(1);
    ORV_IPLMaskWand(14, 5, 0, 0, "Alpha Non-connected");
    EXPECT_EQ(selected().size(), 15u);
    // Layer 1 (or 0) takes no alpha-connected selection.
    ASSERT_EQ(ORV_CreateLayer(1, W, H), 1);
    ORV_SetLayer(1);
    fillMask(1);
    ORV_IPLMaskWand(0, 0, 50000, 0, "Alpha Connected");
    EXPECT_TRUE(selected().empty());
}
