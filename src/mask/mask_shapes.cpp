#include "mask/mask_shapes.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "effects/work_buffers.h"
#include "engine/engine_state.h"
#include "engine/layer_table.h"
#include "imaging/region_fill.h"
#include "imaging/shapes.h"
#include "mask/mask_buffer.h"
#include "mask/mask_grey.h"
#include "mask/mask_makers.h"

namespace orv {

namespace {

bool validLevel(int32_t level) noexcept { return level >= 0 && level <= 100; }

// Runs draw(greyImage, s) on the mask's grey exchange image and reads the image back.
template <class Draw>
void throughGreyImage(EngineState& s, int32_t level, Draw&& draw) {
    if (!pageMask(s) || !validLevel(level)) return;
    const int32_t W = s.page.pageWidth, H = s.page.pageHeight;
    std::vector<uint8_t> grey(checkedSize(W, H, 3));
    saveMask(s, grey.data(), ptrdiff_t(W) * 3);
    draw(ImageView::packed(grey.data(), W, H, 3), Color8::grey(static_cast<uint8_t>(strengthFromLevel(level))));
    loadMask(s, grey.data(), ptrdiff_t(W) * 3, W, H);
}

struct NormalBox {
    int64_t left, top, right, bottom;
};
NormalBox normalise(const MaskBox& b) noexcept {
    return {std::min(b.x1, b.x2), std::min(b.y1, b.y2), std::max(b.x1, b.x2), std::max(b.y1, b.y2)};
}

}  // namespace

void maskEllipse(EngineState& s, const MaskBox& box, int32_t level) {
    const NormalBox b = normalise(box);
    const int64_t rx = std::max<int64_t>((b.right - b.left) / 2, 2), ry = std::max<int64_t>((b.bottom - b.top) / 2, 2);
    throughGreyImage(s, level, [&](const ImageView& img, const Color8& c) {
        fillEllipse(img, static_cast<int32_t>(b.left + rx), static_cast<int32_t>(b.top + ry), static_cast<int32_t>(rx),
                    static_cast<int32_t>(ry), c);
    });
}

void maskRectangle(EngineState& s, const MaskBox& box, int32_t level) {
    const NormalBox b = normalise(box);
    throughGreyImage(s, level, [&](const ImageView& img, const Color8& c) {
        fillRectangle(img, static_cast<int32_t>(b.left), static_cast<int32_t>(b.top), static_cast<int32_t>(b.right),
                      static_cast<int32_t>(b.bottom), c);
    });
}

namespace {

enum class WandMode { NonConnected, ColorRange, LuminanceRange, HueRange, HslRange, Connected, AlphaConnected, AlphaNonConnected };

struct WandModeName {
    const char* name;
    WandMode mode;
};
constexpr WandModeName kWandModes[] = {
    {"Non-connected", WandMode::NonConnected},     {"Color Range", WandMode::ColorRange},
    {"Luminance Range", WandMode::LuminanceRange}, {"Hue Range", WandMode::HueRange},
    {"HSL Range", WandMode::HslRange},             {"Connected", WandMode::Connected},
    {"Alpha Connected", WandMode::AlphaConnected}, {"Alpha Non-connected", WandMode::AlphaNonConnected},
};

const WandMode* findWandMode(const char* name) noexcept {
    if (!name) return nullptr;
    for (const auto& m : kWandModes)
        if (std::strcmp(m.name, name) == 0) return &m.mode;
    return nullptr;
}

// The wand's tolerances, all derived from one value 0..50000.
struct WandTolerance {
    uint32_t distanceSq;  // trunc(t x 0.00002 x 195075), a squared RGB distance
    int32_t percent;      // t / 500
    double fraction;      // t x 0.00002

    explicit WandTolerance(int32_t t)
        : distanceSq(static_cast<uint32_t>(t * 0.00002 * 195075)), percent(t / 500), fraction(t * 0.00002) {}
};

// Releases the source work buffer however the selection ends.
struct SourceWorkScope {
    EngineState& s;
    ~SourceWorkScope() { freeSrcBuffer32(s); }
};

// Marks the pixels of a page-sized map that the region grown from the seed reaches, then
// selects them.
void selectRegion(EngineState& s, const ImageView& img, int32_t x, int32_t y, uint32_t distanceSq, int32_t a) {
    Buffer<uint8_t> map;  // colorMatchMap clears it
    map.allocate(checkedSize(img.width, img.height));
    colorMatchMap(img, x, y, distanceSq, ByteMap{map.data(), img.width});
    maskFromFloodMap(s, map.data(), a);
}

}  // namespace

void maskWand(EngineState& s, int32_t x, int32_t y, int32_t tolerance, int32_t level, const char* modeName) {
    const WandMode* mode = findWandMode(modeName);
    const int32_t W = s.page.pageWidth, H = s.page.pageHeight;
    if (!mode || x < 0 || y < 0 || x >= W || y >= H || tolerance < 0 || tolerance > 50000 || !validLevel(level)) return;
    if (!pageMask(s) || !currentLayerIfPresent(s)) return;
    if (*mode == WandMode::AlphaConnected && s.layers.currentLayerNumber <= 1) return;

    SourceWorkScope scope{s};
    uint8_t* copy = allocSrcBuffer32(s);
    if (!copy) return;
    const WandTolerance tol(tolerance);
    const int32_t a = strengthFromLevel(level);
    const ImageView img = ImageView::packed(copy, W, H, 4);
    const uint8_t* seed = img.pixel(x, y);
    // The reference colour as the colour sampler reports it: white for a pixel whose alpha
    // high byte is 0.
    const Rgb ref = seed[3] == 0 ? Rgb{255, 255, 255} : Rgb{seed[0], seed[1], seed[2]};

    switch (*mode) {
        case WandMode::NonConnected:
            // Every pixel within the distance of the reference colour, tested directly rather
            // than through a marker colour, so a page using every colour works too.
            maskFromRgbaColorDistance(s, copy, ref, tol.distanceSq, a);
            break;
        case WandMode::ColorRange: maskFromRgbaColorRange(s, copy, ref, tol.percent, a); break;
        case WandMode::LuminanceRange: maskFromRgbaLuminanceRange(s, copy, ref, tol.percent, a); break;
        case WandMode::HueRange: maskFromRgbaHueRange(s, copy, ref, tol.percent, a); break;
        case WandMode::HslRange:
            maskFromRgbaHslRange(s, copy, ref, {tol.fraction, tol.fraction, tol.fraction}, a);
            break;
        case WandMode::Connected: selectRegion(s, img, x, y, tol.distanceSq, a); break;
        case WandMode::AlphaConnected: {
            // The grey image of the layer's alpha (its high byte), one byte a pixel.
            Buffer<uint8_t> alpha;
            alpha.allocate(checkedSize(W, H));
            for (size_t i = 0; i < alpha.size(); ++i) alpha[i] = copy[4 * i + 3];
            selectRegion(s, ImageView::packed(alpha.data(), W, H, 1), x, y, tol.distanceSq, a);
            break;
        }
        case WandMode::AlphaNonConnected: maskFromRgbaAlphaRange(s, copy, seed[3], tol.percent, a); break;
    }
}

}  // namespace orv
