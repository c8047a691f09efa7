#include "qx/platform/os/internal/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "qx/platform/os/internal/errno_error.h"

namespace qx::detail {

int OpenRegularFile(int folder, const char* name, int flags, struct stat* status) {
    // O_NOCTTY too: opening a terminal must not make it the process's
    // controlling terminal either.
    const int fd = ::openat(folder, name, flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        // A FIFO opened for writing without a reader says ENXIO.
        if (errno == ENXIO) errno = EACCES;
        return -1;
    }
    struct stat st {};
    int error = 0;
    if (::fstat(fd, &st) != 0) error = errno;
    else if (!S_ISREG(st.st_mode)) error = S_ISDIR(st.st_mode) ? EISDIR : EACCES;
    else if (!(flags & O_NONBLOCK) && ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) error = errno;
    if (error) {
        ::close(fd);
        errno = error;
        return -1;
    }
    if (status) *status = st;
    return fd;
}

std::FILE* OpenRegularFileStream(const std::string& nativePath) {
    const int fd = OpenRegularFile(AT_FDCWD, nativePath.c_str(), O_RDONLY);
    std::FILE* stream = fd < 0 ? nullptr : ::fdopen(fd, "rb");
    if (!stream) {
        const int error = errno;
        if (fd >= 0) ::close(fd);
        FailWithErrno(error, nativePath);
        errno = error;
    }
    return stream;
}

bool MayBePlanted(const struct stat& entry, const struct stat& folder) {
    const bool shared = (folder.st_mode & (S_IWGRP | S_IWOTH)) != 0;
    return shared && (entry.st_uid != ::geteuid() || entry.st_nlink > 1);
}

}  // namespace qx::detail
