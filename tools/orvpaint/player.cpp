#include "player.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unistd.h>
#include <vector>

#include "brushes.h"
#include "orvcore.h"

namespace orvpaint {

namespace {

constexpr int32_t kMaxSide = 10000;
constexpr double kMaxCoord = 1e6;
constexpr int32_t kMaxBrush = 256;  // the page's brush buffers are made for this size

std::string at(const Record& r, const std::string& what) { return std::to_string(r.line) + ": " + what; }

class Player {
public:
    Player(const PlayOptions& o) : opt_(o) {}

    bool run(const Script& s, std::string& error) {
        if (!makePage(error)) return false;
        const size_t total = s.records.size();
        for (size_t i = 0; i < total; ++i) {
            if (!play(s.records[i], error)) return false;
            if (opt_.progress && (i % 256 == 0 || i + 1 == total)) opt_.progress(i + 1, total);
        }
        if (inStroke_) endStroke();
        return true;
    }

private:
    const PlayOptions& opt_;
    const BrushPreset* brush_ = brushPreset(0);
    int32_t size_ = 12, opacity_ = 100, density_ = 256;
    uint32_t color_[3] = {0, 0, 0};
    int32_t layer_ = 2;
    bool inStroke_ = false, havePrev_ = false;
    double prevX_ = 0, prevY_ = 0, carry_ = 0;
    int32_t width_ = 0, height_ = 0;

    bool makePage(std::string& error) {
        int32_t w = opt_.width, h = opt_.height;
        if (!opt_.canvas.empty()) {
            if (!ORV_ReadFromFile(opt_.canvas.c_str())) {
                error = "cannot read canvas image '" + opt_.canvas + "'";
                return false;
            }
            if (!opt_.sizeGiven) {
                w = ORV_GetNewRGBAWidth();
                h = ORV_GetNewRGBAHeight();
            }
        }
        if (w < 1 || h < 1 || w > kMaxSide || h > kMaxSide) {
            error = "page size " + std::to_string(w) + "x" + std::to_string(h) + " is outside 1..10000";
            return false;
        }
        width_ = w;
        height_ = h;
        if (opt_.seedGiven) ORV_SetRandomSeed(opt_.seed);
        ORV_CreateImage(nullptr, w, h, kMaxBrush, 0);
        if (!ORV_CreateLayer(1, w, h) || !ORV_CreateLayer(2, w, h)) {
            error = std::string("cannot make the page: ") + ORV_GetLastError();
            return false;
        }
        ORV_SetLayerOptions(1, 1, 0, 100, "Normal");
        ORV_SetLayerOptions(2, 1, 0, 100, "Normal");
        if (!opt_.canvas.empty()) {
            ORV_SetLayer(1);
            ORV_SetInNewRGBA();
            ORV_DeleteNewRGBA();
        }
        ORV_SetViewSize(w, h);
        ORV_SetLayer(layer_);
        applyBrush();
        return true;
    }

    // Configures the tool from the preset and the current size, opacity and density.
    void applyBrush() {
        const BrushPreset& b = *brush_;
        ORV_SetSize(size_);
        ORV_SetTool(1.0f, b.gritCellSize, b.gritCellThreshold, b.gritPixelThreshold, b.edgeSoftness, b.colorVary,
                    b.gritRepeat, b.blendStrength, b.blendPrimary, b.remix, 0, 0, 0, "", "", 0);
        ORV_SetMixMode(b.mixMode, b.mixAmount);
        ORV_SetDensity(b.gritCellSize ? std::min(density_, b.density) : density_);
        ORV_SetAlpha(b.usePaintLayer ? 100 : opacity_);
    }

    void dab(double x, double y, double pressure) {
        const BrushPreset& b = *brush_;
        pressure = std::clamp(pressure <= 0 ? 1.0 : pressure, 0.0, 1.0);
        if (b.pressure == Pressure::Size)
            ORV_SetScaleSize(std::max(1, static_cast<int32_t>(std::lround(size_ * pressure))));
        else
            ORV_SetScaleSize(size_);
        const int32_t base = b.usePaintLayer ? 100 : opacity_;
        ORV_SetAlpha(b.pressure == Pressure::Opacity ? std::max(1, static_cast<int32_t>(base * pressure)) : base);
        const int32_t ix = static_cast<int32_t>(std::floor(x)), iy = static_cast<int32_t>(std::floor(y));
        if (b.blendStrength > 0) ORV_CopyBlendBufferSurface(ix, iy, 40, 0);
        if (b.erase) ORV_SetEraseModeOn();
        ORV_DrawDabGrit(ix, iy, color_[0], color_[1], color_[2]);
        ORV_DecDrawingLength();
    }

    // Dabs along the segment from the previous position, at the brush's spacing.
    void moveTo(double x, double y, double pressure) {
        if (!havePrev_) {
            dab(x, y, pressure);
            prevX_ = x, prevY_ = y, havePrev_ = true, carry_ = 0;
            return;
        }
        const double step = std::max(1.0, size_ * static_cast<double>(brush_->spacing));
        const double dx = x - prevX_, dy = y - prevY_, len = std::hypot(dx, dy);
        double t = step - carry_;
        while (t <= len) {
            dab(prevX_ + dx * t / len, prevY_ + dy * t / len, pressure);
            t += step;
        }
        carry_ = len - (t - step);
        prevX_ = x, prevY_ = y;
    }

    void beginStroke() {
        if (inStroke_) endStroke();
        inStroke_ = true;
        havePrev_ = false;
        if (brush_->usePaintLayer) {
            ORV_CreatePaintLayer(opacity_, "Normal");
            ORV_ClearPaintLayer();
        }
    }

    void endStroke() {
        if (!inStroke_) return;
        inStroke_ = false;
        havePrev_ = false;
        if (brush_->usePaintLayer) {
            ORV_MergePaintLayer(layer_);
            ORV_DeletePaintLayer();
        }
    }

    static bool coord(double v) { return std::fabs(v) <= kMaxCoord; }

    bool play(const Record& r, std::string& error) {
        const std::string& k = r.keyword;
        const auto& v = r.num;
        if (k == "Description" || k == "ScriptEnd") return true;
        if (k == "RandomSeed") {
            if (!opt_.seedGiven) ORV_SetRandomSeed(static_cast<uint32_t>(static_cast<int64_t>(v[0])));
            applyBrush();
            return true;
        }
        if (k == "SelectBrush") {
            const BrushPreset* b = brushPreset(static_cast<int>(v[0]));
            if (!b || v[0] != std::floor(v[0])) {
                error = at(r, "no brush number " + r.text[0] + " (0.." + std::to_string(brushCount() - 1) + ")");
                return false;
            }
            if (inStroke_) endStroke();
            brush_ = b;
            size_ = v[1] > 0 ? static_cast<int32_t>(v[1]) : b->size;
            opacity_ = v[2] > 0 ? static_cast<int32_t>(v[2]) : b->opacity;
            if (size_ > kMaxBrush || opacity_ > 100) {
                error = at(r, "brush size must be 1.." + std::to_string(kMaxBrush) + " and opacity 1..100");
                return false;
            }
            applyBrush();
            return true;
        }
        if (k == "SetBrushSize" || k == "SetBrushOpacity" || k == "SetBrushDensity") {
            const int32_t limit = k == "SetBrushSize" ? kMaxBrush : (k == "SetBrushOpacity" ? 100 : 256);
            if (v[0] < 1 || v[0] > limit) {
                error = at(r, k + " value " + r.text[0] + " is outside 1.." + std::to_string(limit));
                return false;
            }
            (k == "SetBrushSize" ? size_ : k == "SetBrushOpacity" ? opacity_ : density_) = static_cast<int32_t>(v[0]);
            if (inStroke_ && k == "SetBrushOpacity" && brush_->usePaintLayer) ORV_CreatePaintLayer(opacity_, "Normal");
            applyBrush();
            return true;
        }
        if (k == "SetColor") {
            for (int i = 0; i < 3; ++i) {
                if (v[i] < 0 || v[i] > 255) {
                    error = at(r, "colour value " + r.text[i] + " is outside 0..255");
                    return false;
                }
                color_[i] = static_cast<uint32_t>(v[i]) << 8;
            }
            ORV_SetColor(color_[0] >> 8, color_[1] >> 8, color_[2] >> 8);
            return true;
        }
        if (k == "SetColorBanks") {
            int32_t c[12];
            for (int i = 0; i < 12; ++i) c[i] = static_cast<int32_t>(std::clamp(v[i + 1], 0.0, 255.0));
            ORV_SetColorBanks(c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7], c[8], c[9], c[10], c[11]);
            return true;
        }
        if (k == "DrawStart") {
            beginStroke();
            return true;
        }
        if (k == "SmoothPlot2") {
            if (!coord(v[0]) || !coord(v[1])) {
                error = at(r, "position out of range");
                return false;
            }
            if (v[3] != 0 || v[4] != 0) return true;  // the opening and closing marks carry no position
            if (!inStroke_) beginStroke();
            moveTo(v[0], v[1], v[2]);
            return true;
        }
        if (k == "DrawStop") {
            endStroke();
            return true;
        }
        if (k == "Dab") {
            if (!coord(v[0]) || !coord(v[1])) {
                error = at(r, "position out of range");
                return false;
            }
            const bool single = !inStroke_;
            if (single) beginStroke();
            dab(v[0], v[1], v[2]);
            if (single) endStroke();
            return true;
        }
        if (k == "Line2") {
            for (double c : v)
                if (!coord(c)) {
                    error = at(r, "position out of range");
                    return false;
                }
            beginStroke();
            moveTo(v[0], v[1], 1.0);
            moveTo(v[2], v[3], 1.0);
            endStroke();
            return true;
        }
        if (k == "Spline") {
            for (int i = 0; i < 6; ++i)
                if (v[i] < 0 || v[i] > kMaxCoord) {
                    error = at(r, "spline points must lie at 0.." + std::to_string(static_cast<int>(kMaxCoord)));
                    return false;
                }
            ORV_CalcSpline3(static_cast<int32_t>(v[0]), static_cast<int32_t>(v[1]), static_cast<int32_t>(v[2]),
                            static_cast<int32_t>(v[3]), static_cast<int32_t>(v[4]), static_cast<int32_t>(v[5]), 0);
            const double p0 = v[6] > 0 ? v[6] : 1.0, p1 = v[7] > 0 ? v[7] : p0;
            const int32_t n = ORV_GetSplinePointCount();
            beginStroke();
            for (int32_t i = 0; i < n; ++i)
                moveTo(ORV_GetSplinePointX(i), ORV_GetSplinePointY(i), p0 + (p1 - p0) * i / std::max(1, n - 1));
            endStroke();
            return true;
        }
        if (k == "Filter") {
            if (opt_.notice) opt_.notice(at(r, "Filter '" + r.text[0] + "' skipped: this engine has no effect processor yet"));
            return true;
        }
        if (k == "Layer") {
            double n, vis, op;
            if (!toNum(r.text[0], n) || !toNum(r.text[1], vis) || !toNum(r.text[2], op) || n < 1 || n > 63 ||
                n != std::floor(n) || op < 0 || op > 100) {
                error = at(r, "Layer needs a number 1..63, a visibility flag, an opacity 0..100 and a blend-mode name");
                return false;
            }
            if (inStroke_) endStroke();
            layer_ = static_cast<int32_t>(n);
            int32_t dummy = -1;
            ORV_FindDataExtentsLayer(layer_, &dummy, &dummy, &dummy, &dummy);
            if (dummy == -1 && !ORV_CreateLayer(layer_, pageW(), pageH())) {
                error = at(r, "cannot make layer " + r.text[0]);
                return false;
            }
            ORV_SetLayerOptions(layer_, vis != 0, 0, static_cast<int32_t>(op), r.text[3].c_str());
            ORV_SetLayer(layer_);
            return true;
        }
        if (k == "MaskAll") {
            ORV_ClearMask(0, 0, 0);
            return true;
        }
        if (k == "MaskRect" || k == "MaskEllipse") {
            for (int i = 0; i < 4; ++i)
                if (!coord(v[i])) {
                    error = at(r, "position out of range");
                    return false;
                }
            const int32_t c[5] = {static_cast<int32_t>(v[0]), static_cast<int32_t>(v[1]), static_cast<int32_t>(v[2]),
                                  static_cast<int32_t>(v[3]), 100 - static_cast<int32_t>(std::clamp(v[4], 0.0, 100.0))};
            // Only the shape is selected: protect the page, then select inside the shape.
            ORV_ClearMask(0xFF00, 0xFF00, 0xFF00);
            if (k == "MaskRect")
                ORV_IPLMaskRectangle(c[0], c[1], c[2], c[3], c[4]);
            else
                ORV_IPLMaskEllipse(c[0], c[1], c[2], c[3], c[4]);
            return true;
        }
        error = at(r, "record '" + k + "' is not supported");
        return false;
    }

    static bool toNum(const std::string& s, double& v) {
        char* end = nullptr;
        v = std::strtod(s.c_str(), &end);
        return end != s.c_str() && *end == 0 && std::isfinite(v);
    }

public:
    int32_t pageW() const { return width_; }
    int32_t pageH() const { return height_; }
};

}  // namespace

std::string extensionOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    return path.substr(dot);
}

bool playScript(const Script& script, const PlayOptions& options, int32_t& width, int32_t& height, std::string& error) {
    Player p(options);
    const bool ok = p.run(script, error);
    width = p.pageW();
    height = p.pageH();
    return ok;
}

bool writePage(const std::string& path, int32_t w, int32_t h, std::string& error) {
    const size_t n = static_cast<size_t>(w) * h;
    std::vector<uint16_t> page(n * 4, 0);
    ORV_Merge(page.data());
    std::vector<uint8_t> rgba(n * 4);
    for (size_t i = 0; i < n * 4; ++i) rgba[i] = static_cast<uint8_t>(page[i] >> 8);
    return writeRGBA32(path, rgba.data(), w, h, error);
}

bool writeRGBA32(const std::string& path, const uint8_t* rgba, int32_t w, int32_t h, std::string& error) {
    const std::string ext = extensionOf(path);
    if (ext.empty()) {
        error = "'" + path + "' has no extension to choose a file format";
        return false;
    }
    const std::string tmp = path.substr(0, path.size() - ext.size()) + ".orvpaint-" + std::to_string(getpid()) + ext;
    // The 32-bit writers keep alpha but know fewer formats; the 24-bit ones know them all.
    int32_t r = ORV_WriteToFileRGBA32(const_cast<uint8_t*>(rgba), w, h, tmp.c_str(), ext.c_str(), 72);
    if (!r) {
        const size_t n = static_cast<size_t>(w) * h;
        std::vector<uint8_t> rgb(n * 3);
        for (size_t i = 0; i < n; ++i)
            for (int c = 0; c < 3; ++c) rgb[i * 3 + c] = rgba[i * 4 + c];
        r = ORV_WriteToFileRGB24(rgb.data(), w, h, tmp.c_str(), ext.c_str(), 72);
    }
    if (!r || std::rename(tmp.c_str(), path.c_str()) != 0) {
        std::remove(tmp.c_str());
        error = "cannot write '" + path + "' (unsupported extension or unwritable place)";
        return false;
    }
    return true;
}

}  // namespace orvpaint
