// The dab painter: the specialised loop against the literal one, and the painter's rules
// on small fixtures.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "brush/dab.h"
#include "engine/engine_state.h"
#include "orvcore.h"

using namespace orv;

namespace {

constexpr int W = 48, H = 40, B = 32;

struct DabPage : ::testing::Test {
    void SetUp() override {
        engine().brush.settings = BrushSettings{};  // settings outlive pages; start each test clean
        ORV_SetRandomSeed(99);
        ORV_CreateImage(nullptr, W, H, B, 0);
        ORV_CreateLayer(1, W, H);
        ORV_CreateLayer(2, W, H);
        ORV_SetLayer(2);
        ORV_SetSize(9);
        ORV_SetAlpha(100);
        ORV_SetTool(1.0f, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, "", "", 0);
    }
    void TearDown() override {
        ORV_DeletePaintLayer();
        ORV_DeleteImage();
    }
    BrushSettings& b() { return engine().brush.settings; }
    uint16_t* px(int layer, int x, int y) { return engine().layers.slots[layer].pixels.data() + (y * W + x) * 4; }
    void fill(int layer, uint16_t r, uint16_t g, uint16_t bl, uint16_t a) {
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                uint16_t* p = px(layer, x, y);
                p[0] = r, p[1] = g, p[2] = bl, p[3] = a;
            }
    }
};

std::vector<uint16_t> copyOf(const Buffer<uint16_t>& b) { return {b.data(), b.data() + b.size()}; }

// Everything a dab may change, so the two loops can start from the same state.
struct DabSnapshot {
    std::vector<uint16_t> layer, paint, blend, mask;
    EngineRandom random;
    BrushSettings settings;
    GritCursor grit;
    DirtyRect dirty;
    explicit DabSnapshot(EngineState& s)
        : layer(copyOf(s.layers.slots[2].pixels)), blend(copyOf(s.brush.blendBuffer)), mask(copyOf(s.mask.maskBuffer)),
          random(s.brush.random), settings(s.brush.settings), grit(s.brush.currentGrit), dirty(s.undo.dirtyRect) {
        if (s.brush.paintLayer.present()) paint = copyOf(s.brush.paintLayer.pixels);
    }
    void restore(EngineState& s) const {
        std::memcpy(s.layers.slots[2].pixels.data(), layer.data(), layer.size() * 2);
        std::memcpy(s.brush.blendBuffer.data(), blend.data(), blend.size() * 2);
        std::memcpy(s.mask.maskBuffer.data(), mask.data(), mask.size() * 2);
        if (!paint.empty()) std::memcpy(s.brush.paintLayer.pixels.data(), paint.data(), paint.size() * 2);
        s.brush.random = random;
        s.brush.settings = settings;
        s.brush.currentGrit = grit;
        s.undo.dirtyRect = dirty;
    }
    bool operator==(const DabSnapshot& o) const {
        return layer == o.layer && paint == o.paint && blend == o.blend && mask == o.mask && random.state == o.random.state &&
               grit == o.grit && settings.drawingLength == o.settings.drawingLength;
    }
};

}  // namespace

// Seeded random pages, pickup buffers, masks, textures and settings: the specialised loop
// paints exactly what the literal one paints.
TEST_F(DabPage, FastLoopMatchesLiteralLoop) {
    EngineState& s = engine();
    EngineRandom rnd;
    rnd.seed(2024);
    auto pick = [&](int n) { return rnd.next() % n; };
    auto value16 = [&] {
        switch (pick(4)) {
            case 0: return 0;
            case 1: return 65535;
            default: return (rnd.next() << 1) | pick(2);
        }
    };
    const int modes[] = {0, 10, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 48, 100, 249, 250, 251, 252,
                         253, 254, 255, 256, 257, 258, 259, 260, 261, 262, 295, 340, 500};
    ORV_SetColorBanks(10, 20, 30, 200, 100, 50, 255, 0, 128, 7, 7, 7);
    ORV_SetTool(1.0f, 3, 100, 150, 80, 0, 2, 0, 0, 0, 0, 0, 0, "", "", 0);
    for (int iter = 0; iter < 600; ++iter) {
        for (size_t i = 0; i < s.layers.slots[2].pixels.size(); ++i) s.layers.slots[2].pixels[i] = static_cast<uint16_t>(value16());
        for (size_t i = 0; i < s.brush.blendBuffer.size(); ++i) s.brush.blendBuffer[i] = static_cast<uint16_t>(value16());
        for (size_t i = 0; i < s.mask.maskBuffer.size(); ++i) s.mask.maskBuffer[i] = static_cast<uint16_t>(pick(3) ? 65535 : value16());
        for (size_t i = 0; i < s.brush.shapeBuffer.size(); ++i) s.brush.shapeBuffer[i] = static_cast<uint16_t>(value16());
        s.mask.maskActive = pick(2);
        if (pick(3) == 0) {
            s.brush.textureBuffer.allocate(W * H);
            for (size_t i = 0; i < W * H; ++i) s.brush.textureBuffer[i] = static_cast<uint8_t>(pick(3) ? 255 : pick(256));
        } else {
            s.brush.textureBuffer.release();
        }
        if (pick(3) == 0) ORV_CreatePaintLayer(100, "Normal");
        else ORV_DeletePaintLayer();
        ORV_SetSize(1 + pick(B));
        if (pick(2)) ORV_SetScaleSize(1 + pick(b().brushSize));
        ORV_SetMixMode(modes[pick(std::size(modes))], pick(257));
        ORV_SetAlpha(pick(3) ? 100 : pick(100));
        ORV_SetBlendStrength(pick(2) ? 0 : 1 + pick(256));
        ORV_SetBlendPrimaryColorStrength(pick(2) ? 0 : 1 + pick(256));
        ORV_SetBlendRemix(pick(2));
        ORV_SetColorVary(pick(3) ? 0 : pick(40));
        ORV_SetPixColorVary(pick(3) ? 0 : 1 + pick(300));
        ORV_SetPixLumVary(pick(3) ? 0 : 1 + pick(256));
        ORV_SetImageBrushMode(pick(4) == 0);
        ORV_SetSolidBrushMode(pick(4) == 0);
        ORV_SetRotateBrushMode(pick(3) == 0, pick(360));
        ORV_SetAlphaLocked(pick(4) == 0);
        ORV_SetColorLocked(pick(4) == 0);
        ORV_SetBlobLocked(pick(4) == 0);
        ORV_SetAlphaLevel(pick(4) == 0 ? value16() : 0);
        ORV_SetDensity(pick(257));
        b().gritCellSize = pick(2) ? 3 : 0;
        if (pick(4) == 0) ORV_SetEraseModeOn();
        if (pick(4) == 0) ORV_TempDisableBlend();
        b().drawingLength = pick(2);
        const int x = static_cast<int>(pick(W + 20)) - 10, y = static_cast<int>(pick(H + 20)) - 10;
        const int r = value16(), g = value16(), bl = value16();

        const DabSnapshot before(s);
        drawDabGrit(s, x, y, r, g, bl, DabLoop::Literal);
        const DabSnapshot literal(s);
        before.restore(s);
        drawDabGrit(s, x, y, r, g, bl, DabLoop::Fast);
        const DabSnapshot fast(s);
        ASSERT_TRUE(literal == fast) << "iteration " << iter << " mode " << before.settings.mixMode;
    }
}

TEST_F(DabPage, ColourLowByteDroppedAndTransparentAndOpaqueTargets) {
    fill(2, 0, 0, 0, 0);
    ORV_DrawDabGrit(20, 20, 0x12FF, 0x00FF, 0xFFFF);
    const uint16_t* p = px(2, 20, 20);
    EXPECT_EQ(p[0], 0x1200);
    EXPECT_EQ(p[1], 0);
    EXPECT_EQ(p[2], 0xFF00);
    EXPECT_EQ(p[3], (65535u * 65535u) >> 16);  // (V x A') >> 16 at full coverage
    fill(2, 1000, 2000, 3000, 65535);
    ORV_DrawDabGrit(20, 20, 0xFF00, 0, 0);
    EXPECT_EQ(px(2, 20, 20)[3], 65535);
}

TEST_F(DabPage, FootprintOutsideThePageGrowsTheRectangleOnly) {
    engine().undo.dirtyRect.setEmpty(W, H);
    ORV_DrawDabGrit(-9, -9, 0xFF00, 0, 0);
    const DirtyRect& r = engine().undo.dirtyRect;
    EXPECT_EQ(r.x0, 0);
    EXPECT_EQ(r.y0, 0);
    EXPECT_EQ(r.x1, 0);
    EXPECT_EQ(r.y1, 0);
    ORV_DrawDabGrit(10, 12, 0xFF00, 0, 0);
    EXPECT_EQ(r.x1, 10 - 4 + 9);
    EXPECT_EQ(r.y1, 12 - 4 + 9);
}

TEST_F(DabPage, ProtectionsTable) {
    struct Row {
        const char* name;
        int layer, alphaLocked, colorLocked, blob, level;
        uint16_t startAlpha;
        bool colourChanges;
        uint16_t alpha;  // expected alpha at the centre after a full black dab
    } rows[] = {
        {"ordinary layer", 2, 0, 0, 0, 0, 30000, true, 65535},
        {"alpha locked", 2, 1, 0, 0, 0, 30000, true, 30000},
        {"colour locked", 2, 0, 1, 0, 0, 30000, false, 65535},
        {"background layer keeps alpha", 1, 0, 0, 0, 0, 30000, true, 30000},
        {"alpha level", 2, 0, 0, 0, 32768, 30000, true, 32768},
        {"blob lock leaves faint pixels", 2, 0, 0, 1, 0, 8000, true, 8000},
    };
    for (const Row& r : rows) {
        ORV_SetLayer(r.layer);
        fill(r.layer, 50000, 50000, 50000, r.startAlpha);
        ORV_SetAlphaLocked(r.alphaLocked);
        ORV_SetColorLocked(r.colorLocked);
        ORV_SetBlobLocked(r.blob);
        ORV_SetAlphaLevel(r.level);
        ORV_DrawDabGrit(20, 20, 0, 0, 0);
        const uint16_t* p = px(r.layer, 20, 20);
        EXPECT_EQ(p[0] != 50000, r.colourChanges) << r.name;
        EXPECT_EQ(p[3], r.alpha) << r.name;
    }
}

TEST_F(DabPage, EraseLowersAlphaAndBlobLockKeepsAFloor) {
    fill(2, 100, 200, 300, 40000);
    ORV_SetEraseModeOn();
    ORV_DrawDabGrit(20, 20, 0, 0, 0);
    EXPECT_EQ(px(2, 20, 20)[3], 0);  // full coverage: ((65535 - 65535) x Ad) >> 16
    EXPECT_EQ(px(2, 20, 20)[0], 100);
    EXPECT_EQ(b().eraseModeOn, 0);  // one dab only
    ORV_SetBlobLocked(1);
    ORV_SetEraseModeOn();
    ORV_DrawDabGrit(30, 20, 0, 0, 0);
    EXPECT_EQ(px(2, 30, 20)[3], 9215);
}

TEST_F(DabPage, MaskGatesCoverage) {
    fill(2, 0, 0, 0, 65535);
    engine().mask.maskBuffer[20 * W + 20] = 0;
    ORV_DrawDabGrit(20, 20, 0xFF00, 0xFF00, 0xFF00);
    EXPECT_EQ(px(2, 20, 20)[0], 0);
    EXPECT_EQ(px(2, 21, 20)[0], 0xFF00 - 1);  // (V x A') / 65535 over an opaque pixel
}

TEST_F(DabPage, SpecialModesTable) {
    struct Row {
        int mode, amount;
        uint16_t colour;
        uint16_t r, a;  // expected at the centre over opaque (40000, 40000, 40000)
    } rows[] = {
        {295, 255, 0xFF00, 0, 65535},        // posterize by 16 bits paints black
        {340, 128, 0xFF00, 32767, 0xFF00},   // grey height: alpha from the working luminance
        {256, 128, 0x1000, 40000, 65535},    // dark paint leaves the pixel as it was
        {47, 256, 0x8000, 65535, 65535},     // add, full mix
    };
    for (const Row& r : rows) {
        fill(2, 40000, 40000, 40000, 65535);
        ORV_SetMixMode(r.mode, r.amount);
        ORV_DrawDabGrit(20, 20, r.colour, r.colour, r.colour);
        EXPECT_EQ(px(2, 20, 20)[0], r.r) << r.mode;
        EXPECT_EQ(px(2, 20, 20)[3], r.a) << r.mode;
    }
}

TEST_F(DabPage, UnlistedModesPaintAsNormal) {
    fill(2, 40000, 40000, 40000, 30000);
    ORV_SetMixMode(32, 100);
    ORV_DrawDabGrit(20, 20, 0x8000, 0x4000, 0);
    const std::vector<uint16_t> normal(px(2, 0, 0), px(2, 0, 0) + W * H * 4);
    fill(2, 40000, 40000, 40000, 30000);
    ORV_SetMixMode(120, 100);
    ORV_DrawDabGrit(20, 20, 0x8000, 0x4000, 0);
    EXPECT_EQ(0, std::memcmp(normal.data(), px(2, 0, 0), normal.size() * 2));
}

TEST_F(DabPage, MaskDabBlackSelectsFullyAndWhiteDeselects) {
    for (size_t i = 0; i < engine().mask.maskBuffer.size(); ++i) engine().mask.maskBuffer[i] = 0;
    ORV_SetMaskMakerOn();
    ORV_DrawDabGrit(20, 20, 0, 0, 0);
    EXPECT_EQ(engine().mask.maskBuffer[20 * W + 20], 65535);
    EXPECT_EQ(b().maskMakerOn, 1);  // mask dabs keep mask-maker mode on
    ORV_DrawDabGrit(20, 20, 0xFF00, 0xFF00, 0xFF00);
    EXPECT_EQ(engine().mask.maskBuffer[20 * W + 20], 0);
    EXPECT_EQ(px(2, 20, 20)[3], 0);  // the layer was not painted
}

TEST_F(DabPage, ColourVaryOffsetsAreDeterministic) {
    ORV_SetColorVary(2);
    fill(2, 0, 0, 0, 0);
    engine().brush.random.seed(5);
    EngineRandom r;
    r.seed(5);
    const int o = (1 - r.next() % 2) * 256;
    ORV_DrawDabGrit(20, 20, 0x1000, 0, 0);
    EXPECT_EQ(px(2, 20, 20)[0], 0x1000 + o);
}

TEST_F(DabPage, StrokeCollectsOnThePaintLayerAndMerges) {
    fill(2, 0, 0, 65280, 65535);
    ORV_CreatePaintLayer(100, "Normal");
    ORV_DrawDabGrit(20, 20, 0xFF00, 0, 0);
    EXPECT_EQ(px(2, 20, 20)[0], 0);  // the layer is untouched until the merge
    const LayerRecord& pl = engine().brush.paintLayer;
    EXPECT_EQ(pl.dirtyLeft, 16);
    EXPECT_EQ(pl.dirtyRight, 25);
    ORV_MergePaintLayer(2);
    EXPECT_EQ(px(2, 20, 20)[0], 0xFF00);
    EXPECT_EQ(px(2, 20, 20)[2], 0);
    EXPECT_EQ(pl.dirtyLeft, W);  // cleared after the merge
    EXPECT_EQ(pl.pixels[(20 * W + 20) * 4 + 3], 0);
}
