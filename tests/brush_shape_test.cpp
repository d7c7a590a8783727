// Brush shapes (round shape, image scripts, image files, the source cache) and blob layers.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "brush/shape.h"
#include "engine/engine_state.h"
#include "orvcore.h"

using namespace orv;
namespace fs = std::filesystem;

namespace {

constexpr int kMax = 32;

struct ShapeFixture : ::testing::Test {
    fs::path dir;
    void SetUp() override {
        ORV_CreateImage(nullptr, 40, 30, kMax, 0);
        auto& st = engine().brush.settings;
        st = BrushSettings{};
        st.brushSize = 10;
        dir = fs::path(::testing::TempDir()) / ("orv_shape_" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override {
        ORV_DeleteImage();
        fs::remove_all(dir);
    }
    uint16_t at(int row, int col) const { return engine().brush.shapeBuffer[static_cast<size_t>(row) * kMax + col]; }
    std::string write(const std::string& name, const std::string& text) const {
        const fs::path p = dir / name;
        std::ofstream(p, std::ios::binary) << text;
        return p.string();
    }
    // Everything outside the top-left size x size square is 0.
    void expectCleared(int size) const {
        for (int r = 0; r < kMax; ++r)
            for (int c = 0; c < kMax; ++c)
                if (r >= size || c >= size) {
                    ASSERT_EQ(at(r, c), 0) << r << "," << c;
                }
    }
};

constexpr const char* kWhiteSquare =
    "orv-image-script 1\n"
    "size 16 16\n"
    "fill 255 255 255 255\n";
constexpr const char* kWhiteDiamond =
    "orv-image-script 1\n"
    "# a white square turned by 45 degrees\n"
    "size 16 16\n"
    "fill 255 255 255 255\n"
    "effect 51 3=45 4=100\n";

}  // namespace

TEST_F(ShapeFixture, RoundShapeTable) {
    auto& st = engine().brush.settings;
    // S 10: centre (5, 5), radius 5; soft 255 falls linearly by 65535/5 per unit of distance.
    const struct {
        uint8_t soft, invert;
        float intensity;
        int row, col;
        uint16_t want;
    } rows[] = {
        {0, 0, 1.0f, 5, 5, 65535},   {0, 0, 1.0f, 5, 0, 65535},  // distance 5 = radius is inside
        {0, 0, 1.0f, 1, 1, 65535},   {0, 0, 1.0f, 1, 0, 0},      // trunc(sqrt 32) = 5 in, trunc(sqrt 41) = 6 out
        {0, 0, 0.5f, 5, 5, 32767},   {0, 0, 2.0f, 5, 5, 65535},  // intensity above 1 is limited
        {255, 0, 1.0f, 5, 5, 65535}, {255, 0, 1.0f, 5, 6, 52428}, {255, 0, 1.0f, 5, 8, 26214},
        {255, 0, 1.0f, 5, 0, 0},     {0, 1, 1.0f, 5, 5, 0},      {0, 1, 1.0f, 0, 0, 0},
        {255, 1, 1.0f, 5, 8, 39321}, {255, 1, 1.0f, 5, 5, 0},
    };
    for (const auto& r : rows) {
        st.edgeSoftness = r.soft;
        st.invertShape = r.invert;
        st.shapeIntensity = r.intensity;
        ORV_SetBrushShape("", 0);
        EXPECT_EQ(at(r.row, r.col), r.want) << "soft " << int(r.soft) << " invert " << int(r.invert) << " intensity "
                                            << r.intensity << " at " << r.row << "," << r.col;
        expectCleared(10);
    }
}

TEST_F(ShapeFixture, SizeBeyondTheBufferIsDrawnAtTheBufferEdge) {
    engine().brush.settings.brushSize = 1000;
    ORV_SetBrushShape(nullptr, 0);
    EXPECT_EQ(at(16, 16), 65535);
    EXPECT_EQ(at(0, 0), 0);
}

TEST_F(ShapeFixture, ScriptShapeIsSizedTurnedAndCached) {
    auto& st = engine().brush.settings;
    st.gritRepeat = 7;
    const std::string square = write("square.txt", kWhiteSquare);
    const std::string diamond = write("diamond.txt", kWhiteDiamond);
    ORV_SetBrushShape(square.c_str(), 0);
    // The white square covers the whole brush at 255 x 256.
    EXPECT_EQ(at(0, 0), 65280);
    EXPECT_EQ(at(9, 9), 65280);
    EXPECT_EQ(st.drawingLength, 7);
    expectCleared(10);

    // Turned by the request's angle or by the script's own effect: a diamond, corners empty.
    for (const auto& [path, angle] : {std::pair{square, 45}, std::pair{diamond, 0}}) {
        ORV_SetBrushShape(path.c_str(), angle);
        EXPECT_EQ(at(0, 0), 0) << path << " " << angle;
        EXPECT_EQ(at(9, 0), 0) << path << " " << angle;
        EXPECT_EQ(at(5, 5), 65280) << path << " " << angle;
        EXPECT_EQ(at(5, 0), 65280) << path << " " << angle;
    }

    // Same path and angle: served from the cache even with the file gone, sized to the new S.
    fs::remove(diamond);
    st.brushSize = 20;
    st.shapeIntensity = 0.5f;
    ORV_SetBrushShape(diamond.c_str(), 0);
    EXPECT_EQ(at(10, 10), 32640);
    EXPECT_EQ(at(0, 0), 0);
    expectCleared(20);
    // The round shape leaves the cache alone; the cached image is still used afterwards.
    ORV_SetBrushShape("", 0);
    EXPECT_EQ(at(0, 10), 32767);
    ORV_SetBrushShape(diamond.c_str(), 0);
    EXPECT_EQ(at(0, 0), 0);
    EXPECT_EQ(at(10, 10), 32640);
    // Another angle for the missing file: the round shape.
    ORV_SetBrushShape(diamond.c_str(), 10);
    EXPECT_EQ(at(0, 10), 32767);
    EXPECT_EQ(at(0, 0), 0);
}

TEST_F(ShapeFixture, UnusableSourcesGiveTheRoundShape) {
    const std::string bad = write("bad.txt", "orv-image-script 1\nsize 8 8\neffect 9999\n");
    const std::string junk = write("junk.bin", std::string("\x89PNG\r\n\x1a\n garbage", 17));
    const std::string script = write("ok.txt", kWhiteDiamond);
    const std::string missing = (dir / "missing.png").string();
    const std::string tooLong = dir.string() + "/" + std::string(1100, 'a');
    struct Row { const char* what; std::string path; bool original; } rows[] = {
        {"unknown effect", bad, false},   {"not an image", junk, false}, {"missing", missing, false},
        {"path too long", tooLong, false}, {"file-only reads no scripts", script, true},
        {"a directory", dir.string(), false},
    };
    for (const auto& r : rows) {
        engine().brush.shapeSourceImage.release();
        if (r.original) ORV_SetBrushShape_ORIGINAL(r.path.c_str(), 0);
        else ORV_SetBrushShape(r.path.c_str(), 0);
        EXPECT_EQ(at(0, 0), 0) << r.what;
        EXPECT_EQ(at(0, 5), 65535) << r.what;
        EXPECT_EQ(at(5, 5), 65535) << r.what;
    }
}

TEST_F(ShapeFixture, NoPageDoesNothing) {
    ORV_DeleteImage();
    ORV_SetBrushShape("", 0);
    ORV_SetBrushShape("/nonexistent/shape.png", 30);
    EXPECT_FALSE(engine().brush.shapeBuffer);
}

TEST_F(ShapeFixture, BlobFromImage) {
    ASSERT_EQ(ORV_CreateLayer(2, 2, 2), 1);
    // Pixels: opaque light, dark with low alpha, a mid colour, transparent.
    const std::vector<uint16_t> px = {65280, 65280, 65280, 65535, 0, 0, 0, 8191, 10000, 20000, 30000, 9000, 0, 0, 0, 0};
    ORV_SetLayerData(px.data(), 2);  // page 40 x 30: write through the layer record instead
    auto& rec = engine().layers.slots[2];
    for (size_t i = 0; i < px.size(); ++i) rec.pixels[(i / 8) * rec.stride + i % 8] = px[i];

    ORV_CreateBlobFromImage(2, 0);
    auto pixel = [&](int i) {
        const uint16_t* p = rec.pixels.data() + (i / 2) * rec.stride + (i % 2) * 4;
        return std::vector<uint16_t>(p, p + 4);
    };
    EXPECT_EQ(pixel(0), (std::vector<uint16_t>{32767, 32767, 32767, 65270}));
    EXPECT_EQ(pixel(1), (std::vector<uint16_t>{32767, 32767, 32767, 8191}));
    EXPECT_EQ(pixel(2), (std::vector<uint16_t>{32767, 32767, 32767, 27099}));

    for (size_t i = 0; i < px.size(); ++i) rec.pixels[(i / 8) * rec.stride + i % 8] = px[i];
    rec.pixels[0] = rec.pixels[1] = rec.pixels[2] = 65535;
    ORV_CreateBlobFromImage(2, 1);
    EXPECT_EQ(pixel(0), (std::vector<uint16_t>{32766, 32766, 32766, 65485}));  // lowered toward the middle
    EXPECT_EQ(pixel(1), (std::vector<uint16_t>{32767, 32767, 32767, 8191}));   // lifted by half
    EXPECT_EQ(pixel(2), (std::vector<uint16_t>{20819, 28870, 36922, 27099}));
    EXPECT_EQ(pixel(3), (std::vector<uint16_t>{32767, 32767, 32767, 0}));

    ORV_CreateBlobFromImage(7, 0);   // empty slot
    ORV_CreateBlobFromImage(-1, 0);  // invalid slot
}

TEST_F(ShapeFixture, FileOnlyVariantRoundsTheSoftWidthToFloat) {
    auto& st = engine().brush.settings;
    st.brushSize = 5;
    st.edgeSoftness = 85;  // soft width 2.5 x 85 / 255: the float and the double differ in the last step
    ORV_SetBrushShape("", 0);
    EXPECT_EQ(at(2, 4), 39320);
    ORV_SetBrushShape_ORIGINAL("", 0);
    EXPECT_EQ(at(2, 4), 39321);
}

TEST_F(ShapeFixture, ImageValuesAboveFullCoverageAreLimited) {
    auto& st = engine().brush.settings;
    const std::string square = write("square.txt", kWhiteSquare);
    const struct { float intensity; uint16_t want; } rows[] = {{1.0f, 65280}, {1.004f, 65535}, {3.0f, 65535}, {-1.0f, 0}};
    for (const auto& r : rows) {
        st.shapeIntensity = r.intensity;
        ORV_SetBrushShape(square.c_str(), 0);
        EXPECT_EQ(at(4, 4), r.want) << r.intensity;
    }
}
