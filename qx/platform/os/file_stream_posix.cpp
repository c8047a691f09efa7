#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "qx/platform/os/file_stream.h"
#include "qx/platform/os/internal/fd_io.h"
#include "qx/platform/os/internal/errno_error.h"
#include "qx/platform/os/internal/native_entries.h"
#include "qx/platform/os/internal/temporary_files.h"
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
    auto temp = detail::NativeTemporary::CreateIn(detail::NativeParentFolder(target), 0666);
    if (!temp) {
        FailWithErrno(errno, target);
        return nullptr;
    }
    // Permission bits of an existing target; a new file gets what the umask
    // leaves of 0666.
    if (mode) ::fchmod(temp->Fd(), *mode);
    return std::unique_ptr<FileReplacer>(new FileReplacer(std::move(temp), std::move(target)));
}

FileReplacer::FileReplacer(std::unique_ptr<detail::NativeTemporary> temp, std::string target)
    : temp_(std::move(temp)), target_(std::move(target)) {}

// The temporary file goes with it unless it was committed.
FileReplacer::~FileReplacer() = default;

bool FileReplacer::Write(std::string_view bytes) {
    if (!temp_) return FailWith(kErrorInvalidHandle);
    return detail::WriteAll(temp_->Fd(), bytes) || FailWithErrno(errno, target_);
}

bool FileReplacer::Commit() {
    if (!temp_) return FailWith(kErrorInvalidHandle);
    // Renamed while still open, so that its lock tells sweepers it is in use
    // until it has its name.
    const bool ok = ::fsync(temp_->Fd()) == 0 && ::rename(temp_->Path().c_str(), target_.c_str()) == 0;
    if (!ok) {
        const int error = errno;
        temp_.reset();
        return FailWithErrno(error, target_);
    }
    temp_->Release();
    temp_.reset();
    return true;
}

}  // namespace qx
