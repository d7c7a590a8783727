// Spline points: 100 samples of a smooth curve through three control points, kept until the
// next request, for the host's curved strokes.
#pragma once
#include <array>
#include <cstdint>

namespace orv {

inline constexpr int32_t kSplineSampleCount = 100;

struct SplineSamples {
    std::array<double, 3> inX{}, inY{}, inZ{};  // control points (z always 0)
    std::array<double, kSplineSampleCount> outX{}, outY{}, outZ{};
    int32_t count = 0;  // 0 until the first calculation, then 100
};

// Samples the curve through (x0, y0), (x1, y1), (x2, y2), the coordinates read as unsigned
// 32-bit values. The first sample is the first point and the last the third. Returns 1.
int32_t calcSpline3(SplineSamples& sp, uint32_t x0, uint32_t y0, uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2);

// trunc(sample) at index; an index at or beyond the count reads the last sample, a negative
// one the first; 0 before the first calculation. Values wrap to 32 bits.
int32_t splinePointX(const SplineSamples& sp, int32_t index) noexcept;
int32_t splinePointY(const SplineSamples& sp, int32_t index) noexcept;

}  // namespace orv
