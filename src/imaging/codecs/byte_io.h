// Byte sources and sinks the codecs read from and write to.
//
// A ByteReader walks a span of bytes already in memory. Every read is bounds-checked; a read
// past the end sets a sticky failure flag and yields zeros, so a decoder tests ok() once after
// a group of reads instead of after each one. A ByteSink receives encoded bytes; the file sink
// remembers the first failed write so an encoder can report failure at the end.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace orv {

struct ByteSpan {
    const uint8_t* data = nullptr;
    size_t size = 0;
};

class ByteReader {
public:
    explicit ByteReader(ByteSpan s) noexcept : p_(s.data), n_(s.size) {}
    ByteReader(const uint8_t* p, size_t n) noexcept : p_(p), n_(n) {}

    bool ok() const noexcept { return ok_; }
    size_t pos() const noexcept { return pos_; }
    size_t size() const noexcept { return n_; }
    size_t remaining() const noexcept { return pos_ <= n_ ? n_ - pos_ : 0; }
    const uint8_t* base() const noexcept { return p_; }

    bool seek(size_t at) noexcept {
        if (at > n_) return ok_ = false;
        pos_ = at;
        return ok_;
    }
    bool skip(size_t k) noexcept { return k <= remaining() ? seek(pos_ + k) : (ok_ = false); }
    // Pointer to the next k bytes and advance; null (and failure) when fewer remain.
    const uint8_t* take(size_t k) noexcept {
        if (k > remaining()) {
            ok_ = false;
            return nullptr;
        }
        const uint8_t* r = p_ + pos_;
        pos_ += k;
        return r;
    }
    uint8_t u8() noexcept {
        const uint8_t* b = take(1);
        return b ? b[0] : 0;
    }
    uint16_t le16() noexcept {
        const uint8_t* b = take(2);
        return b ? static_cast<uint16_t>(b[0] | b[1] << 8) : 0;
    }
    uint32_t le32() noexcept {
        const uint8_t* b = take(4);
        return b ? (b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24) : 0;
    }
    uint16_t be16() noexcept {
        const uint8_t* b = take(2);
        return b ? static_cast<uint16_t>(b[0] << 8 | b[1]) : 0;
    }
    uint32_t be32() noexcept {
        const uint8_t* b = take(4);
        return b ? (static_cast<uint32_t>(b[0]) << 24 | b[1] << 16 | b[2] << 8 | b[3]) : 0;
    }

private:
    const uint8_t* p_;
    size_t n_;
    size_t pos_ = 0;
    bool ok_ = true;
};

class ByteSink {
public:
    virtual ~ByteSink() = default;
    // Appends n bytes; false once any write has failed.
    virtual bool write(const void* p, size_t n) = 0;
    virtual bool ok() const = 0;
    // Sinks that can move their write position (files, memory) override these; formats whose
    // writer patches earlier bytes (TIFF) need them.
    virtual bool seek(uint64_t) { return false; }
    virtual uint64_t tell() const { return 0; }

    bool u8(uint8_t v) { return write(&v, 1); }
    bool le16(uint16_t v) {
        uint8_t b[2] = {uint8_t(v), uint8_t(v >> 8)};
        return write(b, 2);
    }
    bool le32(uint32_t v) {
        uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
        return write(b, 4);
    }
    bool be16(uint16_t v) {
        uint8_t b[2] = {uint8_t(v >> 8), uint8_t(v)};
        return write(b, 2);
    }
    bool be32(uint32_t v) {
        uint8_t b[4] = {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
        return write(b, 4);
    }
};

class VectorSink final : public ByteSink {
public:
    std::vector<uint8_t> bytes;
    bool write(const void* p, size_t n) override {
        if (pos_ + n > bytes.size()) bytes.resize(pos_ + n);
        if (n) std::memcpy(bytes.data() + pos_, p, n);
        pos_ += n;
        return true;
    }
    bool ok() const override { return true; }
    bool seek(uint64_t at) override {
        if (at > bytes.size()) bytes.resize(static_cast<size_t>(at));
        pos_ = static_cast<size_t>(at);
        return true;
    }
    uint64_t tell() const override { return pos_; }

private:
    size_t pos_ = 0;
};

// Writes to a file opened for binary writing; closes it on destruction.
class FileSink final : public ByteSink {
public:
    explicit FileSink(const char* path) noexcept;
    ~FileSink() override;
    FileSink(const FileSink&) = delete;
    FileSink& operator=(const FileSink&) = delete;

    bool isOpen() const noexcept { return f_ != nullptr; }
    bool write(const void* p, size_t n) override;
    bool ok() const override { return f_ && ok_; }
    bool seek(uint64_t at) override;
    uint64_t tell() const override;
    // Flushes and closes; false when a write or the close failed.
    bool close() noexcept;

private:
    std::FILE* f_ = nullptr;
    bool ok_ = true;
};

// Reads a whole file into memory; false when it cannot be opened or read, or is larger than
// maxBytes.
bool readWholeFile(const char* path, std::vector<uint8_t>& out, size_t maxBytes = size_t(1) << 31);

}  // namespace orv
