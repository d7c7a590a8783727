#include "mask/mask_makers.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "engine/engine_state.h"
#include "mask/mask_buffer.h"
#include "imaging/image_view.h"
#include "mask/mask_grey.h"
#include "script/colour_models.h"

namespace orv {

namespace {

// Writes value into the mask wherever selected(pixel bytes) holds, over a page-sized packed
// buffer of bytesPerPixel bytes a pixel. The store is unconditional (old or new value) so the
// loop has no data-dependent branch and can be vectorised; predicates combine their tests
// with & for the same reason.
template <int BytesPerPixel, class Pred>
void selectWhere(EngineState& s, const uint8_t* buf, uint16_t value, Pred&& selected) noexcept {
    uint16_t* m = pageMask(s);
    if (!m || !buf) return;
    const size_t n = s.page.pixelCount();
    for (size_t i = 0; i < n; ++i) m[i] = selected(buf + i * BytesPerPixel) ? value : m[i];
}

}  // namespace

bool hueWithin(double h, double h0, double limit) noexcept {
    return std::fabs(std::trunc(h - h0)) <= limit || std::fabs(std::trunc(h - (h0 - 360))) <= limit ||
           std::fabs(std::trunc(h - 360 - h0)) <= limit;
}

void maskFromRgbaColor(EngineState& s, const uint8_t* rgba, Rgb c, int32_t a) noexcept {
    selectWhere<4>(s, rgba, maskFromStrength(a), [c](const uint8_t* p) { return (p[0] == c.r) & (p[1] == c.g) & (p[2] == c.b); });
}

void maskFromRgb24Color(EngineState& s, const uint8_t* rgb, Rgb c, int32_t a) noexcept {
    selectWhere<3>(s, rgb, maskFromStrength(a), [c](const uint8_t* p) { return (p[0] == c.r) & (p[1] == c.g) & (p[2] == c.b); });
}

void maskFromRgbaColorDistance(EngineState& s, const uint8_t* rgba, Rgb c, uint32_t maxDistanceSq, int32_t a) noexcept {
    const Color8 ref{uint8_t(c.r), uint8_t(c.g), uint8_t(c.b), 255};
    selectWhere<4>(s, rgba, maskFromStrength(a),
                   [&ref, maxDistanceSq](const uint8_t* p) { return colorDistanceSq(p, 4, ref) <= maxDistanceSq; });
}

void maskFromRgbaColorRange(EngineState& s, const uint8_t* rgba, Rgb c, int32_t tolerance, int32_t a) noexcept {
    if (!validTolerancePercent(tolerance)) return;
    const int32_t T = rangeLimit8(tolerance);
    selectWhere<4>(s, rgba, maskFromStrength(a), [c, T](const uint8_t* p) {
        return (std::abs(p[0] - c.r) <= T) & (std::abs(p[1] - c.g) <= T) & (std::abs(p[2] - c.b) <= T);
    });
}

void maskFromRgbaAlphaRange(EngineState& s, const uint8_t* rgba, int32_t alpha, int32_t tolerance, int32_t a) noexcept {
    if (!validTolerancePercent(tolerance)) return;
    const int32_t T = rangeLimit8(tolerance);
    selectWhere<4>(s, rgba, maskFromStrength(a), [alpha, T](const uint8_t* p) { return std::abs(p[3] - alpha) <= T; });
}

void maskFromRgbaLuminanceRange(EngineState& s, const uint8_t* rgba, Rgb c, int32_t tolerance, int32_t a) noexcept {
    if (!validTolerancePercent(tolerance)) return;
    const int32_t T = rangeLimit8(tolerance);
    const int32_t ref = (c.r + c.g + c.b) / 3;
    selectWhere<4>(s, rgba, maskFromStrength(a), [ref, T](const uint8_t* p) {
        return std::abs((p[0] + p[1] + p[2]) / 3 - ref) <= T;
    });
}

void maskFromRgbaHueRange(EngineState& s, const uint8_t* rgba, Rgb c, int32_t tolerance, int32_t a) noexcept {
    if (!validTolerancePercent(tolerance)) return;
    const double limit = static_cast<int32_t>(tolerance * 1.8);
    double h0, sat, val;
    RgbToHsv(c.r, c.g, c.b, h0, sat, val);
    selectWhere<4>(s, rgba, maskFromStrength(a), [h0, limit](const uint8_t* p) {
        double h, ps, pv;
        RgbToHsv(p[0], p[1], p[2], h, ps, pv);
        return hueWithin(h, h0, limit);
    });
}

void maskFromRgbaHslRange(EngineState& s, const uint8_t* rgba, Rgb c, const HslTolerance& t, int32_t a) noexcept {
    const double limit = t.hue * 180;
    double h0, s0, l0;
    RgbToHsl(c.r, c.g, c.b, h0, s0, l0);
    selectWhere<4>(s, rgba, maskFromStrength(a), [&](const uint8_t* p) {
        double h, ps, pl;
        RgbToHsl(p[0], p[1], p[2], h, ps, pl);
        return hueWithin(h, h0, limit) && std::fabs(ps - s0) <= t.saturation && std::fabs(pl - l0) <= t.lightness;
    });
}

void maskFromFloodMap(EngineState& s, const uint8_t* map, int32_t a) noexcept {
    selectWhere<1>(s, map, maskFromStrength(a), [](const uint8_t* p) { return *p == 1; });
}

void maskFromDiffRgba(EngineState& s, const uint8_t* rgba1, const uint8_t* rgba2, int32_t value) noexcept {
    uint16_t* m = pageMask(s);
    if (!m || !rgba1 || !rgba2) return;
    const uint16_t v = static_cast<uint16_t>(value);
    for (size_t i = 0, n = s.page.pixelCount(); i < n; ++i)
        if (std::memcmp(rgba1 + 4 * i, rgba2 + 4 * i, 4) != 0) m[i] = v;
}

}  // namespace orv
