#include "imaging/resample.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace orv {
namespace {

// Source span and per-pixel weights (sum 1) of each destination position along one axis.
struct Footprint {
    int32_t first = 0;
    std::vector<float> weights;
};

std::vector<Footprint> footprints(int32_t srcLen, int32_t dstLen) {
    std::vector<Footprint> out(static_cast<size_t>(dstLen));
    const double scale = double(srcLen) / dstLen;
    for (int32_t i = 0; i < dstLen; ++i) {
        double a = i * scale, b = (i + 1) * scale;
        int32_t first = int32_t(a), last = std::min(srcLen - 1, int32_t(b - 1e-9));
        Footprint& f = out[size_t(i)];
        f.first = first;
        for (int32_t s = first; s <= last; ++s) {
            double lo = std::max(a, double(s)), hi = std::min(b, double(s + 1));
            f.weights.push_back(float((hi - lo) / scale));
        }
    }
    return out;
}

}  // namespace

void decimateImage(ImageView src, ImageTarget dst, int channels) {
    if (src.width <= 0 || src.height <= 0 || dst.width <= 0 || dst.height <= 0 || channels <= 0) return;
    const auto fx = footprints(src.width, dst.width), fy = footprints(src.height, dst.height);
    const size_t srcRow = size_t(src.width) * channels;
    std::vector<float> acc(srcRow);
    for (int32_t y = 0; y < dst.height; ++y) {
        // Vertical pass into one row of accumulators, then the horizontal pass.
        std::fill(acc.begin(), acc.end(), 0.0f);
        const Footprint& v = fy[size_t(y)];
        for (size_t k = 0; k < v.weights.size(); ++k) {
            const uint8_t* s = src.pixels + size_t(v.first + int32_t(k)) * srcRow;
            const float w = v.weights[k];
            for (size_t i = 0; i < srcRow; ++i) acc[i] += w * s[i];
        }
        uint8_t* d = dst.pixels + size_t(y) * dst.width * channels;
        for (int32_t x = 0; x < dst.width; ++x) {
            const Footprint& h = fx[size_t(x)];
            for (int c = 0; c < channels; ++c) {
                float sum = 0.0f;
                for (size_t k = 0; k < h.weights.size(); ++k) sum += h.weights[k] * acc[size_t(h.first + int32_t(k)) * channels + c];
                d[size_t(x) * channels + c] = uint8_t(std::clamp(sum + 0.5f, 0.0f, 255.0f));
            }
        }
    }
}

void resizeSmooth(ImageView src, ImageTarget dst, int channels) {
    if (src.width <= 0 || src.height <= 0 || dst.width <= 0 || dst.height <= 0 || channels <= 0) return;
    struct Tap {
        int32_t i0, i1;
        float t;
    };
    auto taps = [](int32_t srcLen, int32_t dstLen) {
        std::vector<Tap> out(static_cast<size_t>(dstLen));
        const double scale = double(srcLen) / dstLen;
        for (int32_t i = 0; i < dstLen; ++i) {
            double p = std::clamp((i + 0.5) * scale - 0.5, 0.0, double(srcLen - 1));
            int32_t i0 = int32_t(p);
            out[size_t(i)] = {i0, std::min(i0 + 1, srcLen - 1), float(p - i0)};
        }
        return out;
    };
    const auto tx = taps(src.width, dst.width), ty = taps(src.height, dst.height);
    const size_t srcRow = size_t(src.width) * channels;
    for (int32_t y = 0; y < dst.height; ++y) {
        const Tap& v = ty[size_t(y)];
        const uint8_t* r0 = src.pixels + size_t(v.i0) * srcRow;
        const uint8_t* r1 = src.pixels + size_t(v.i1) * srcRow;
        uint8_t* d = dst.pixels + size_t(y) * dst.width * channels;
        for (int32_t x = 0; x < dst.width; ++x) {
            const Tap& h = tx[size_t(x)];
            for (int c = 0; c < channels; ++c) {
                float a = r0[size_t(h.i0) * channels + c] + h.t * (r0[size_t(h.i1) * channels + c] - r0[size_t(h.i0) * channels + c]);
                float b = r1[size_t(h.i0) * channels + c] + h.t * (r1[size_t(h.i1) * channels + c] - r1[size_t(h.i0) * channels + c]);
                d[size_t(x) * channels + c] = uint8_t(std::clamp(a + v.t * (b - a) + 0.5f, 0.0f, 255.0f));
            }
        }
    }
}

void resampleImage(ImageView src, ImageTarget dst, int channels) {
    if (dst.width < src.width && dst.height < src.height)
        decimateImage(src, dst, channels);
    else
        resizeSmooth(src, dst, channels);
}

}  // namespace orv
