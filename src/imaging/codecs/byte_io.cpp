#include "imaging/codecs/byte_io.h"

#include <cstdint>
#include <sys/types.h>

namespace orv {

FileSink::FileSink(const char* path) noexcept : f_(path ? std::fopen(path, "wb") : nullptr) {
    // A full-sized buffer keeps row-by-row writers from paying a system call per row.
    if (f_) std::setvbuf(f_, nullptr, _IOFBF, 1 << 16);
}

FileSink::~FileSink() { close(); }

bool FileSink::write(const void* p, size_t n) {
    if (!f_ || !ok_) return false;
    if (n && std::fwrite(p, 1, n, f_) != n) ok_ = false;
    return ok_;
}

bool FileSink::seek(uint64_t at) {
    if (!f_ || at > uint64_t(INT64_MAX)) return false;
    if (fseeko(f_, static_cast<off_t>(at), SEEK_SET) != 0) ok_ = false;
    return ok_;
}

uint64_t FileSink::tell() const {
    off_t at = f_ ? ftello(f_) : -1;
    return at < 0 ? 0 : static_cast<uint64_t>(at);
}

bool FileSink::close() noexcept {
    if (!f_) return false;
    if (std::fclose(f_) != 0) ok_ = false;
    f_ = nullptr;
    return ok_;
}

bool readWholeFile(const char* path, std::vector<uint8_t>& out, size_t maxBytes) {
    if (!path) return false;
    std::FILE* f = std::fopen(path, "rb");
    if (!f) return false;
    bool good = false;
    if (std::fseek(f, 0, SEEK_END) == 0) {
        long len = std::ftell(f);
        if (len >= 0 && static_cast<unsigned long>(len) <= maxBytes && std::fseek(f, 0, SEEK_SET) == 0) {
            out.resize(static_cast<size_t>(len));
            good = len == 0 || std::fread(out.data(), 1, out.size(), f) == out.size();
        }
    }
    std::fclose(f);
    return good;
}

}  // namespace orv
