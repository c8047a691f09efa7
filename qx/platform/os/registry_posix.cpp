#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "qx/platform/os/internal/errno_error.h"
#include "qx/platform/os/internal/registry_file_lock.h"
#include "qx/platform/os/registry_file_store.h"

namespace qx::detail {

FileIdentity IdentityOf(const std::string& nativePath) {
    struct stat st {};
    if (::stat(nativePath.c_str(), &st) != 0) return {};
    return {true,
            static_cast<std::uint64_t>(st.st_dev),
            static_cast<std::uint64_t>(st.st_ino),
            static_cast<std::uint64_t>(st.st_size),
            static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
            static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec};
}

std::optional<FileLock> FileLock::Acquire(const std::string& nativeLockPath) {
    const int fd = ::open(nativeLockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        FailWithErrno(errno, nativeLockPath);
        return std::nullopt;
    }
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno == EINTR) continue;
        FailWithErrno(errno, nativeLockPath);
        ::close(fd);
        return std::nullopt;
    }
    return FileLock(fd);
}

FileLock::~FileLock() {
    // Closing the descriptor releases the lock.
    if (fd_ >= 0) ::close(fd_);
}

}  // namespace qx::detail

namespace qx {

// On POSIX the registry is the file store.
std::unique_ptr<RegistryStore> CreateRegistryStore() { return std::make_unique<FileRegistryStore>(); }

}  // namespace qx
