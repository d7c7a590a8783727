// Colour models: byte results checked exactly (printed in hex on failure), model values
// within a small tolerance.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "script/colour_models.h"

using namespace orv;

namespace {

struct Rgb {
    int r, g, b;
};

std::string hex(Rgb c) {
    char s[32];
    std::snprintf(s, sizeof s, "%02X %02X %02X", c.r, c.g, c.b);
    return s;
}

using ToRgb = void (*)(double, double, double, double, uint8_t&, uint8_t&, uint8_t&);

// Adapters so one table covers every conversion that ends in bytes.
void hsv(double h, double s, double v, double, uint8_t& r, uint8_t& g, uint8_t& b) { HsvToRgb(h, s, v, r, g, b); }
void hsl(double h, double s, double l, double, uint8_t& r, uint8_t& g, uint8_t& b) { HslToRgb(h, s, l, r, g, b); }
void lab(double l, double a, double bb, double, uint8_t& r, uint8_t& g, uint8_t& b) { LabToRgb(l, a, bb, r, g, b); }
void xyz(double x, double y, double z, double, uint8_t& r, uint8_t& g, uint8_t& b) { XyzToRgb(x, y, z, r, g, b); }
void cmyk(double c, double m, double y, double k, uint8_t& r, uint8_t& g, uint8_t& b) { CmykToRgb(c, m, y, k, r, g, b); }

}  // namespace

TEST(ColourModelsToBytes, TableOfConversions) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char* name;
        ToRgb fn;
        double in[4];
        Rgb want;
    } rows[] = {
        {"HsvToRgb", hsv, {0, 1, 1}, {255, 0, 0}},
        {"HsvToRgb", hsv, {360, 1, 1}, {255, 0, 0}},           // 360 reads as 0
        {"HsvToRgb", hsv, {77, 0, 0.5}, {127, 127, 127}},      // grey: trunc(127.5)
        {"HsvToRgb", hsv, {0, 0, 128 * kByteToUnit}, {127, 127, 127}},  // 128 / 255 x 255 lies just below 128
        {"HsvToRgb", hsv, {120, 0.5, 1}, {127, 255, 127}},
        {"HsvToRgb", hsv, {30, 1, 1}, {255, 127, 0}},
        {"HsvToRgb", hsv, {240, 1, 1}, {0, 0, 255}},
        {"HsvToRgb", hsv, {300, 1, 1}, {255, 0, 255}},
        {"HsvToRgb", hsv, {359.99999999999994, 1, 1}, {255, 0, 0}},  // sector rounds to 6: wraps to 0
        {"HsvToRgb", hsv, {-60, 1, 1}, {255, 0, 255}},         // out-of-range hue wraps
        {"HsvToRgb", hsv, {nan, 1, 1}, {255, 0, 0}},
        {"HslToRgb", hsl, {0, 1, 0.5}, {255, 0, 0}},
        {"HslToRgb", hsl, {120, 1, 0.5}, {0, 255, 0}},
        {"HslToRgb", hsl, {240, 1, 0.5}, {0, 0, 255}},
        {"HslToRgb", hsl, {10, 0, 0.5}, {127, 127, 127}},
        {"HslToRgb", hsl, {0, 1, 1}, {255, 255, 255}},
        {"HslToRgb", hsl, {0, 0.5, 0.75}, {223, 159, 159}},
        {"LabToRgb", lab, {100, 0, 0}, {255, 255, 254}},       // blue row sums a little below 1
        {"LabToRgb", lab, {0, 0, 0}, {0, 0, 0}},
        {"LabToRgb", lab, {200, 0, 0}, {255, 255, 255}},       // clamped after truncation
        {"LabToRgb", lab, {50, 300, -300}, {0, 0, 255}},  // both ends clamp
        {"XyzToRgb", xyz, {-50, -50, -50}, {0, 0, 0}},
        {"XyzToRgb", xyz, {nan, 0, 0}, {0, 0, 0}},
        {"CmykToRgb", cmyk, {0, 0, 0, 0}, {255, 255, 255}},
        {"CmykToRgb", cmyk, {0, 0, 0, 1}, {0, 0, 0}},
        {"CmykToRgb", cmyk, {1, 0, 0.5, 0}, {0, 255, 127}},
        {"CmykToRgb", cmyk, {2, -1, 0, 0}, {0x01, 0xFE, 255}},  // -255 and 510 keep their low 8 bits
        {"CmykToRgb", cmyk, {1e300, 0, 0, 0}, {0, 255, 255}},   // beyond any integer: low byte 0
    };
    for (const auto& row : rows) {
        uint8_t r = 0xAA, g = 0xAA, b = 0xAA;
        row.fn(row.in[0], row.in[1], row.in[2], row.in[3], r, g, b);
        const Rgb got{r, g, b};
        EXPECT_TRUE(got.r == row.want.r && got.g == row.want.g && got.b == row.want.b)
            << row.name << "(" << row.in[0] << ", " << row.in[1] << ", " << row.in[2] << ", " << row.in[3]
            << "): got " << hex(got) << ", want " << hex(row.want);
    }
}

TEST(ColourModelsFromBytes, HsvAndHslValues) {
    const struct {
        bool hsl;
        Rgb in;
        double h, s, third;
    } rows[] = {
        {false, {128, 128, 128}, -1, 0, 128 * 0.00392156862745098},
        {false, {0, 0, 0}, -1, 0, 0},
        {false, {255, 255, 0}, 60, 1, 1},  // red wins the tie with green
        {false, {0, 255, 255}, 180, 1, 1},  // green wins the tie with blue
        {false, {0, 0, 255}, 240, 1, 1},
        {false, {255, 0, 128}, 360 - 60 * 128.0 / 255.0, 1, 1},  // negative hue wrapped
        {true, {255, 255, 255}, 0, 0, 1},
        {true, {255, 0, 0}, 0, 1, 0.5},
        {true, {0, 0, 255}, 240, 1, 0.5},
        {true, {255, 255, 0}, 60, 1, 0.5},
        {true, {255, 0, 128}, 360 - 60 * 128.0 / 255.0, 1, 0.5},
        {true, {64, 128, 64}, 120, 64.0 / 192.0, 96.0 / 255.0},
    };
    for (const auto& row : rows) {
        double h, s, t;
        if (row.hsl)
            RgbToHsl(row.in.r, row.in.g, row.in.b, h, s, t);
        else
            RgbToHsv(row.in.r, row.in.g, row.in.b, h, s, t);
        const std::string where = std::string(row.hsl ? "RgbToHsl(" : "RgbToHsv(") + hex(row.in) + ")";
        EXPECT_NEAR(h, row.h, 1e-9) << where;
        EXPECT_NEAR(s, row.s, 1e-12) << where;
        EXPECT_NEAR(t, row.third, 1e-12) << where;
    }
    double h, s, v;
    RgbToHsv(128, 128, 128, h, s, v);
    EXPECT_EQ(v, 128 * 0.00392156862745098);  // exactly the channel fraction
    EXPECT_EQ(h, -1.0);
}

TEST(ColourModelsLab, WhiteAndBlackThroughXyzAndLab) {
    double x, y, z, l, a, b;
    RgbToXyz(255, 255, 255, x, y, z);
    EXPECT_NEAR(x, 95.05, 0.01);
    EXPECT_NEAR(y, 100.0, 1e-9);
    EXPECT_NEAR(z, 108.9, 0.01);
    XyzToLab(x, y, z, l, a, b);
    EXPECT_NEAR(l, 100.0, 1e-9);
    EXPECT_NEAR(a, 0.0, 0.02);  // the rounded matrix puts white a hair off the axis
    EXPECT_NEAR(b, 0.0, 0.02);
    LabToXyz(l, a, b, x, y, z);
    uint8_t r, g, bl;
    XyzToRgb(x, y, z, r, g, bl);
    EXPECT_EQ(hex({r, g, bl}), "FF FF FF");

    RgbToXyz(0, 0, 0, x, y, z);
    XyzToLab(x, y, z, l, a, b);
    EXPECT_NEAR(l, 0.0, 1e-9);
    LabToXyz(-50, 0, 0, x, y, z);  // below black: negatives become 0
    EXPECT_EQ(x, 0.0);
    EXPECT_EQ(y, 0.0);
    EXPECT_EQ(z, 0.0);
}

TEST(ColourModelsLab, ByteRoundTripStaysWithinOneStep) {
    // RGB -> Lab -> RGB loses at most one step per channel (truncation on the way back).
    for (int r = 0; r < 256; r += 15)
        for (int g = 0; g < 256; g += 15)
            for (int b = 0; b < 256; b += 15) {
                double x, y, z, l, a, bb;
                RgbToXyz(r, g, b, x, y, z);
                XyzToLab(x, y, z, l, a, bb);
                uint8_t r2, g2, b2;
                LabToRgb(l, a, bb, r2, g2, b2);
                ASSERT_LE(std::abs(r - r2) + std::abs(g - g2) + std::abs(b - b2), 3)
                    << hex({r, g, b}) << " came back as " << hex({r2, g2, b2});
                ASSERT_GE(r, r2);
                ASSERT_GE(g, g2);
                ASSERT_GE(b, b2);
            }
}

TEST(ColourModelsCmyk, UnderColourRemoval) {
    const struct {
        double c, m, y;
        double want[4];
    } rows[] = {
        {1, 1, 1, {0, 0, 0, 1}},
        {0, 0, 0, {0, 0, 0, 0}},
        {0.5, 0.75, 1, {0, 0.5, 1, 0.5}},
        {1.5, 1.2, 1.1, {0, 0, 0, 1}},  // black never exceeds 1
    };
    for (const auto& row : rows) {
        double out[4];
        CmyToCmyk(row.c, row.m, row.y, out[0], out[1], out[2], out[3]);
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(out[i], row.want[i], 1e-12) << "CmyToCmyk(" << row.c << ", " << row.m << ", " << row.y
                                                    << ") component " << i;
    }
}

TEST(ColourModelsHsl, HueToChannelWrapsOnceAndTruncates) {
    EXPECT_EQ(HueToChannel(0, 1, 30), 127);    // trunc(0.5 x 255)
    EXPECT_EQ(HueToChannel(0, 1, 390), 127);   // 390 - 360
    EXPECT_EQ(HueToChannel(0, 1, -330), 127);  // -330 + 360
    EXPECT_EQ(HueToChannel(0, 1, 720), 0);     // wrapped once only: 360 falls in the m1 range
    EXPECT_EQ(HueToChannel(0.2, 1, 210), 153); // (0.2 + 0.8 x 0.5) x 255
}
