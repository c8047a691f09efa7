#include "qx/platform/os/desktop_default_app.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "qx/platform/base/unicode.h"
#include "qx/platform/base/utf.h"
#include "qx/platform/os/file_system.h"
#include "qx/platform/os/native_path.h"
#include "qx/platform/os/system_folders.h"
#include "qx/platform/os/xdg_folders.h"

namespace qx {

namespace {

std::wstring_view Trim(std::wstring_view s) {
    while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
    return s;
}

std::vector<std::wstring> Lines(const std::wstring& path) {
    std::vector<std::wstring> lines;
    const auto bytes = ReadWholeFile(path);
    if (!bytes) return lines;
    const std::wstring text = Utf8ToWide(*bytes);
    std::wstring_view rest = text;
    while (!rest.empty()) {
        const size_t end = std::min(rest.find(L'\n'), rest.size());
        lines.emplace_back(Trim(rest.substr(0, end)));
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    return lines;
}

// Calls *onEntry* with (key, value) for each "key=value" line of the
// section named *section* of an ini-style file.
template <typename F>
void ForEachEntry(const std::wstring& path, std::wstring_view section, F onEntry) {
    bool inSection = false;
    for (const std::wstring& line : Lines(path)) {
        if (line.starts_with(L'[')) {
            inSection = line == L"[" + std::wstring(section) + L"]";
            continue;
        }
        const size_t equals = line.find(L'=');
        if (inSection && equals != std::wstring::npos)
            if (!onEntry(Trim(std::wstring_view(line).substr(0, equals)), Trim(std::wstring_view(line).substr(equals + 1))))
                return;
    }
}

// "weight:type:*.ext[:flags]" lines; the heaviest simple "*.ext" match wins.
std::optional<std::wstring> FromGlobs(const std::wstring& path, std::wstring_view extension) {
    std::optional<std::wstring> best;
    long long bestWeight = -1;
    for (const std::wstring& line : Lines(path)) {
        if (line.empty() || line.starts_with(L'#')) continue;
        const size_t first = line.find(L':');
        const size_t second = first == std::wstring::npos ? first : line.find(L':', first + 1);
        if (second == std::wstring::npos) continue;
        std::wstring_view glob = std::wstring_view(line).substr(second + 1);
        glob = glob.substr(0, glob.find(L':'));
        if (!glob.starts_with(L"*.") || !EqualsFolded(glob.substr(2), extension)) continue;
        const long long weight = std::wcstoll(line.c_str(), nullptr, 10);
        if (weight > bestWeight) {
            bestWeight = weight;
            best = line.substr(first + 1, second - first - 1);
        }
    }
    return best;
}

// "type ext ext ..." lines.
std::optional<std::wstring> FromMimeTypes(const std::wstring& path, std::wstring_view extension) {
    for (const std::wstring& line : Lines(path)) {
        if (line.empty() || line.starts_with(L'#')) continue;
        std::wstring_view rest = line;
        const size_t typeEnd = rest.find_first_of(L" \t");
        if (typeEnd == rest.npos) continue;
        const std::wstring_view type = rest.substr(0, typeEnd);
        rest.remove_prefix(typeEnd);
        while (!(rest = Trim(rest)).empty()) {
            const size_t end = std::min(rest.find_first_of(L" \t"), rest.size());
            if (EqualsFolded(rest.substr(0, end), extension)) return std::wstring(type);
            rest.remove_prefix(end);
        }
    }
    return std::nullopt;
}

std::vector<std::wstring> DataFolders() {
    std::vector<std::wstring> folders;
    if (std::wstring home = XdgDataHome(); !home.empty()) folders.push_back(std::move(home));
    for (auto& dir : XdgDataDirs()) folders.push_back(std::move(dir));
    return folders;
}

// The first word of an Exec line, with the quoting of the desktop entry rules.
std::wstring ExecProgram(std::wstring_view exec) {
    exec = Trim(exec);
    std::wstring program;
    if (!exec.starts_with(L'"')) return std::wstring(exec.substr(0, exec.find_first_of(L" \t")));
    for (size_t i = 1; i < exec.size() && exec[i] != L'"'; ++i) {
        if (exec[i] == L'\\' && i + 1 < exec.size()) ++i;
        program += exec[i];
    }
    return program;
}

std::wstring LocateProgram(const std::wstring& program) {
    if (program.find(L'/') != std::wstring::npos) return FromNativePath(WideToUtf8(program));
    for (const std::wstring& folder : PathVariableFolders()) {
        const std::wstring candidate = folder + L"\\" + program;
        if (FileExists(candidate)) return candidate;
    }
    return program;
}

// The Exec program of an installed desktop entry; nullopt when none of that
// id is installed.
std::optional<std::wstring> DesktopEntryProgram(std::wstring_view id) {
    if (id.empty() || id.find(L'/') != id.npos || id.find(L'\\') != id.npos) return std::nullopt;
    for (const std::wstring& folder : DataFolders()) {
        const std::wstring file = folder + L"\\applications\\" + std::wstring(id);
        if (!FileExists(file)) continue;
        std::optional<std::wstring> program;
        ForEachEntry(file, L"Desktop Entry", [&](std::wstring_view key, std::wstring_view value) {
            if (key != L"Exec") return true;
            program = LocateProgram(ExecProgram(value));
            return false;
        });
        return program;
    }
    return std::nullopt;
}

std::vector<std::wstring> MimeAppsLists() {
    std::vector<std::wstring> files;
    const char* desktops = std::getenv("XDG_CURRENT_DESKTOP");
    std::vector<std::wstring> prefixes;
    for (std::string_view list = desktops ? desktops : ""; !list.empty();) {
        const size_t colon = list.find(':');
        std::wstring name = Utf8ToWide(list.substr(0, colon));
        for (wchar_t& c : name) c = ToLower(c);
        if (!name.empty()) prefixes.push_back(name + L"-");
        if (colon == list.npos) break;
        list.remove_prefix(colon + 1);
    }
    prefixes.push_back(L"");
    auto addFolder = [&](const std::wstring& folder) {
        if (folder.empty()) return;
        for (const auto& prefix : prefixes) files.push_back(folder + L"\\" + prefix + L"mimeapps.list");
    };
    addFolder(XdgConfigHome());
    for (const auto& dir : XdgConfigDirs()) addFolder(dir);
    for (const auto& dir : DataFolders()) addFolder(dir + L"\\applications");
    return files;
}

}  // namespace

std::optional<std::wstring> MimeTypeOfExtension(std::wstring_view extension) {
    if (extension.starts_with(L'.')) extension.remove_prefix(1);
    if (extension.empty()) return std::nullopt;
    for (const std::wstring& folder : DataFolders())
        if (auto type = FromGlobs(folder + L"\\mime\\globs2", extension)) return type;
    return FromMimeTypes(FromNativePath("/etc/mime.types"), extension);
}

std::optional<std::wstring> DefaultProgramForMimeType(std::wstring_view mimeType) {
    const std::vector<std::wstring> lists = MimeAppsLists();
    // Defaults first, in every file by precedence; an application merely
    // associated with the type serves only when no default is installed.
    for (const wchar_t* section : {L"Default Applications", L"Added Associations"}) {
        for (const std::wstring& list : lists) {
            std::optional<std::wstring> program;
            ForEachEntry(list, section, [&](std::wstring_view type, std::wstring_view ids) {
                if (type != mimeType) return true;
                while (!ids.empty() && !program) {
                    const size_t semicolon = std::min(ids.find(L';'), ids.size());
                    program = DesktopEntryProgram(Trim(ids.substr(0, semicolon)));
                    ids.remove_prefix(std::min(semicolon + 1, ids.size()));
                }
                return !program;
            });
            if (program) return program;
        }
    }
    return std::nullopt;
}

}  // namespace qx
