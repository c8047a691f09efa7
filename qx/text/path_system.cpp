#include "qx/text/path_system.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

#include "qx/platform/base/unicode.h"
#include "qx/platform/os/file_system.h"
#include "qx/platform/os/system_folders.h"

namespace {

// The size of the caller's buffer for the path found, zero included.
constexpr size_t kFoundCapacity = 260;

bool Exists(const std::wstring& path) { return qx::FileAttributes(path) != qx::kInvalidFileAttributes; }

bool Grants(const std::wstring& path, unsigned char mode) {
    switch (mode) {
        case 0: return true;
        case 2: return qx::IsWritable(path);
        case 4: return qx::IsReadable(path);
        case 6: return qx::IsReadable(path) && qx::IsWritable(path);
        default: return false;
    }
}

std::wstring_view TrimSpace(std::wstring_view text) {
    while (!text.empty() && qx::IsSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && qx::IsSpace(text.back())) text.remove_suffix(1);
    return text;
}

CPath WithFinalBackslash(std::wstring folder) {
    if (!folder.ends_with(L'\\')) folder += L'\\';
    return CPath(std::move(folder));
}

}  // namespace

int qxRecurseCreateDir(const CString& path) {
    const std::wstring& text = path.str();
    for (size_t end = 0; end <= text.size(); ++end) {
        if (end < text.size() && text[end] != L'\\' && text[end] != L'/') continue;
        const std::wstring folder = text.substr(0, end);
        if (!folder.empty() && !Exists(folder)) qx::MakeDirectory(folder);
    }
    return 1;
}

bool qx_access(const wchar_t* name, unsigned char mode, wchar_t* searchList, wchar_t* found) {
    if (!name || !*name) return false;
    const CPath file(name);
    std::optional<std::wstring> hit;
    const auto consider = [&hit](const std::wstring& candidate) {
        if (candidate.size() < kFoundCapacity && Exists(candidate)) hit = candidate;
        return hit.has_value();
    };
    const auto tryIn = [&](std::wstring_view folder) { return consider((CString(std::wstring(folder)) ^ name).str()); };
    if (file.IsAbsolute()) {
        consider(file.str());
    } else {
        for (const std::wstring& folder : qx::ProgramSearchFolders())
            if (tryIn(folder)) break;
    }
    // The family writes lists as "C:\\a; C:\\b"; a list without the space
    // after the semicolon is read the same.
    if (!hit && searchList && !file.IsAbsolute()) {
        std::wstring_view list = searchList;
        while (!hit && !list.empty()) {
            const size_t end = std::min(list.find(L';'), list.size());
            const std::wstring_view folder = TrimSpace(list.substr(0, end));
            if (!folder.empty()) tryIn(folder);
            list.remove_prefix(std::min(end + 1, list.size()));
        }
    }
    if (!hit) return false;
    if (found) {
        hit->copy(found, hit->size());
        found[hit->size()] = L'\0';
    }
    return Grants(*hit, mode);
}

CPath GetTempPathW() { return WithFinalBackslash(qx::TempDirectory()); }

CPath GetSystemDirectoryW() { return WithFinalBackslash(qx::SystemDirectory()); }
