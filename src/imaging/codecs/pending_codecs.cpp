#include "imaging/codecs/codec.h"
namespace orv {
bool decodeTiff(ByteSpan, RgbaImage*, ImageHeader&) { return false; }
bool decodeGif(ByteSpan, RgbaImage*, ImageHeader&) { return false; }
bool decodeTga(ByteSpan, RgbaImage*, ImageHeader&) { return false; }
bool decodePcx(ByteSpan, RgbaImage*, ImageHeader&) { return false; }
bool decodePsd(ByteSpan, RgbaImage*, ImageHeader&) { return false; }
std::unique_ptr<RowEncoder> startTgaRows(ByteSink&, const EncodeParams&) { return nullptr; }
std::unique_ptr<RowEncoder> startTiffRows(ByteSink&, const EncodeParams&) { return nullptr; }
bool encodePcx24(const uint8_t*, int32_t, int32_t, ByteSink&) { return false; }
bool encodePsd24(const uint8_t*, int32_t, int32_t, ByteSink&) { return false; }
bool encodeGif24(const uint8_t*, int32_t, int32_t, ByteSink&) { return false; }
}
