#include <dirent.h>
#include <sys/stat.h>

#include <cstring>

#include "qx/platform/os/internal/native_entries.h"

namespace qx::detail {

bool NativeEntryExists(const std::string& nativePath) {
    struct stat st {};
    return ::lstat(nativePath.c_str(), &st) == 0;
}

std::optional<std::vector<std::string>> ListNativeFolder(const std::string& nativePath) {
    DIR* dir = ::opendir(nativePath.c_str());
    if (!dir) return std::nullopt;
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names.emplace_back(entry->d_name);
    }
    ::closedir(dir);
    return names;
}

}  // namespace qx::detail
