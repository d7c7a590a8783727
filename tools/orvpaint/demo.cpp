// The built-in demonstration: a small landscape painted with several brushes, layers with
// blend modes, a selection and wet pickup, written in the paint script format.
#include <cmath>
#include <initializer_list>
#include <sstream>
#include <string>

#include "commands.h"

namespace orvpaint {

namespace {

class ScriptWriter {
public:
    ScriptWriter() { out_ << "1554\nDescription\n1\n \nRandomSeed\n1234\n"; }
    ScriptWriter& rec(const char* keyword, std::initializer_list<double> values) {
        out_ << keyword << '\n';
        for (double v : values) out_ << v << '\n';
        return *this;
    }
    ScriptWriter& text(const char* keyword, std::initializer_list<const char*> values) {
        out_ << keyword << '\n';
        for (const char* v : values) out_ << v << '\n';
        return *this;
    }
    // A stroke through the points with a pressure ramp from p0 to p1.
    ScriptWriter& stroke(std::initializer_list<std::pair<double, double>> pts, double p0 = 1.0, double p1 = 1.0) {
        rec("DrawStart", {0, 0, -1}).rec("SmoothPlot2", {0, 0, 0, 1, 0});
        const double n = static_cast<double>(pts.size() > 1 ? pts.size() - 1 : 1);
        int i = 0;
        for (auto [x, y] : pts) rec("SmoothPlot2", {x, y, p0 + (p1 - p0) * (i++ / n), 0, 0});
        return rec("SmoothPlot2", {0, 0, 0, 0, 1}).rec("DrawStop", {1});
    }
    std::string str() { return out_.str() + "ScriptEnd\n"; }

private:
    std::ostringstream out_;
};

std::string build() {
    ScriptWriter w;
    // Sky: soft airbrush bands on layer 2, darker at the top.
    w.text("Layer", {"2", "1", "100", "Normal"});
    w.rec("SelectBrush", {1, 90, 60});
    for (int band = 0; band < 5; ++band) {
        w.rec("SetColor", {40.0 + band * 25, 90.0 + band * 25, 200.0 + band * 10});
        const double y = 20 + band * 45;
        w.stroke({{-20, y}, {200, y + 8}, {420, y - 6}, {660, y + 4}});
    }
    // Sun inside an elliptic selection, glazed with an overlay brush.
    w.rec("MaskEllipse", {440, 40, 560, 160, 100});
    w.rec("SelectBrush", {1, 120, 100}).rec("SetColor", {255, 210, 60});
    w.stroke({{430, 100}, {570, 100}});
    w.rec("SelectBrush", {5, 60, 100}).rec("SetColor", {255, 120, 20});
    w.stroke({{450, 70}, {550, 130}});
    w.rec("MaskAll", {});
    // Hills: hard round strokes on layer 3 with pressure, then grit chalk texture.
    w.text("Layer", {"3", "1", "100", "Normal"});
    w.rec("SelectBrush", {0, 60, 100}).rec("SetColor", {60, 140, 60});
    for (int row = 0; row < 7; ++row) {
        const double y = 260 + row * 26;
        w.stroke({{-30, y}, {160, y - 40 + row * 4}, {330, y + 10}, {500, y - 30}, {680, y}}, 0.6, 1.0);
    }
    w.rec("SelectBrush", {2, 30, 100}).rec("SetBrushDensity", {220}).rec("SetColor", {120, 190, 80});
    for (int row = 0; row < 4; ++row) w.stroke({{0, 270.0 + row * 30}, {640, 250.0 + row * 30}}, 0.5, 1.0);
    // Wet smudge along the horizon picks up the sky and the hills.
    w.rec("SelectBrush", {3, 24, 100});
    w.stroke({{20, 245}, {200, 222}, {380, 250}, {620, 232}});
    // A path: a spline and a line, then stones with colour jitter.
    w.rec("SelectBrush", {0, 8, 100}).rec("SetColor", {150, 110, 70});
    w.rec("Spline", {120, 399, 300, 300, 420, 262, 1, 0.3});
    w.rec("Line2", {420, 262, 470, 255});
    w.rec("SelectBrush", {7, 14, 100}).rec("SetColor", {128, 128, 120});
    for (int i = 0; i < 12; ++i) w.rec("Dab", {60.0 + i * 45, 360.0 + 14 * std::sin(i * 1.7), 1});
    // Shadows on a Multiply layer, partly erased again.
    w.text("Layer", {"4", "1", "70", "Multiply"});
    w.rec("SelectBrush", {4, 40, 100}).rec("SetColor", {150, 150, 200});
    w.stroke({{40, 330}, {300, 340}, {600, 320}});
    w.rec("SelectBrush", {6, 40, 100});
    w.stroke({{250, 300}, {350, 360}});
    w.text("Filter", {"Soft Glow", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0"});
    return w.str();
}

}  // namespace

const char* demoScript() {
    static const std::string s = build();
    return s.c_str();
}

}  // namespace orvpaint
