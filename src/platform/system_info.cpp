#include "platform/system_info.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace orv {

const char* systemDirectory() noexcept { return "/usr/share"; }

bool renameNoReplace(const char* from, const char* to) noexcept {
    if (!from || !to) return false;
    if (renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // File systems without the no-replace rename: a hard link fails on an existing target.
    if (link(from, to) != 0) return false;
    if (unlink(from) != 0) {
        unlink(to);
        return false;
    }
    return true;
}

int32_t setWindowRedraw(void*, uint8_t) noexcept { return 0; }
int32_t redrawWindow(void*) noexcept { return 0; }

}  // namespace orv
