// Owning, uninitialised pixel buffers for the engine's page, layer and brush memory.
//
// A Buffer is either null (never allocated, released, or its allocation failed) or holds
// exactly size() elements. Every operation tests a buffer before use, so a page whose later
// allocations failed keeps working on the buffers it has.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <new>

namespace orv {

// Multiplies sizes, throwing std::bad_alloc when the product does not fit in size_t or a
// factor is negative. Every size that reaches an allocation goes through it.
inline size_t checkedSize(long long a, long long b, long long c = 1, long long d = 1) {
    if (a < 0 || b < 0 || c < 0 || d < 0) throw std::bad_alloc();
    unsigned long long r = 1;
    for (unsigned long long f : {static_cast<unsigned long long>(a), static_cast<unsigned long long>(b),
                                 static_cast<unsigned long long>(c), static_cast<unsigned long long>(d)}) {
        if (f != 0 && r > std::numeric_limits<size_t>::max() / f) throw std::bad_alloc();
        r *= f;
    }
    return static_cast<size_t>(r);
}

template <class T>
class Buffer {
public:
    Buffer() = default;
    Buffer(Buffer&&) noexcept = default;
    Buffer& operator=(Buffer&&) noexcept = default;

    // Replaces the content with n uninitialised elements; throws std::bad_alloc on failure,
    // leaving the buffer null. A zero-length allocation yields a non-null empty buffer.
    void allocate(size_t n) {
        release();
        p_.reset(new T[n]);
        n_ = n;
    }
    void allocateZeroed(size_t n) {
        allocate(n);
        std::memset(static_cast<void*>(p_.get()), 0, n * sizeof(T));
    }
    void fillBytes(unsigned char byte) {
        if (p_) std::memset(static_cast<void*>(p_.get()), byte, n_ * sizeof(T));
    }
    void release() noexcept {
        p_.reset();
        n_ = 0;
    }

    T* data() noexcept { return p_.get(); }
    const T* data() const noexcept { return p_.get(); }
    size_t size() const noexcept { return p_ ? n_ : 0; }
    size_t bytes() const noexcept { return size() * sizeof(T); }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    T& operator[](size_t i) noexcept { return p_[i]; }
    const T& operator[](size_t i) const noexcept { return p_[i]; }

private:
    std::unique_ptr<T[]> p_;
    size_t n_ = 0;
};

}  // namespace orv
