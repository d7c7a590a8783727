#include "media/image_reader.h"

#include "imaging/codecs/codec.h"

namespace orv {

bool readImageFile(const char* path, RgbaImage& out) {
    std::vector<uint8_t> bytes;
    if (!readWholeFile(path, bytes)) return false;
    return decodeImage({bytes.data(), bytes.size()}, out);
}

}  // namespace orv
