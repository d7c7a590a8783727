// Display render and layer merge: the row renderer and row merge against their per-pixel
// references, the documented cases, and bad input.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "composite/blend_modes.h"
#include "composite/merge.h"
#include "composite/render.h"
#include "engine/engine_state.h"
#include "orvcore.h"

using namespace orv;

namespace {

constexpr int W = 70, H = 45;

struct Page : ::testing::Test {
    void SetUp() override {
        ORV_CreateImage(nullptr, W, H, 16, 0);
        ORV_SetViewSize(1000, 1000);
        ORV_SetScale(1, 1.0f);
    }
    void TearDown() override {
        engine().brush.paintLayer.pixels.release();
        for (int i = 0; i < kLayerCount; ++i) ORV_DeleteLayer(i);
        engine().layers.currentLayer = nullptr;
        engine().mask.maskDisplayed = 0;
        engine().view.tracingMode = 0;
        setRenderThreads(0);
        ORV_DeleteImage();
    }
    static void layer(int slot, const char* mode = "Normal", int opacityPercent = 100, uint8_t visible = 1) {
        ASSERT_EQ(ORV_CreateLayer(slot, W, H), 1);
        ORV_SetLayerOptions(slot, visible, 0, opacityPercent, mode);
    }
    static uint16_t* px(int slot, int x, int y) { return engine().layers.slots[slot].pixels.data() + (y * W + x) * 4; }
    static void fill(int slot, uint16_t r, uint16_t g, uint16_t b, uint16_t a) {
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                uint16_t* p = px(slot, x, y);
                p[0] = r, p[1] = g, p[2] = b, p[3] = a;
            }
    }
    // Renders (x, y, w, h) into a buffer of exactly the expected output size plus guard bytes.
    static std::vector<uint8_t> renderOut(int x, int y, int w, int h, int outW, int outH, RenderPath path = RenderPath::Rows) {
        std::vector<uint8_t> out(static_cast<size_t>(outW) * outH * 3 + 64, 0xCD);
        RenderPlan p = makeRenderPlan(engine(), {out.data(), outW * 3, x, y, w, h});
        EXPECT_EQ(p.outCols, p.empty() ? p.outCols : outW);
        EXPECT_EQ(p.outRows, p.empty() ? p.outRows : outH);
        renderPlan(p, path);
        for (size_t i = out.size() - 64; i < out.size(); ++i) EXPECT_EQ(out[i], 0xCD) << "write past the output";
        return out;
    }
    static const uint8_t* at(const std::vector<uint8_t>& o, int outW, int i, int j) { return &o[(static_cast<size_t>(j) * outW + i) * 3]; }
};

// Random stacks: every mode, opacity, layer masks, the paint layer (Texturize3 included),
// tracing and the mask overlay, at the three view mappings.
uint16_t randomAlpha(std::mt19937& g) {
    switch (g() % 6) {
        case 0: return 0;
        case 1: return 0xFFFF;
        case 2: return 0xFF00 + g() % 256;
        default: return static_cast<uint16_t>(g());
    }
}
void randomise(int slot, std::mt19937& g) {
    uint16_t* p = engine().layers.slots[slot].pixels.data();
    const bool flat = g() % 3 == 0;  // large uniform areas exercise the shortcuts
    const uint16_t fa = randomAlpha(g);
    for (int i = 0; i < W * H; ++i, p += 4) {
        for (int c = 0; c < 3; ++c) p[c] = static_cast<uint16_t>(g() % 4 == 0 ? (g() % 2 ? 0xFFFF : 0) : g());
        p[3] = flat && (i / 97) % 3 ? fa : randomAlpha(g);
    }
}

}  // namespace

TEST_F(Page, RowRendererEqualsReferenceOnRandomStacks) {
    std::mt19937 g(1234);
    for (int trial = 0; trial < 60; ++trial) {
        for (int i = 0; i < kLayerCount; ++i) ORV_DeleteLayer(i);
        engine().brush.paintLayer.pixels.release();
        const int n = 1 + static_cast<int>(g() % 7);
        for (int slot = 0; slot <= n; ++slot) {
            const int mode = static_cast<int>(g() % kBlendModeCount);
            const char* name = g() % 3 == 0 ? "Normal" : blendModeName(mode);
            layer(slot, name ? name : "Normal", g() % 4 == 0 ? static_cast<int>(g() % 101) : 100, g() % 8 != 0);
            randomise(slot, g);
        }
        const int cur = 1 + static_cast<int>(g() % n);
        ORV_SetLayer(cur);
        if (g() % 2) {
            LayerRecord& pl = engine().brush.paintLayer;
            pl.pixels.allocate(W * H * 4);
            std::memcpy(pl.pixels.data(), engine().layers.slots[0].pixels.data(), W * H * 8);
            pl.visible = 1;
            pl.opacity = static_cast<uint16_t>(g() % 257);
            pl.blendMode = g() % 3 == 0 ? kBlendTexturize3 : static_cast<int>(g() % kBlendModeCount);
        }
        engine().view.tracingMode = g() % 4 == 0;
        MaskState& m = engine().mask;
        m.maskDisplayed = g() % 3 == 0;
        m.maskOverlayMode = static_cast<int32_t>(g() % 2);
        for (int c = 0; c < 3; ++c) m.maskOverlayColor1[c] = (g() % 256) << 8, m.maskOverlayColor2[c] = (g() % 256) << 8;
        for (size_t i = 0; i < m.maskBuffer.size(); ++i) m.maskBuffer[i] = g() % 3 ? 0xFFFF : static_cast<uint16_t>(g());

        const struct { int scale; float zoom; } views[] = {{1, 1.0f}, {3, 1.0f}, {1, 2.0f}, {1, 3.7f}, {2, 1.5f}};
        for (auto v : views) {
            ORV_SetScale(v.scale, v.zoom);
            ORV_SetViewSize(100 + static_cast<int>(g() % 60), 50 + static_cast<int>(g() % 60));
            const int x = static_cast<int>(g() % 20) - 5, y = static_cast<int>(g() % 20) - 5;
            const int w = 20 + static_cast<int>(g() % 60), h = 10 + static_cast<int>(g() % 40);
            RenderPlan p = makeRenderPlan(engine(), {reinterpret_cast<uint8_t*>(1), 0, x, y, w, h});
            ASSERT_FALSE(p.empty());
            const int stride = p.outCols * 3 + 5;
            std::vector<uint8_t> a(static_cast<size_t>(stride) * p.outRows, 1), b(a.size(), 2);
            p.dstStride = stride;
            p.dst = a.data();
            renderPlan(p, RenderPath::Reference);
            p.dst = b.data();
            setRenderThreads(1 + trial % 2);
            renderPlan(p, RenderPath::Rows);
            for (int j = 0; j < p.outRows; ++j)
                ASSERT_EQ(0, std::memcmp(&a[j * stride], &b[j * stride], p.outCols * 3))
                    << "trial " << trial << " scale " << v.scale << " zoom " << v.zoom << " row " << j;
        }
    }
}

TEST_F(Page, EmptyPageShowsCheckerboard) {
    layer(2, "Normal", 100, 0);  // hidden
    ORV_SetLayer(2);
    auto o = renderOut(0, 0, W, H, W, H);
    EXPECT_EQ(at(o, W, 0, 0)[0], 0xFF);
    EXPECT_EQ(at(o, W, 31, 31)[1], 0xFF);
    EXPECT_EQ(at(o, W, 32, 0)[2], 0x9F);
    EXPECT_EQ(at(o, W, 0, 32)[0], 0x9F);
    EXPECT_EQ(at(o, W, 32, 32)[0], 0xFF);
}

TEST_F(Page, BackgroundIsOpaqueAndOpacityScalesIt) {
    layer(1);
    fill(1, 0x1234, 0x5678, 0x9ABC, 0);  // alpha 0: still opaque as the background
    ORV_SetLayer(1);
    auto o = renderOut(0, 0, W, H, W, H);
    EXPECT_EQ(at(o, W, 3, 3)[0], 0x9A);
    EXPECT_EQ(at(o, W, 3, 3)[1], 0x56);
    EXPECT_EQ(at(o, W, 3, 3)[2], 0x12);

    ORV_SetLayerOptions(1, 1, 0, 50, "Normal");  // opacity 128: alpha (129 x 0xFFFF) >> 8
    fill(1, 0, 0, 0, 0xFFFF);
    const Px c = compositeReference(makeRenderPlan(engine(), {o.data(), W * 3, 0, 0, W, H}), 0, 0);
    EXPECT_EQ(c.a, (129u * 0xFFFF) >> 8);
    o = renderOut(0, 0, W, H, W, H);
    const uint32_t a = c.a, back = (0xFFFFu * (0xFFFF - a)) >> 8;
    EXPECT_EQ(at(o, W, 0, 0)[0], ((0 + back) >> 8) >> 8);
}

TEST_F(Page, OpaqueShortcutsAndSkips) {
    layer(1);
    layer(2);
    ORV_SetLayer(2);
    struct Row {
        const char* mode;
        uint16_t alpha;
        uint32_t red, alpha16;  // composite over opaque white (0xFFFF) of source red 0
    } rows[] = {
        {"Normal", 0xFF00, 0, 0xFFFF},           // replaces
        {"Normal", 0xFEFF, 255, 65535},          // blended: a trace of white shows
        {"Reflect", 0xFF00, 0, 0xFFFF},          // Reflect and Glow are Normal
        {"Glow", 0xFF00, 0, 0xFFFF},
        {"Multiply", 0, 0xFFFF, 0xFFFF},         // alpha 0 with a blend mode: no effect
        {"Alpha Filter", 0, 0xFFFF, 0xFFFF},     // alpha 0 becomes opaque white
        {"Alpha Filter", 0xFFFF, 0xFF00, 65535}, // becomes transparent: white through a float blend
        {"Layer Mask", 0xFFFF, 0xFF00, 65535},   // adds nothing itself
    };
    for (const auto& r : rows) {
        ORV_SetLayerOptions(2, 1, 0, 100, r.mode);
        fill(2, 0, 0, 0, r.alpha);
        std::vector<uint8_t> o(48);
        const Px c = compositeReference(makeRenderPlan(engine(), {o.data(), 12, 0, 0, 4, 4}), 1, 1);
        EXPECT_EQ(c.r, r.red) << r.mode << " alpha " << std::hex << r.alpha;
        EXPECT_EQ(c.a, r.alpha16) << r.mode << " alpha " << std::hex << r.alpha;
    }
}

TEST_F(Page, LayerMaskHidesTheLayerBelow) {
    layer(1);
    layer(3);
    layer(4, "Layer Mask");
    fill(3, 0x1000, 0x1000, 0x1000, 0xFFFF);
    fill(4, 0, 0, 0, 0xFFFF);          // black and opaque: layer 3 hidden
    px(4, 5, 5)[3] = 0;                 // alpha 0: layer 3 unchanged there
    ORV_SetLayer(3);
    auto o = renderOut(0, 0, 10, 10, 10, 10);
    EXPECT_EQ(at(o, 10, 1, 1)[0], 0xFF);
    EXPECT_EQ(at(o, 10, 5, 5)[0], 0x10);
}

TEST_F(Page, ViewMappings) {
    layer(1);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) px(1, x, y)[0] = static_cast<uint16_t>((x * 3 + y * 5) << 8);
    ORV_SetLayer(1);
    ORV_SetScale(3, 1.0f);
    auto o = renderOut(2, 1, 10, 10, 30, 30);
    for (int j = 0; j < 30; ++j)
        for (int i = 0; i < 30; ++i) ASSERT_EQ(at(o, 30, i, j)[2], ((2 + i / 3) * 3 + (1 + j / 3) * 5) & 0xFF);
    ORV_SetScale(1, 2.0f);
    o = renderOut(0, 0, 60, 40, 30, 20);
    for (int j = 0; j < 20; ++j)
        for (int i = 0; i < 30; ++i) ASSERT_EQ(at(o, 30, i, j)[2], (2 * i * 3 + 2 * j * 5) & 0xFF);
    ORV_SetScale(1, 1.0f);
    ORV_SetViewSize(7, 5);  // the output is cut to the view size
    o = renderOut(0, 0, W, H, 7, 5);
}

TEST_F(Page, TracingAndMaskOverlay) {
    layer(0);
    layer(1);
    fill(0, 0, 0, 0, 0xFFFF);
    fill(1, 0xFF00, 0xFF00, 0xFF00, 0xFFFF);
    ORV_SetLayer(1);
    engine().view.tracingMode = 1;
    EXPECT_EQ(renderOut(0, 0, 4, 4, 4, 4)[0], 0x7F);
    engine().view.tracingMode = 0;

    MaskState& m = engine().mask;
    m.maskDisplayed = 1;
    m.maskOverlayMode = 0;
    for (int c = 0; c < 3; ++c) m.maskOverlayColor1[c] = 0, m.maskOverlayColor2[c] = 0;
    m.maskBuffer[0] = 0;  // weight 0x7FFF: about half composite, half overlay
    auto o = renderOut(0, 0, 4, 4, 4, 4);
    EXPECT_EQ(o[0], ((0x7FFFu * 0xFF00) >> 8) >> 16);
    EXPECT_EQ(at(o, 4, 1, 0)[0], 0xFF);  // fully selected: plain at one to one
    ORV_SetScale(2, 1.0f);
    o = renderOut(0, 0, 4, 4, 8, 8);
    EXPECT_EQ(at(o, 8, 2, 0)[0], 0xFE);  // mixed when scaled
}

TEST_F(Page, BadInputRendersNothing) {
    layer(1);
    std::vector<uint8_t> out(300, 0xCD);
    ORV_Render(out.data(), 30, 0, 0, 10, 10);  // no current layer
    ORV_SetLayer(1);
    ORV_SetViewSize(0, 10);
    ORV_Render(out.data(), 30, 0, 0, 10, 10);
    ORV_SetViewSize(10, 10);
    ORV_Render(out.data(), 30, W, 0, 10, 10);
    ORV_Render(out.data(), 30, 0, H + 3, 10, 10);
    ORV_Render(out.data(), 30, 0, 0, -4, 10);
    ORV_Render(nullptr, 30, 0, 0, 10, 10);
    ORV_SetScale(1, std::nanf(""));
    ORV_Render(out.data(), 30, 0, 0, 10, 10);
    ORV_SetScale(0, -1.0f);
    ORV_Render(out.data(), 30, 0, 0, 10, 10);
    for (uint8_t b : out) ASSERT_EQ(b, 0xCD);
    ORV_SetScale(1, 1.0f);
    renderOut(-5, -5, 12, 12, 10, 10);  // negative corner: size kept, cut to the view
    renderOut(W - 3, H - 2, 50, 50, 3, 2);
    ORV_SetScale(1000000, 1.0f);
    renderOut(0, 0, W, H, 10, 10);
    // A layer smaller than the page is never read.
    ASSERT_EQ(ORV_CreateLayer(2, 3, 3), 1);
    ORV_SetLayerOptions(2, 1, 0, 100, "Normal");
    ORV_SetScale(1, 1.0f);
    renderOut(0, 0, W, H, 10, 10);
}

// ---- Merge ------------------------------------------------------------------------------

namespace {
struct MergeCase {
    int mode;
    uint16_t s[4], d[4];
    uint32_t opacity;
    bool keepAlpha, same;
    uint16_t expect[4];
};
std::string hex4(const uint16_t* v) {
    char b[40];
    std::snprintf(b, sizeof b, "%04X %04X %04X %04X", v[0], v[1], v[2], v[3]);
    return b;
}
}  // namespace

TEST(MergeBuffer, DocumentedCases) {
    const MergeCase rows[] = {
        {0, {1, 2, 3, 0xFF00}, {9, 9, 9, 0xFFFF}, 256, false, false, {1, 2, 3, 0xFF00}},          // opaque Normal: source and its alpha
        {0, {1, 2, 3, 0x8000}, {9, 9, 9, 0}, 128, false, false, {1, 2, 3, (129u * 0x8000) >> 8}}, // onto alpha 0: copy after opacity
        {kBlendTexturize2, {1, 2, 3, 0x8000}, {9, 9, 9, 0}, 256, false, false, {0, 0, 0, 0}},
        {kBlendTexturize, {1, 2, 3, 0x8000}, {9, 9, 9, 0}, 256, false, false, {0, 0, 0, 0}},
        {kBlendMultiply, {1, 2, 3, 0}, {9, 9, 9, 7}, 256, false, false, {9, 9, 9, 7}},
        {kBlendAlphaFilter, {1, 2, 3, 0}, {9, 9, 9, 0}, 256, false, false, {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF}},
        {0, {1, 2, 3, 0xFF00}, {9, 9, 9, 0x1234}, 256, true, false, {1, 2, 3, 0x1234}},            // keepAlpha
        {kBlendAlphaInvert, {1, 2, 3, 0x10}, {9, 9, 9, 0xFFFF}, 256, false, true, {1, 2, 3, 0x10}}, // same mode: replace
        {kBlendAlphaInvert, {1, 2, 3, 0}, {9, 9, 9, 0xFFFF}, 256, false, true, {9, 9, 9, 0xFFFF}},
        {kBlendLayerMask, {1, 2, 3, 0xFFFF}, {9, 9, 9, 5}, 256, false, true, {9, 9, 9, 5}},
        {kBlendAlphaHighlight, {1, 2, 3, 0x7F01}, {9, 9, 9, 5}, 256, false, true, {1, 2, 3, 0x7F01}},
        {kBlendAlphaSmoothLum, {1, 2, 3, 0x1FFE}, {9, 9, 9, 5}, 256, false, true, {9, 9, 9, 5}},
    };
    for (const auto& r : rows) {
        for (MergePath path : {MergePath::Reference, MergePath::Rows}) {
            uint16_t s[4], d[4];
            std::memcpy(s, r.s, 8), std::memcpy(d, r.d, 8);
            MergeParams p;
            p.src = s, p.dst = d, p.width = p.height = 1, p.srcStride = p.dstStride = p.srcLength = p.dstLength = 4;
            p.mode = r.mode, p.opacity = r.opacity, p.keepAlpha = r.keepAlpha, p.sameAlphaMode = r.same;
            mergeBuffer(p, path);
            EXPECT_EQ(hex4(d), hex4(r.expect)) << "mode " << r.mode << " source " << hex4(r.s) << " over " << hex4(r.d);
        }
    }
}

TEST(MergeBuffer, RowPathEqualsReferenceForEveryMode) {
    std::mt19937 g(99);
    for (int size : {0, 1}) {
    const int w = size ? 300 : 40, h = size ? 900 : 30;  // the large size splits rows across threads
    std::vector<uint16_t> src(w * h * 4), mask(src.size()), base(src.size());
    auto rnd = [&](std::vector<uint16_t>& v) {
        for (size_t i = 0; i < v.size(); ++i) v[i] = (i % 4 == 3) ? randomAlpha(g) : static_cast<uint16_t>(g());
    };
    rnd(src), rnd(mask), rnd(base);
    for (int mode = -1; mode <= kBlendModeCount; ++mode)
        for (int variant = 0; variant < 4; ++variant) {
            if (size && mode != kBlendNormal && mode != kBlendMultiply && mode != kBlendAlphaSmoothLum4) continue;
            MergeParams p;
            p.src = src.data(), p.width = w - 10, p.height = h - 20, p.srcX = 10, p.srcY = 20;
            p.srcStride = p.dstStride = w * 4, p.srcLength = p.dstLength = src.size();
            p.mode = mode;
            p.opacity = variant == 1 ? 100 : 256;
            p.mask = variant == 2 ? mask.data() : nullptr;
            p.maskMode = kBlendLayerMask;
            p.keepAlpha = variant == 3;
            p.sameAlphaMode = variant >= 2;
            std::vector<uint16_t> a = base, b = base;
            p.dst = a.data();
            mergeBuffer(p, MergePath::Reference);
            p.dst = b.data();
            mergeBuffer(p, MergePath::Rows);
            ASSERT_EQ(a, b) << "mode " << mode << " variant " << variant;
        }
    }
}

TEST(MergeBuffer, RejectsRectanglesOutsideTheBuffers) {
    std::vector<uint16_t> s(16, 0xFFFF), d(16, 7);
    MergeParams p;
    p.src = s.data(), p.dst = d.data(), p.srcStride = p.dstStride = 8, p.srcLength = p.dstLength = 16;
    const struct { int x, y, w, h; } bad[] = {{1, 0, 2, 2}, {0, 1, 2, 2}, {-1, 0, 1, 1}, {0, 0, 3, 1}, {0, 0, -1, 1}};
    for (auto b : bad) {
        p.srcX = b.x, p.srcY = b.y, p.width = b.w, p.height = b.h;
        mergeBuffer(p);
        EXPECT_EQ(d, std::vector<uint16_t>(16, 7));
    }
}

TEST_F(Page, MergeRectStartsFromTheBackgroundCopy) {
    layer(1);
    fill(1, 0x100, 0x200, 0x300, 0);
    std::vector<uint16_t> out(10 * 10 * 4, 0xABCD);
    ORV_MergeRect(out.data(), 0, 0, 10, 10);
    EXPECT_EQ(out[0], 0x100);
    EXPECT_EQ(out[3], 0);  // copied even where the alpha is 0
    ORV_SetLayerOptions(1, 0, 0, 100, "Normal");
    ORV_MergeRect(out.data(), 0, 0, 10, 10);
    EXPECT_EQ(out, std::vector<uint16_t>(out.size(), 0));

    // Partly outside the page: only the inside part is read, placed where it belongs.
    layer(2);
    fill(2, 0x1111, 0x2222, 0x3333, 0xFFFF);
    std::fill(out.begin(), out.end(), 0xABCD);
    ORV_MergeRect(out.data(), W - 4, -3, 10, 10);
    EXPECT_EQ(out[(3 * 10 + 0) * 4], 0x1111);
    EXPECT_EQ(out[(3 * 10 + 4) * 4], 0);
    EXPECT_EQ(out[(2 * 10 + 0) * 4], 0);
}

TEST_F(Page, MergeLayerUsesItsLayerMaskAndSameMode) {
    layer(2);
    layer(3);
    layer(4, "Layer Mask");
    fill(2, 0, 0, 0, 0);
    fill(3, 0x1000, 0x1000, 0x1000, 0xFFFF);
    fill(4, 0, 0, 0, 0xFFFF);
    px(4, 1, 0)[3] = 0;
    EXPECT_EQ(findLayerMask(engine(), 3), 4);
    EXPECT_EQ(findLayerMask(engine(), 2), 0);
    ORV_MergeLayer(3, 2);
    EXPECT_EQ(px(2, 0, 0)[3], 0);       // masked out (copied with alpha 0)
    EXPECT_EQ(px(2, 1, 0)[3], 0xFFFF);  // mask alpha 0: unmasked
    ORV_MergeLayer(3, 60);               // empty slot: nothing

    ORV_SetLayerOptions(2, 1, 0, 100, "Alpha Invert");
    ORV_SetLayerOptions(3, 1, 0, 100, "Alpha Invert");
    fill(3, 5, 6, 7, 0x20);
    ORV_SetLayerOptions(4, 0, 0, 100, "Layer Mask");
    ORV_MergeLayer(3, 2);
    EXPECT_EQ(hex4(px(2, 3, 3)), hex4(px(3, 3, 3)));  // plain replacement
}

TEST_F(Page, MergePaintLayerUsesTheDirtyRectangleAndClears) {
    layer(2);
    LayerRecord& pl = engine().brush.paintLayer;
    pl.pixels.allocate(W * H * 4);
    for (size_t i = 0; i < pl.pixels.size(); ++i) pl.pixels[i] = 0xFFFF;
    pl.opacity = 256;
    pl.dirtyLeft = 10, pl.dirtyTop = 10, pl.dirtyRight = 10, pl.dirtyBottom = 30;
    ORV_MergePaintLayer(2);
    EXPECT_EQ(px(2, 10, 10)[3], 0);
    EXPECT_EQ(pl.pixels[0], 0);
    EXPECT_EQ(pl.dirtyLeft, W);
    EXPECT_EQ(pl.dirtyBottom, 0);

    for (size_t i = 0; i < pl.pixels.size(); ++i) pl.pixels[i] = 0xFFFF;
    pl.dirtyLeft = 10, pl.dirtyTop = 10, pl.dirtyRight = 12, pl.dirtyBottom = 11;
    ORV_MergePaintLayer(2);
    EXPECT_EQ(px(2, 11, 10)[3], 0xFFFF);
    EXPECT_EQ(px(2, 12, 10)[3], 0);
    EXPECT_EQ(px(2, 10, 11)[3], 0);
}

TEST_F(Page, MergeBufferIntoLayerConvertsBytes) {
    layer(2);
    fill(2, 0, 0, 0, 0xFFFF);
    std::vector<uint8_t> rgba(W * H * 4, 0);
    rgba[0] = 0x12, rgba[3] = 0xFF;
    EXPECT_TRUE(mergeBufferIntoLayer(engine(), rgba.data(), engine().layers.slots[2], 0, 255, false));
    EXPECT_EQ(px(2, 0, 0)[0], 0x1200);
    EXPECT_EQ(px(2, 0, 0)[3], 0xFF00);
    EXPECT_EQ(px(2, 1, 0)[3], 0xFFFF);  // alpha 0 leaves the layer
    EXPECT_FALSE(mergeBufferIntoLayer(engine(), nullptr, engine().layers.slots[2], 0, 255, false));
}

// ---- Golden results -----------------------------------------------------------------------
// Every blend mode rendered (at the three view mappings) and merged on a small fixed page,
// hashed and compared with tests/data/blend_golden.txt. A mode without a reference fails.
// ORV_UPDATE_GOLDEN=1 rewrites the table so a change of results is reviewed as a diff.

namespace {
uint64_t fnv(const void* data, size_t n, uint64_t h = 1469598103934665603ull) {
    const auto* b = static_cast<const uint8_t*>(data);
    for (size_t i = 0; i < n; ++i) h = (h ^ b[i]) * 1099511628211ull;
    return h;
}
}  // namespace

TEST_F(Page, EveryBlendModeMatchesItsGoldenHash) {
    layer(1);
    layer(2);
    layer(3);
    std::mt19937 g(7);
    for (int slot = 1; slot <= 3; ++slot) randomise(slot, g);
    ORV_SetLayer(2);
    ORV_SetLayerOptions(2, 1, 0, 80, "Overlay");
    const std::string path = std::string(ORV_TEST_DATA_DIR) + "/blend_golden.txt";
    std::map<int, std::string> golden;
    if (FILE* f = std::fopen(path.c_str(), "r")) {
        char line[128];
        while (std::fgets(line, sizeof line, f)) {
            int id;
            char hash[64];
            if (std::sscanf(line, "%d %63s", &id, hash) == 2) golden[id] = hash;
        }
        std::fclose(f);
    }
    std::map<int, std::string> now;
    for (int id = 0; id < kBlendModeCount; ++id) {
        LayerRecord& top = engine().layers.slots[3];
        top.blendMode = id;
        top.opacity = 200;
        uint64_t h = 1469598103934665603ull;
        const struct { int scale; float zoom; int w, h; } views[] = {{1, 1.0f, W, H}, {2, 1.0f, 2 * W, 2 * H}, {1, 1.6f, 43, 28}};
        for (auto v : views) {
            ORV_SetScale(v.scale, v.zoom);
            std::vector<uint8_t> out(static_cast<size_t>(v.w) * v.h * 3);
            ORV_Render(out.data(), v.w * 3, 0, 0, W, H);
            h = fnv(out.data(), out.size(), h);
        }
        std::vector<uint16_t> dst(W * H * 4);
        std::memcpy(dst.data(), px(2, 0, 0), dst.size() * 2);
        MergeParams p;
        p.src = px(3, 0, 0), p.dst = dst.data(), p.width = W, p.height = H;
        p.srcStride = p.dstStride = W * 4, p.srcLength = p.dstLength = dst.size();
        p.mode = id, p.opacity = 200;
        mergeBuffer(p);
        h = fnv(dst.data(), dst.size() * 2, h);
        char hex[32];
        std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(h));
        now[id] = hex;
        const char* name = blendModeName(id);
        if (!std::getenv("ORV_UPDATE_GOLDEN")) {
            ASSERT_TRUE(golden.count(id)) << "no reference for mode " << id;
            EXPECT_EQ(golden[id], now[id]) << "mode " << id << " " << (name ? name : "(unnamed)");
        }
    }
    if (std::getenv("ORV_UPDATE_GOLDEN")) {
        FILE* f = std::fopen(path.c_str(), "w");
        ASSERT_NE(f, nullptr);
        for (const auto& [id, hash] : now) {
            const char* name = blendModeName(id);
            std::fprintf(f, "%d %s %s\n", id, hash.c_str(), name ? name : "-");
        }
        std::fclose(f);
    }
}
