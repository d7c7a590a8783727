#include "imaging/blur8.h"

#include <cstddef>

namespace orv {

void blurGray8(const uint8_t* src, uint8_t* dst, int32_t w, int32_t h) {
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            uint32_t sum = 0, count = 0;
            for (int32_t yy = y - 1; yy <= y + 1; ++yy)
                for (int32_t xx = x - 1; xx <= x + 1; ++xx)
                    if (yy >= 0 && yy < h && xx >= 0 && xx < w) sum += src[static_cast<size_t>(yy) * w + xx], ++count;
            dst[static_cast<size_t>(y) * w + x] = static_cast<uint8_t>((sum + count / 2) / count);
        }
}

}  // namespace orv
