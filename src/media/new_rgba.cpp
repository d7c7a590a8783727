#include "media/new_rgba.h"

#include <cstring>

#include "engine/engine_state.h"
#include "engine/error_texts.h"
#include "engine/last_error.h"
#include "engine/pixel_transfer.h"
#include "imaging/resample.h"

namespace orv {

void createNewRGBA(NewRgbaBuffer& b, int32_t width, int32_t height) {
    deleteNewRGBA(b);
    b.width = width;
    b.height = height;
    failAs(err::CreateNewRGBA, [&] { b.pixels.assign(checkedSize(width, height, 4), 0); });
}

void replaceNewRGBA(NewRgbaBuffer& b, RgbaImage&& img) {
    b.width = img.width;
    b.height = img.height;
    b.pixels = std::move(img.rgba);
}

void deleteNewRGBA(NewRgbaBuffer& b) noexcept { std::vector<uint8_t>().swap(b.pixels); }

void getNewRGBA32(const NewRgbaBuffer& b, uint8_t* dst) {
    if (b.present() && dst) std::memcpy(dst, b.pixels.data(), b.pixels.size());
}

void getNewRGBA24(const NewRgbaBuffer& b, uint8_t* dst) {
    if (b.present() && dst) rgba32ToRGB24(dst, b.pixels.data(), b.width, b.height);
}

void getResizedNewRGBA24(const NewRgbaBuffer& b, uint8_t* dst, int32_t width, int32_t height) {
    if (!b.present() || !dst || width <= 0 || height <= 0) return;
    std::vector<uint8_t> tmp(checkedSize(width, height, 4));
    resampleImage({b.pixels.data(), b.width, b.height}, {tmp.data(), width, height}, 4);
    rgba32ToRGB24(dst, tmp.data(), width, height);
}

bool isNewRGBATransparent(const NewRgbaBuffer& b) noexcept {
    for (size_t i = 3; i < b.pixels.size(); i += 4)
        if (b.pixels[i] < 255) return true;
    return false;
}

void setInNewRGBA(EngineState& s) {
    const NewRgbaBuffer& b = s.media.newRGBA;
    if (!b.present()) return;
    loadRGBA32(s, s.layers.currentLayer, {b.pixels.data(), b.width * 4, 0, 0, b.width, b.height, true});
}

}  // namespace orv
