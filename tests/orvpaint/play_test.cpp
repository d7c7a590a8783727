// Playing scripts onto the engine's page, and the commands' behaviour on success and failure.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "commands.h"
#include "orvcore.h"
#include "paint_script.h"
#include "player.h"

using namespace orvpaint;

namespace {

const char* kHeader = "1554\nDescription\n1\n \nRandomSeed\n7\n";

struct Played {
    bool ok = false;
    std::string error;
    int32_t w = 0, h = 0;
    std::vector<uint16_t> page;
    // 8-bit red, green, blue of the flattened page at (x, y).
    std::vector<int> rgb(int x, int y) const {
        const size_t i = (static_cast<size_t>(y) * w + x) * 4;
        return {page[i] >> 8, page[i + 1] >> 8, page[i + 2] >> 8};
    }
};

Played play(const std::string& body, int w = 100, int h = 60) {
    Played p;
    Script s;
    if (!parseScript(kHeader + body + "ScriptEnd\n", s, p.error)) return p;
    PlayOptions opt;
    opt.width = w;
    opt.height = h;
    opt.sizeGiven = true;
    p.ok = playScript(s, opt, p.w, p.h, p.error);
    if (p.ok) {
        p.page.assign(static_cast<size_t>(p.w) * p.h * 4, 0);
        ORV_Merge(p.page.data());
    }
    ORV_DeleteImage();
    return p;
}

std::string tempPath(const char* name) { return "/tmp/orvpaint-test-" + std::to_string(getpid()) + "-" + name; }

bool exists(const std::string& p) { return std::ifstream(p).good(); }

}  // namespace

TEST(Play, DabAndStrokePaintWhereTheyAre) {
    Played p = play(
        "SelectBrush\n0\n10\n100\nSetColor\n255\n0\n0\nDab\n20\n20\n1\n"
        "SetColor\n0\n0\n255\nDrawStart\n0\n0\n-1\nSmoothPlot2\n0\n0\n0\n1\n0\n"
        "SmoothPlot2\n10\n45\n1\n0\n0\nSmoothPlot2\n90\n45\n1\n0\n0\nSmoothPlot2\n0\n0\n0\n0\n1\nDrawStop\n1\n");
    ASSERT_TRUE(p.ok) << p.error;
    // Overlapping dabs of the over rule may truncate a full channel to 254.
    const auto near = [](std::vector<int> got, std::vector<int> want) {
        for (int c = 0; c < 3; ++c)
            if (std::abs(got[c] - want[c]) > 1) return false;
        return true;
    };
    EXPECT_TRUE(near(p.rgb(20, 20), {255, 0, 0}));
    EXPECT_TRUE(near(p.rgb(50, 45), {0, 0, 255}));
    EXPECT_EQ(p.rgb(80, 10), (std::vector<int>{255, 255, 255}));
    EXPECT_EQ(p.rgb(50, 20), (std::vector<int>{255, 255, 255}));
}

TEST(Play, EveryRecordKindPlays) {
    std::string filter = "Filter\nBlur\n";
    for (int i = 0; i < 19; ++i) filter += "0\n";
    Played p = play("Layer\n3\n1\n80\nMultiply\nMaskRect\n0\n0\n50\n30\n100\nSelectBrush\n2\n0\n0\n"
                    "SetBrushSize\n12\nSetBrushDensity\n200\nSetBrushOpacity\n90\nSetColor\n10\n200\n30\n"
                    "SetColorBanks\n0\n1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12\nLine2\n5\n5\n95\n55\n"
                    "MaskAll\nSpline\n5\n50\n50\n5\n95\n50\n1\n0.5\nSelectBrush\n3\n0\n0\nDab\n40\n30\n0.7\n"
                    "SelectBrush\n6\n0\n0\nDab\n50\n30\n1\n" + filter);
    EXPECT_TRUE(p.ok) << p.error;
}

TEST(Play, BadValuesReportTheirLine) {
    const struct {
        const char* body;
        const char* error;
    } rows[] = {
        {"SelectBrush\n99\n0\n0\n", "7: no brush number 99"},
        {"SetBrushSize\n100000\n", "7: SetBrushSize value 100000 is outside"},
        {"SetColor\n300\n0\n0\n", "7: colour value 300 is outside"},
        {"Dab\n1e300\n5\n1\n", "7: position out of range"},
        {"Layer\n64\n1\n100\nNormal\n", "7: Layer needs"},
    };
    for (const auto& r : rows) {
        Played p = play(r.body);
        EXPECT_FALSE(p.ok) << r.body;
        EXPECT_EQ(p.error.rfind(r.error, 0), 0u) << "got: " << p.error << "\nwanted: " << r.error;
    }
}

TEST(Commands, FailureWritesNothingAndSuccessWritesThePicture) {
    const std::string script = tempPath("bad.srp"), out = tempPath("bad.png");
    std::ofstream(script) << kHeader << "Dab\n1\n";
    EXPECT_NE(cmdPlay({script, "-o", out}), 0);
    EXPECT_FALSE(exists(out));
    EXPECT_NE(cmdPlay({script, "--size", "20000x5"}), 0);
    EXPECT_NE(cmdPlay({"/nonexistent/script.srp"}), 0);
    std::remove(script.c_str());

    const std::string demo = tempPath("demo.png");
    ASSERT_EQ(cmdDemo({"-o", demo}), 0);
    ASSERT_EQ(ORV_ReadFromFile(demo.c_str()), 1);
    EXPECT_EQ(ORV_GetNewRGBAWidth(), 640);
    EXPECT_EQ(ORV_GetNewRGBAHeight(), 400);
    ORV_DeleteNewRGBA();

    const std::string composed = tempPath("composed.png");
    EXPECT_EQ(cmdCompose({"-o", composed, demo, demo + ":Multiply:50"}), 0);
    EXPECT_EQ(cmdInfo({composed}), 0);
    EXPECT_NE(cmdCompose({"-o", composed, demo + ":Normal:150"}), 0);
    std::remove(demo.c_str());
    std::remove(composed.c_str());
}
