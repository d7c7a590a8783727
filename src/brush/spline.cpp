#include "brush/spline.h"

#include <algorithm>
#include <cmath>

namespace orv {
namespace {

// Parameter at which the curve passes the middle point: its share of the chord length, kept
// within 0.2..0.8 so that a middle point close to an end does not make the curve overshoot.
double middleParameter(const SplineSamples& sp) noexcept {
    const double a = std::hypot(sp.inX[1] - sp.inX[0], sp.inY[1] - sp.inY[0]);
    const double b = std::hypot(sp.inX[2] - sp.inX[1], sp.inY[2] - sp.inY[1]);
    if (!(a + b > 0)) return 0.5;
    return std::clamp(a / (a + b), 0.2, 0.8);
}

// The quadratic through (0, p0), (tm, p1), (1, p2) at t (Lagrange form).
double quadratic(const std::array<double, 3>& p, double tm, double t) noexcept {
    const double l0 = (t - tm) * (t - 1) / tm;
    const double l1 = t * (t - 1) / (tm * (tm - 1));
    const double l2 = t * (t - tm) / (1 - tm);
    return p[0] * l0 + p[1] * l1 + p[2] * l2;
}

int32_t sampleAt(const SplineSamples& sp, const std::array<double, kSplineSampleCount>& v, int32_t index) noexcept {
    if (sp.count <= 0) return 0;
    const int32_t i = std::clamp(index, 0, sp.count - 1);
    // Truncated toward zero; through 64 bits so that values beyond the int32 range wrap.
    return static_cast<int32_t>(static_cast<int64_t>(v[static_cast<size_t>(i)]));
}

}  // namespace

int32_t calcSpline3(SplineSamples& sp, uint32_t x0, uint32_t y0, uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2) {
    sp.inX = {double(x0), double(x1), double(x2)};
    sp.inY = {double(y0), double(y1), double(y2)};
    sp.inZ = {0, 0, 0};
    const double tm = middleParameter(sp);
    for (int32_t i = 0; i < kSplineSampleCount; ++i) {
        const double t = static_cast<double>(i) / (kSplineSampleCount - 1);
        sp.outX[static_cast<size_t>(i)] = quadratic(sp.inX, tm, t);
        sp.outY[static_cast<size_t>(i)] = quadratic(sp.inY, tm, t);
        sp.outZ[static_cast<size_t>(i)] = 0;
    }
    // The ends exactly at the first and third points.
    sp.outX.front() = sp.inX[0];
    sp.outY.front() = sp.inY[0];
    sp.outX.back() = sp.inX[2];
    sp.outY.back() = sp.inY[2];
    sp.count = kSplineSampleCount;
    return 1;
}

int32_t splinePointX(const SplineSamples& sp, int32_t index) noexcept { return sampleAt(sp, sp.outX, index); }
int32_t splinePointY(const SplineSamples& sp, int32_t index) noexcept { return sampleAt(sp, sp.outY, index); }

}  // namespace orv
