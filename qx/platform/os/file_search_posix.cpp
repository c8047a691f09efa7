#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "qx/platform/os/internal/errno_error.h"
#include "qx/platform/os/internal/folder_listing.h"
#include "qx/platform/os/last_error.h"

namespace qx::detail {

std::optional<std::vector<NativeFolderEntry>> ListNativeFolderEntries(const std::string& nativePath) {
    DIR* dir = ::opendir(nativePath.c_str());
    if (!dir) {
        // Windows says "path not found" for a search in a missing folder.
        if (errno == ENOENT || errno == ENOTDIR) FailWith(kErrorPathNotFound);
        else FailWithErrno(errno, nativePath);
        return std::nullopt;
    }
    std::vector<NativeFolderEntry> entries;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir);
        if (!entry) break;
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
        bool folder = entry->d_type == DT_DIR;
        // The kind of a link is that of its target; some file systems do not
        // tell the kind at all.
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat st {};
            folder = ::fstatat(::dirfd(dir), entry->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
        }
        entries.push_back({entry->d_name, folder});
    }
    const int error = errno;
    ::closedir(dir);
    if (error != 0) {
        FailWithErrno(error, nativePath);
        return std::nullopt;
    }
    return entries;
}

}  // namespace qx::detail
