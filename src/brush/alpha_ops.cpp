#include "brush/alpha_ops.h"

#include "engine/engine_state.h"
#include "engine/layer_table.h"

namespace orv {

namespace {

constexpr long double k255 = static_cast<long double>(0.00392156862745098);       // nearest double to 1/255
constexpr long double k65535 = static_cast<long double>(1.5259021896696422e-05);  // nearest double to 1/65535

size_t hostPixels(int32_t w, int32_t h) { return w > 0 && h > 0 ? checkedSize(w, h) : 0; }

template <class F>
void eachLayerPixel(EngineState& s, LayerRecord* l, F&& f) {
    if (!l) return;
    const size_t n = l->pixels.size() / 4;
    uint16_t* p = l->pixels.data();
    for (size_t i = 0; i < n; ++i, p += 4) f(p);
}

// X / (A / 255) truncated, limited to the channel's top.
uint32_t unpremultiplied(uint32_t x, uint32_t a, long double k, uint32_t top) {
    const long double v = x * (1.0L / (a * k));
    return v > top ? top : static_cast<uint32_t>(v);
}

}  // namespace

void invertLayerAlpha(EngineState& s, int layer) {
    eachLayerPixel(s, s.layers.presentLayer(layer), [](uint16_t* p) { p[3] = static_cast<uint16_t>(65535 - p[3]); });
}

void invertAlphaRGBA32(EngineState& s, uint8_t* buf) {
    if (!buf) return;
    const size_t n = s.page.pixelCount();
    for (size_t i = 0; i < n; ++i) buf[i * 4 + 3] = static_cast<uint8_t>(255 - buf[i * 4 + 3]);
}

void setLayerAlpha(EngineState& s, int layer, int32_t value) {
    eachLayerPixel(s, s.layers.presentLayer(layer), [v = static_cast<uint16_t>(value)](uint16_t* p) { p[3] = v; });
}

void normalizeLayerAlpha(EngineState& s, int layer) {
    LayerRecord* l = s.layers.presentLayer(layer);
    if (!l) return;
    const uint32_t o = l->opacity;
    eachLayerPixel(s, l, [o](uint16_t* p) { p[3] = static_cast<uint16_t>((o * p[3]) >> 8); });
    l->opacity = 256;
}

void setColorAlpha(EngineState& s, int32_t r, int32_t g, int32_t b) {
    const uint16_t c[3] = {static_cast<uint16_t>(r * 257), static_cast<uint16_t>(g * 257), static_cast<uint16_t>(b * 257)};
    eachLayerPixel(s, currentLayerIfPresent(s), [&](uint16_t* p) {
        if (p[3] >= 256) return;
        p[0] = c[0], p[1] = c[1], p[2] = c[2], p[3] = 0;
    });
}

void setColorAlphaRGBABuf(uint8_t* buf, int32_t w, int32_t h, int32_t r, int32_t g, int32_t b) {
    if (!buf) return;
    const size_t n = hostPixels(w, h);
    for (uint8_t* p = buf; p < buf + n * 4; p += 4)
        if (p[3] == 0) p[0] = static_cast<uint8_t>(r), p[1] = static_cast<uint8_t>(g), p[2] = static_cast<uint8_t>(b);
}

void setColorRGBABuf(uint8_t* buf, int32_t w, int32_t h, int32_t r, int32_t g, int32_t b) {
    if (!buf) return;
    const size_t n = hostPixels(w, h);
    for (uint8_t* p = buf; p < buf + n * 4; p += 4) p[0] = static_cast<uint8_t>(r), p[1] = static_cast<uint8_t>(g), p[2] = static_cast<uint8_t>(b);
}

void setAlphaFromRGBAImageColor(EngineState& s, uint8_t* buf, int32_t r, int32_t g, int32_t b) {
    if (!buf) return;
    const size_t n = s.page.pixelCount();
    for (uint8_t* p = buf; p < buf + n * 4; p += 4)
        if (p[0] == r && p[1] == g && p[2] == b) p[3] = 0;
}

// X = trunc(A x (1/255) x (X + 1)).
void premultiplyRGBA32(uint8_t* buf, int32_t w, int32_t h) {
    if (!buf) return;
    const size_t n = hostPixels(w, h);
    for (uint8_t* p = buf; p < buf + n * 4; p += 4) {
        const uint32_t a = p[3];
        if (a == 0 || a == 255) continue;
        for (int i = 0; i < 3; ++i) p[i] = static_cast<uint8_t>(static_cast<uint32_t>(a * k255 * (p[i] + 1)));
    }
}

void unpremultiplyRGBA32(uint8_t* buf, int32_t w, int32_t h) {
    if (!buf) return;
    const size_t n = hostPixels(w, h);
    for (uint8_t* p = buf; p < buf + n * 4; p += 4) {
        const uint32_t a = p[3];
        if (a == 0 || a == 255) continue;
        for (int i = 0; i < 3; ++i) p[i] = static_cast<uint8_t>(unpremultiplied(p[i], a, k255, 255));
    }
}

void unpremultiplyRGBA32ForAlphaComp(EngineState& s, int32_t flag, uint8_t* buf) {
    if (!flag || !buf) return;
    const size_t n = s.page.pixelCount();
    for (uint8_t* p = buf; p < buf + n * 4; p += 4) {
        const uint32_t a = p[3];
        if (a == 0) continue;
        for (int i = 0; i < 3; ++i) p[i] = static_cast<uint8_t>(unpremultiplied(p[i], a, k255, 255));
    }
}

// X = trunc(A x (1/65535) x X). Full alpha passes the colour unchanged: the product of
// 65535 and the constant falls just below 1 and would turn 65535 into 65534.
void premultiplyRGBA64(uint16_t* px, int32_t w, int32_t h) {
    if (!px) return;
    const size_t n = hostPixels(w, h);
    for (uint16_t* p = px; p < px + n * 4; p += 4) {
        const uint32_t a = p[3];
        if (a == 0 || a == 65535) continue;
        for (int i = 0; i < 3; ++i) p[i] = static_cast<uint16_t>(static_cast<uint32_t>(a * k65535 * p[i]));
    }
}

void unpremultiplyRGBA64(uint16_t* px, int32_t w, int32_t h) {
    if (!px) return;
    const size_t n = hostPixels(w, h);
    for (uint16_t* p = px; p < px + n * 4; p += 4) {
        const uint32_t a = p[3];
        if (a == 0) continue;
        for (int i = 0; i < 3; ++i) p[i] = static_cast<uint16_t>(unpremultiplied(p[i], a, k65535, 65535));
    }
}

}  // namespace orv
