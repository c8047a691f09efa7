#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <functional>
#include <limits>
#include <string>

#include "qx/platform/os/file_system.h"
#include "qx/platform/os/internal/fd_io.h"
#include "qx/platform/os/internal/errno_error.h"
#include "qx/platform/os/internal/native_entries.h"
#include "qx/platform/os/internal/regular_file.h"
#include "qx/platform/os/internal/replace_target.h"
#include "qx/platform/os/internal/temporary_files.h"
#include "qx/platform/os/last_error.h"
#include "qx/platform/os/native_path.h"

namespace qx {

namespace {

using detail::FailWith;
using detail::FailWithErrno;

FileTime ToFileTime(const struct statx_timestamp& time) {
    return FileTimeFromUnix(time.tv_sec, time.tv_nsec);
}

struct timespec ToTimespec(std::optional<FileTime> time) {
    if (!time) return {0, UTIME_OMIT};
    return {static_cast<time_t>(UnixSecondsOf(*time)), static_cast<long>(NanosecondsOf(*time))};
}

bool IsHiddenName(std::string_view nativePath) {
    while (nativePath.size() > 1 && nativePath.ends_with('/')) nativePath.remove_suffix(1);
    const std::string_view name = nativePath.substr(nativePath.rfind('/') + 1);
    return name.starts_with('.') && name != "." && name != "..";
}

// The read-only attribute as Windows applies it: to files, not to folders.
bool IsReadOnlyFile(const struct stat& st) {
    return !S_ISDIR(st.st_mode) && !(st.st_mode & S_IWUSR);
}

// Reads *fd* to its end, handing each chunk to *sink*; false (with errno set)
// when reading or the sink fails.
bool ReadAll(int fd, const std::function<bool(std::string_view)>& sink) {
    std::array<char, 65536> buffer;
    for (;;) {
        const ssize_t count = ::read(fd, buffer.data(), buffer.size());
        if (count < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (count == 0) return true;
        if (!sink(std::string_view(buffer.data(), static_cast<size_t>(count)))) return false;
    }
}

// rename() that fails with EEXIST instead of replacing an existing target.
int RenameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return -1;
    // The file system cannot refuse by itself: check, then rename.
    struct stat st {};
    if (::lstat(to.c_str(), &st) == 0) {
        errno = EEXIST;
        return -1;
    }
    return ::rename(from.c_str(), to.c_str());
}

// A rename is durable only once its folder is on disk as well. Some file
// systems cannot sync a folder; the file itself is safe by then anyway.
void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

namespace detail {

std::optional<ReplaceTarget> FindReplaceTarget(const std::string& nativePath, bool mayExist) {
    struct stat st {};
    if (::stat(nativePath.c_str(), &st) != 0) {
        // A missing folder shows when the file is created.
        if (errno == ENOENT) return ReplaceTarget{nativePath, std::nullopt};
        FailWithErrno(errno, nativePath);
        return std::nullopt;
    }
    if (!mayExist) {
        FailWith(kErrorAlreadyExists);
        return std::nullopt;
    }
    // Only a regular file is replaced: renaming a new file over a device, a
    // FIFO or a socket would take it away from everyone who uses it.
    if (!S_ISREG(st.st_mode) || IsReadOnlyFile(st)) {
        FailWith(kErrorAccessDenied);
        return std::nullopt;
    }
    ReplaceTarget target{nativePath, ReplacedFile{st.st_mode & 07777, st.st_uid, st.st_gid}};
    struct stat link {};
    if (::lstat(nativePath.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        // The rename goes to the file the link names, so the system's own
        // guard against links planted in shared folders never sees it:
        // apply it here.
        struct stat folder {};
        if (::stat(NativeParentFolder(nativePath).c_str(), &folder) != 0 || MayBePlanted(link, folder)) {
            FailWith(kErrorAccessDenied);
            return std::nullopt;
        }
        if (char* real = ::realpath(nativePath.c_str(), nullptr)) {
            target.path = real;
            std::free(real);
        }
    }
    return target;
}

}  // namespace detail

namespace {

struct NewFileSettings {
    std::optional<mode_t> mode;  // else what open() makes of 0666 and the umask
    std::optional<std::pair<uid_t, gid_t>> owner;
    std::optional<std::array<struct timespec, 2>> times;  // access, write
    bool noReplace = false;
};

// Writes a new file beside *target* through *fill*, flushes it to disk and
// renames it over *target*. On failure the temporary file is removed and
// *target* is as it was.
bool ReplaceAtomically(const std::string& target, const NewFileSettings& settings,
                       const std::function<bool(int fd)>& fill) {
    const std::string folder = detail::NativeParentFolder(target);
    const auto temp = detail::NativeTemporary::CreateIn(folder, 0666);
    if (!temp) return FailWithErrno(errno, target);
    const int fd = temp->Fd();

    if (settings.owner && ::fchown(fd, settings.owner->first, settings.owner->second) != 0) {
        // Only a privileged process may give a file away; the new file then
        // belongs to the writer, as any file it creates.
    }
    bool ok = (!settings.mode || ::fchmod(fd, *settings.mode & 07777) == 0) && fill(fd) &&
              (!settings.times || ::futimens(fd, settings.times->data()) == 0) && ::fsync(fd) == 0;
    // Renamed while still open, so that its lock tells sweepers it is in use
    // until it has its name.
    if (ok) {
        ok = (settings.noReplace ? RenameNoReplace(temp->Path(), target)
                                 : ::rename(temp->Path().c_str(), target.c_str())) == 0;
    }
    if (!ok) return FailWithErrno(errno, target);
    temp->Release();
    SyncFolder(folder);
    return true;
}

// Copies *source* over *target* (see CopyFileAtomically); with *failIfExists*, an
// existing target fails with kErrorAlreadyExists.
bool CopyNativeFile(const std::string& source, const std::string& target, bool failIfExists) {
    struct stat from {};
    const int in = detail::OpenRegularFile(AT_FDCWD, source.c_str(), O_RDONLY, &from);
    if (in < 0) return FailWithErrno(errno, source);
    bool ok = false;
    if (const auto dest = detail::FindReplaceTarget(target, !failIfExists)) {
        NewFileSettings settings;
        settings.mode = from.st_mode;
        settings.times = {from.st_atim, from.st_mtim};
        settings.noReplace = failIfExists;
        ok = ReplaceAtomically(dest->path, settings, [in](int out) {
            return ReadAll(in, [out](std::string_view chunk) { return detail::WriteAll(out, chunk); });
        });
    }
    ::close(in);
    return ok;
}

}  // namespace

std::optional<FileStatus> GetFileStatus(std::wstring_view path) {
    // The path as written first: the case of its names is looked for only
    // when it is missing, which saves a call for every file that exists.
    auto native = ToNativePath(path, false);
    if (!native) return std::nullopt;
    struct statx sx {};
    const auto statNative = [&] { return ::statx(AT_FDCWD, native->c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &sx); };
    int result = statNative();
    if (result != 0) {
        const int err = errno;
        bool holderIsFolder = false;
        std::string resolved = detail::ResolveNativeCase(*native, &holderIsFolder);
        // The name is missing from a folder the search has just seen.
        if (resolved == *native && err == ENOENT && holderIsFolder) {
            FailWith(kErrorFileNotFound);
            return std::nullopt;
        }
        if (resolved == *native) {
            errno = err;
        } else {
            *native = std::move(resolved);
            result = statNative();
        }
    }
    if (result != 0) {
        FailWithErrno(errno, *native);
        return std::nullopt;
    }
    FileStatus status;
    const bool folder = S_ISDIR(sx.stx_mode);
    status.attributes = folder ? kFileAttributeDirectory : kFileAttributeArchive;
    if (!(sx.stx_mode & S_IWUSR)) status.attributes |= kFileAttributeReadOnly;
    if (IsHiddenName(*native)) status.attributes |= kFileAttributeHidden;
    status.size = folder ? 0 : sx.stx_size;
    status.creationTime = ToFileTime((sx.stx_mask & STATX_BTIME) ? sx.stx_btime : sx.stx_ctime);
    status.lastAccessTime = ToFileTime(sx.stx_atime);
    status.lastWriteTime = ToFileTime(sx.stx_mtime);
    return status;
}

bool ChangeFileAttributes(std::wstring_view path, unsigned attributes) {
    const auto native = ToNativePath(path);
    if (!native) return false;
    struct stat st {};
    if (::stat(native->c_str(), &st) != 0) return FailWithErrno(errno, *native);
    // Devices, FIFOs and sockets have no attributes to give.
    if (!S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) return FailWith(kErrorAccessDenied);
    const mode_t mode = st.st_mode & 07777;
    const mode_t wanted = (attributes & kFileAttributeReadOnly) ? mode & ~(S_IWUSR | S_IWGRP | S_IWOTH)
                                                                : mode | S_IWUSR;
    if (wanted != mode && ::chmod(native->c_str(), wanted) != 0) return FailWithErrno(errno, *native);
    return true;
}

bool SetFileTimes(std::wstring_view path, std::optional<FileTime> /*creation*/,
                  std::optional<FileTime> lastAccess, std::optional<FileTime> lastWrite) {
    const auto native = ToNativePath(path);
    if (!native) return false;
    const struct timespec times[2] = {ToTimespec(lastAccess), ToTimespec(lastWrite)};
    if (::utimensat(AT_FDCWD, native->c_str(), times, 0) != 0) return FailWithErrno(errno, *native);
    return true;
}

bool IsSpecialFile(std::wstring_view path) {
    const auto native = ToNativePath(path);
    struct stat st {};
    return native && ::stat(native->c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode);
}

bool IsReadable(std::wstring_view path) {
    const auto native = ToNativePath(path);
    if (!native) return false;
    if (::faccessat(AT_FDCWD, native->c_str(), R_OK, AT_EACCESS) != 0) return FailWithErrno(errno, *native);
    return true;
}

bool IsWritable(std::wstring_view path) {
    const auto native = ToNativePath(path);
    if (!native) return false;
    struct stat st {};
    if (::stat(native->c_str(), &st) != 0) return FailWithErrno(errno, *native);
    if (IsReadOnlyFile(st)) return FailWith(kErrorAccessDenied);
    if (::faccessat(AT_FDCWD, native->c_str(), W_OK, AT_EACCESS) != 0) return FailWithErrno(errno, *native);
    return true;
}

namespace {

// Reads a regular file whole. With *respectWriters* it first takes a shared
// lock, which an exclusive holder (LockedAppendFile, the registry store, a
// program that keeps the file to itself) refuses. A file larger than
// *maxBytes* is not read.
std::optional<std::string> ReadRegularFile(std::wstring_view path, bool respectWriters, std::uint64_t maxBytes) {
    const auto native = ToNativePath(path);
    if (!native) return std::nullopt;
    struct stat st {};
    const int fd = detail::OpenRegularFile(AT_FDCWD, native->c_str(), O_RDONLY, &st);
    if (fd < 0) {
        FailWithErrno(errno, *native);
        return std::nullopt;
    }
    if (static_cast<std::uint64_t>(st.st_size) > maxBytes) {
        ::close(fd);
        FailWith(kErrorFileTooLarge);
        return std::nullopt;
    }
    if (respectWriters && ::flock(fd, LOCK_SH | LOCK_NB) != 0) {
        ::close(fd);
        FailWith(kErrorSharingViolation);
        return std::nullopt;
    }
    std::string content;
    content.reserve(static_cast<size_t>(st.st_size));
    bool tooLarge = false;
    const bool ok = ReadAll(fd, [&content, &tooLarge, maxBytes](std::string_view chunk) {
        // A file that grows while it is read stays bounded too.
        tooLarge = content.size() + chunk.size() > maxBytes;
        if (!tooLarge) content += chunk;
        return !tooLarge;
    });
    const int error = errno;
    ::close(fd);  // also lets the shared lock go
    if (!ok) {
        if (tooLarge) FailWith(kErrorFileTooLarge);
        else FailWithErrno(error, *native);
        return std::nullopt;
    }
    return content;
}

}  // namespace

std::optional<std::string> ReadWholeFile(std::wstring_view path) {
    return ReadRegularFile(path, false, std::numeric_limits<std::uint64_t>::max());
}

std::optional<std::string> ReadWholeFileShared(std::wstring_view path, std::uint64_t maxBytes) {
    return ReadRegularFile(path, true, maxBytes);
}

bool WriteFileAtomically(std::wstring_view path, std::string_view bytes) {
    const auto native = ToNativePath(path);
    if (!native) return false;
    const auto target = detail::FindReplaceTarget(*native, true);
    if (!target) return false;
    NewFileSettings settings;
    if (const auto& existing = target->existing) {
        settings.mode = existing->mode;
        if (existing->owner != ::geteuid() || existing->group != ::getegid())
            settings.owner = {existing->owner, existing->group};
    }
    return ReplaceAtomically(target->path, settings, [bytes](int fd) { return detail::WriteAll(fd, bytes); });
}

bool MakeDirectory(std::wstring_view path) {
    const auto native = ToNativePath(path);
    if (!native) return false;
    if (::mkdir(native->c_str(), 0777) != 0) return FailWithErrno(errno, *native);
    return true;
}

bool CreateDirectories(std::wstring_view path) {
    const auto native = ToNativePath(path);
    if (!native) return false;
    for (size_t end = 0; end != native->size();) {
        end = std::min(native->find('/', end + 1), native->size());
        const std::string folder = native->substr(0, end);
        if (::mkdir(folder.c_str(), 0777) == 0) continue;
        const int error = errno;
        struct stat st {};
        if (::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) continue;
        return FailWithErrno(error, folder);
    }
    return true;
}

bool RemoveFile(std::wstring_view path) {
    const auto native = ToNativePath(path);
    if (!native) return false;
    struct stat st {};
    if (::lstat(native->c_str(), &st) != 0) return FailWithErrno(errno, *native);
    if (S_ISDIR(st.st_mode) || IsReadOnlyFile(st)) return FailWith(kErrorAccessDenied);
    if (::unlink(native->c_str()) != 0) return FailWithErrno(errno, *native);
    return true;
}

bool RemoveEmptyDirectory(std::wstring_view path) {
    const auto native = ToNativePath(path);
    if (!native) return false;
    if (::rmdir(native->c_str()) != 0) {
        // Some file systems say EEXIST for a folder that is not empty.
        return FailWithErrno(errno == EEXIST ? ENOTEMPTY : errno, *native);
    }
    return true;
}

bool RenameFile(std::wstring_view from, std::wstring_view to, bool replaceExisting) {
    const auto source = ToNativePath(from);
    if (!source) return false;
    struct stat st {};
    if (::lstat(source->c_str(), &st) != 0) return FailWithErrno(errno, *source);
    auto target = ToNativePath(to);
    if (!target) return false;
    if (*target == *source) {
        // The target resolved to the source itself: a change of letter case
        // only. Keep the new spelling of the last component.
        const auto written = ToNativePath(to, false);
        const size_t last = target->rfind('/') + 1;
        target->replace(last, std::string::npos, written->substr(written->rfind('/') + 1));
        if (*target == *source) return true;
    }
    struct stat existing {};
    if (replaceExisting && ::lstat(target->c_str(), &existing) == 0) {
        // A device, FIFO or socket is never replaced (a link to one may be).
        const bool special = !S_ISREG(existing.st_mode) && !S_ISDIR(existing.st_mode) && !S_ISLNK(existing.st_mode);
        if (special || IsReadOnlyFile(existing)) return FailWith(kErrorAccessDenied);
    }
    const int renamed = replaceExisting ? ::rename(source->c_str(), target->c_str())
                                        : RenameNoReplace(*source, *target);
    if (renamed == 0) return true;
    if (errno != EXDEV || !S_ISREG(st.st_mode)) return FailWithErrno(errno, *target);
    if (!CopyNativeFile(*source, *target, !replaceExisting)) return false;
    if (::unlink(source->c_str()) != 0) return FailWithErrno(errno, *source);
    return true;
}

bool CopyFileAtomically(std::wstring_view from, std::wstring_view to, bool failIfExists) {
    const auto source = ToNativePath(from);
    if (!source) return false;
    const auto target = ToNativePath(to);
    if (!target) return false;
    if (CopyNativeFile(*source, *target, failIfExists)) return true;
    // Creating a file that exists is "file exists" on Windows, moving onto
    // one "already exists".
    if (GetLastError() == kErrorAlreadyExists) SetLastError(kErrorFileExists);
    return false;
}

std::wstring TempDirectory() {
    const char* folder = std::getenv("TMPDIR");
    std::wstring path = FromNativePath(folder && *folder ? folder : "/tmp");
    if (!path.ends_with(L'\\')) path += L'\\';
    return path;
}

std::wstring CurrentDirectory() {
    char* folder = ::getcwd(nullptr, 0);
    if (!folder) {
        SetLastError(ErrorFromErrno(errno));
        return {};
    }
    std::wstring path = FromNativePath(folder);
    std::free(folder);
    return path;
}

}  // namespace qx
