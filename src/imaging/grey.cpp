#include "imaging/grey.h"

namespace orv {

void greyPlane(const RgbaImage& img, uint8_t* out, size_t stride) noexcept {
    if (img.empty()) return;
    for (int32_t y = 0; y < img.height; ++y) {
        const uint8_t* p = img.row(y);
        uint8_t* o = out + static_cast<size_t>(y) * stride;
        for (int32_t x = 0; x < img.width; ++x, p += 4) o[x] = greyOf(p[0], p[1], p[2]);
    }
}

}  // namespace orv
