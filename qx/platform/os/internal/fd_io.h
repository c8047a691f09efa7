// POSIX file descriptors: one that closes itself, and writing through one.
// Internal to the os layer: only its *_posix.cpp files use it.
#pragma once

#include <string_view>
#include <utility>

namespace qx::detail {

// An open descriptor that closes itself.
class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd();
    Fd(Fd&& other) noexcept : fd_(other.Release()) {}
    Fd& operator=(Fd&& other) noexcept;
    int get() const { return fd_; }
    int Release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

// Writes all of *bytes* to *fd*, going on after short writes and
// interruptions. False on the first failure, with errno telling why.
bool WriteAll(int fd, std::string_view bytes);

}  // namespace qx::detail
