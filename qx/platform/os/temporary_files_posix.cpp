// Creating temporary files under the common name and sweeping folders for the
// leftovers of writers that are gone (the rules are in temporary_files.h).
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <set>
#include <string_view>
#include <utility>
#include <vector>

#include "qx/platform/os/internal/errno_error.h"
#include "qx/platform/os/internal/fd_io.h"
#include "qx/platform/os/internal/temporary_files.h"
#include "qx/platform/os/last_error.h"
#include "qx/platform/os/native_path.h"
#include "qx/platform/os/temporary_files.h"

namespace qx {
namespace {

constexpr std::string_view kNamePrefix = ".qx-";
constexpr std::string_view kNameSuffix = ".tmp";
// Folders remembered as swept; past this many the memory starts again, and
// a folder is swept once more (which finds this process's own files listed).
constexpr size_t kMaxSweptFolders = 65536;

// Numbers go on through the process, so that its names never repeat.
std::atomic<std::uint64_t> g_nextNumber{0};

// Creating and sweeping never overlap in this process: a sweep never sees a
// file of its own that is not listed yet. Never destroyed, like the swept
// folders below: a writer may start while static objects are destroyed.
std::mutex& CreationMutex() {
    static auto* mutex = new std::mutex;
    return *mutex;
}

std::string TemporaryName(pid_t pid, std::uint64_t number) {
    std::string name(kNamePrefix);
    name += std::to_string(pid);
    name += '-';
    name += std::to_string(number);
    name += kNameSuffix;
    return name;
}

std::optional<std::uint64_t> ParseDecimal(std::string_view digits) {
    std::uint64_t value = 0;
    const char* end = digits.data() + digits.size();
    const auto [stop, error] = std::from_chars(digits.data(), end, value);
    if (digits.empty() || error != std::errc() || stop != end) return std::nullopt;
    return value;
}

struct ParsedName {
    pid_t pid;
    std::uint64_t number;
};

// The writer and number of a name exactly as TemporaryName makes it, else
// nullopt.
std::optional<ParsedName> ParseTemporaryName(std::string_view name) {
    if (name.size() <= kNamePrefix.size() + kNameSuffix.size() || !name.starts_with(kNamePrefix) ||
        !name.ends_with(kNameSuffix))
        return std::nullopt;
    const std::string_view middle = name.substr(kNamePrefix.size(), name.size() - kNamePrefix.size() - kNameSuffix.size());
    const size_t dash = middle.find('-');
    if (dash == std::string_view::npos) return std::nullopt;
    const auto pid = ParseDecimal(middle.substr(0, dash));
    const auto number = ParseDecimal(middle.substr(dash + 1));
    if (!pid || !number || *pid == 0 || *pid > static_cast<std::uint64_t>(INT_MAX)) return std::nullopt;
    const ParsedName parsed{static_cast<pid_t>(*pid), *number};
    if (TemporaryName(parsed.pid, parsed.number) != name) return std::nullopt;  // leading zeros
    return parsed;
}

// Whether process *pid* is gone; this process counts as gone for files it
// does not list (a process before it had the same id, in another pid
// namespace).
bool WriterIsGone(const ParsedName& writer) {
    if (writer.pid == ::getpid()) return !detail::IsListedTemporary(writer.number);
    return ::kill(writer.pid, 0) != 0 && errno == ESRCH;
}

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Deletes leftover *name* of a writer that is gone, unless it is not a
// regular file of the user's or someone holds its lock.
void RemoveLeftover(int folderFd, const std::string& name) {
    // Looked at before it is opened: opening a device can have effects.
    struct stat entry {};
    if (::fstatat(folderFd, name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(entry.st_mode) ||
        entry.st_uid != ::geteuid())
        return;
    const int fd = ::openat(folderFd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    // A file its writer made unreadable cannot be asked for its lock; the
    // process id has decided then.
    if (fd >= 0) {
        struct stat opened {};
        const bool held = ::fstat(fd, &opened) != 0 || !SameFile(opened, entry) ||
                          (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK);
        if (held) {
            ::close(fd);
            return;
        }
    }
    // Deleted while the lock is ours, and only if the name still names it.
    struct stat now {};
    if (::fstatat(folderFd, name.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0 && SameFile(now, entry))
        ::unlinkat(folderFd, name.c_str(), 0);
    if (fd >= 0) ::close(fd);
}

// Removes the leftovers of writers that are gone from folder *folderFd*.
// False (errno set) when the folder cannot be listed.
bool SweepFolder(int folderFd) {
    const int listFd = ::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listFd < 0) return false;
    DIR* dir = ::fdopendir(listFd);
    if (!dir) {
        const int error = errno;
        ::close(listFd);
        errno = error;
        return false;
    }
    // Collected first: a folder changed while it is read may skip entries.
    std::vector<std::string> leftovers;
    while (const dirent* entry = ::readdir(dir)) {
        const auto writer = ParseTemporaryName(entry->d_name);
        if (writer && WriterIsGone(*writer)) leftovers.emplace_back(entry->d_name);
    }
    ::closedir(dir);
    for (const std::string& name : leftovers) RemoveLeftover(folderFd, name);
    return true;
}

// Whether this process is in folder *folderFd* for the first time; the
// caller holds the creation mutex.
bool FirstVisit(int folderFd) {
    static auto* swept = new std::set<std::pair<dev_t, ino_t>>;
    struct stat st {};
    if (::fstat(folderFd, &st) != 0) return false;
    if (swept->size() >= kMaxSweptFolders) swept->clear();
    return swept->emplace(st.st_dev, st.st_ino).second;
}

// A descriptor of this file's own making, closed when it goes.
struct OwnFd {
    int fd = -1;
    ~OwnFd() {
        const int error = errno;
        if (fd >= 0) ::close(fd);
        errno = error;
    }
};

std::string Absolute(std::string folder) {
    if (folder.starts_with('/')) return folder;
    char* current = ::getcwd(nullptr, 0);
    if (!current) return folder;
    std::string absolute = current;
    std::free(current);
    if (folder != ".") absolute += (absolute == "/" ? "" : "/") + folder;
    return absolute;
}

}  // namespace

namespace detail {

std::unique_ptr<NativeTemporary> NativeTemporary::CreateIn(const std::string& folder, unsigned mode) {
    return Create(AT_FDCWD, Absolute(folder), mode);
}

std::unique_ptr<NativeTemporary> NativeTemporary::CreateAt(int folderFd, unsigned mode) {
    return Create(folderFd, std::string(), mode);
}

std::unique_ptr<NativeTemporary> NativeTemporary::Create(int folderFd, std::string folder, unsigned mode) {
    OwnFd opened;
    int at = folderFd;
    if (folderFd == AT_FDCWD) {
        // A folder that may be written but not read takes files all the
        // same; it is only not swept.
        opened.fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (opened.fd >= 0) at = opened.fd;
        if (!folder.ends_with('/')) folder += '/';
    }
    const std::lock_guard lock(CreationMutex());
    if (at != AT_FDCWD && FirstVisit(at)) SweepFolder(at);
    const pid_t pid = ::getpid();
    // Every name that is taken is an entry of the folder, so the loop ends.
    for (;;) {
        const std::uint64_t number = g_nextNumber++;
        std::string name = TemporaryName(pid, number);
        std::string path = folderFd == AT_FDCWD ? folder + name : std::string();
        // Listed before it exists, so that an ending signal that comes
        // between its creation and the listing cannot leave it behind (the
        // handler's removal of a name not yet made does nothing).
        ListTemporary(number, folderFd, folderFd == AT_FDCWD ? path : name);
        const int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
        const int fd = at == AT_FDCWD ? ::open(path.c_str(), flags, mode) : ::openat(at, name.c_str(), flags, mode);
        if (fd < 0) {
            const int error = errno;
            UnlistTemporary(number);
            if (error == EEXIST) continue;
            errno = error;
            return nullptr;
        }
        // The lock is a second sign of life, for sweepers that cannot see
        // this process; a file system without locks leaves the process id.
        ::flock(fd, LOCK_EX | LOCK_NB);
        return std::unique_ptr<NativeTemporary>(
            new NativeTemporary(folderFd, fd, number, std::move(name), std::move(path)));
    }
}

NativeTemporary::~NativeTemporary() {
    if (!released_) {
        // Deleted while the lock is still held.
        if (folderFd_ == AT_FDCWD) ::unlink(path_.c_str());
        else ::unlinkat(folderFd_, name_.c_str(), 0);
        UnlistTemporary(number_);
    }
    Close();
}

void NativeTemporary::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

void NativeTemporary::Release() {
    if (released_) return;
    released_ = true;
    UnlistTemporary(number_);
    Close();
}

}  // namespace detail

std::unique_ptr<TemporaryFile> TemporaryFile::Create(std::wstring_view folder) {
    const auto native = ToNativePath(folder);
    if (!native) return nullptr;
    auto file = detail::NativeTemporary::CreateIn(*native, 0600);
    if (!file) {
        // Named as a file in the folder, so that a missing folder is told.
        detail::FailWithErrno(errno, *native + "/" + TemporaryName(::getpid(), 0));
        return nullptr;
    }
    std::wstring path(folder);
    path += FromNativePath(file->Name());
    return std::unique_ptr<TemporaryFile>(new TemporaryFile(std::move(file), std::move(path)));
}

TemporaryFile::TemporaryFile(std::unique_ptr<detail::NativeTemporary> file, std::wstring path)
    : file_(std::move(file)), path_(std::move(path)) {}

TemporaryFile::~TemporaryFile() = default;

bool TemporaryFile::Write(std::string_view bytes) {
    if (file_->Fd() < 0) return detail::FailWith(kErrorInvalidHandle);
    return detail::WriteAll(file_->Fd(), bytes) || detail::FailWithErrno(errno, file_->Path());
}

void TemporaryFile::Close() { file_->Close(); }

bool SweepTemporaryFiles(std::wstring_view folder) {
    const auto native = ToNativePath(folder);
    if (!native) return false;
    OwnFd opened;
    opened.fd = ::open(native->c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (opened.fd < 0) return detail::FailWithErrno(errno, *native);
    const std::lock_guard lock(CreationMutex());
    FirstVisit(opened.fd);
    return SweepFolder(opened.fd) || detail::FailWithErrno(errno, *native);
}

}  // namespace qx
