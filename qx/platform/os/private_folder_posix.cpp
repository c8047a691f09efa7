#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "qx/platform/os/internal/fd_io.h"
#include "qx/platform/os/internal/errno_error.h"
#include "qx/platform/os/internal/temporary_files.h"
#include "qx/platform/os/last_error.h"
#include "qx/platform/os/native_path.h"
#include "qx/platform/os/private_folder.h"

namespace qx {

namespace {

using detail::FailWith;
using detail::FailWithErrno;

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// The native names of the parts of *relative*; nullopt (kErrorInvalidName)
// for an empty path or an empty, "." or ".." part.
std::optional<std::vector<std::string>> SplitRelative(std::wstring_view relative) {
    if (relative.empty()) {
        FailWith(kErrorInvalidName);
        return std::nullopt;
    }
    // Converted behind "." so that a part such as "C:" is never read as a
    // drive; the os layer encodes names exactly as a listing decodes them.
    const auto native = ToNativePath(L".\\" + std::wstring(relative), false);
    if (!native) return std::nullopt;
    std::vector<std::string> parts;
    size_t start = 2;  // after "./"
    for (;;) {
        const size_t end = native->find('/', start);
        std::string part = native->substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (part.empty() || part == "." || part == "..") {
            FailWith(kErrorInvalidName);
            return std::nullopt;
        }
        parts.push_back(std::move(part));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

// An open folder descriptor that closes itself.
class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(Fd&& other) noexcept : fd_(other.Release()) {}
    Fd& operator=(Fd&& other) noexcept {
        if (this != &other) {
            if (fd_ >= 0) ::close(fd_);
            fd_ = other.Release();
        }
        return *this;
    }
    int get() const { return fd_; }
    int Release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

// Opens the folder that holds the last of *parts*, walking from *root*
// without following links; with *create*, missing folders are made (0700)
// and recorded in *created* as relative library paths.
std::optional<Fd> OpenParent(int root, const std::vector<std::string>& parts, bool create,
                             std::vector<std::wstring>* created) {
    Fd current(::dup(root));
    if (current.get() < 0) {
        FailWithErrno(errno, "");
        return std::nullopt;
    }
    std::string walked;
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        walked += (walked.empty() ? "" : "/") + parts[i];
        int next = ::openat(current.get(), parts[i].c_str(), kFolderFlags);
        if (next < 0 && errno == ENOENT && create) {
            if (::mkdirat(current.get(), parts[i].c_str(), 0700) == 0) {
                if (created) created->push_back(FromNativePath(walked));
            } else if (errno != EEXIST) {
                FailWithErrno(errno, walked);
                return std::nullopt;
            }
            next = ::openat(current.get(), parts[i].c_str(), kFolderFlags);
        }
        if (next < 0) {
            // ELOOP/ENOTDIR: a link or a file stands where a folder should.
            FailWithErrno(errno == ELOOP ? EACCES : errno, walked);
            return std::nullopt;
        }
        current = Fd(next);
    }
    return current;
}

// Removes everything inside folder *fd* (which it closes).
bool EmptyFolder(int fd) {
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return false;
    }
    bool ok = true;
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    for (const std::string& name : names) {
        struct stat st {};
        if (::fstatat(::dirfd(dir), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (S_ISDIR(st.st_mode)) {
            const int child = ::openat(::dirfd(dir), name.c_str(), kFolderFlags);
            ok = child >= 0 && EmptyFolder(child) && ::unlinkat(::dirfd(dir), name.c_str(), AT_REMOVEDIR) == 0 && ok;
        } else {
            ok = ::unlinkat(::dirfd(dir), name.c_str(), 0) == 0 && ok;
        }
    }
    ::closedir(dir);
    return ok;
}

// Whether *st* is a folder that the current user owns.
bool IsOwnFolder(const struct stat& st) { return S_ISDIR(st.st_mode) && st.st_uid == ::geteuid(); }

}  // namespace

std::unique_ptr<PrivateFolder> PrivateFolder::Open(std::wstring_view path) {
    const auto native = ToNativePath(path);
    if (!native) return nullptr;
    if (::mkdir(native->c_str(), 0700) != 0 && errno != EEXIST) {
        FailWithErrno(errno, *native);
        return nullptr;
    }
    const int fd = ::open(native->c_str(), kFolderFlags);
    if (fd < 0) {
        FailWithErrno(errno == ELOOP || errno == ENOTDIR ? EACCES : errno, *native);
        return nullptr;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !IsOwnFolder(st) ||
        ((st.st_mode & 077) != 0 && ::fchmod(fd, st.st_mode & 0700) != 0)) {
        ::close(fd);
        FailWith(kErrorAccessDenied);
        return nullptr;
    }
    return std::unique_ptr<PrivateFolder>(new PrivateFolder(fd));
}

PrivateFolder::~PrivateFolder() { ::close(fd_); }

bool PrivateFolder::IsFile(std::wstring_view relative) const {
    const auto parts = SplitRelative(relative);
    if (!parts) return false;
    const auto parent = OpenParent(fd_, *parts, false, nullptr);
    if (!parent) return false;
    const int fd = ::openat(parent->get(), parts->back().c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return FailWithErrno(errno, parts->back());
    struct stat st {};
    const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    ::close(fd);
    return regular || FailWith(kErrorAccessDenied);
}

bool PrivateFolder::CreateFolders(std::wstring_view relative, std::vector<std::wstring>* created) {
    auto parts = SplitRelative(relative);
    if (!parts) return false;
    // A dummy last part makes OpenParent walk (and create) all of them.
    parts->push_back("x");
    return OpenParent(fd_, *parts, true, created).has_value();
}

std::unique_ptr<PrivateFileWriter> PrivateFolder::CreateFile(std::wstring_view relative) {
    const auto parts = SplitRelative(relative);
    if (!parts) return nullptr;
    auto parent = OpenParent(fd_, *parts, false, nullptr);
    if (!parent) return nullptr;
    // O_EXCL on a fresh name: nothing that stands in the folder, a link
    // included, can redirect the open.
    auto temp = detail::NativeTemporary::CreateAt(parent->get(), 0600);
    if (!temp) {
        FailWithErrno(errno, parts->back());
        return nullptr;
    }
    return std::unique_ptr<PrivateFileWriter>(new PrivateFileWriter(parent->Release(), parts->back(), std::move(temp)));
}

bool PrivateFolder::RemoveFile(std::wstring_view relative) {
    const auto parts = SplitRelative(relative);
    if (!parts) return false;
    const auto parent = OpenParent(fd_, *parts, false, nullptr);
    if (!parent) return false;
    if (::unlinkat(parent->get(), parts->back().c_str(), 0) != 0) return FailWithErrno(errno, parts->back());
    return true;
}

bool PrivateFolder::RemoveEmptyFolder(std::wstring_view relative) {
    const auto parts = SplitRelative(relative);
    if (!parts) return false;
    const auto parent = OpenParent(fd_, *parts, false, nullptr);
    if (!parent) return false;
    if (::unlinkat(parent->get(), parts->back().c_str(), AT_REMOVEDIR) != 0) return FailWithErrno(errno, parts->back());
    return true;
}

bool PrivateFolder::RemoveTree(std::wstring_view path) {
    const auto native = ToNativePath(path);
    if (!native) return false;
    const int fd = ::open(native->c_str(), kFolderFlags);
    if (fd < 0) return errno == ENOENT || FailWithErrno(errno == ELOOP ? EACCES : errno, *native);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !IsOwnFolder(st)) {
        ::close(fd);
        return FailWith(kErrorAccessDenied);
    }
    const bool emptied = EmptyFolder(fd);
    if (::rmdir(native->c_str()) != 0) return FailWithErrno(errno, *native);
    return emptied;
}

PrivateFileWriter::PrivateFileWriter(int folderFd, std::string name, std::unique_ptr<detail::NativeTemporary> temp)
    : folderFd_(folderFd), name_(std::move(name)), temp_(std::move(temp)) {}

PrivateFileWriter::~PrivateFileWriter() {
    // The temporary file, unless committed, goes first: it is found through
    // the folder.
    temp_.reset();
    ::close(folderFd_);
}

bool PrivateFileWriter::Write(std::string_view bytes) {
    if (!temp_) return FailWith(kErrorInvalidHandle);
    return detail::WriteAll(temp_->Fd(), bytes) || FailWithErrno(errno, temp_->Name());
}

bool PrivateFileWriter::Commit(std::optional<FileTime> lastAccess, std::optional<FileTime> lastWrite) {
    auto toTimespec = [](std::optional<FileTime> time) -> struct timespec {
        if (!time) return {0, UTIME_OMIT};
        return {static_cast<time_t>(UnixSecondsOf(*time)), static_cast<long>(NanosecondsOf(*time))};
    };
    if (!temp_) return FailWith(kErrorInvalidHandle);
    const struct timespec times[2] = {toTimespec(lastAccess), toTimespec(lastWrite)};
    // rename replaces the entry of that name itself, a link included, never
    // the file a link names. The file is renamed while still open, so that
    // its lock tells sweepers it is in use until it has its name.
    const bool ok = ::futimens(temp_->Fd(), times) == 0 &&
                    ::renameat(folderFd_, temp_->Name().c_str(), folderFd_, name_.c_str()) == 0;
    if (!ok) {
        const int error = errno;
        temp_.reset();
        return FailWithErrno(error, name_);
    }
    temp_->Release();
    temp_.reset();
    return true;
}

}  // namespace qx
