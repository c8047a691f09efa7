// Turning a failed system call into the platform's last error. Internal to
// the os layer: only its *_posix.cpp files call these.
#pragma once

#include <string_view>

namespace qx::detail {

// Sets the last error for errno value *err* of a call on *nativePath* and
// returns false, so that a failing branch reads `return FailWithErrno(...)`.
// ENOENT becomes kErrorPathNotFound when the folder that should hold
// *nativePath* does not exist.
bool FailWithErrno(int err, std::string_view nativePath);

// Sets the last error to *code* and returns false.
bool FailWith(unsigned code);

}  // namespace qx::detail
