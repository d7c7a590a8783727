#include "imaging/quantize.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <vector>

namespace orv {
namespace {

inline uint32_t pack(const uint8_t* p) { return uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2]; }

// Exact palette when the image has few colours; false once more than maxColours appear.
bool exactPalette(const uint8_t* rgb, size_t pixels, int maxColours, Palette256& pal, uint8_t* indices) {
    constexpr uint32_t kSlots = 1024, kEmpty = 0xFFFFFFFFu;
    std::array<uint32_t, kSlots> key;
    std::array<uint8_t, kSlots> value{};
    key.fill(kEmpty);
    int count = 0;
    auto find = [&](uint32_t c) -> uint32_t& {
        uint32_t h = (c * 2654435761u) >> 22;
        while (key[h] != kEmpty && key[h] != c) h = (h + 1) & (kSlots - 1);
        return key[h];
    };
    for (size_t i = 0; i < pixels; ++i) {
        uint32_t c = pack(rgb + i * 3);
        uint32_t& slot = find(c);
        if (slot == kEmpty) {
            if (count == maxColours) return false;
            slot = c;
            value[&slot - key.data()] = uint8_t(count);
            pal.rgb[count * 3] = uint8_t(c >> 16), pal.rgb[count * 3 + 1] = uint8_t(c >> 8), pal.rgb[count * 3 + 2] = uint8_t(c);
            ++count;
        }
        indices[i] = value[&slot - key.data()];
    }
    pal.count = count;
    return true;
}

constexpr int kBits = 6, kSide = 1 << kBits;
inline size_t cell(int r, int g, int b) { return (size_t(r) << (2 * kBits)) | (size_t(g) << kBits) | size_t(b); }

struct Histogram {
    std::vector<uint32_t> count = std::vector<uint32_t>(size_t(kSide) * kSide * kSide);
    std::vector<uint64_t> sum = std::vector<uint64_t>(size_t(kSide) * kSide * kSide * 3);
};

struct Box {
    int lo[3], hi[3];
    uint64_t pixels = 0;
};

// Shrinks a box to the cells that hold pixels and counts them.
void shrink(const Histogram& h, Box& b) {
    int lo[3] = {kSide, kSide, kSide}, hi[3] = {-1, -1, -1};
    uint64_t n = 0;
    for (int r = b.lo[0]; r <= b.hi[0]; ++r)
        for (int g = b.lo[1]; g <= b.hi[1]; ++g)
            for (int bl = b.lo[2]; bl <= b.hi[2]; ++bl) {
                uint32_t c = h.count[cell(r, g, bl)];
                if (!c) continue;
                n += c;
                int v[3] = {r, g, bl};
                for (int k = 0; k < 3; ++k) lo[k] = std::min(lo[k], v[k]), hi[k] = std::max(hi[k], v[k]);
            }
    b.pixels = n;
    for (int k = 0; k < 3; ++k) b.lo[k] = lo[k], b.hi[k] = hi[k];
}

// Splits along the longest side where half the pixels lie on each side.
bool split(const Histogram& h, Box& b, Box& other) {
    int axis = 0;
    for (int k = 1; k < 3; ++k)
        if (b.hi[k] - b.lo[k] > b.hi[axis] - b.lo[axis]) axis = k;
    if (b.hi[axis] == b.lo[axis]) return false;
    std::vector<uint64_t> slice(size_t(b.hi[axis] - b.lo[axis] + 1));
    for (int r = b.lo[0]; r <= b.hi[0]; ++r)
        for (int g = b.lo[1]; g <= b.hi[1]; ++g)
            for (int bl = b.lo[2]; bl <= b.hi[2]; ++bl) {
                int v[3] = {r, g, bl};
                slice[size_t(v[axis] - b.lo[axis])] += h.count[cell(r, g, bl)];
            }
    uint64_t acc = 0;
    int cut = b.lo[axis];
    for (size_t i = 0; i + 1 < slice.size(); ++i) {
        acc += slice[i];
        cut = b.lo[axis] + int(i);
        if (acc * 2 >= b.pixels) break;
    }
    other = b;
    b.hi[axis] = cut;
    other.lo[axis] = cut + 1;
    shrink(h, b);
    shrink(h, other);
    return true;
}

}  // namespace

void quantizeMedianCut(const uint8_t* rgb, size_t pixels, int maxColours, Palette256& pal, uint8_t* indices) {
    maxColours = std::clamp(maxColours, 1, 256);
    if (exactPalette(rgb, pixels, maxColours, pal, indices)) return;

    Histogram h;
    const int shift = 8 - kBits;
    for (size_t i = 0; i < pixels; ++i) {
        const uint8_t* p = rgb + i * 3;
        size_t c = cell(p[0] >> shift, p[1] >> shift, p[2] >> shift);
        ++h.count[c];
        for (int k = 0; k < 3; ++k) h.sum[c * 3 + k] += p[k];
    }
    std::vector<Box> boxes(1, Box{{0, 0, 0}, {kSide - 1, kSide - 1, kSide - 1}, 0});
    shrink(h, boxes[0]);
    while (int(boxes.size()) < maxColours) {
        // The box with the most pixels times its longest side goes next.
        int best = -1;
        uint64_t bestScore = 0;
        for (size_t i = 0; i < boxes.size(); ++i) {
            const Box& b = boxes[i];
            int side = std::max({b.hi[0] - b.lo[0], b.hi[1] - b.lo[1], b.hi[2] - b.lo[2]});
            uint64_t score = b.pixels * uint64_t(side);
            if (side > 0 && score > bestScore) best = int(i), bestScore = score;
        }
        if (best < 0) break;
        Box other;
        if (!split(h, boxes[size_t(best)], other)) break;
        boxes.push_back(other);
    }
    // Palette: each box's mean colour; cells map to their box.
    std::vector<int16_t> inverse(h.count.size(), -1);
    pal.count = int(boxes.size());
    for (size_t i = 0; i < boxes.size(); ++i) {
        const Box& b = boxes[i];
        uint64_t s[3] = {0, 0, 0}, n = 0;
        for (int r = b.lo[0]; r <= b.hi[0]; ++r)
            for (int g = b.lo[1]; g <= b.hi[1]; ++g)
                for (int bl = b.lo[2]; bl <= b.hi[2]; ++bl) {
                    size_t c = cell(r, g, bl);
                    n += h.count[c];
                    for (int k = 0; k < 3; ++k) s[k] += h.sum[c * 3 + k];
                }
        for (int k = 0; k < 3; ++k) pal.rgb[i * 3 + k] = uint8_t(n ? (s[k] + n / 2) / n : 0);
    }
    // Each used cell takes the palette colour nearest to the mean of its own pixels.
    for (size_t i = 0; i < pixels; ++i) {
        const uint8_t* p = rgb + i * 3;
        size_t c = cell(p[0] >> shift, p[1] >> shift, p[2] >> shift);
        if (inverse[c] < 0) {
            int32_t mean[3];
            for (int k = 0; k < 3; ++k) mean[k] = int32_t(h.sum[c * 3 + k] / h.count[c]);
            int bestIndex = 0;
            int32_t bestDist = INT32_MAX;
            for (int e = 0; e < pal.count; ++e) {
                int32_t d = 0;
                for (int k = 0; k < 3; ++k) {
                    int32_t t = mean[k] - pal.rgb[e * 3 + k];
                    d += t * t;
                }
                if (d < bestDist) bestDist = d, bestIndex = e;
            }
            inverse[c] = int16_t(bestIndex);
        }
        indices[i] = uint8_t(inverse[c]);
    }
}

}  // namespace orv
