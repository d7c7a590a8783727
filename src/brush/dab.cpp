// Dab set-up: colour, variation, grit pattern, footprint and rectangles; then one of the two
// per-pixel loops; then the one-dab flags are cleared.
#include "brush/dab.h"

#include <algorithm>

#include "brush/dab_internal.h"
#include "engine/engine_state.h"

namespace orv {

namespace {

// The pixels dabs land on: the paint layer while it exists, else the current layer; null
// when neither covers the page.
uint16_t* dabTarget(EngineState& s) {
    const size_t need = s.page.pixelCount() * 4;
    LayerRecord& pl = s.brush.paintLayer;
    if (pl.present()) return pl.pixels.size() >= need ? pl.pixels.data() : nullptr;
    LayerRecord* l = s.layers.currentLayer;
    return l && l->present() && l->pixels.size() >= need ? l->pixels.data() : nullptr;
}

// The brush buffers a dab reads exist and the sizes fit them.
bool brushReady(const EngineState& s) {
    const BrushSettings& b = s.brush.settings;
    const int32_t B = s.page.maxBrushSize;
    return B > 0 && s.brush.shapeBuffer && s.brush.blendBuffer && b.brushSize > 0 && b.brushSize <= B &&
           b.footprintSize > 0 && b.footprintSize <= b.brushSize;
}

uint16_t clamp16(int32_t v) { return static_cast<uint16_t>(std::clamp(v, 0, 65535)); }

void growRect(int32_t& l, int32_t& t, int32_t& r, int32_t& bo, const dab::Dab& d) {
    l = std::min(l, d.pxBegin);
    t = std::min(t, d.pyBegin);
    r = std::max(r, d.pxEnd);
    bo = std::max(bo, d.pyEnd);
}

}  // namespace

namespace dab {

void chooseGritPattern(BrushState& br, int32_t B) {
    BrushSettings& b = br.settings;
    if (b.gritCellSize == 0 || b.drawingLength >= 1) return;
    const GritCursor prev = br.currentGrit;
    do br.currentGrit = {br.random.next() % kGritMapCount, 0};
    while (br.currentGrit == prev);
    const uint32_t u1 = static_cast<uint32_t>(br.random.next()), u2 = static_cast<uint32_t>(br.random.next());
    br.currentGrit.offset = (u1 % 25) * static_cast<uint32_t>(B) + (u2 % 25);
    b.drawingLength = b.gritRepeat;
}


// Footprint, rectangles and the per-dab buffers and settings common to layer and mask dabs.
void setUpFootprint(EngineState& s, Dab& d, int32_t x, int32_t y) {
    BrushState& br = s.brush;
    const BrushSettings& b = br.settings;
    d.B = s.page.maxBrushSize;
    d.W = s.page.pageWidth;
    d.S = b.brushSize;
    d.N = b.footprintSize;
    d.half = d.S / 2;
    d.scale = b.scaleTable.data();
    const int32_t h = d.N / 2;
    const int32_t x0 = x - h, y0 = y - h;
    d.pxBegin = std::max(x0, 0);
    d.pxEnd = std::min(x0 + d.N, s.page.pageWidth);
    d.pyBegin = std::max(y0, 0);
    d.pyEnd = std::min(y0 + d.N, s.page.pageHeight);
    // The column base is read only while the footprint reaches the page.
    d.bc0 = x0 < 0 && -x0 < d.N ? b.scaleTable[-x0] : 0;
    d.k0 = y0 < 0 ? -y0 : 0;
    DirtyRect& r = s.undo.dirtyRect;
    growRect(r.x0, r.y0, r.x1, r.y1, d);

    d.stride = static_cast<size_t>(s.page.pageStride);
    d.shape = br.shapeBuffer.data();
    d.blend = br.blendBuffer.data();
    const Buffer<uint8_t>* grit = br.currentGrit.pattern >= 0 ? &br.gritMaps[br.currentGrit.pattern] : nullptr;
    d.grit = b.gritCellSize != 0 && grit && *grit ? grit->data() + br.currentGrit.offset : nullptr;
    d.density = b.density;
    d.texture = br.textureBuffer && br.textureBuffer.size() >= s.page.pixelCount() ? br.textureBuffer.data() : nullptr;
    d.alphaScale = b.alphaPercent < 100;
    d.alphaFactor = static_cast<uint32_t>(std::max(0, b.alphaFactor));
    d.solid = b.solidBrushMode != 0;
    d.rotate = b.rotateMode == 1;
    d.rotSin = b.rotateSin;
    d.rotCos = b.rotateCos;
    d.pickup = b.blendStrength != 0 && !b.tempDisableBlend;
    d.remix = d.pickup && b.blendRemix;
    d.bs = static_cast<uint32_t>(b.blendStrength);
    d.bsr = static_cast<uint32_t>(b.blendStrengthRest);
    d.P = static_cast<uint32_t>(b.blendPrimaryColorStrength);
    d.Pr = static_cast<uint32_t>(b.primaryRest);
    d.rnd = &br.random;
    auto cursor = [&](VaryCursor& c, const RandomByteArray& a, int32_t n) {
        // An array too short for a full row (made for a smaller page) turns the variation off.
        const bool usable = n > 0 && a.data && a.length >= static_cast<uint32_t>(d.B + d.N + 1);
        c = VaryCursor{usable ? a.data.data() : nullptr, a.length, 0, usable ? n : 0, false};
    };
    cursor(d.colorVary, br.pixelColorVaryBytes, b.pixelColorVary);
    cursor(d.lumVary, br.pixelLumVaryBytes, b.pixelLumVary);
}

}  // namespace dab

int32_t drawDabGrit(EngineState& s, int32_t x, int32_t y, int32_t r, int32_t g, int32_t bl, DabLoop loop) {
    BrushState& br = s.brush;
    BrushSettings& b = br.settings;
    b.currentColor[0] = static_cast<uint16_t>(r & 0xFF00);
    b.currentColor[1] = static_cast<uint16_t>(g & 0xFF00);
    b.currentColor[2] = static_cast<uint16_t>(bl & 0xFF00);
    b.currentColor[3] = 65535;
    if (b.maskMakerOn) return drawDabGritMask(s, x, y);
    uint16_t* target = dabTarget(s);
    if (!target || !brushReady(s)) return 0;

    dab::Dab d;
    int32_t c0[4] = {b.currentColor[0], b.currentColor[1], b.currentColor[2], b.currentColor[3]};
    if (b.colorVary > 0) {
        const int32_t u = br.random.next();
        const int32_t o = (b.colorVary / 2 - u % b.colorVary) * 256;
        for (auto& c : c0) c = clamp16(c + o);
    }
    if (b.eraseModeOn) c0[0] = c0[1] = c0[2] = 65535, c0[3] = 0;
    for (int i = 0; i < 4; ++i) d.c0[i] = static_cast<uint32_t>(c0[i]);
    dab::chooseGritPattern(br, s.page.maxBrushSize);
    dab::setUpFootprint(s, d, x, y);
    LayerRecord& pl = br.paintLayer;
    if (pl.present()) growRect(pl.dirtyLeft, pl.dirtyTop, pl.dirtyRight, pl.dirtyBottom, d);

    d.target = target;
    d.mask = s.mask.maskActive && s.mask.maskBuffer.size() >= s.page.pixelCount() ? s.mask.maskBuffer.data() : nullptr;
    d.imageBrush = b.imageBrushMode != 0;
    d.mode = b.mixMode;
    d.high = b.mixMode > 33 && dab::visitHighMode(b.mixMode, [](auto) {});
    if (b.mixMode > 33 && !d.high) d.mode = 32;  // unlisted modes paint as "Normal"
    d.a = static_cast<uint32_t>(b.mixAmount);
    d.ar = static_cast<uint32_t>(b.mixRest);
    d.shift = b.posterizeShift;
    d.banks = b.colorBanks;
    d.erase = b.eraseModeOn != 0;
    d.colorLocked = b.colorLocked != 0;
    const LayerRecord* cur = s.layers.currentLayer;
    d.writeAlpha = pl.present() || (cur && !cur->lockAlpha && !b.alphaLocked && s.layers.currentLayerNumber > 1);
    d.blob = b.blobLocked != 0;
    d.levelAlpha = b.alphaLevel > 0;
    d.alphaLevel = static_cast<uint16_t>(b.alphaLevel);

    if (loop == DabLoop::Literal) dab::paintLiteral(d);
    else dab::paintFast(d);
    b.tempDisableBlend = b.maskMakerOn = b.eraseModeOn = 0;
    return 0;
}

}  // namespace orv
