// What the file store of the registry needs from the system beyond whole-file
// reads and writes: a lock between processes and a cheap test of whether a
// file changed. Internal to the os layer.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace qx::detail {

// Enough of a file's status to tell that another process replaced or
// changed it: an atomic replace gives a new inode, and a write in place
// changes the size or the modification or status-change time.
struct FileIdentity {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::int64_t changedNs = 0;

    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// One stat call on *nativePath*.
FileIdentity IdentityOf(const std::string& nativePath);

// An exclusive lock on a lock file beside the data file. The data file
// itself cannot carry the lock: each write replaces it with a new file.
class FileLock {
public:
    // Blocks until the lock is held; nullopt when the lock file cannot be
    // created (a folder the process may not write).
    static std::optional<FileLock> Acquire(const std::string& nativeLockPath);

    FileLock(FileLock&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    FileLock& operator=(FileLock&&) = delete;
    FileLock(const FileLock&) = delete;
    ~FileLock();

private:
    explicit FileLock(int fd) : fd_(fd) {}
    int fd_;
};

}  // namespace qx::detail
