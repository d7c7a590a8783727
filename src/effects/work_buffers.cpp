#include "effects/work_buffers.h"

#include <cstring>

#include "engine/engine_state.h"
#include "engine/layer_table.h"
#include "engine/pixel_transfer.h"

namespace orv {
namespace {

// Replaces the buffer with a zero-filled page of bytesPerPixel bytes per pixel.
uint8_t* allocPage(const PageGeometry& pg, Buffer<uint8_t>& b, int bytesPerPixel) {
    b.release();
    b.allocateZeroed(checkedSize(pg.pageWidth, pg.pageHeight, bytesPerPixel));
    return b.data();
}

void fillSrc32(EngineState& s) noexcept {
    getRGBA32(s.page, s.layers.presentLayer(s.layers.currentLayerNumber), s.effects.work.src32.data(),
              s.page.pageWidth * 4);
}

void copyInto(Buffer<uint8_t>& b, const PageGeometry& pg, const void* pixels) noexcept {
    if (!b || !pixels) return;
    const size_t n = pg.pixelCount() * 4;
    std::memcpy(b.data(), pixels, n < b.size() ? n : b.size());
}

}  // namespace

uint8_t* allocSrcBuffer32(EngineState& s) {
    uint8_t* p = allocPage(s.page, s.effects.work.src32, 4);
    fillSrc32(s);
    return p;
}

void freeSrcBuffer32(EngineState& s) noexcept { s.effects.work.src32.release(); }

uint8_t* allocDstBuffer32(EngineState& s) { return allocPage(s.page, s.effects.work.dst32, 4); }

void freeDstBuffer32(EngineState& s) noexcept { s.effects.work.dst32.release(); }

uint8_t* updateSrcBuffer32(EngineState& s) noexcept {
    if (!s.effects.work.src32) return nullptr;
    fillSrc32(s);
    return s.effects.work.src32.data();
}

void setSrcBuffer32(EngineState& s, const void* pixels) noexcept { copyInto(s.effects.work.src32, s.page, pixels); }

void setDstBuffer32(EngineState& s, const void* pixels) noexcept { copyInto(s.effects.work.dst32, s.page, pixels); }

uint8_t* allocSrcBuffer24(EngineState& s) {
    uint8_t* p = allocPage(s.page, s.effects.work.src24, 3);
    getRGB24(s.page, currentLayerIfPresent(s), p, s.page.pageWidth * 3);
    return p;
}

void freeSrcBuffer24(EngineState& s) noexcept { s.effects.work.src24.release(); }

uint8_t* allocDstBuffer24(EngineState& s) { return allocPage(s.page, s.effects.work.dst24, 3); }

void freeDstBuffer24(EngineState& s) noexcept { s.effects.work.dst24.release(); }

}  // namespace orv
