#include "qx/archive/archive_path.h"

#include "qx/platform/os/file_system.h"
#include "qx/text/path.h"

namespace qx {

CString NormalizeArchivePath(const CString& path) {
    std::wstring text = path.str();
    for (wchar_t& ch : text) {
        if (ch == L'/') ch = L'\\';
    }
    std::wstring collapsed;
    collapsed.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (i >= 2 && text[i] == L'\\' && collapsed.back() == L'\\') continue;
        collapsed += text[i];
    }
    CString result(collapsed.c_str());
    CleanPath(result);
    return result;
}

CString CacheRelativeFolder(const CString& normalizedPath) {
    std::wstring_view path = normalizedPath.str();
    if (path.starts_with(L"\\\\")) {
        // Server name off: the copy lies under the share.
        const size_t share = path.find(L'\\', 2);
        path = share == std::wstring_view::npos ? std::wstring_view() : path.substr(share);
    } else if (path.size() >= 2 && path[1] == L':') {
        path.remove_prefix(2);
    }
    const size_t lastSeparator = path.rfind(L'\\');
    path = lastSeparator == std::wstring_view::npos ? std::wstring_view() : path.substr(0, lastSeparator);
    std::wstring relative;
    while (!path.empty()) {
        const size_t end = path.find(L'\\');
        const std::wstring_view part = path.substr(0, end);
        path = end == std::wstring_view::npos ? std::wstring_view() : path.substr(end + 1);
        if (part.empty() || part == L"." || part == L"..") continue;
        if (!relative.empty()) relative += L'\\';
        relative += part;
    }
    return CString(relative.c_str());
}

CString ArchiveCacheFolder() { return CString((TempDirectory() + L"TempCpr").c_str()); }

}  // namespace qx
