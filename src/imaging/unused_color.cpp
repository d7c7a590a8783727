#include "imaging/unused_color.h"

#include <algorithm>
#include <bit>
#include <vector>

namespace orv {

std::optional<uint32_t> findUnusedColor(const ImageView& img) {
    if (!img.valid() || img.bytesPerPixel < 3) return std::nullopt;
    // n pixels can use at most n of the values 0..n, so the answer is below n + 1 whenever
    // one exists: only values under that bound need a presence bit.
    const uint64_t pixels = uint64_t(img.width) * uint64_t(img.height);
    const uint32_t bound = static_cast<uint32_t>(std::min<uint64_t>(pixels + 1, 1u << 24));
    std::vector<uint64_t> seen((bound + 63) / 64, 0);
    for (int32_t y = 0; y < img.height; ++y) {
        const uint8_t* p = img.row(y);
        for (int32_t x = 0; x < img.width; ++x, p += img.bytesPerPixel) {
            uint32_t v = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
            if (v < bound) seen[v >> 6] |= uint64_t(1) << (v & 63);
        }
    }
    for (size_t w = 0; w < seen.size(); ++w) {
        if (seen[w] == ~uint64_t(0)) continue;
        uint32_t v = static_cast<uint32_t>(w * 64 + std::countr_one(seen[w]));
        if (v < bound) return v;
        break;
    }
    return std::nullopt;
}

}  // namespace orv
