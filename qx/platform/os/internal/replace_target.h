// Where a whole-file replacement writes. Internal to the os layer: the
// replacing writers of file_system_posix.cpp and file_stream_posix.cpp
// share it, so that both refuse the same targets.
#pragma once

#include <optional>
#include <string>

namespace qx::detail {

// What a replacement keeps of the file it replaces.
struct ReplacedFile {
    unsigned mode = 0;  // permission bits
    unsigned owner = 0;
    unsigned group = 0;
};

struct ReplaceTarget {
    std::string path;                      // the file to replace or create
    std::optional<ReplacedFile> existing;  // when it exists
};

// *nativePath* itself, or the file a symbolic link there names. Fails
// (with the last error set) for anything but a regular file without the
// read-only attribute, for a link that someone else may have planted in a shared folder
// (MayBePlanted) and, unless *mayExist*, for any existing file
// (kErrorAlreadyExists).
std::optional<ReplaceTarget> FindReplaceTarget(const std::string& nativePath, bool mayExist);

}  // namespace qx::detail
