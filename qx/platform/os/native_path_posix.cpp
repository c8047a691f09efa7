#include <dirent.h>
#include <sys/stat.h>

#include <cstring>

#include "qx/platform/os/internal/folder_listing_cache.h"
#include "qx/platform/os/internal/native_entries.h"

namespace qx::detail {

bool NativeEntryExists(const std::string& nativePath) {
    struct stat st {};
    return ::lstat(nativePath.c_str(), &st) == 0;
}

std::optional<FolderStamp> NativeFolderStamp(const std::string& nativePath) {
    struct stat st {};
    if (::stat(nativePath.c_str(), &st) != 0) return std::nullopt;
    FolderStamp stamp;
    stamp.device = st.st_dev;
    stamp.inode = st.st_ino;
    stamp.modifiedNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
    stamp.folder = S_ISDIR(st.st_mode);
    return stamp;
}

std::optional<std::vector<NativeName>> ListNativeFolder(const std::string& nativePath) {
    DIR* dir = ::opendir(nativePath.c_str());
    if (!dir) return std::nullopt;
    std::vector<NativeName> names;
    while (const dirent* entry = ::readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names.push_back({entry->d_name, entry->d_type == DT_REG || entry->d_type == DT_DIR});
    }
    ::closedir(dir);
    return names;
}

}  // namespace qx::detail
