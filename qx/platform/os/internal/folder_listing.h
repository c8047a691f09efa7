// The system's folder listing for the file search. Internal to the os layer.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qx::detail {

struct NativeFolderEntry {
    std::string name;
    bool folder;  // following a symbolic link; a dangling link is no folder
};

// The entries of folder *nativePath* except "." and "..", in no particular
// order; nullopt, with the last error set, when it cannot be listed.
std::optional<std::vector<NativeFolderEntry>> ListNativeFolderEntries(const std::string& nativePath);

}  // namespace qx::detail
