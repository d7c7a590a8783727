// The shipped brush shapes and paper grains read as sources and build shapes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "engine/engine_state.h"
#include "imaging/image_script.h"
#include "orvcore.h"

using namespace orv;
namespace fs = std::filesystem;

namespace {
fs::path dataDir() { return fs::path(ORV_TEST_DATA_DIR).parent_path().parent_path() / "data"; }
}  // namespace

TEST(ShippedData, EverySourceReadsAndIsNotFlat) {
    const struct { const char* folder; int minSide; } rows[] = {{"brushes", 64}, {"grains", 256}};
    for (const auto& r : rows) {
        int files = 0;
        for (const auto& entry : fs::directory_iterator(dataDir() / r.folder)) {
            const std::string path = entry.path().string();
            RgbaImage img;
            const SourceRead got = readImageSource(path.c_str(), img);
            EXPECT_TRUE(got == SourceRead::Script || got == SourceRead::File) << path;
            EXPECT_EQ(got == SourceRead::Script, entry.path().extension() == ".imgscript") << path;
            EXPECT_GE(std::min(img.width, img.height), r.minSide) << path;
            const auto [lo, hi] = std::minmax_element(img.rgba.begin(), img.rgba.end());
            EXPECT_GT(*hi - *lo, 100) << path;
            ++files;
        }
        EXPECT_GE(files, 4) << r.folder;
    }
}

TEST(ShippedData, TurnedFlatBrushRunsFromTopLeftToBottomRight) {
    ORV_CreateImage(nullptr, 40, 30, 64, 0);
    engine().brush.settings = BrushSettings{};
    engine().brush.settings.brushSize = 40;
    const std::string path = (dataDir() / "brushes" / "flat_45.imgscript").string();
    ORV_SetBrushShape(path.c_str(), 0);
    auto at = [](int r, int c) { return engine().brush.shapeBuffer[static_cast<size_t>(r) * 64 + c]; };
    EXPECT_GT(at(20, 20), 60000);
    EXPECT_GT(at(8, 8), 30000);
    EXPECT_GT(at(31, 31), 30000);
    EXPECT_EQ(at(8, 31), 0);
    EXPECT_EQ(at(31, 8), 0);
    // A further quarter turn by the shape angle swaps the diagonals.
    ORV_SetBrushShape(path.c_str(), 90);
    EXPECT_EQ(at(8, 8), 0);
    EXPECT_GT(at(8, 31), 30000);
    ORV_DeleteImage();
}

TEST(ShippedData, ToolTakesShippedGrainsAndShapes) {
    ORV_CreateImage(nullptr, 40, 30, 64, 0);
    ORV_SetRandomSeed(7);
    ORV_SetSize(32);
    const std::string shape = (dataDir() / "brushes" / "diamond.imgscript").string();
    for (const char* grain : {"canvas.png", "laid_vertical.imgscript", "rough_coarse.imgscript"}) {
        const std::string paper = (dataDir() / "grains" / grain).string();
        engine().brush.gritMaps[0].fillBytes(255);
        ORV_SetTool(1.0f, 4, 0, 0, 0, 0, 5, 0, 0, 0, 0, 0, 0, paper.c_str(), shape.c_str(), 0);
        // The grain fills the (S + 25)-square window of every pattern with its grey levels.
        const auto& g = engine().brush.gritMaps[0];
        int distinct[256] = {};
        for (int r = 0; r < 57; ++r)
            for (int c = 0; c < 57; ++c) distinct[g[static_cast<size_t>(r) * 64 + c]] = 1;
        int levels = 0;
        for (int v : distinct) levels += v;
        EXPECT_GT(levels, 20) << grain;
        EXPECT_EQ(engine().brush.settings.drawingLength, 5) << grain;
        // The diamond shape from its script: empty corners, full middle.
        EXPECT_EQ(engine().brush.shapeBuffer[0], 0) << grain;
        EXPECT_EQ(engine().brush.shapeBuffer[16 * 64 + 16], 65280) << grain;
    }
    ORV_DeleteImage();
}
