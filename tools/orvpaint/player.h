// Plays a parsed paint script onto the engine's page through the exported interface.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "paint_script.h"

namespace orvpaint {

struct PlayOptions {
    int32_t width = 800, height = 600;
    bool sizeGiven = false;
    std::string canvas;        // image file for the background layer, or empty
    bool seedGiven = false;
    uint32_t seed = 0;
    std::function<void(size_t done, size_t total)> progress;  // may be empty
    std::function<void(const std::string&)> notice;           // non-fatal notes
};

// Makes the page, plays every record and leaves the page in the engine. On failure returns
// false with a one-line error ("LINE: what is wrong" for a bad record).
// The page size is returned in width and height.
bool playScript(const Script& script, const PlayOptions& options, int32_t& width, int32_t& height, std::string& error);

// Flattens the width x height page and writes it to path (its extension picks the format).
bool writePage(const std::string& path, int32_t width, int32_t height, std::string& error);

// Writes packed RGBA32 pixels to path, by way of a temporary file beside it, so a failed
// write leaves nothing behind.
bool writeRGBA32(const std::string& path, const uint8_t* rgba, int32_t width, int32_t height, std::string& error);

// The extension of a path including the dot, or empty.
std::string extensionOf(const std::string& path);

}  // namespace orvpaint
