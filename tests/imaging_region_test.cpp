// Region growing, flood fill, colour replacement, filled shapes and the unused-colour search
// on 8-bit images.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <random>
#include <vector>

#include "imaging/region_fill.h"
#include "imaging/shapes.h"
#include "imaging/unused_color.h"

using namespace orv;

namespace {

struct Img {
    int w, h, bpp;
    std::vector<uint8_t> px;
    Img(int w_, int h_, int bpp_, uint8_t fill = 0) : w(w_), h(h_), bpp(bpp_), px(size_t(w_) * h_ * bpp_, fill) {}
    ImageView view() { return ImageView::packed(px.data(), w, h, bpp); }
    uint8_t* at(int x, int y) { return &px[(size_t(y) * w + x) * bpp]; }
    void set(int x, int y, uint8_t r, uint8_t g = 0, uint8_t b = 0) {
        uint8_t* p = at(x, y);
        p[0] = r;
        if (bpp >= 3) p[1] = g, p[2] = b;
    }
};

// The plain breadth-first region: 8 neighbours, squared RGB distance to the seed colour.
std::vector<uint8_t> referenceRegion(Img& img, int sx, int sy, uint32_t tol) {
    std::vector<uint8_t> map(size_t(img.w) * img.h, 0);
    ImageView v = img.view();
    Color8 ref = colorAt(v, sx, sy);
    std::deque<std::pair<int, int>> q{{sx, sy}};
    map[size_t(sy) * img.w + sx] = 1;
    while (!q.empty()) {
        auto [x, y] = q.front();
        q.pop_front();
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                int nx = x + dx, ny = y + dy;
                if (!v.contains(nx, ny) || map[size_t(ny) * img.w + nx]) continue;
                if (colorDistanceSq(v.pixel(nx, ny), img.bpp, ref) > tol) continue;
                map[size_t(ny) * img.w + nx] = 1;
                q.push_back({nx, ny});
            }
    }
    return map;
}

}  // namespace

TEST(RegionFill, MatchesBreadthFirstReferenceOnRandomImages) {
    std::mt19937 rng(7);
    for (int bpp : {1, 3, 4}) {
        for (int trial = 0; trial < 20; ++trial) {
            Img img(37, 23, bpp);
            // Few distinct values so that regions are large and irregular.
            for (auto& b : img.px) b = static_cast<uint8_t>((rng() % 3) * 20);
            const uint32_t tol = (trial % 4) * 1200;
            const int sx = rng() % img.w, sy = rng() % img.h;
            std::vector<uint8_t> map(size_t(img.w) * img.h, 9);
            size_t n = colorMatchMap(img.view(), sx, sy, tol, ByteMap{map.data(), img.w});
            auto ref = referenceRegion(img, sx, sy, tol);
            ASSERT_EQ(map, ref) << "bpp " << bpp << " trial " << trial;
            ASSERT_EQ(n, size_t(std::count(ref.begin(), ref.end(), 1)));
        }
    }
}

TEST(RegionFill, DiagonalsConnectAndToleranceIsInclusive) {
    Img img(5, 5, 3, 255);
    img.set(0, 0, 0), img.set(1, 1, 0), img.set(2, 2, 10);  // diagonal chain; (2,2) at distance 100
    std::vector<uint8_t> map(25);
    EXPECT_EQ(colorMatchMap(img.view(), 0, 0, 100, ByteMap{map.data(), 5}), 3u);
    EXPECT_EQ(map[12], 1);
    EXPECT_EQ(colorMatchMap(img.view(), 0, 0, 99, ByteMap{map.data(), 5}), 2u);
    EXPECT_EQ(map[12], 0);
    EXPECT_EQ(colorMatchMap(img.view(), 5, 0, 99, ByteMap{map.data(), 5}), 0u);   // seed outside
    EXPECT_EQ(colorMatchMap(img.view(), 0, -1, 99, ByteMap{map.data(), 5}), 0u);
}

TEST(RegionFill, SerpentineRegionsNeedNoRecursion) {
    // Walls on every odd row (or column) with a gap alternating between the ends: one path
    // snakes through the whole image, across rows and across columns.
    for (bool transposed : {false, true}) {
        const int along = 1500, across = 3001;
        const int w = transposed ? across : along, h = transposed ? along : across;
        Img img(w, h, 1, 0);
        size_t walls = 0;
        for (int i = 1; i < across; i += 2)
            for (int j = 0; j < along; ++j) {
                if (j == ((i / 2) % 2 ? 0 : along - 1)) continue;
                transposed ? img.set(i, j, 255) : img.set(j, i, 255);
                ++walls;
            }
        std::vector<uint8_t> map(size_t(w) * h);
        EXPECT_EQ(colorMatchMap(img.view(), 0, 0, 0, ByteMap{map.data(), w}), size_t(w) * h - walls) << transposed;
        EXPECT_EQ(map.back(), 1) << transposed;
    }
}

TEST(RegionFill, FloodFillPaintsRegionEvenWhenFillMatches) {
    Img img(6, 1, 4, 0);
    for (int x = 0; x < 6; ++x) img.at(x, 0)[3] = 7;
    img.set(3, 0, 200, 200, 200);
    // The fill colour lies within the tolerance; the region is found first, so it stops at
    // the barrier.
    EXPECT_EQ(floodFill(img.view(), 0, 0, Color8{1, 2, 3, 99}, 30), 3u);
    EXPECT_EQ(img.at(2, 0)[0], 1);
    EXPECT_EQ(img.at(2, 0)[3], 99);
    EXPECT_EQ(img.at(4, 0)[0], 0);
    EXPECT_EQ(img.at(4, 0)[3], 7);
}

TEST(RegionFill, ReplaceColorWithinDistanceKeepsAlphaUnlessAsked) {
    Img img(3, 1, 4, 50);
    img.set(0, 0, 10, 10, 10);
    img.set(1, 0, 13, 14, 10);  // distance 9 + 16 = 25
    img.set(2, 0, 13, 15, 10);  // 9 + 25 = 34
    EXPECT_EQ(replaceColor(img.view(), {10, 10, 10, 0}, {1, 2, 3, 4}, 25), 2u);
    EXPECT_EQ(img.at(1, 0)[1], 2);
    EXPECT_EQ(img.at(1, 0)[3], 50);
    EXPECT_EQ(img.at(2, 0)[0], 13);
    EXPECT_EQ(replaceColor(img.view(), {1, 2, 3, 0}, {9, 9, 9, 4}, 0, true), 2u);
    EXPECT_EQ(img.at(0, 0)[3], 4);
}

TEST(Shapes, EllipseMatchesInsideTestAndClips) {
    const struct { int cx, cy, rx, ry; } rows[] = {{10, 8, 5, 3}, {0, 0, 7, 7}, {18, 14, 2, 2}, {10, 8, 0, 4}, {10, 8, 6, 0}, {-3, 5, 9, 20}};
    for (auto r : rows) {
        Img img(20, 16, 3, 0);
        fillEllipse(img.view(), r.cx, r.cy, r.rx, r.ry, Color8{9, 8, 7, 255});
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 20; ++x) {
                long long dx = x - r.cx, dy = y - r.cy;
                bool inside = (r.rx == 0 || r.ry == 0)
                                  ? (r.rx == 0 ? dx == 0 && std::llabs(dy) <= r.ry : dy == 0 && std::llabs(dx) <= r.rx)
                                  : dx * dx * r.ry * r.ry + dy * dy * r.rx * r.rx <= 1LL * r.rx * r.rx * r.ry * r.ry;
                ASSERT_EQ(img.at(x, y)[0] == 9, inside) << r.cx << "," << r.cy << " r " << r.rx << "," << r.ry << " at " << x << "," << y;
                if (inside) {
                    ASSERT_EQ(img.at(x, y)[2], 7);
                }
            }
    }
    Img huge(4, 4, 1, 0);
    fillEllipse(huge.view(), 2, 2, 2000000000, 2000000000, Color8::grey(5));
    EXPECT_EQ(std::count(huge.px.begin(), huge.px.end(), 5), 16);
}

TEST(Shapes, RectangleIncludesBothCornersOnEveryForm) {
    for (int bpp : {1, 3, 4}) {
        Img img(6, 5, bpp, 0);
        fillRectangle(img.view(), -2, 1, 3, 9, Color8{1, 2, 3, 4});
        size_t painted = 0;
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 6; ++x) painted += img.at(x, y)[0] == 1;
        EXPECT_EQ(painted, 4u * 4u) << bpp;  // columns 0..3, rows 1..4
        EXPECT_EQ(img.at(3, 4)[bpp - 1], bpp == 1 ? 1 : bpp == 3 ? 3 : 4);
        fillRectangle(img.view(), 3, 0, 2, 0, Color8{9, 9, 9, 9});  // right < left
        EXPECT_EQ(img.at(2, 0)[0], 0);
    }
}

TEST(UnusedColor, FirstFreeValueWithBlueSlowestAndAlphaIgnored) {
    Img img(4, 1, 4, 0);
    img.set(0, 0, 0, 0, 0), img.set(1, 0, 1, 0, 0), img.set(2, 0, 3, 0, 0), img.set(3, 0, 2, 0, 0);
    img.at(3, 0)[3] = 200;
    EXPECT_EQ(findUnusedColor(img.view()), 4u);
    Img rgb(2, 1, 3, 0);
    rgb.set(1, 0, 1, 0, 0);
    EXPECT_EQ(findUnusedColor(rgb.view()), 2u);
    Img grey(2, 1, 1, 0);
    EXPECT_EQ(findUnusedColor(grey.view()), std::nullopt);
}

TEST(UnusedColor, PageUsingEveryColourHasNone) {
    Img img(4096, 4096, 4, 255);
    for (uint32_t v = 0; v < (1u << 24); ++v) {
        uint8_t* p = &img.px[size_t(v) * 4];
        p[0] = uint8_t(v), p[1] = uint8_t(v >> 8), p[2] = uint8_t(v >> 16);
    }
    EXPECT_EQ(findUnusedColor(img.view()), std::nullopt);
    const uint32_t missing = 0x00ABCDEF;
    img.px[size_t(missing) * 4] ^= 1;  // this pixel becomes 0xABCDEE, which occurs twice now
    EXPECT_EQ(findUnusedColor(img.view()), missing);
}
