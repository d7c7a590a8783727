#include "mask/mask_buffer.h"

#include <algorithm>
#include <cstring>

#include "engine/engine_state.h"
#include "engine/layer_table.h"
#include "engine/page_access.h"
#include "mask/mask_grey.h"

namespace orv {

uint16_t* pageMask(EngineState& s) noexcept {
    const size_t n = s.page.pixelCount();
    if (n == 0 || s.mask.maskBuffer.size() < n) return nullptr;
    return s.mask.maskBuffer.data();
}

void setMaskOptions(MaskState& m, const MaskOverlayOptions& o) noexcept {
    const int32_t c1[3] = {o.r1, o.g1, o.b1}, c2[3] = {o.r2, o.g2, o.b2};
    for (int i = 0; i < 3; ++i) {
        m.maskOverlayColor1[i] = static_cast<uint32_t>(static_cast<uint8_t>(c1[i])) * 256;
        m.maskOverlayColor2[i] = static_cast<uint32_t>(static_cast<uint8_t>(c2[i])) * 256;
    }
    m.maskOverlayMode = o.fullStrength;
}

void invertMask(EngineState& s) noexcept {
    uint16_t* m = pageMask(s);
    if (!m) return;
    for (size_t i = 0, n = s.page.pixelCount(); i < n; ++i) m[i] = static_cast<uint16_t>(0xFFFF - m[i]);
}

void clearMask(EngineState& s, int32_t r, int32_t g, int32_t b) noexcept {
    uint16_t* m = pageMask(s);
    if (!m) return;
    const uint16_t v = maskFromGrey16((int64_t(r) + g + b) / 3);
    std::fill_n(m, s.page.pixelCount(), v);
}

void saveMask(EngineState& s, uint8_t* rgb, ptrdiff_t stride) noexcept {
    uint16_t* m = pageMask(s);
    const int32_t W = s.page.pageWidth, H = s.page.pageHeight;
    if (!m || !rgb || stride < ptrdiff_t(W) * 3) return;
    for (int32_t y = 0; y < H; ++y) {
        const uint16_t* src = m + size_t(y) * W;
        uint8_t* d = rgb + y * stride;
        for (int32_t x = 0; x < W; ++x, d += 3) d[0] = d[1] = d[2] = greyFromMask(src[x]);
    }
}

void loadMask(EngineState& s, const uint8_t* rgb, ptrdiff_t stride, int32_t width, int32_t height) noexcept {
    uint16_t* m = pageMask(s);
    if (!m || !rgb) return;
    const int32_t W = s.page.pageWidth;
    // A larger image would write outside the mask: only the part over the page is read.
    width = std::min(width, W);
    height = std::min(height, s.page.pageHeight);
    if (width <= 0 || height <= 0 || stride < ptrdiff_t(width) * 3) return;
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* p = rgb + y * stride;
        uint16_t* dst = m + size_t(y) * W;
        for (int32_t x = 0; x < width; ++x, p += 3) dst[x] = maskFromGrey8((uint32_t(p[0]) + p[1] + p[2]) / 3);
    }
}

void getMaskData16(EngineState& s, void* dst) noexcept {
    if (uint16_t* m = pageMask(s); m && dst) std::memcpy(dst, m, s.page.pixelCount() * 2);
}

void setMaskData16(EngineState& s, const void* src) noexcept {
    if (uint16_t* m = pageMask(s); m && src) std::memcpy(m, src, s.page.pixelCount() * 2);
}

int32_t maskProtectionAt(EngineState& s, int32_t x, int32_t y) noexcept {
    uint16_t* m = pageMask(s);
    if (!m || !currentLayerIfPresent(s) || !s.mask.maskActive) return 0;
    if (x < 0 || y < 0 || x >= s.page.pageWidth || y >= s.page.pageHeight) return 0;
    return 0xFFFF - m[size_t(y) * s.page.pageWidth + x];
}

namespace {

// Runs f(layerPixel, maskValue&) over every page pixel of the current layer; nothing for a
// layer that does not cover the page.
template <class F>
void forLayerAndMask(EngineState& s, F&& f) noexcept {
    uint16_t* m = pageMask(s);
    const PageLayerView l = pageView(s.page, currentLayerIfPresent(s));
    if (!m || !l) return;
    for (int32_t y = 0; y < l.height; ++y) {
        uint16_t* px = l.row(y);
        uint16_t* mk = m + size_t(y) * l.width;
        for (int32_t x = 0; x < l.width; ++x, px += 4) f(px, mk[x]);
    }
}

}  // namespace

void createImageFromMask(EngineState& s) noexcept {
    forLayerAndMask(s, [](uint16_t* p, uint16_t& m) {
        const uint16_t g = m > 254 ? static_cast<uint16_t>(0xFFFF - m) : uint16_t(65280);
        p[0] = p[1] = p[2] = g;
        p[3] = 0xFFFF;
    });
}

void createAlphaFromMask(EngineState& s) noexcept {
    forLayerAndMask(s, [](uint16_t* p, uint16_t& m) { p[3] = m; });
}

void createMaskFromAlpha(EngineState& s) noexcept {
    forLayerAndMask(s, [](uint16_t* p, uint16_t& m) { m = p[3]; });
}

void createMaskFromImage(EngineState& s) noexcept {
    forLayerAndMask(s, [](uint16_t* p, uint16_t& m) { m = maskFromGrey16((uint32_t(p[0]) + p[1] + p[2]) / 3); });
}

}  // namespace orv
