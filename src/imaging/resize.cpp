#include "imaging/resize.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace orv {
namespace {

// The source taps of one output position along one axis; weights sum to 1.
struct Taps {
    int32_t first = 0;
    std::vector<float> weights;
};

std::vector<Taps> makeTaps(int32_t srcLen, int32_t dstLen) {
    std::vector<Taps> taps(static_cast<size_t>(dstLen));
    const double scale = static_cast<double>(dstLen) / srcLen;
    const double radius = scale < 1.0 ? 1.0 / scale : 1.0;
    for (int32_t i = 0; i < dstLen; ++i) {
        const double centre = (i + 0.5) / scale - 0.5;
        const int32_t lo = static_cast<int32_t>(std::ceil(centre - radius));
        const int32_t hi = static_cast<int32_t>(std::floor(centre + radius));
        Taps& t = taps[static_cast<size_t>(i)];
        t.first = lo;
        double sum = 0;
        for (int32_t j = lo; j <= hi; ++j) {
            const double w = std::max(0.0, 1.0 - std::abs(j - centre) / radius);
            t.weights.push_back(static_cast<float>(w));
            sum += w;
        }
        if (sum <= 0) {  // centre exactly between taps at the filter's edge: nearest pixel
            t.first = static_cast<int32_t>(std::lround(centre));
            t.weights.assign(1, 1.0f);
            sum = 1;
        }
        for (float& w : t.weights) w = static_cast<float>(w / sum);
    }
    return taps;
}

inline int32_t clampIndex(int32_t j, int32_t len) noexcept { return j < 0 ? 0 : j >= len ? len - 1 : j; }

uint8_t toByte(float v) noexcept {
    v = std::floor(v + 0.5f);
    return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
}

}  // namespace

void resizeImage(const RgbaImage& src, int32_t w, int32_t h, RgbaImage& out) {
    if (src.empty() || w <= 0 || h <= 0) {
        out = RgbaImage{};
        return;
    }
    out.resize(w, h);
    const std::vector<Taps> tx = makeTaps(src.width, w), ty = makeTaps(src.height, h);
    // Horizontal pass into premultiplied floats: w x src.height pixels.
    std::vector<float> mid(checkedSize(w, src.height, 4));
    for (int32_t y = 0; y < src.height; ++y) {
        const uint8_t* row = src.row(y);
        float* m = mid.data() + static_cast<size_t>(y) * w * 4;
        for (int32_t x = 0; x < w; ++x, m += 4) {
            const Taps& t = tx[static_cast<size_t>(x)];
            for (size_t k = 0; k < t.weights.size(); ++k) {
                const uint8_t* p = row + static_cast<size_t>(clampIndex(t.first + static_cast<int32_t>(k), src.width)) * 4;
                const float wa = t.weights[k] * p[3] * (1.0f / 255.0f);
                m[0] += wa * p[0];
                m[1] += wa * p[1];
                m[2] += wa * p[2];
                m[3] += t.weights[k] * p[3];
            }
        }
    }
    // Vertical pass, then back to straight alpha.
    for (int32_t y = 0; y < h; ++y) {
        const Taps& t = ty[static_cast<size_t>(y)];
        uint8_t* o = out.row(y);
        for (int32_t x = 0; x < w; ++x, o += 4) {
            float acc[4] = {0, 0, 0, 0};
            for (size_t k = 0; k < t.weights.size(); ++k) {
                const int32_t sy = clampIndex(t.first + static_cast<int32_t>(k), src.height);
                const float* m = mid.data() + (static_cast<size_t>(sy) * w + x) * 4;
                for (int c = 0; c < 4; ++c) acc[c] += t.weights[k] * m[c];
            }
            const float a = acc[3] * (1.0f / 255.0f);
            for (int c = 0; c < 3; ++c) o[c] = a > 0 ? toByte(acc[c] / a) : 0;
            o[3] = toByte(acc[3]);
        }
    }
}

}  // namespace orv
