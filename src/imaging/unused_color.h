// The first colour that no pixel of an image uses, for operations that tag pixels with a
// marker colour.
#pragma once
#include <cstdint>
#include <optional>

#include "imaging/image_view.h"

namespace orv {

// Of the 3- or 4-byte image's colours (the first three bytes of each pixel, alpha ignored),
// finds the smallest value R + 256 G + 65536 B that no pixel uses: blue is the slowest
// varying key, then green, then red. Reads the image once. Empty when every one of the
// 16,777,216 colours occurs (or the view is invalid), so a caller never receives a colour
// that is in use.
std::optional<uint32_t> findUnusedColor(const ImageView& img);

}  // namespace orv
