#include "imaging/rotate.h"

#include <cmath>
#include <numbers>

namespace orv {
namespace {

// One source channel set read with transparent black outside the image, premultiplied.
struct PremulSample {
    double c[4] = {0, 0, 0, 0};  // r*a, g*a, b*a (a in 0..1), then a*255
};

void addTexel(const RgbaImage& src, int x, int y, double w, PremulSample& acc) noexcept {
    if (w == 0.0 || x < 0 || y < 0 || x >= src.width || y >= src.height) return;
    const uint8_t* p = src.row(y) + static_cast<size_t>(x) * 4;
    const double a = p[3] * (1.0 / 255.0);
    acc.c[0] += w * p[0] * a;
    acc.c[1] += w * p[1] * a;
    acc.c[2] += w * p[2] * a;
    acc.c[3] += w * p[3];
}

uint8_t toByte(double v) noexcept {
    v = std::floor(v + 0.5);
    return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
}

}  // namespace

void rotateImage(const RgbaImage& src, double degrees, RgbaImage& out) {
    out.resize(src.width, src.height);
    if (src.empty()) return;
    const double turns = degrees / 360.0;
    if (turns == std::floor(turns)) {
        out.rgba = src.rgba;
        return;
    }
    const double rad = degrees * (std::numbers::pi / 180.0);
    const double cs = std::cos(rad), sn = std::sin(rad);
    const double cx = (src.width - 1) * 0.5, cy = (src.height - 1) * 0.5;
    for (int32_t y = 0; y < src.height; ++y) {
        uint8_t* o = out.row(y);
        const double dy = y - cy;
        for (int32_t x = 0; x < src.width; ++x, o += 4) {
            // Inverse turn: the source position that lands on (x, y).
            const double dx = x - cx;
            const double sx = cx + dx * cs + dy * sn;
            const double sy = cy - dx * sn + dy * cs;
            const double fx = std::floor(sx), fy = std::floor(sy);
            if (fx < -1 || fy < -1 || fx > src.width || fy > src.height) {
                o[0] = o[1] = o[2] = o[3] = 0;
                continue;
            }
            const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
            const double tx = sx - fx, ty = sy - fy;
            PremulSample acc;
            addTexel(src, ix, iy, (1 - tx) * (1 - ty), acc);
            addTexel(src, ix + 1, iy, tx * (1 - ty), acc);
            addTexel(src, ix, iy + 1, (1 - tx) * ty, acc);
            addTexel(src, ix + 1, iy + 1, tx * ty, acc);
            const double a = acc.c[3] * (1.0 / 255.0);
            for (int c = 0; c < 3; ++c) o[c] = a > 0 ? toByte(acc.c[c] / a) : 0;
            o[3] = toByte(acc.c[3]);
        }
    }
}

}  // namespace orv
