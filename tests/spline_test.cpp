// Spline points: 100 samples of a smooth curve through three points.
#include <gtest/gtest.h>

#include <cmath>

#include "brush/spline.h"
#include "orvcore.h"

using namespace orv;

TEST(SplinePoints, NothingBeforeTheFirstCurve) {
    SplineSamples sp;
    EXPECT_EQ(sp.count, 0);
    EXPECT_EQ(splinePointX(sp, 0), 0);
    EXPECT_EQ(splinePointY(sp, 50), 0);
}

TEST(SplinePoints, CurveRunsSmoothlyFromFirstToThirdThroughTheMiddle) {
    const struct { int x0, y0, x1, y1, x2, y2; } rows[] = {
        {10, 20, 110, 220, 400, 30},  // a bend
        {0, 0, 50, 50, 100, 100},     // a straight line
        {5, 5, 6, 5, 300, 200},       // middle point close to the first
        {7, 7, 7, 7, 7, 7},           // all three the same
    };
    for (const auto& r : rows) {
        EXPECT_EQ(ORV_CalcSpline3(r.x0, r.y0, r.x1, r.y1, r.x2, r.y2, 12345), 1);
        ASSERT_EQ(ORV_GetSplinePointCount(), 100);
        EXPECT_EQ(ORV_GetSplinePointX(0), r.x0);
        EXPECT_EQ(ORV_GetSplinePointY(0), r.y0);
        EXPECT_EQ(ORV_GetSplinePointX(99), r.x2);
        EXPECT_EQ(ORV_GetSplinePointY(99), r.y2);
        EXPECT_EQ(ORV_GetSplinePointX(1000), ORV_GetSplinePointX(99));
        EXPECT_EQ(ORV_GetSplinePointY(-5), ORV_GetSplinePointY(0));
        // Passes within a step of the middle point; no step longer than the whole path / 20.
        const double path = std::hypot(r.x1 - r.x0, r.y1 - r.y0) + std::hypot(r.x2 - r.x1, r.y2 - r.y1);
        double nearest = 1e18, longest = 0;
        for (int i = 0; i < 100; ++i) {
            const int x = ORV_GetSplinePointX(i), y = ORV_GetSplinePointY(i);
            nearest = std::min(nearest, std::hypot(x - r.x1, y - r.y1));
            if (i > 0) longest = std::max(longest, std::hypot(x - ORV_GetSplinePointX(i - 1), y - ORV_GetSplinePointY(i - 1)));
        }
        EXPECT_LE(longest, path / 20 + 2) << r.x0 << "," << r.y0;
        EXPECT_LE(nearest, longest + 2) << r.x0 << "," << r.y0;
    }
    // On a straight line the samples stay on it (truncated toward zero).
    ORV_CalcSpline3(0, 0, 50, 50, 100, 100, 0);
    for (int i = 0; i < 100; ++i) EXPECT_NEAR(ORV_GetSplinePointX(i), ORV_GetSplinePointY(i), 1) << i;
}

TEST(SplinePoints, NegativeCoordinatesAreReadAsUnsigned) {
    SplineSamples sp;
    calcSpline3(sp, uint32_t(-10), 0, 0, 0, 0, 0);
    EXPECT_EQ(sp.inX[0], 4294967286.0);
    EXPECT_EQ(splinePointX(sp, 0), -10) << "the truncated sample wraps to 32 bits";
}
