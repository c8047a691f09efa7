#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "qx/platform/os/internal/fd_io.h"
#include "qx/platform/os/internal/errno_error.h"
#include "qx/platform/os/internal/native_entries.h"
#include "qx/platform/os/internal/regular_file.h"
#include "qx/platform/os/last_error.h"
#include "qx/platform/os/locked_append_file.h"
#include "qx/platform/os/native_path.h"

namespace qx {

namespace {

// Opens *name* in *folder* for appending, creating it when missing: never
// through a symbolic link, only a regular file, and in a folder that others
// may write only a file that is plainly the user's own.
int OpenInFolder(int folder, const std::string& name, bool& created) {
    constexpr int kFlags = O_WRONLY | O_APPEND | O_NOFOLLOW | O_CLOEXEC;
    created = true;
    // O_EXCL makes a fresh file; nothing standing at the name, a link
    // included, is followed.
    int fd = ::openat(folder, name.c_str(), kFlags | O_CREAT | O_EXCL, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
    created = false;
    struct stat st {};
    fd = detail::OpenRegularFile(folder, name.c_str(), kFlags, &st);
    if (fd < 0) {
        if (errno == ELOOP) errno = EACCES;  // a link
        return -1;
    }
    struct stat folderStatus {};
    if (::fstat(folder, &folderStatus) != 0 || detail::MayBePlanted(st, folderStatus)) {
        ::close(fd);
        errno = EACCES;
        return -1;
    }
    return fd;
}

}  // namespace

std::unique_ptr<LockedAppendFile> LockedAppendFile::Open(std::wstring_view path, bool* created) {
    const auto native = ToNativePath(path);
    if (!native) return nullptr;
    const size_t slash = native->rfind('/');
    const std::string name = slash == std::string::npos ? *native : native->substr(slash + 1);
    const detail::Fd folder(::open(detail::NativeParentFolder(*native).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() < 0) {
        detail::FailWithErrno(errno, *native);
        return nullptr;
    }
    bool isNew = false;
    detail::Fd file(OpenInFolder(folder.get(), name, isNew));
    if (file.get() < 0) {
        detail::FailWithErrno(errno, *native);
        return nullptr;
    }
    if (::flock(file.get(), LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK) detail::FailWith(kErrorSharingViolation);
        else detail::FailWithErrno(errno, *native);
        return nullptr;
    }
    if (created) *created = isNew;
    return std::unique_ptr<LockedAppendFile>(new LockedAppendFile(file.Release()));
}

LockedAppendFile::~LockedAppendFile() { ::close(fd_); }

bool LockedAppendFile::Write(std::string_view bytes) {
    return detail::WriteAll(fd_, bytes) || detail::FailWithErrno(errno, "");
}

}  // namespace qx
