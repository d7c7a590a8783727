#include "mask/selection_apply.h"

#include <algorithm>
#include <cstdlib>

#include "engine/coverage.h"
#include "engine/engine_state.h"
#include "engine/page_access.h"
#include "mask/mask_buffer.h"
#include "mask/mask_grey.h"

namespace orv {

namespace {

// The page rectangle [x0, x1) x [y0, y1) a buffer placed at (x, y) with the given size covers.
struct PageSpan {
    int32_t x0, y0, x1, y1;
    bool empty() const noexcept { return x1 <= x0 || y1 <= y0; }
};

PageSpan clipToPage(const EngineState& s, int64_t x, int64_t y, int64_t width, int64_t height) noexcept {
    auto clamp = [](int64_t v, int64_t hi) { return static_cast<int32_t>(std::clamp<int64_t>(v, 0, hi)); };
    const int32_t W = s.page.pageWidth, H = s.page.pageHeight;
    return {clamp(x, W), clamp(y, H), clamp(x + width, W), clamp(y + height, H)};
}

}  // namespace

void applyMaskToAlphaRect(EngineState& s, uint8_t* rgba, ptrdiff_t stride, int32_t left, int32_t top, int32_t right,
                          int32_t bottom) noexcept {
    const uint16_t* m = pageMask(s);
    if (!m || !rgba) return;
    const PageSpan c = clipToPage(s, left, top, int64_t(right) - left + 1, int64_t(bottom) - top + 1);
    if (c.empty()) return;
    const int32_t W = s.page.pageWidth;
    for (int32_t py = c.y0; py < c.y1; ++py) {
        uint8_t* p = rgba + (ptrdiff_t(py) - top) * stride + (ptrdiff_t(c.x0) - left) * 4;
        const uint16_t* mk = m + size_t(py) * W;
        for (int32_t px = c.x0; px < c.x1; ++px, p += 4) {
            const uint32_t h = mk[px] >> 8;
            if (h == 0)
                p[3] = 0;
            else if (h != 255)
                p[3] = static_cast<uint8_t>((p[3] * (h + 1)) >> 8);
        }
    }
}

void applyMaskToAlpha(EngineState& s, uint8_t* rgba) noexcept {
    applyMaskToAlphaRect(s, rgba, ptrdiff_t(s.page.pageWidth) * 4, 0, 0, s.page.pageWidth - 1, s.page.pageHeight - 1);
}

// The exact quotient truncated. The same as trunc(f x (double nearest 1/65535) x A) except
// where f x A is a multiple of 65535: that constant lies just below 1/65535, so the product
// falls just short of the whole number and truncation would lose one step (a fully
// selected alpha of 255 would become 254 on every pass).
uint8_t scaleAlphaByFactor(uint32_t f, uint8_t alpha) noexcept { return static_cast<uint8_t>(f * alpha / 65535u); }

void adjustRectByMaskAndTexture(EngineState& s, uint8_t* rgba, int32_t x, int32_t y, int32_t width,
                                int32_t height) noexcept {
    const uint8_t* tex = pagePlane(s.page, s.brush.textureBuffer);
    const uint16_t* m = s.mask.maskActive ? pageMask(s) : nullptr;
    if (!rgba || (!tex && !m) || width <= 0 || height <= 0) return;
    const PageSpan c = clipToPage(s, x, y, width, height);
    const int32_t W = s.page.pageWidth;
    for (int32_t py = c.y0; py < c.y1; ++py) {
        uint8_t* p = rgba + ((ptrdiff_t(py) - y) * width + (ptrdiff_t(c.x0) - x)) * 4;
        const size_t row = size_t(py) * W;
        for (int32_t px = c.x0; px < c.x1; ++px, p += 4) p[3] = scaleAlphaByFactor(coverageB(tex, m, row + px), p[3]);
    }
}

void adjustByMaskAndTexture(EngineState& s, uint8_t* rgba, int32_t width, int32_t height) noexcept {
    adjustRectByMaskAndTexture(s, rgba, 0, 0, width, height);
}

void replaceFromAlphaRange(EngineState& s, uint8_t* rgba, int32_t alpha, int32_t tolerance, const uint8_t color[4]) noexcept {
    if (!rgba || !validTolerancePercent(tolerance)) return;
    const int32_t T = rangeLimit8(tolerance);
    for (size_t i = 0, n = s.page.pixelCount(); i < n; ++i, rgba += 4)
        if (std::abs(rgba[3] - alpha) <= T) std::copy_n(color, 4, rgba);
}

void colorFromFloodMap(EngineState& s, uint8_t* rgba, const uint8_t* map, const uint8_t color[4]) noexcept {
    if (!rgba || !map) return;
    for (size_t i = 0, n = s.page.pixelCount(); i < n; ++i, rgba += 4)
        if (map[i] == 1) std::copy_n(color, 4, rgba);
}

uint8_t* applyMaskToSourceWork(EngineState& s) noexcept {
    Buffer<uint8_t>& src = s.effects.work.src32;
    if (!src) return nullptr;
    if (s.mask.maskActive && src.size() >= s.page.pixelCount() * 4) applyMaskToAlpha(s, src.data());
    return src.data();
}

}  // namespace orv
