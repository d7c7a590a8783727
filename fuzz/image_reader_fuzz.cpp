// Feeds arbitrary bytes to every image decoder, header-only and full, and to the metafile
// renderer. Any crash, hang, leak or oversized allocation is a finding.
#include <cstddef>
#include <cstdint>

#include "imaging/codecs/codec.h"
#include "imaging/codecs/metafile.h"

using namespace orv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const ByteSpan in{data, size};
    static const DecodeFn decoders[] = {decodeBmp, decodePng, decodeJpeg, decodeTiff,
                                        decodeGif, decodeTga, decodePcx, decodePsd};
    for (DecodeFn decode : decoders) {
        ImageHeader h;
        if (!decode(in, nullptr, h)) continue;
        RgbaImage img;
        if (decode(in, &img, h) && img.rgba.size() != size_t(img.width) * size_t(img.height) * 4) __builtin_trap();
    }
    RgbaImage img;
    renderMetafile(in, 0x00FF00, img);
    return 0;
}
