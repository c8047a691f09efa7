#include "qx/platform/os/xdg_folders.h"

#include <cstdlib>
#include <string_view>

#include "qx/platform/os/native_path.h"

namespace qx {

namespace {

std::wstring Folder(std::string_view native) {
    while (native.size() > 1 && native.ends_with('/')) native.remove_suffix(1);
    return FromNativePath(native);
}

std::wstring HomeFolder(const char* variable, const char* belowHome) {
    const char* value = std::getenv(variable);
    if (value && value[0] == '/') return Folder(value);
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/') return {};
    return Folder(std::string(home) + "/" + belowHome);
}

std::vector<std::wstring> FolderList(const char* variable, std::string_view fallback) {
    const char* value = std::getenv(variable);
    std::string_view list = value && value[0] ? std::string_view(value) : fallback;
    std::vector<std::wstring> folders;
    while (!list.empty()) {
        const size_t colon = list.find(':');
        const std::string_view entry = list.substr(0, colon);
        if (entry.starts_with('/')) folders.push_back(Folder(entry));
        if (colon == list.npos) break;
        list.remove_prefix(colon + 1);
    }
    return folders;
}

}  // namespace

std::wstring XdgConfigHome() { return HomeFolder("XDG_CONFIG_HOME", ".config"); }
std::wstring XdgDataHome() { return HomeFolder("XDG_DATA_HOME", ".local/share"); }
std::wstring XdgCacheHome() { return HomeFolder("XDG_CACHE_HOME", ".cache"); }
std::vector<std::wstring> XdgConfigDirs() { return FolderList("XDG_CONFIG_DIRS", "/etc/xdg"); }
std::vector<std::wstring> XdgDataDirs() { return FolderList("XDG_DATA_DIRS", "/usr/local/share:/usr/share"); }

}  // namespace qx
