// Metafiles: an enhanced-metafile writer for RGB images, and a renderer for the bitmap
// records of enhanced and Windows metafiles.
#pragma once
#include <cstdint>

#include "imaging/codecs/codec.h"

namespace orv {

// Writes an enhanced metafile holding the image as one device-independent bitmap record.
bool encodeEmf24(const uint8_t* rgb, int32_t width, int32_t height, ByteSink& sink);

// Renders a metafile at the size of its frame, in pixels: the background colour (red in
// bits 0-7, green 8-15, blue 16-23) and then every bitmap record, stretched to its
// destination rectangle. Vector drawing records are not rendered. False when the file is not
// a metafile, is damaged, or holds no bitmap record.
bool renderMetafile(ByteSpan in, uint32_t background, RgbaImage& out);

}  // namespace orv
