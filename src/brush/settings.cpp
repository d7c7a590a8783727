#include "brush/settings.h"

#include <algorithm>
#include <cmath>

#include "engine/engine_state.h"
#include "engine/error_texts.h"

namespace orv {

namespace {
inline uint16_t hiByteColor(int32_t v) noexcept { return static_cast<uint16_t>((v & 0xFF) << 8); }
}  // namespace

void setColor(BrushSettings& b, int32_t r, int32_t g, int32_t bl) noexcept {
    b.currentColor[0] = hiByteColor(r);
    b.currentColor[1] = hiByteColor(g);
    b.currentColor[2] = hiByteColor(bl);
    b.currentColor[3] = 65535;
}

void setColor16(BrushSettings& b, int32_t r, int32_t g, int32_t bl) noexcept {
    b.currentColor[0] = static_cast<uint16_t>(r);
    b.currentColor[1] = static_cast<uint16_t>(g);
    b.currentColor[2] = static_cast<uint16_t>(bl);
    b.currentColor[3] = 65535;
}

void setColorBanks(BrushSettings& b, const int32_t rgb[12]) noexcept {
    for (int k = 0; k < 4; ++k) {
        b.colorBanks[k] = hiByteColor(rgb[k * 3]);
        b.colorBanks[4 + k] = hiByteColor(rgb[k * 3 + 1]);
        b.colorBanks[8 + k] = hiByteColor(rgb[k * 3 + 2]);
        b.colorBanks[12 + k] = 65535;
    }
}

void setBlendStrength(BrushSettings& b, int32_t a) noexcept {
    b.blendStrength = a;
    if (a > 0) b.blendStrengthRest = 256 - a;
}

void setBlendPrimaryColorStrength(BrushSettings& b, int32_t a) noexcept {
    b.blendPrimaryColorStrength = a;
    if (a > 0) b.primaryRest = 256 - a;
}

void setDensity(BrushSettings& b, int32_t a) noexcept { b.density = a - 1; }

void setAlpha(BrushSettings& b, int32_t a) noexcept {
    b.alphaPercent = a;
    b.alphaFactor = static_cast<int32_t>(static_cast<long double>(a) * static_cast<long double>(1.28));
}

// rotateRadians = degrees x (1/180) x 3.14159, the constant kept as stored (not pi). The sine
// is taken of the unrounded product, the cosine of the float-rounded one.
void setRotateBrushMode(BrushSettings& b, int32_t mode, int32_t degrees) noexcept {
    b.rotateMode = mode;
    b.rotateAngle = degrees;
    const long double rad = static_cast<long double>(degrees) * 0.005555555555555556L * static_cast<long double>(3.14159);
    b.rotateRadians = static_cast<float>(rad);
    b.rotateSin = static_cast<float>(std::sin(rad));
    b.rotateCos = static_cast<float>(std::cos(static_cast<long double>(b.rotateRadians)));
}

// posterizeShift = trunc(16 x (amount - 127) x (1/127)): amount 255 gives 16, 127 gives 0.
void setMixMode(BrushSettings& b, int32_t mode, int32_t amount) noexcept {
    b.mixMode = mode;
    b.mixAmount = amount;
    b.mixRest = 256 - amount;
    b.posterizeShift = static_cast<int32_t>(static_cast<long double>(16.0f) * (amount - 127) *
                                            static_cast<long double>(0.007874015748031496));
}

void setSize(BrushSettings& b, int32_t s, int32_t maxBrushSize) noexcept {
    const int32_t limit = maxBrushSize > 0 && maxBrushSize < kScaleTableSize ? maxBrushSize : kScaleTableSize;
    if (s > limit) s = limit;
    b.brushSize = s;
    b.footprintSize = s;
    for (int32_t i = 0; i < s; ++i) b.scaleTable[i] = i;
}

void setScaleSize(BrushSettings& b, int32_t n) noexcept {
    if (n < 1) n = 1;
    if (n > b.brushSize) n = b.brushSize;
    if (n > kScaleTableSize - 1) n = kScaleTableSize - 1;
    b.footprintSize = n;
    if (n < 1) return;
    const long double step = static_cast<long double>(b.brushSize) / n;
    const float stepF = static_cast<float>(step);
    long double c = step * 0.5L;
    for (int32_t i = 0; i < n; ++i) {
        b.scaleTable[i] = static_cast<int32_t>(c);
        c = c + stepF;
    }
}

void makeRandomByteArray(EngineState& s, RandomByteArray& a, int32_t modulus, uint32_t length) {
    const int32_t seed = static_cast<int32_t>(s.settings.randomSeed);
    if (a.data && a.length == length && a.modulus == modulus && a.seed == seed) return;
    a.data.release();
    s.brush.random.seed(s.settings.randomSeed);
    failAs(err::MakeRandArray, [&] { a.data.allocate(length); });
    uint8_t* d = a.data.data();
    for (uint32_t i = 0; i < length; ++i) d[i] = static_cast<uint8_t>(s.brush.random.next() % modulus);
    a.length = length;
    a.modulus = modulus;
    a.seed = seed;
}

void setPixColorVary(EngineState& s, int32_t v) {
    s.brush.settings.pixelColorVary = v;
    if (v > 0) makeRandomByteArray(s, s.brush.pixelColorVaryBytes, 1000, static_cast<uint32_t>(3 * std::max(0, s.page.maxBrushSize)));
}

void setPixLumVary(EngineState& s, int32_t v) {
    s.brush.settings.pixelLumVary = v;
    if (v > 0) makeRandomByteArray(s, s.brush.pixelLumVaryBytes, 256, static_cast<uint32_t>(3 * std::max(0, s.page.maxBrushSize)));
}

}  // namespace orv
