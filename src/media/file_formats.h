// The one table of file extensions the writers accept, with the settings each writer uses.
#pragma once
#include <cstdint>
#include <memory>

#include "imaging/codecs/codec.h"

namespace orv {

// Whole-buffer writer: packed rows of width x 3 (RGB) or x 4 (RGBA) bytes.
using BufferWriteFn = bool (*)(const uint8_t* pixels, int32_t width, int32_t height, int32_t dpi, ByteSink& sink);
// Row writer for the page writers; rows arrive in the order given by bottomUp.
using PageRowsFn = std::unique_ptr<RowEncoder> (*)(ByteSink& sink, int32_t width, int32_t height, int32_t dpi);

struct PageRowsWriter {
    PageRowsFn start = nullptr;
    bool bottomUp = false;
};

struct FileFormatEntry {
    const char* extension;     // with the dot, compared case-insensitively
    BufferWriteFn rgb24;       // the RGB24 buffer writer, or null
    BufferWriteFn rgba32;      // the RGBA32 buffer writer, or null
    PageRowsWriter page24;     // the 24-bit page writer
    PageRowsWriter page32;     // the 32-bit page writer
};

// The entry for an extension, or null when no writer knows it.
const FileFormatEntry* findFileFormat(const char* extension) noexcept;

}  // namespace orv
