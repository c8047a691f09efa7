#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>

#include "qx/platform/os/file_stream.h"
#include "qx/platform/os/internal/fd_io.h"
#include "qx/platform/os/internal/errno_error.h"
#include "qx/platform/os/internal/native_entries.h"
#include "qx/platform/os/last_error.h"
#include "qx/platform/os/native_path.h"

namespace qx {

using detail::FailWith;
using detail::FailWithErrno;

std::unique_ptr<FileReader> FileReader::Open(std::wstring_view path) {
    const auto native = ToNativePath(path);
    if (!native) return nullptr;
    const int fd = ::open(native->c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        FailWithErrno(errno, *native);
        return nullptr;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        FailWith(kErrorAccessDenied);
        return nullptr;
    }
    return std::unique_ptr<FileReader>(new FileReader(fd));
}

FileReader::~FileReader() { ::close(fd_); }

std::optional<size_t> FileReader::Read(char* buffer, size_t size) {
    for (;;) {
        const ssize_t count = ::read(fd_, buffer, size);
        if (count >= 0) return static_cast<size_t>(count);
        if (errno != EINTR) {
            FailWithErrno(errno, "");
            return std::nullopt;
        }
    }
}

std::unique_ptr<FileReplacer> FileReplacer::Create(std::wstring_view path) {
    const auto native = ToNativePath(path);
    if (!native) return nullptr;
    std::string target = *native;
    std::optional<mode_t> mode;
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode) || !(st.st_mode & S_IWUSR)) {
            FailWith(kErrorAccessDenied);
            return nullptr;
        }
        mode = st.st_mode & 07777;
        // A link is followed: the file it names is the one replaced.
        if (char* real = ::realpath(target.c_str(), nullptr)) {
            target = real;
            std::free(real);
        }
    }
    static std::atomic<unsigned> counter{0};
    const std::string folder = detail::NativeParentFolder(target);
    const std::string prefix = (folder == "/" ? std::string() : folder) + "/.qx-" + std::to_string(::getpid()) + "-s";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string temp = prefix + std::to_string(counter++) + ".tmp";
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            // Permission bits of an existing target; a new file gets what the
            // umask leaves of 0666.
            if (mode) ::fchmod(fd, *mode);
            return std::unique_ptr<FileReplacer>(new FileReplacer(fd, std::move(temp), std::move(target)));
        }
        if (errno != EEXIST) {
            FailWithErrno(errno, target);
            return nullptr;
        }
    }
    FailWith(kErrorFileExists);
    return nullptr;
}

FileReplacer::~FileReplacer() {
    if (fd_ >= 0) {
        ::close(fd_);
        ::unlink(temp_.c_str());
    }
}

bool FileReplacer::Write(std::string_view bytes) {
    return detail::WriteAll(fd_, bytes) || FailWithErrno(errno, target_);
}

bool FileReplacer::Commit() {
    if (::fsync(fd_) != 0) return FailWithErrno(errno, target_);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 || ::rename(temp_.c_str(), target_.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp_.c_str());
        return FailWithErrno(error, target_);
    }
    return true;
}

}  // namespace qx
