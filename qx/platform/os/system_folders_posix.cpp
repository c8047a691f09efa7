#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>

#include "qx/platform/os/file_system.h"
#include "qx/platform/os/native_path.h"
#include "qx/platform/os/process_info.h"
#include "qx/platform/os/system_folders.h"

namespace qx {

namespace {

// PATH as execvp reads it: the system's default path when it is not set.
std::string ProgramPathVariable() {
    if (const char* path = std::getenv("PATH")) return path;
    const size_t size = ::confstr(_CS_PATH, nullptr, 0);
    if (size == 0) return "/bin:/usr/bin";
    std::string path(size, '\0');
    ::confstr(_CS_PATH, path.data(), size);
    path.resize(size - 1);
    return path;
}

void AddOnce(std::vector<std::wstring>& folders, std::wstring folder) {
    if (!folder.empty() && std::find(folders.begin(), folders.end(), folder) == folders.end())
        folders.push_back(std::move(folder));
}

}  // namespace

std::wstring SystemDirectory() {
    std::wstring folder = FromNativePath("/usr/bin");
    if (!folder.ends_with(L'\\')) folder += L'\\';
    return folder;
}

std::vector<std::wstring> ProgramSearchFolders() {
    std::vector<std::wstring> folders;
    AddOnce(folders, ProgramDirectory());
    AddOnce(folders, CurrentDirectory());
    for (std::wstring& folder : PathVariableFolders()) AddOnce(folders, std::move(folder));
    return folders;
}

std::vector<std::wstring> PathVariableFolders() {
    std::vector<std::wstring> folders;
    const std::wstring current = CurrentDirectory();
    const std::string path = ProgramPathVariable();
    std::string_view rest = path;
    for (;;) {
        const size_t colon = rest.find(':');
        const std::string_view entry = rest.substr(0, colon);
        AddOnce(folders, entry.empty() ? current : FromNativePath(entry));
        if (colon == std::string_view::npos) break;
        rest.remove_prefix(colon + 1);
    }
    return folders;
}

std::wstring CommonProgramFilesFolder(bool* fromVariable) {
    const char* variable = std::getenv("QX_COMMON_FILES");
    const bool set = variable && variable[0];
    if (fromVariable) *fromVariable = set;
    std::wstring folder = FromNativePath(set ? variable : "/opt");
    while (folder.size() > 1 && folder.back() == L'\\') folder.pop_back();
    return folder;
}

}  // namespace qx
