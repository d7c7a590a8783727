// Writes the shipped brush shapes and paper grains: grey pictures drawn here from formulas
// and a fixed pseudo-random sequence (so every run writes the same bytes), saved as PNG, and
// image scripts that build further shapes and grains from them.
//
// Usage: orv_gen_data DATA_DIR   (writes DATA_DIR/brushes and DATA_DIR/grains)
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "imaging/codecs/byte_io.h"
#include "imaging/codecs/codec.h"

namespace fs = std::filesystem;

namespace {

// A fixed 64-bit sequence (splitmix64): the same seed always gives the same pictures.
struct Sequence {
    uint64_t state;
    uint64_t next() {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double unit() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }  // [0, 1)
};

// A grey picture, values 0..1.
struct Grey {
    int w, h;
    std::vector<double> v;
    Grey(int width, int height) : w(width), h(height), v(static_cast<size_t>(width) * height, 0.0) {}
    double& at(int x, int y) { return v[static_cast<size_t>(y) * w + x]; }
    void each(const std::function<double(double x, double y)>& f) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) at(x, y) = std::clamp(f(x + 0.5, y + 0.5), 0.0, 1.0);
    }
};

double smoothstep(double a, double b, double t) {
    t = std::clamp((t - a) / (b - a), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

// Value noise on a lattice of cells x cells that wraps, so the picture tiles seamlessly.
struct TiledNoise {
    int cells;
    std::vector<double> lattice;
    TiledNoise(int c, Sequence& seq) : cells(c), lattice(static_cast<size_t>(c) * c) {
        for (double& l : lattice) l = seq.unit();
    }
    double at(int x, int y) const {
        x = ((x % cells) + cells) % cells;
        y = ((y % cells) + cells) % cells;
        return lattice[static_cast<size_t>(y) * cells + x];
    }
    // u, v in 0..1 over the whole tile.
    double sample(double u, double v) const {
        const double fx = u * cells, fy = v * cells;
        const int ix = static_cast<int>(std::floor(fx)), iy = static_cast<int>(std::floor(fy));
        const double tx = smoothstep(0, 1, fx - ix), ty = smoothstep(0, 1, fy - iy);
        const double top = at(ix, iy) * (1 - tx) + at(ix + 1, iy) * tx;
        const double bottom = at(ix, iy + 1) * (1 - tx) + at(ix + 1, iy + 1) * tx;
        return top * (1 - ty) + bottom * ty;
    }
};

// Several octaves of tiled noise, 0..1.
double fractal(const std::vector<TiledNoise>& octaves, double u, double v) {
    double sum = 0, weight = 0, amp = 1;
    for (const TiledNoise& n : octaves) {
        sum += amp * n.sample(u, v);
        weight += amp;
        amp *= 0.55;
    }
    return sum / weight;
}

std::vector<TiledNoise> makeOctaves(Sequence& seq, int first, int count) {
    std::vector<TiledNoise> o;
    for (int i = 0, c = first; i < count; ++i, c *= 2) o.emplace_back(c, seq);
    return o;
}

bool writePng(const fs::path& path, const Grey& g) {
    std::vector<uint8_t> rgb(static_cast<size_t>(g.w) * g.h * 3);
    for (size_t i = 0; i < g.v.size(); ++i)
        rgb[i * 3] = rgb[i * 3 + 1] = rgb[i * 3 + 2] = static_cast<uint8_t>(std::lround(g.v[i] * 255));
    orv::FileSink sink(path.string().c_str());
    orv::EncodeParams p;
    p.width = g.w;
    p.height = g.h;
    p.channels = 3;
    const bool ok = sink.isOpen() && orv::encodeWithRows(orv::startPngRows, false, rgb.data(), p, sink);
    return sink.close() && ok;
}

bool writeText(const fs::path& path, const std::string& text) {
    std::ofstream f(path, std::ios::binary);
    f << text;
    return static_cast<bool>(f);
}

// ---- Brush shapes: 64 x 64, white is full coverage ------------------------------------------

constexpr int kShape = 64;

Grey softRound() {
    Grey g(kShape, kShape);
    g.each([](double x, double y) { return 1 - smoothstep(0.15, 1.0, std::hypot(x - 32, y - 32) / 31.5); });
    return g;
}

Grey chalk(Sequence& seq) {
    Grey g(kShape, kShape);
    const auto octaves = makeOctaves(seq, 8, 3);
    g.each([&](double x, double y) {
        const double disc = 1 - smoothstep(0.8, 1.0, std::hypot(x - 32, y - 32) / 31.5);
        const double n = fractal(octaves, x / kShape, y / kShape);
        return disc * smoothstep(0.3, 0.6, n + 0.1 * seq.unit());
    });
    return g;
}

Grey flat() {
    Grey g(kShape, kShape);
    g.each([](double x, double y) {
        const double r = std::hypot((x - 32) / 30.0, (y - 32) / 9.0);
        return 1 - smoothstep(0.85, 1.0, r);
    });
    return g;
}

Grey bristles(Sequence& seq) {
    Grey g(kShape, kShape);
    for (int i = 0; i < 28; ++i) {
        // Tufts scattered over the disc, each a soft dot.
        const double a = seq.unit() * 2 * std::numbers::pi, d = std::sqrt(seq.unit()) * 25;
        const double cx = 32 + d * std::cos(a), cy = 32 + d * std::sin(a), r = 2.5 + seq.unit() * 3.5;
        const double strength = 0.6 + 0.4 * seq.unit();
        for (int y = 0; y < kShape; ++y)
            for (int x = 0; x < kShape; ++x) {
                const double t = 1 - smoothstep(0.4, 1.0, std::hypot(x + 0.5 - cx, y + 0.5 - cy) / r);
                g.at(x, y) = std::max(g.at(x, y), t * strength);
            }
    }
    return g;
}

// ---- Paper grains: 256 x 256, tiling seamlessly -----------------------------------------------

constexpr int kGrain = 256;

Grey canvas(Sequence& seq) {
    Grey g(kGrain, kGrain);
    const auto octaves = makeOctaves(seq, 16, 3);
    const double period = 8;  // divides 256, so the weave tiles
    g.each([&](double x, double y) {
        const bool warpOnTop = (static_cast<int>(x / period) + static_cast<int>(y / period)) % 2 == 0;
        // Across a thread the surface rises and falls like a cylinder.
        const double across = warpOnTop ? std::fmod(x, period) : std::fmod(y, period);
        const double bump = std::sin(across / period * std::numbers::pi);
        return 0.25 + 0.55 * bump + 0.2 * (fractal(octaves, x / kGrain, y / kGrain) - 0.5);
    });
    return g;
}

Grey rough(Sequence& seq) {
    Grey g(kGrain, kGrain);
    const auto octaves = makeOctaves(seq, 8, 5);
    g.each([&](double x, double y) { return smoothstep(0.2, 0.8, fractal(octaves, x / kGrain, y / kGrain)); });
    return g;
}

Grey laid(Sequence& seq) {
    Grey g(kGrain, kGrain);
    const auto octaves = makeOctaves(seq, 32, 2);
    g.each([&](double x, double y) {
        const double lines = 0.5 + 0.5 * std::cos(y / 4.0 * 2 * std::numbers::pi);    // fine laid lines, period 4
        const double chain = std::max(0.0, 1 - std::abs(std::fmod(x, 64.0) - 32) / 2); // chain line every 64
        return 0.35 + 0.35 * lines - 0.2 * chain + 0.3 * (fractal(octaves, x / kGrain, y / kGrain) - 0.5);
    });
    return g;
}

// An image script: the first line, a comment saying what it makes, then its statements.
bool writeScript(const fs::path& path, const char* comment, const char* body) {
    return writeText(path, std::string("orv-image-script 1\n# ") + comment + "\n" + body);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DATA_DIR\n", argv[0]);
        return 2;
    }
    const fs::path root = argv[1], brushes = root / "brushes", grains = root / "grains";
    fs::create_directories(brushes);
    fs::create_directories(grains);
    Sequence seq{20260101};
    bool ok = true;
    ok &= writePng(brushes / "soft_round.png", softRound());
    ok &= writePng(brushes / "chalk.png", chalk(seq));
    ok &= writePng(brushes / "flat.png", flat());
    ok &= writePng(brushes / "bristles.png", bristles(seq));
    ok &= writeScript(brushes / "flat_45.imgscript", "the flat brush turned by 45 degrees",
                      "size 64 64\nsource flat.png\neffect 51 3=45 4=100\n");
    ok &= writeScript(brushes / "diamond.imgscript", "a white square turned by 45 degrees",
                      "size 64 64\nfill 255 255 255 255\neffect 51 3=45 4=100\n");
    ok &= writePng(grains / "canvas.png", canvas(seq));
    ok &= writePng(grains / "rough.png", rough(seq));
    ok &= writePng(grains / "laid.png", laid(seq));
    ok &= writeScript(grains / "laid_vertical.imgscript", "laid paper with its lines upright",
                      "size 256 256\nsource laid.png\neffect 51 3=90 4=100\n");
    ok &= writeScript(grains / "rough_coarse.imgscript", "the rough grain at twice the scale",
                      "size 512 512\nsource rough.png\n");
    if (!ok) {
        std::fprintf(stderr, "orv_gen_data: could not write every file under %s\n", root.string().c_str());
        return 1;
    }
    return 0;
}
