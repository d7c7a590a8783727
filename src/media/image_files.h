// Image files for the host: reading into the loaded-image buffer or a caller's buffer,
// the resolution reader, the buffer writers chosen by extension, thumbnails and web pictures.
#pragma once
#include <cstdint>

#include "imaging/codecs/codec.h"
#include "media/media_state.h"

namespace orv {

// The dots per inch a file states, snapped to 72, 96, 150, 200, 300, 450 or 600 (values
// within 1 of one of them); 72 for anything else, a file without a resolution or one that
// cannot be read.
int32_t dpiFromFile(const char* path);
// The dpi a resolution record stands for, before snapping (0 when it has none).
uint32_t dpiOfResolution(const Resolution& r) noexcept;
int32_t snapDpi(uint32_t dpi) noexcept;

// Decodes by content; metafiles are rendered over the given colour (red in bits 0-7).
bool readAnyImage(const char* path, uint32_t metafileBackground, RgbaImage& out);

// Replaces the loaded-image buffer with the file's image; false (buffer untouched) on failure.
bool readIntoNewRGBA(NewRgbaBuffer& b, const char* path, uint32_t metafileBackground);
// Copies the image into dst (RGB24 with channels 3, RGBA32 with 4) only when it is exactly
// width x height; false otherwise, dst untouched.
bool readIntoBuffer(const char* path, uint8_t* dst, int32_t width, int32_t height, int channels,
                    uint32_t metafileBackground);

// Writes packed RGB24 (channels 3) or RGBA32 (channels 4) pixels in the format the
// extension names. 0 for an extension that writer does not offer (the path is then not
// touched), else 1 when the file was written completely.
int32_t writeImageBuffer(const uint8_t* pixels, int32_t width, int32_t height, int channels, const char* path,
                         const char* extension, int32_t dpi);

// Thumbnail: 100 pixels on the longer side, the other truncate(100 / longer x shorter),
// written as a 24-bit BMP without resolution.
void makeThumbnail(const char* source, const char* destination);
// Web picture: fitted inside maxWidth x maxHeight keeping the aspect, never enlarged, written
// as a quality-75 JPEG without resolution.
void makeWebPic(const char* source, const char* destination, int32_t maxWidth, int32_t maxHeight);

struct PictureSize {
    int32_t width, height;
};
PictureSize thumbnailSize(int32_t width, int32_t height) noexcept;
PictureSize webPicSize(int32_t width, int32_t height, int32_t maxWidth, int32_t maxHeight) noexcept;

}  // namespace orv
