// Rectangle copies between packed-row buffers of the same element type.
//
// A rectangle is `rowElems` elements wide and `rows` rows high; each buffer is addressed
// by its own row length in elements. The caller guarantees both rectangles lie inside
// their buffers; the copy moves the elements unchanged.
#pragma once
#include <cstddef>
#include <cstring>

namespace orv {

template <class T>
void copyRect(T* dst, size_t dstRowElems, const T* src, size_t srcRowElems, size_t rowElems, size_t rows) noexcept {
    if (dstRowElems == rowElems && srcRowElems == rowElems) {
        std::memcpy(dst, src, rowElems * rows * sizeof(T));
        return;
    }
    for (size_t y = 0; y < rows; ++y)
        std::memcpy(dst + y * dstRowElems, src + y * srcRowElems, rowElems * sizeof(T));
}

}  // namespace orv
