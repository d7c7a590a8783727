// A non-owning view of an 8-bit interleaved image: 1 byte per pixel (one plane), 3 (red,
// green, blue) or 4 (red, green, blue, alpha), rows `stride` bytes apart. The imaging
// operations take views so they work on work buffers, host buffers and owned images alike.
#pragma once
#include <cstddef>
#include <cstdint>

namespace orv {

struct ImageView {
    uint8_t* data = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t bytesPerPixel = 4;  // 1, 3 or 4
    ptrdiff_t stride = 0;       // bytes from one row to the next

    static ImageView packed(uint8_t* data, int32_t width, int32_t height, int32_t bytesPerPixel) noexcept {
        return {data, width, height, bytesPerPixel, static_cast<ptrdiff_t>(width) * bytesPerPixel};
    }
    bool valid() const noexcept {
        return data && width > 0 && height > 0 &&
               (bytesPerPixel == 1 || bytesPerPixel == 3 || bytesPerPixel == 4) &&
               stride >= static_cast<ptrdiff_t>(width) * bytesPerPixel;
    }
    bool contains(int32_t x, int32_t y) const noexcept { return x >= 0 && y >= 0 && x < width && y < height; }
    uint8_t* row(int32_t y) const noexcept { return data + static_cast<ptrdiff_t>(y) * stride; }
    uint8_t* pixel(int32_t x, int32_t y) const noexcept { return row(y) + static_cast<ptrdiff_t>(x) * bytesPerPixel; }
};

// A colour as the imaging operations take it: red, green, blue and alpha bytes. A 1-byte
// image uses r; a 3-byte image r, g, b.
struct Color8 {
    uint8_t r = 0, g = 0, b = 0, a = 255;

    // The colour word of the imaging interface: red in bits 0..7, green 8..15, blue 16..23,
    // alpha 24..31.
    static constexpr Color8 fromWord(uint32_t w) noexcept {
        return {static_cast<uint8_t>(w), static_cast<uint8_t>(w >> 8), static_cast<uint8_t>(w >> 16),
                static_cast<uint8_t>(w >> 24)};
    }
    static constexpr Color8 grey(uint8_t v) noexcept { return {v, v, v, 255}; }
};

// Squared RGB distance, (dr^2 + dg^2 + db^2), 0 .. 195075. A 1-byte pixel counts as a grey
// with the same value in all three channels, so a tolerance means the same on every form.
inline uint32_t colorDistanceSq(const uint8_t* p, int32_t bytesPerPixel, const Color8& c) noexcept {
    if (bytesPerPixel == 1) {
        int d = int(p[0]) - c.r;
        return 3u * static_cast<uint32_t>(d * d);
    }
    int dr = int(p[0]) - c.r, dg = int(p[1]) - c.g, db = int(p[2]) - c.b;
    return static_cast<uint32_t>(dr * dr + dg * dg + db * db);
}

inline Color8 colorAt(const ImageView& v, int32_t x, int32_t y) noexcept {
    const uint8_t* p = v.pixel(x, y);
    if (v.bytesPerPixel == 1) return Color8::grey(p[0]);
    return {p[0], p[1], p[2], v.bytesPerPixel == 4 ? p[3] : uint8_t(255)};
}

}  // namespace orv
