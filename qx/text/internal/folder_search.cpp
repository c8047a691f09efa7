#include "qx/text/internal/folder_search.h"

#include "qx/platform/os/file_system.h"

namespace qx::detail {

std::optional<std::wstring> FolderSearchPath(const wchar_t* folder, const wchar_t* pattern) {
    std::wstring path = folder ? folder : L"";
    if (!path.ends_with(L'\\') && !path.ends_with(L'/')) path += L'\\';
    if (!DirectoryExists(path)) return std::nullopt;
    return path + (pattern ? pattern : L"");
}

bool NextOfKind(FileSearch& search, EntryKind kind, CString& name) {
    while (const FoundEntry* entry = search.Next()) {
        if (entry->folder != (kind == EntryKind::kFolder)) continue;
        name = entry->name;
        return true;
    }
    return false;
}

std::optional<FileSearch> StartSearchOfKind(const wchar_t* folder, const wchar_t* pattern, EntryKind kind,
                                            CString& name) {
    const auto path = FolderSearchPath(folder, pattern);
    if (!path) return std::nullopt;
    auto search = FileSearch::Start(*path);
    if (!search || !NextOfKind(*search, kind, name)) return std::nullopt;
    return search;
}

}  // namespace qx::detail
