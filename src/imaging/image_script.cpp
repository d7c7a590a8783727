#include "imaging/image_script.h"

#include <charconv>
#include <new>

#include "imaging/codecs/byte_io.h"
#include "imaging/resample.h"
#include "media/image_reader.h"

namespace orv {
namespace {

constexpr std::string_view kMagic = "orv-image-script";
constexpr std::string_view kSpaces = " \t\r";

std::string_view trim(std::string_view s) noexcept {
    const size_t a = s.find_first_not_of(kSpaces);
    if (a == std::string_view::npos) return {};
    return s.substr(a, s.find_last_not_of(kSpaces) - a + 1);
}

// Splits off the first word of s (s keeps the rest, trimmed).
std::string_view nextWord(std::string_view& s) noexcept {
    s = trim(s);
    const size_t end = s.find_first_of(kSpaces);
    const std::string_view w = s.substr(0, end);
    s = end == std::string_view::npos ? std::string_view{} : trim(s.substr(end));
    return w;
}

bool toInt(std::string_view w, int32_t& v) noexcept {
    if (w.empty()) return false;
    const auto r = std::from_chars(w.data(), w.data() + w.size(), v);
    return r.ec == std::errc{} && r.ptr == w.data() + w.size();
}

bool isAbsolutePath(std::string_view p) noexcept {
    return (!p.empty() && (p[0] == '/' || p[0] == '\\')) || (p.size() > 1 && p[1] == ':');
}

class Parser {
public:
    Parser(std::string_view baseDir, ImageScript& out) : baseDir_(baseDir), s_(out) {}

    bool line(std::string_view text, int number) {
        std::string_view rest = text;
        const std::string_view key = nextWord(rest);
        if (key.empty() || key[0] == '#') return true;
        if (!sawMagic_) {
            int32_t version = 0;
            if (key != kMagic || !toInt(nextWord(rest), version) || version != 1 || !rest.empty())
                return fail(number, "the first line must be \"orv-image-script 1\"");
            return sawMagic_ = true;
        }
        if (key == "size") return size(rest, number);
        if (key == "fill") return fill(rest, number);
        if (key == "source") return source(rest, number);
        if (key == "effect") return effect(rest, number);
        return fail(number, "unknown keyword \"" + std::string(key) + "\"");
    }

    bool finish() {
        if (!sawMagic_) return fail(0, "empty script");
        if (s_.width == 0) return fail(0, "no size line");
        if (!s_.source.empty() && sawFill_) return fail(0, "fill and source exclude each other");
        return true;
    }

    std::string error;

private:
    bool fail(int number, const std::string& what) {
        error = number > 0 ? "line " + std::to_string(number) + ": " + what : what;
        return false;
    }

    bool size(std::string_view rest, int number) {
        int32_t w = 0, h = 0;
        if (s_.width != 0) return fail(number, "size given twice");
        if (!toInt(nextWord(rest), w) || !toInt(nextWord(rest), h) || !rest.empty() || w < 1 || h < 1 ||
            w > kMaxScriptSide || h > kMaxScriptSide)
            return fail(number, "size takes a width and a height of 1..10000");
        s_.width = w;
        s_.height = h;
        return true;
    }

    bool fill(std::string_view rest, int number) {
        for (uint8_t& c : s_.fill) {
            int32_t v = 0;
            if (!toInt(nextWord(rest), v) || v < 0 || v > 255) return fail(number, "fill takes four values of 0..255");
            c = static_cast<uint8_t>(v);
        }
        sawFill_ = true;
        return rest.empty() ? true : fail(number, "fill takes four values of 0..255");
    }

    bool source(std::string_view rest, int number) {
        if (rest.empty()) return fail(number, "source needs a path");
        if (isAbsolutePath(rest) || baseDir_.empty()) s_.source = std::string(rest);
        else s_.source = std::string(baseDir_) + "/" + std::string(rest);
        return true;
    }

    bool effect(std::string_view rest, int number) {
        int32_t id = 0;
        if (!toInt(nextWord(rest), id)) return fail(number, "effect needs an id");
        if (!findScriptEffect(id)) return fail(number, "unknown effect id " + std::to_string(id));
        if (s_.effects.size() >= kMaxScriptEffects) return fail(number, "too many effects");
        ScriptEffect& e = s_.addEffect(id);
        while (!rest.empty()) {
            const std::string_view pair = nextWord(rest);
            const size_t eq = pair.find('=');
            int32_t index = 0, v = 0;
            if (eq == std::string_view::npos || !toInt(pair.substr(0, eq), index) ||
                !toInt(pair.substr(eq + 1), v) || !e.set(index, v))
                return fail(number, "effect values are index=value with an index of 0..31");
        }
        return true;
    }

    std::string_view baseDir_;
    ImageScript& s_;
    bool sawMagic_ = false;
    bool sawFill_ = false;
};

std::string_view directoryOf(std::string_view path) noexcept {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string_view::npos ? std::string_view{} : path.substr(0, slash);
}

bool renderBase(const ImageScript& script, RgbaImage& img) {
    if (script.source.empty()) {
        img.resize(script.width, script.height);
        for (size_t i = 0; i < img.rgba.size(); i += 4)
            for (size_t c = 0; c < 4; ++c) img.rgba[i + c] = script.fill[c];
        return true;
    }
    RgbaImage src;
    if (!readImageFile(script.source.c_str(), src) || src.empty()) return false;
    if (src.width == script.width && src.height == script.height) {
        img = std::move(src);
        return true;
    }
    img.resize(script.width, script.height);
    resampleImage({src.rgba.data(), src.width, src.height}, {img.rgba.data(), img.width, img.height}, 4);
    return true;
}

}  // namespace

bool parseImageScript(std::string_view text, std::string_view baseDir, ImageScript& out, std::string* error) {
    ImageScript s;
    Parser p(baseDir, s);
    int number = 0;
    bool ok = true;
    while (ok && !text.empty()) {
        const size_t nl = text.find('\n');
        ok = p.line(text.substr(0, nl), ++number);
        text = nl == std::string_view::npos ? std::string_view{} : text.substr(nl + 1);
    }
    if (ok) ok = p.finish();
    if (!ok) {
        if (error) *error = p.error;
        return false;
    }
    out = std::move(s);
    return true;
}

bool loadImageScript(const char* path, ImageScript& out) {
    if (!path) return false;
    std::vector<uint8_t> bytes;
    if (!readWholeFile(path, bytes, kMaxScriptFileBytes)) return false;
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return parseImageScript(text, directoryOf(path), out);
}

SourceRead readImageSource(const char* path, RgbaImage& out, bool fileOnly) {
    if (!path) return SourceRead::None;
    if (!fileOnly) {
        ImageScript script;
        if (loadImageScript(path, script))
            return executeImageScript(script, out) ? SourceRead::Script : SourceRead::ScriptNotRendered;
    }
    RgbaImage img;
    if (!readImageFile(path, img) || img.empty()) return SourceRead::None;
    out = std::move(img);
    return SourceRead::File;
}

bool executeImageScript(const ImageScript& script, RgbaImage& out) {
    try {
        RgbaImage img;
        if (!renderBase(script, img) || !runScriptEffects(script.effects, img)) return false;
        out = std::move(img);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool runScriptEffects(std::span<const ScriptEffect> effects, RgbaImage& image) {
    if (image.empty()) return false;
    try {
        RgbaImage work = image;
        for (const ScriptEffect& e : effects) {
            const ScriptEffectInfo* info = findScriptEffect(e.id);
            if (!info || !info->run(work, e)) return false;
        }
        image = std::move(work);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace orv
