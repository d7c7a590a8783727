#include "commands.h"

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "brushes.h"
#include "compose.h"
#include "orvcore.h"
#include "paint_script.h"
#include "player.h"

namespace orvpaint {

namespace {

constexpr size_t kMaxScriptBytes = 256u << 20;

int fail(const std::string& msg) {
    std::fprintf(stderr, "orvpaint: %s\n", msg.c_str());
    return 1;
}

int usageError(const char* cmd, const std::string& msg) {
    std::fprintf(stderr, "orvpaint %s: %s (try orvpaint %s --help)\n", cmd, msg.c_str(), cmd);
    return 2;
}

bool wantsHelp(const std::vector<std::string>& args) {
    for (const auto& a : args)
        if (a == "--help" || a == "-h") return true;
    return false;
}

bool readFile(const std::string& path, std::string& out, std::string& error) {
    std::ifstream f(path, std::ios::binary);
    if (!f) {
        error = "cannot open '" + path + "'";
        return false;
    }
    f.seekg(0, std::ios::end);
    const std::streamoff n = f.tellg();
    if (n < 0 || static_cast<size_t>(n) > kMaxScriptBytes) {
        error = "'" + path + "' is not a readable script (too large or not a file)";
        return false;
    }
    f.seekg(0);
    out.assign(static_cast<size_t>(n), '\0');
    f.read(out.data(), n);
    if (!f) {
        error = "cannot read '" + path + "'";
        return false;
    }
    return true;
}

bool parseSize(const std::string& s, int32_t& w, int32_t& h) {
    char x = 0;
    long a = 0, b = 0;
    char tail = 0;
    std::istringstream in(s);
    if (!(in >> a >> x >> b) || (x != 'x' && x != 'X') || (in >> tail)) return false;
    if (a < 1 || b < 1 || a > 10000 || b > 10000) return false;
    w = static_cast<int32_t>(a);
    h = static_cast<int32_t>(b);
    return true;
}

void progressToTerminal(size_t done, size_t total) {
    std::fprintf(stderr, "\rorvpaint: %zu/%zu records", done, total);
    if (done == total) std::fputc('\n', stderr);
}

// Plays script text and writes the picture; name is used in messages.
int playAndWrite(const std::string& text, const std::string& name, PlayOptions& opt, const std::string& out) {
    Script script;
    std::string error;
    if (!parseScript(text, script, error)) return fail(name + ":" + error);
    if (isatty(2) && script.records.size() > 2000) opt.progress = progressToTerminal;
    opt.notice = [&](const std::string& m) { std::fprintf(stderr, "orvpaint: %s:%s\n", name.c_str(), m.c_str()); };
    int32_t w = 0, h = 0;
    if (!playScript(script, opt, w, h, error)) {
        ORV_DeleteImage();
        return fail(name + ":" + error);
    }
    const bool ok = writePage(out, w, h, error);
    ORV_DeleteImage();
    if (!ok) return fail(error);
    std::printf("%s\n", out.c_str());
    return 0;
}

}  // namespace

int cmdPlay(const std::vector<std::string>& args) {
    if (wantsHelp(args)) {
        std::printf(
            "usage: orvpaint play SCRIPT [-o OUT] [--size WxH] [--canvas IMAGE] [--seed N]\n"
            "\n"
            "Plays a paint script (line-per-value records starting with 1554) onto a new page\n"
            "and writes the composited picture to OUT (default: SCRIPT with .png).\n"
            "  --size WxH      page size (default 800x600, or the canvas image's size)\n"
            "  --canvas IMAGE  paint over this image, placed on the background layer\n"
            "  --seed N        random seed, overriding the script's RandomSeed record\n"
            "Brushes for SelectBrush (number, size or 0, opacity or 0):\n");
        for (int i = 0; i < brushCount(); ++i)
            std::printf("  %d  %s\n", i, brushPreset(i)->name);
        return 0;
    }
    PlayOptions opt;
    std::string script, out;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "-o" || a == "--size" || a == "--canvas" || a == "--seed") {
            if (!hasValue) return usageError("play", a + " needs a value");
            const std::string& v = args[++i];
            if (a == "-o") out = v;
            else if (a == "--canvas") opt.canvas = v;
            else if (a == "--size") {
                if (!parseSize(v, opt.width, opt.height)) return usageError("play", "--size wants WxH with sides 1..10000");
                opt.sizeGiven = true;
            } else {
                char* end = nullptr;
                const unsigned long long s = std::strtoull(v.c_str(), &end, 10);
                if (v.empty() || *end || s > 0xFFFFFFFFull || v[0] == '-') return usageError("play", "--seed wants 0..4294967295");
                opt.seed = static_cast<uint32_t>(s);
                opt.seedGiven = true;
            }
        } else if (!a.empty() && a[0] == '-') {
            return usageError("play", "unknown option '" + a + "'");
        } else if (script.empty()) {
            script = a;
        } else {
            return usageError("play", "one script at a time");
        }
    }
    if (script.empty()) return usageError("play", "no script given");
    if (out.empty()) {
        const std::string ext = extensionOf(script);
        out = script.substr(0, script.size() - ext.size()) + ".png";
    }
    std::string text, error;
    if (!readFile(script, text, error)) return fail(error);
    return playAndWrite(text, script, opt, out);
}

int cmdDemo(const std::vector<std::string>& args) {
    if (wantsHelp(args)) {
        std::printf(
            "usage: orvpaint demo [-o OUT]\n"
            "\n"
            "Paints the built-in demonstration script (several brushes, layers with blend\n"
            "modes, a selection and wet pickup) and writes it to OUT (default demo.png).\n");
        return 0;
    }
    std::string out = "demo.png";
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-o" && i + 1 < args.size()) out = args[++i];
        else return usageError("demo", "unexpected argument '" + args[i] + "'");
    }
    PlayOptions opt;
    opt.width = 640;
    opt.height = 400;
    opt.sizeGiven = true;
    return playAndWrite(demoScript(), "demo", opt, out);
}

int cmdInfo(const std::vector<std::string>& args) {
    if (wantsHelp(args) || args.size() != 1) {
        std::printf("usage: orvpaint info FILE\n\nPrints the size, resolution and alpha of an image file as the engine reads it.\n");
        return wantsHelp(args) ? 0 : 2;
    }
    const std::string& path = args[0];
    if (!ORV_ReadFromFile(path.c_str())) return fail("cannot read '" + path + "' as an image");
    std::printf("%s: %d x %d pixels, %d dpi, %s\n", path.c_str(), ORV_GetNewRGBAWidth(), ORV_GetNewRGBAHeight(),
                ORV_GetDPIFromFile(path.c_str()), ORV_IsNewRGBA32Transparent() ? "with transparency" : "opaque");
    ORV_DeleteNewRGBA();
    return 0;
}

int cmdCompose(const std::vector<std::string>& args) {
    if (wantsHelp(args)) {
        std::printf(
            "usage: orvpaint compose -o OUT [--zoom Z] IMAGE[:MODE[:OPACITY]]...\n"
            "\n"
            "Stacks the images as layers, the first at the bottom, each with a blend-mode name\n"
            "(default Normal) and an opacity in percent (default 100), and writes the composite.\n"
            "  --zoom Z   write the view at magnification Z (an integer above 1) or reduction\n"
            "             Z (between 0 and 1, e.g. 0.5) instead of the page at one to one\n");
        return 0;
    }
    ComposeOptions opt;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "-o" || a == "--zoom") {
            if (i + 1 >= args.size()) return usageError("compose", a + " needs a value");
            const std::string& v = args[++i];
            if (a == "-o") opt.out = v;
            else {
                char* end = nullptr;
                opt.zoom = std::strtod(v.c_str(), &end);
                if (v.empty() || *end || !(opt.zoom > 0) || opt.zoom > 64 || (opt.zoom > 1 && opt.zoom != std::floor(opt.zoom)))
                    return usageError("compose", "--zoom wants an integer 2..64 or a reduction between 0 and 1");
            }
        } else if (!a.empty() && a[0] == '-') {
            return usageError("compose", "unknown option '" + a + "'");
        } else {
            LayerSpec layer;
            std::string error;
            if (!parseLayerSpec(a, layer, error)) return usageError("compose", error);
            opt.layers.push_back(layer);
        }
    }
    if (opt.out.empty()) return usageError("compose", "no output file (-o OUT)");
    if (opt.layers.empty()) return usageError("compose", "no images given");
    if (opt.layers.size() > 62) return usageError("compose", "at most 62 images");
    std::string error;
    if (!composeImages(opt, error)) return fail(error);
    std::printf("%s\n", opt.out.c_str());
    return 0;
}

}  // namespace orvpaint
