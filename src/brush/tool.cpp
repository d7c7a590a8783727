#include "brush/tool.h"

#include <algorithm>
#include <cstring>

#include "brush/settings.h"
#include "brush/shape.h"
#include "engine/engine_state.h"
#include "engine/error_texts.h"
#include "imaging/grey.h"
#include "imaging/image_script.h"

namespace orv {

namespace {

constexpr int32_t kGrainTileSide = 600;

bool longerThanOne(const char* p) { return p && p[0] && p[1]; }

// The brush size the grit is built for: never beyond the page's brush buffers.
int32_t gritBrushSize(const EngineState& s) {
    return std::clamp(s.brush.settings.brushSize, 0, std::max(0, s.page.maxBrushSize));
}

bool gritMapsPresent(const EngineState& s) {
    return s.page.maxBrushSize > 0 && std::all_of(s.brush.gritMaps.begin(), s.brush.gritMaps.end(), [](auto& g) { return bool(g); });
}

}  // namespace

void buildRandomGrit(EngineState& s) {
    BrushState& br = s.brush;
    const BrushSettings& b = br.settings;
    const int32_t c = b.gritCellSize;
    const RandomByteArray& cells = br.gritCellBytes;
    const RandomByteArray& values = br.gritValueBytes;
    if (c <= 0 || !gritMapsPresent(s) || !cells.data || !values.data || cells.length == 0 || values.length == 0) return;
    const uint32_t B = static_cast<uint32_t>(s.page.maxBrushSize);
    const int32_t E = gritBrushSize(s) + 25;
    const uint32_t L = cells.length;
    const uint32_t cellStep = (L - 2u * static_cast<uint32_t>(c)) / 32767u;
    const uint32_t valueStep = (L - static_cast<uint32_t>(c)) / 32767u;
    const uint8_t* cellBytes = cells.data.data();
    const uint8_t* valueBytes = values.data.data();
    const uint32_t valueLength = values.length;
    for (int k = 0; k < kGritMapCount; ++k) {
        br.currentGrit = {k, 0};
        Buffer<uint8_t>& pat = br.gritMaps[k];
        pat.fillBytes(255);
        for (int32_t y = 0; y < E; y += c) {
            uint32_t P = (static_cast<uint32_t>(br.random.next()) * cellStep) % L;
            uint32_t Q = (static_cast<uint32_t>(br.random.next()) * valueStep) % valueLength;
            auto nextCell = [&] {
                const uint8_t v = cellBytes[P];
                if (++P == L) P = 0;
                return static_cast<int32_t>(v);
            };
            const int32_t rows = std::min(c, E - y);
            for (int32_t x = 0; x < E; x += c) {
                if (nextCell() >= b.gritCellThreshold) continue;
                const uint8_t v = valueBytes[Q];
                if (++Q == valueLength) Q = 0;
                const int32_t cols = std::min(c, E - x);
                for (int32_t i = 0; i < rows; ++i)
                    for (int32_t j = 0; j < cols; ++j)
                        if (nextCell() < b.gritPixelThreshold) pat[static_cast<size_t>(y + i) * B + (x + j)] = v;
            }
        }
    }
}

bool applyGrainWindows(EngineState& s, const uint8_t* gray, int32_t w, int32_t h) {
    BrushState& br = s.brush;
    const int32_t E = gritBrushSize(s) + 25;
    if (!gritMapsPresent(s) || w <= E || h <= E) return false;
    const int32_t B = s.page.maxBrushSize;
    const int32_t edge = std::min(E, B);  // the window is clipped to the B x B pattern
    for (int k = 0; k < kGritMapCount; ++k) {
        br.currentGrit = {k, 0};
        Buffer<uint8_t>& pat = br.gritMaps[k];
        pat.fillBytes(255);
        const uint32_t rx = static_cast<uint32_t>(br.random.next());
        const uint32_t ry = static_cast<uint32_t>(br.random.next());
        const uint32_t col0 = rx % static_cast<uint32_t>(w - E);
        const uint32_t row0 = ry % static_cast<uint32_t>(h - E);
        for (int32_t r = 0; r < edge; ++r)
            std::memcpy(pat.data() + static_cast<size_t>(r) * B, gray + (static_cast<size_t>(row0) + r) * w + col0, edge);
    }
    br.settings.drawingLength = br.settings.gritRepeat;
    return true;
}

// A script-made grain is repeated over a 600 x 600 tile first; an image file is used as it is.
static RgbaImage tiled600(const RgbaImage& img) {
    RgbaImage tile;
    tile.resize(kGrainTileSide, kGrainTileSide);
    for (int32_t y0 = 0; y0 < kGrainTileSide; y0 += img.height)
        for (int32_t x0 = 0; x0 < kGrainTileSide; x0 += img.width) {
            const int32_t w = std::min(img.width, kGrainTileSide - x0);
            for (int32_t y = y0; y < std::min(y0 + img.height, kGrainTileSide); ++y)
                std::memcpy(tile.row(y) + static_cast<size_t>(x0) * 4, img.row(y - y0), static_cast<size_t>(w) * 4);
        }
    return tile;
}

bool applyPaperGrain(EngineState& s, const char* path) {
    RgbaImage img;
    const SourceRead how = readImageSource(path, img);
    if ((how != SourceRead::Script && how != SourceRead::File) || img.empty()) return false;
    if (how == SourceRead::Script) img = tiled600(img);
    std::vector<uint8_t> grey(checkedSize(img.width, img.height));
    greyPlane(img, grey.data(), static_cast<size_t>(img.width));
    return applyGrainWindows(s, grey.data(), img.width, img.height);
}

void setTool(EngineState& s, const ToolParams& p) {
    BrushState& br = s.brush;
    BrushSettings& b = br.settings;
    br.random.seed(s.settings.randomSeed);
    b.shapeIntensity = p.shapeIntensity;
    b.gritCellSize = p.gritCellSize;
    b.gritCellThreshold = p.gritCellThreshold;
    b.gritPixelThreshold = p.gritPixelThreshold;
    b.edgeSoftness = p.edgeSoftness;
    b.colorVary = p.colorVary;
    b.gritRepeat = p.gritRepeat;
    b.blendStrength = p.blendStrength;
    b.blendPrimaryColorStrength = p.blendPrimaryColorStrength;
    b.blendRemix = p.blendRemix;
    b.toolOption11 = p.toolOption11;
    b.invertShape = p.invertShape;
    b.toolOption13 = p.toolOption13;
    b.shapeAngle = p.shapeAngle;
    b.mixMode = 32;
    if (b.gritCellSize != 0) {
        buildRandomGrit(s);
        b.drawingLength = b.gritRepeat;
    }
    if (longerThanOne(p.paperPath)) applyPaperGrain(s, p.paperPath);
    failAs(err::SetBrushShape, [&] { setBrushShape(s, {p.shapePath, p.shapeAngle}); });
    setBlendStrength(b, b.blendStrength);
    setBlendPrimaryColorStrength(b, b.blendPrimaryColorStrength);
    b.tempDisableBlend = b.maskMakerOn = b.eraseModeOn = 0;
}

}  // namespace orv
