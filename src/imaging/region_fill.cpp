#include "imaging/region_fill.h"

#include <cstring>
#include <new>
#include <vector>

namespace orv {

namespace {

// Pending seeds kept by row, handed out lowest row first: the walk then sweeps the map
// row by row and reuses the cache lines of neighbouring spans instead of running down one
// narrow strip of the page after another.
class SeedRows {
public:
    explicit SeedRows(int32_t height) : rows_(static_cast<size_t>(height)) {}
    void push(int32_t x, int32_t y) {
        rows_[static_cast<size_t>(y)].push_back(x);
        if (y < low_) low_ = y;
        ++pending_;
    }
    bool pop(int32_t& x, int32_t& y) noexcept {
        if (pending_ == 0) return false;
        while (rows_[static_cast<size_t>(low_)].empty()) ++low_;
        auto& r = rows_[static_cast<size_t>(low_)];
        x = r.back();
        y = low_;
        r.pop_back();
        --pending_;
        return true;
    }

private:
    std::vector<std::vector<int32_t>> rows_;
    int32_t low_ = 0;  // no pending seed lies above this row
    size_t pending_ = 0;
};

// Map states while the region grows: a pixel outside the tolerance, a matching pixel not
// reached yet, a pixel of the region.
constexpr uint8_t kNoMatch = 0, kOpen = 1, kInRegion = 2;

// Grows the region over a map holding kOpen at every matching pixel; returns its size.
size_t growRegion(ByteMap map, int32_t width, int32_t height, int32_t sx, int32_t sy) {
    SeedRows work(height);
    work.push(sx, sy);
    size_t marked = 0;
    int32_t seedX, seedY;
    while (work.pop(seedX, seedY)) {
        uint8_t* row = map.row(seedY);
        if (row[seedX] != kOpen) continue;
        // Grow the span left and right from the seed.
        int32_t left = seedX, right = seedX;
        while (left > 0 && row[left - 1] == kOpen) --left;
        while (right + 1 < width && row[right + 1] == kOpen) ++right;
        std::memset(row + left, kInRegion, static_cast<size_t>(right - left + 1));
        marked += static_cast<size_t>(right - left + 1);
        // Diagonal neighbours count: the rows above and below are scanned one column beyond
        // each end of the span, with one seed per run of open pixels.
        const int32_t from = left > 0 ? left - 1 : 0;
        const int32_t to = right + 1 < width ? right + 1 : right;
        for (int32_t ny : {seedY - 1, seedY + 1}) {
            if (ny < 0 || ny >= height) continue;
            const uint8_t* nrow = map.row(ny);
            bool inRun = false;
            for (int32_t x = from; x <= to; ++x) {
                const bool open = nrow[x] == kOpen;
                if (open && !inRun) work.push(x, ny);
                inRun = open;
            }
        }
    }
    return marked;
}

}  // namespace

size_t colorMatchMap(const ImageView& img, int32_t seedX, int32_t seedY, uint32_t maxDistanceSq, ByteMap map,
                     uint8_t value) {
    if (!img.valid() || !map.data || map.stride < img.width || !img.contains(seedX, seedY)) return 0;
    if (value == 0) value = 1;  // 0 marks "outside"; a zero mark could not be told apart
    // One pass marks the matching pixels (a branch-free loop), the walk then reads only bytes.
    const Color8 ref = colorAt(img, seedX, seedY);
    for (int32_t y = 0; y < img.height; ++y) {
        const uint8_t* p = img.row(y);
        uint8_t* m = map.row(y);
        for (int32_t x = 0; x < img.width; ++x, p += img.bytesPerPixel)
            m[x] = colorDistanceSq(p, img.bytesPerPixel, ref) <= maxDistanceSq ? kOpen : kNoMatch;
    }
    const size_t n = growRegion(map, img.width, img.height, seedX, seedY);
    for (int32_t y = 0; y < img.height; ++y) {
        uint8_t* m = map.row(y);
        for (int32_t x = 0; x < img.width; ++x) m[x] = m[x] == kInRegion ? value : 0;
    }
    return n;
}

size_t floodFill(const ImageView& img, int32_t seedX, int32_t seedY, const Color8& fill, uint32_t maxDistanceSq) {
    if (!img.valid() || !img.contains(seedX, seedY)) return 0;
    std::vector<uint8_t> region;
    try {
        region.resize(static_cast<size_t>(img.width) * static_cast<size_t>(img.height));
    } catch (const std::bad_alloc&) {
        return 0;
    }
    ByteMap map{region.data(), img.width};
    size_t n = colorMatchMap(img, seedX, seedY, maxDistanceSq, map);
    for (int32_t y = 0; y < img.height; ++y) {
        const uint8_t* m = map.row(y);
        uint8_t* p = img.row(y);
        for (int32_t x = 0; x < img.width; ++x, p += img.bytesPerPixel)
            if (m[x]) putColor(p, img.bytesPerPixel, fill);
    }
    return n;
}

size_t replaceColor(const ImageView& img, const Color8& from, const Color8& to, uint32_t maxDistanceSq,
                    bool writeAlpha) {
    if (!img.valid()) return 0;
    size_t n = 0;
    for (int32_t y = 0; y < img.height; ++y) {
        uint8_t* p = img.row(y);
        for (int32_t x = 0; x < img.width; ++x, p += img.bytesPerPixel) {
            if (colorDistanceSq(p, img.bytesPerPixel, from) > maxDistanceSq) continue;
            putColor(p, img.bytesPerPixel, to, writeAlpha);
            ++n;
        }
    }
    return n;
}

}  // namespace orv
