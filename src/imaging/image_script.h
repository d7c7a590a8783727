// Image scripts: small text files that describe an image by its size, a base (a flat colour
// or an image file) and a list of effects from the script-effect registry, each with
// numbered integer values. The format is described in docs/image-script.md.
//
// Scripts work on RGBA images in red, green, blue, alpha order, both when rendered from a
// file and when their effects run on a caller's image.
#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/image.h"
#include "imaging/script_effects.h"

namespace orv {

inline constexpr int32_t kMaxScriptSide = 10000;
inline constexpr size_t kMaxScriptEffects = 256;
inline constexpr size_t kMaxScriptFileBytes = 64 * 1024;

struct ImageScript {
    int32_t width = 0;                    // size of the rendered image, 1..10000
    int32_t height = 0;
    std::array<uint8_t, 4> fill{};        // base colour when there is no source image
    std::string source;                   // base image file (resolved path); empty: none
    std::vector<ScriptEffect> effects;    // run in order

    ScriptEffect& addEffect(int32_t id) { return effects.emplace_back(ScriptEffect{id, {}, 0}); }
};

// Parses script text. Relative source paths are taken from baseDir (empty: as written).
// False, with a one-line reason in *error when given, when the text is not a well-formed
// script: a missing or wrong first line, an unknown keyword, a missing size, a value out of
// range, an effect id the registry does not know, or too many effects.
bool parseImageScript(std::string_view text, std::string_view baseDir, ImageScript& out,
                      std::string* error = nullptr);

// Reads and parses the script file at path (at most 64 KiB); false (out untouched) when the
// file cannot be read or is not a well-formed script.
bool loadImageScript(const char* path, ImageScript& out);

// Renders a script into a width x height image: the base, then every effect in order. False
// (out untouched) when the source image cannot be read, an effect fails, or memory runs out.
bool executeImageScript(const ImageScript& script, RgbaImage& out);

// How readImageSource read a path.
enum class SourceRead {
    None,               // neither a script nor a readable image file; out untouched
    Script,             // an image script, rendered into out
    ScriptNotRendered,  // an image script that failed to render; out untouched, no file was tried
    File,               // an image file, read into out
};

// Reads a brush-shape or paper-grain source: the path as an image script first (unless
// fileOnly), else as an image file. A path that parses as a script is never read as a file.
SourceRead readImageSource(const char* path, RgbaImage& out, bool fileOnly = false);

// Runs effects in order on image in place, keeping its size. False, with image unchanged,
// when an id is unknown, an effect fails or memory runs out; an empty image fails.
bool runScriptEffects(std::span<const ScriptEffect> effects, RgbaImage& image);

}  // namespace orv
