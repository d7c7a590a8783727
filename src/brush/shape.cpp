#include "brush/shape.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <vector>

#include "engine/engine_state.h"
#include "imaging/grey.h"
#include "imaging/image_script.h"
#include "imaging/resample.h"

namespace orv {
namespace {

// The double nearest 1/255.
constexpr double kInv255 = 0.00392156862745098;
// The rotation a shape source gets: effect 51 turned by the shape angle, value 4 at 100.
constexpr int32_t kRotateEffect = 51;

inline uint16_t limit16(long double v) noexcept {
    // Coverage is limited to 0..65535: an intensity above 1 must not wrap in the 16-bit store.
    return v <= 0 ? 0 : v >= 65535 ? 65535 : static_cast<uint16_t>(v);
}

// Loads the source into the cache: an image script first (unless file-only), else an image
// file. A script that loads decides alone, even when rendering it fails.
void loadSource(ShapeSourceCache& cache, const BrushShapeRequest& r) {
    RgbaImage img;
    const SourceRead got = readImageSource(r.path, img, r.imageFileOnly);
    if (got != SourceRead::Script && got != SourceRead::File) return;
    cache.image = std::move(img);
    cache.path = r.path;
}

// Turns the image by the angle; a failure leaves it unturned.
void rotateSource(RgbaImage& image, int32_t angle) {
    ScriptEffect turn{kRotateEffect, {}, 0};
    turn.set(3, angle);
    turn.set(4, 100);
    runScriptEffects(std::span<const ScriptEffect>(&turn, 1), image);
}

// Sizes the cached image to S x S, turns it grey and writes trunc(g x 256 x intensity).
// False when the buffers cannot be had or the resize fails (then the round shape is used).
bool shapeFromImage(BrushState& b, uint16_t* shape, size_t stride, int32_t size) {
    RgbaImage sized;
    std::vector<uint8_t> grey;
    try {
        sized.resize(size, size);
        grey.resize(checkedSize(size, size));
    } catch (const std::bad_alloc&) {
        return false;
    }
    try {
        // Enlarged smoothly when the brush is at least as wide as the image, else shrunk by
        // area averaging.
        const RgbaImage& src = b.shapeSourceImage.image;
        const ImageView from{src.rgba.data(), src.width, src.height};
        const ImageTarget to{sized.rgba.data(), size, size};
        if (size >= src.width) resizeSmooth(from, to, 4);
        else decimateImage(from, to, 4);
    } catch (const std::bad_alloc&) {
        b.settings.drawingLength = b.settings.gritRepeat;
        return false;
    }
    greyPlane(sized, grey.data(), static_cast<size_t>(size));
    const long double intensity = b.settings.shapeIntensity;
    for (int32_t r = 0; r < size; ++r)
        for (int32_t c = 0; c < size; ++c)
            shape[static_cast<size_t>(r) * stride + c] =
                limit16(static_cast<long double>(grey[static_cast<size_t>(r) * size + c]) * 256 * intensity);
    b.settings.drawingLength = b.settings.gritRepeat;
    return true;
}

bool shapeFromSource(EngineState& s, const BrushShapeRequest& r, uint16_t* shape, size_t stride, int32_t size) {
    const size_t len = r.path ? std::strlen(r.path) : 0;
    if (len < 2 || len >= kMaxShapePathLength) return false;
    ShapeSourceCache& cache = s.brush.shapeSourceImage;
    if (!cache.holds(r.path, r.angle)) {
        cache.release();
        loadSource(cache, r);
        if (cache.image.empty()) return false;
        if (r.angle % 360 != 0) rotateSource(cache.image, r.angle);
        cache.angle = r.angle;
    }
    return shapeFromImage(s.brush, shape, stride, size);
}

}  // namespace

void drawRoundShape(uint16_t* shape, size_t stride, const RoundShapeParams& p) {
    const int32_t size = p.size;
    const int32_t ctr = size / 2;
    const double radius = size * 0.5;
    double sw = radius * p.edgeSoftness * kInv255;
    if (p.floatSoftWidth) sw = static_cast<float>(sw);
    const double inner = radius - sw;
    for (int32_t j = 0; j < size; ++j) {
        for (int32_t i = 0; i < size; ++i) {
            const int64_t dx = i - ctr, dy = j - ctr;
            const int32_t d = static_cast<int32_t>(std::sqrt(static_cast<double>(dx * dx + dy * dy)));
            if (d > radius) continue;
            double h = 65535;
            if (p.edgeSoftness != 0 && d > inner) h = std::clamp((sw - (d - inner)) / sw * 65535, 0.0, 65535.0);
            if (p.invert != 0) h = std::abs(std::trunc(h - 65535));
            shape[static_cast<size_t>(j) * stride + i] = limit16(std::trunc(h * p.intensity));
        }
    }
}

void setBrushShape(EngineState& s, const BrushShapeRequest& r) {
    Buffer<uint16_t>& buf = s.brush.shapeBuffer;
    const int32_t maxSize = s.page.maxBrushSize;
    if (!buf || maxSize <= 0) return;
    const size_t stride = static_cast<size_t>(maxSize);
    std::fill_n(buf.data(), std::min(buf.size(), stride * stride), uint16_t{0});
    // A brush size beyond the buffer's edge is drawn at the edge it can hold.
    const int32_t size = std::min(s.brush.settings.brushSize, maxSize);
    if (size <= 0 || buf.size() < stride * stride) return;
    if (shapeFromSource(s, r, buf.data(), stride, size)) return;
    const BrushSettings& st = s.brush.settings;
    drawRoundShape(buf.data(), stride, {size, st.shapeIntensity, st.edgeSoftness, st.invertShape, r.imageFileOnly});
}

}  // namespace orv
