// Image files and the loaded-image buffer.
#include "engine/exports/guard.h"
#include "media/image_files.h"
#include "media/new_rgba.h"
#include "media/page_writer.h"

using namespace orv;

namespace {

// Metafiles are rendered over the paint colour: red + 256 x green + 65536 x blue of the high
// bytes.
uint32_t metafileColour() {
    const uint16_t* c = engine().brush.settings.currentColor;
    return uint32_t(c[0] >> 8) + 256u * uint32_t(c[1] >> 8) + 65536u * uint32_t(c[2] >> 8);
}

int32_t savePage(const char* errText, const char* path, const char* ext, int32_t dpi, int channels) {
    return guarded(errText, 0, [&] {
        EngineState& s = engine();
        savePageToFile(s, path, ext, dpi, channels, mergedRowSource(s));
        return 0;
    });
}

}  // namespace

extern "C" {

ORV_API int32_t ORV_CALL ORV_GetDPIFromFile(const char* path) {
    return guarded(nullptr, 72, [&] { return dpiFromFile(path); });
}
ORV_API int32_t ORV_CALL ORV_ReadFromFile(const char* path) {
    return guarded(err::ReadFromFile, 0, [&] { return readIntoNewRGBA(engine().media.newRGBA, path, metafileColour()) ? 1 : 0; });
}
ORV_API int32_t ORV_CALL ORV_ReadFromFileRGB24(void* dst, int32_t width, int32_t height, const char* path) {
    return guarded(nullptr, 0, [&] {
        return readIntoBuffer(path, static_cast<uint8_t*>(dst), width, height, 3, metafileColour()) ? 1 : 0;
    });
}
ORV_API int32_t ORV_CALL ORV_ReadFromFileRGBA32(void* dst, int32_t width, int32_t height, const char* path) {
    return guarded(nullptr, 0, [&] {
        return readIntoBuffer(path, static_cast<uint8_t*>(dst), width, height, 4, metafileColour()) ? 1 : 0;
    });
}
ORV_API int32_t ORV_CALL ORV_WriteToFileRGB24(const void* src, int32_t width, int32_t height, const char* path,
                                              const char* extension, int32_t dpi) {
    return guarded(err::WriteToFileRGB24, 0, [&] {
        return writeImageBuffer(static_cast<const uint8_t*>(src), width, height, 3, path, extension, dpi);
    });
}
ORV_API int32_t ORV_CALL ORV_WriteToFileRGBA32(const void* src, int32_t width, int32_t height, const char* path,
                                               const char* extension, int32_t dpi) {
    return guarded(nullptr, 0, [&] {
        return writeImageBuffer(static_cast<const uint8_t*>(src), width, height, 4, path, extension, dpi);
    });
}
ORV_API int32_t ORV_CALL ORV_SavePageToFileRGB24(const char* path, const char* extension, int32_t dpi) {
    return savePage(err::SavePageToFileRGB24, path, extension, dpi, 3);
}
ORV_API int32_t ORV_CALL ORV_SavePageToFileRGB32(const char* path, const char* extension, int32_t dpi) {
    return savePage(err::SavePageToFileRGB32, path, extension, dpi, 4);
}
ORV_API int32_t ORV_CALL ORV_MakeThumbnail(const char* source, const char* destination) {
    return guarded(err::MakeThumbnail, 0, [&] {
        makeThumbnail(source, destination);
        return 0;
    });
}
ORV_API int32_t ORV_CALL ORV_MakeWebPic(const char* source, const char* destination, int32_t maxWidth, int32_t maxHeight) {
    return guarded(err::MakeWebPic, 0, [&] {
        makeWebPic(source, destination, maxWidth, maxHeight);
        return 0;
    });
}
ORV_API int32_t ORV_CALL ORV_GetNewRGBAWidth(void) { return engine().media.newRGBA.width; }
ORV_API int32_t ORV_CALL ORV_GetNewRGBAHeight(void) { return engine().media.newRGBA.height; }
ORV_API void ORV_CALL ORV_GetNewRGBA32(void* dst) { getNewRGBA32(engine().media.newRGBA, static_cast<uint8_t*>(dst)); }
ORV_API void ORV_CALL ORV_GetNewRGBA24(void* dst) { getNewRGBA24(engine().media.newRGBA, static_cast<uint8_t*>(dst)); }
ORV_API void ORV_CALL ORV_GetResizedNewRGBA24(void* dst, int32_t width, int32_t height) {
    guarded(err::GetResizedNewRGBA24,
            [&] { getResizedNewRGBA24(engine().media.newRGBA, static_cast<uint8_t*>(dst), width, height); });
}
ORV_API int32_t ORV_CALL ORV_IsNewRGBA32Transparent(void) { return isNewRGBATransparent(engine().media.newRGBA) ? 1 : 0; }
ORV_API void ORV_CALL ORV_SetInNewRGBA(void) {
    guarded(nullptr, [&] { setInNewRGBA(engine()); });
}
ORV_API int32_t ORV_CALL ORV_DeleteNewRGBA(void) {
    guarded(err::DeleteNewRGBA, [&] { deleteNewRGBA(engine().media.newRGBA); });
    return 0;
}

}  // extern "C"
