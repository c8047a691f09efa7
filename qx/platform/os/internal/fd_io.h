// Writing through a POSIX file descriptor. Internal to the os layer: only its
// *_posix.cpp files call it.
#pragma once

#include <string_view>

namespace qx::detail {

// Writes all of *bytes* to *fd*, going on after short writes and
// interruptions. False on the first failure, with errno telling why.
bool WriteAll(int fd, std::string_view bytes);

}  // namespace qx::detail
