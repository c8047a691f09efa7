// The platform's last error in words, for the messages of file operations.
#pragma once

#include <string>

namespace qx::sheet::detail {

// "the file does not exist", "access is denied", ... for the last error.
std::string LastErrorText();

}  // namespace qx::sheet::detail
