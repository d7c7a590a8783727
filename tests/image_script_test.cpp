// Image scripts: the file format, the effect registry, rotation and resizing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "imaging/codecs/byte_io.h"
#include "imaging/codecs/codec.h"
#include "imaging/image_script.h"
#include "imaging/rotate.h"

using namespace orv;
namespace fs = std::filesystem;

namespace {

RgbaImage solid(int w, int h, std::array<uint8_t, 4> c) {
    RgbaImage img;
    img.resize(w, h);
    for (size_t i = 0; i < img.rgba.size(); ++i) img.rgba[i] = c[i % 4];
    return img;
}

std::array<uint8_t, 4> px(const RgbaImage& img, int x, int y) {
    const uint8_t* p = img.row(y) + x * 4;
    return {p[0], p[1], p[2], p[3]};
}

void setPx(RgbaImage& img, int x, int y, std::array<uint8_t, 4> c) {
    uint8_t* p = img.row(y) + x * 4;
    for (int i = 0; i < 4; ++i) p[i] = c[i];
}

struct TempDir {
    fs::path path = fs::path(::testing::TempDir()) / ("orv_script_" + std::to_string(::getpid()));
    TempDir() { fs::create_directories(path); }
    ~TempDir() { fs::remove_all(path); }
    std::string write(const std::string& name, const std::string& text) const {
        std::ofstream(path / name, std::ios::binary) << text;
        return (path / name).string();
    }
};

}  // namespace

TEST(ImageScriptFormat, RefusesMalformedScripts) {
    const struct { const char* why; std::string text; } rows[] = {
        {"empty", ""},
        {"no first line", "size 4 4\n"},
        {"wrong version", "orv-image-script 2\nsize 4 4\n"},
        {"no size", "orv-image-script 1\nfill 1 2 3 4\n"},
        {"size twice", "orv-image-script 1\nsize 4 4\nsize 4 4\n"},
        {"size zero", "orv-image-script 1\nsize 0 4\n"},
        {"size too large", "orv-image-script 1\nsize 4 10001\n"},
        {"size junk", "orv-image-script 1\nsize 4 4x\n"},
        {"size extra", "orv-image-script 1\nsize 4 4 4\n"},
        {"fill range", "orv-image-script 1\nsize 4 4\nfill 0 0 256 0\n"},
        {"fill short", "orv-image-script 1\nsize 4 4\nfill 0 0 0\n"},
        {"fill and source", "orv-image-script 1\nsize 4 4\nfill 0 0 0 0\nsource a.png\n"},
        {"source without path", "orv-image-script 1\nsize 4 4\nsource\n"},
        {"unknown keyword", "orv-image-script 1\nsize 4 4\nblur 3\n"},
        {"unknown effect", "orv-image-script 1\nsize 4 4\neffect 50\n"},
        {"effect without id", "orv-image-script 1\nsize 4 4\neffect\n"},
        {"value syntax", "orv-image-script 1\nsize 4 4\neffect 51 3:45\n"},
        {"value index", "orv-image-script 1\nsize 4 4\neffect 51 32=1\n"},
        {"value overflow", "orv-image-script 1\nsize 4 4\neffect 51 3=99999999999\n"},
    };
    for (const auto& r : rows) {
        ImageScript s;
        std::string error;
        EXPECT_FALSE(parseImageScript(r.text, "", s, &error)) << r.why;
        EXPECT_EQ(s.width, 0) << r.why;
    }
    std::string many = "orv-image-script 1\nsize 4 4\n";
    for (int i = 0; i < 257; ++i) many += "effect 51\n";
    ImageScript s;
    EXPECT_FALSE(parseImageScript(many, "", s));
}

TEST(ImageScriptFormat, ReadsEveryStatement) {
    ImageScript s;
    std::string error;
    ASSERT_TRUE(parseImageScript("# leading comment\r\n\r\n  orv-image-script\t1\r\n"
                                 "size 30 20  \r\n"
                                 "source pics/base image.png\r\n"
                                 "effect 51 3=-45 4=100\n"
                                 "effect 51\n",
                                 "/scripts", s, &error))
        << error;
    EXPECT_EQ(s.width, 30);
    EXPECT_EQ(s.height, 20);
    EXPECT_EQ(s.source, "/scripts/pics/base image.png");
    ASSERT_EQ(s.effects.size(), 2u);
    EXPECT_EQ(s.effects[0].id, 51);
    EXPECT_EQ(s.effects[0].value(3, 0), -45);
    EXPECT_EQ(s.effects[0].value(4, 0), 100);
    EXPECT_EQ(s.effects[1].value(3, 7), 7) << "unset values take the default";
    ASSERT_TRUE(parseImageScript("orv-image-script 1\nsize 1 1\nsource /abs/a.png\n", "/scripts", s));
    EXPECT_EQ(s.source, "/abs/a.png");
}

TEST(ImageScriptFiles, RenderFillSourceAndEffects) {
    TempDir dir;
    // A 2 x 2 base picture: red, green / blue, white, written as PNG beside the scripts.
    const uint8_t rgb[] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
    FileSink sink((dir.path / "base.png").string().c_str());
    EncodeParams p;
    p.width = p.height = 2;
    ASSERT_TRUE(encodeWithRows(startPngRows, false, rgb, p, sink));
    ASSERT_TRUE(sink.close());

    RgbaImage out;
    const std::string fill = dir.write("fill.txt", "orv-image-script 1\nsize 3 2\nfill 10 20 30 40\n");
    ASSERT_EQ(readImageSource(fill.c_str(), out), SourceRead::Script);
    EXPECT_EQ(out.width, 3);
    EXPECT_EQ(out.height, 2);
    EXPECT_EQ(px(out, 2, 1), (std::array<uint8_t, 4>{10, 20, 30, 40}));

    // Same size: the picture as it is; turned by 180: the white corner moves to the top left.
    const std::string turned = dir.write("turned.txt", "orv-image-script 1\nsize 2 2\nsource base.png\neffect 51 3=180\n");
    ASSERT_EQ(readImageSource(turned.c_str(), out), SourceRead::Script);
    EXPECT_EQ(px(out, 0, 0), (std::array<uint8_t, 4>{255, 255, 255, 255}));
    EXPECT_EQ(px(out, 1, 0), (std::array<uint8_t, 4>{0, 0, 255, 255}));
    // Another size: resized.
    const std::string big = dir.write("big.txt", "orv-image-script 1\nsize 8 6\nsource base.png\n");
    ASSERT_EQ(readImageSource(big.c_str(), out), SourceRead::Script);
    EXPECT_EQ(out.width, 8);
    EXPECT_EQ(px(out, 0, 0), (std::array<uint8_t, 4>{255, 0, 0, 255}));
    EXPECT_EQ(px(out, 7, 5), (std::array<uint8_t, 4>{255, 255, 255, 255}));

    // A script whose source is missing loads but does not render: no file is tried, out kept.
    const std::string missing = dir.write("missing.txt", "orv-image-script 1\nsize 2 2\nsource nothing.png\n");
    EXPECT_EQ(readImageSource(missing.c_str(), out), SourceRead::ScriptNotRendered);
    EXPECT_EQ(out.width, 8);
    // The picture itself reads as a file; as a file only, a script is not read.
    EXPECT_EQ(readImageSource((dir.path / "base.png").string().c_str(), out), SourceRead::File);
    EXPECT_EQ(readImageSource(fill.c_str(), out, true), SourceRead::None);
    EXPECT_EQ(readImageSource((dir.path / "none").string().c_str(), out), SourceRead::None);
    EXPECT_EQ(readImageSource(nullptr, out), SourceRead::None);
    EXPECT_EQ(out.width, 2);
}

TEST(ImageScriptEffects, RegistryIsSortedAndUnknownIdsFailWithoutChange) {
    const auto all = scriptEffects();
    for (size_t i = 1; i < all.size(); ++i) EXPECT_LT(all[i - 1].id, all[i].id);
    ASSERT_NE(findScriptEffect(51), nullptr);
    EXPECT_STREQ(findScriptEffect(51)->name, "Rotate");
    EXPECT_EQ(findScriptEffect(52), nullptr);

    RgbaImage img = solid(3, 3, {1, 2, 3, 4});
    const RgbaImage before = img;
    ScriptEffect turn{51, {}, 0}, unknown{9999, {}, 0};
    turn.set(3, 90);
    const ScriptEffect list[] = {turn, unknown};
    EXPECT_FALSE(runScriptEffects(list, img));
    EXPECT_EQ(img.rgba, before.rgba);
    RgbaImage empty;
    EXPECT_FALSE(runScriptEffects(std::span<const ScriptEffect>(&turn, 1), empty));
}

TEST(Rotate, QuarterTurnsMovePixelsClockwise) {
    RgbaImage img = solid(5, 5, {0, 0, 0, 255});
    setPx(img, 4, 2, {200, 100, 50, 255});  // middle of the right edge
    setPx(img, 0, 0, {9, 9, 9, 255});
    RgbaImage out;
    const struct { double deg; int x, y; } rows[] = {{90, 2, 4}, {-270, 2, 4}, {180, 0, 2}, {-90, 2, 0}, {720, 4, 2}};
    for (const auto& r : rows) {
        rotateImage(img, r.deg, out);
        EXPECT_EQ(px(out, r.x, r.y), (std::array<uint8_t, 4>{200, 100, 50, 255})) << r.deg;
    }
    rotateImage(img, 360, out);
    EXPECT_EQ(out.rgba, img.rgba);
}

TEST(Rotate, UncoveredCornersAreTransparentAndColourDoesNotBleed) {
    // Left half opaque red, right half transparent green: turning samples across the border
    // must keep red, only the alpha falling.
    RgbaImage img = solid(9, 9, {0, 255, 0, 0});
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 5; ++x) setPx(img, x, y, {255, 0, 0, 255});
    RgbaImage out;
    rotateImage(img, 30, out);
    ASSERT_EQ(out.width, 9);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x) {
            const auto p = px(out, x, y);
            if (p[3] > 0) {
                EXPECT_EQ(p, (std::array<uint8_t, 4>{255, 0, 0, p[3]})) << x << "," << y;
            }
        }
    rotateImage(solid(9, 9, {255, 255, 255, 255}), 45, out);
    EXPECT_EQ(px(out, 0, 0)[3], 0);
    EXPECT_EQ(px(out, 4, 4), (std::array<uint8_t, 4>{255, 255, 255, 255}));
}
