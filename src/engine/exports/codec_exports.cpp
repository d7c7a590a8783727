// Run-length line and compressed-layer entry points.
#include "engine/exports/guard.h"
#include "engine/line_codecs.h"

using namespace orv;

namespace {
const uint8_t* bytes(const void* p) { return static_cast<const uint8_t*>(p); }
uint8_t* bytes(void* p) { return static_cast<uint8_t*>(p); }
size_t count(int32_t n) { return n > 0 ? static_cast<size_t>(n) : 0; }
}  // namespace

extern "C" {

ORV_API int32_t ORV_CALL ORV_RLECompressRGBA64ToRGBA32(const void* src, void* dst, int32_t count) {
    return static_cast<int32_t>(rleEncodeRGBA(static_cast<const uint16_t*>(src), bytes(dst), ::count(count)));
}
ORV_API void ORV_CALL ORV_RLEUncompressRGBA32ToRGBA64(const void* src, void* dst, int32_t count) {
    const size_t n = ::count(count);
    rleDecodeRGBA(bytes(src), n * kRgbaRecordBytes, static_cast<uint16_t*>(dst), n);
}
ORV_API int32_t ORV_CALL ORV_RLECompressG16ToG8(const void* src, void* dst, int32_t count) {
    return static_cast<int32_t>(rleEncodeGray(static_cast<const uint16_t*>(src), bytes(dst), ::count(count)));
}
ORV_API void ORV_CALL ORV_RLEUncompressG8ToG16(const void* src, void* dst, int32_t count) {
    const size_t n = ::count(count);
    rleDecodeGray(bytes(src), n * kGrayRecordBytes, static_cast<uint16_t*>(dst), n);
}
ORV_API int32_t ORV_CALL ORV_GetRGBA32LayerLineRLE(void* dst, int32_t layer, int32_t row) {
    return static_cast<int32_t>(getLayerLineRLE(engine().page, engine().layers.presentLayer(layer), bytes(dst), row));
}
ORV_API void ORV_CALL ORV_PutRGBA32LayerLineRLE(const void* src, int32_t layer, int32_t row) {
    putLayerLineRLE(engine().page, engine().layers.presentLayer(layer), bytes(src), row);
}
ORV_API int32_t ORV_CALL ORV_GetMaskLineRLE(void* dst, int32_t row) {
    return static_cast<int32_t>(getMaskLineRLE(engine().page, engine().mask, bytes(dst), row));
}
ORV_API void ORV_CALL ORV_PutMaskLineRLE(const void* src, int32_t row) {
    putMaskLineRLE(engine().page, engine().mask, bytes(src), row);
}
ORV_API int32_t ORV_CALL ORV_GetRGBA32LayerCompressed(void* dst, int32_t, int32_t dstSize, int32_t layer, int32_t deflateOption) {
    return guarded(err::GetRGBA32LayerCompressed, 0, [&] {
        return compressLayer(engine().page, engine().layers.presentLayer(layer), bytes(dst), dstSize, deflateOption);
    });
}
ORV_API void ORV_CALL ORV_LoadRGBA32LayerCompressed(const void* src, int32_t, int32_t srcSize, int32_t layer) {
    guarded(err::LoadRGBA32LayerCompressed, [&] { loadCompressedLayer(engine(), engine().layers.presentLayer(layer), bytes(src), srcSize); });
}

}  // extern "C"
