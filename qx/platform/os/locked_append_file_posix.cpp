#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "qx/platform/os/internal/fd_io.h"
#include "qx/platform/os/internal/errno_error.h"
#include "qx/platform/os/last_error.h"
#include "qx/platform/os/locked_append_file.h"
#include "qx/platform/os/native_path.h"

namespace qx {

std::unique_ptr<LockedAppendFile> LockedAppendFile::Open(std::wstring_view path, bool* created) {
    const auto native = ToNativePath(path);
    if (!native) return nullptr;
    constexpr int kFlags = O_WRONLY | O_APPEND | O_CLOEXEC;
    bool isNew = true;
    int fd = ::open(native->c_str(), kFlags | O_CREAT | O_EXCL, 0666);
    if (fd < 0 && errno == EEXIST) {
        isNew = false;
        fd = ::open(native->c_str(), kFlags);
    }
    if (fd < 0) {
        detail::FailWithErrno(errno, *native);
        return nullptr;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK) detail::FailWith(kErrorSharingViolation);
        else detail::FailWithErrno(error, *native);
        return nullptr;
    }
    if (created) *created = isNew;
    return std::unique_ptr<LockedAppendFile>(new LockedAppendFile(fd));
}

LockedAppendFile::~LockedAppendFile() { ::close(fd_); }

bool LockedAppendFile::Write(std::string_view bytes) {
    return detail::WriteAll(fd_, bytes) || detail::FailWithErrno(errno, "");
}

}  // namespace qx
