#include "imaging/shapes.h"

#include <algorithm>
#include <cmath>

#include "imaging/region_fill.h"

namespace orv {

namespace {

void fillSpan(const ImageView& img, int32_t y, int64_t x0, int64_t x1, const Color8& c) {
    if (y < 0 || y >= img.height) return;
    x0 = std::max<int64_t>(x0, 0);
    x1 = std::min<int64_t>(x1, img.width - 1);
    if (x1 < x0) return;
    uint8_t* p = img.pixel(static_cast<int32_t>(x0), y);
    for (int64_t x = x0; x <= x1; ++x, p += img.bytesPerPixel) putColor(p, img.bytesPerPixel, c);
}

}  // namespace

void fillRectangle(const ImageView& img, int32_t left, int32_t top, int32_t right, int32_t bottom, const Color8& c) {
    if (!img.valid() || right < left || bottom < top) return;
    int32_t y0 = std::max(top, 0), y1 = std::min(bottom, img.height - 1);
    for (int32_t y = y0; y <= y1; ++y) fillSpan(img, y, left, right, c);
}

void fillEllipse(const ImageView& img, int32_t cx, int32_t cy, int32_t rx, int32_t ry, const Color8& c) {
    if (!img.valid() || rx < 0 || ry < 0) return;
    // Products of radii reach 2^124 for the largest int32 radii: 128-bit arithmetic.
    __extension__ typedef __int128 wide;
    const wide rx2 = wide(rx) * rx, ry2 = wide(ry) * ry, limit = rx2 * ry2;
    int64_t y0 = std::max<int64_t>(int64_t(cy) - ry, 0), y1 = std::min<int64_t>(int64_t(cy) + ry, img.height - 1);
    for (int64_t y = y0; y <= y1; ++y) {
        const wide dy = y - cy;
        int64_t half;
        if (ry == 0) {
            half = rx;  // the horizontal diameter
        } else {
            // Largest dx with dx^2 ry^2 <= limit - dy^2 rx^2; the root estimate is corrected
            // in integers so rounding of the square root cannot change a pixel.
            const wide room = limit - dy * dy * rx2;
            half = static_cast<int64_t>(std::sqrt(static_cast<double>(room) / static_cast<double>(ry2)));
            while (half > 0 && wide(half) * half * ry2 > room) --half;
            while (wide(half + 1) * (half + 1) * ry2 <= room) ++half;
        }
        fillSpan(img, static_cast<int32_t>(y), int64_t(cx) - half, int64_t(cx) + half, c);
    }
}

}  // namespace orv
