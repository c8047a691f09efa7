#include "qx/platform/os/native_path.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

#include "qx/platform/base/ascii.h"
#include "qx/platform/base/unicode.h"
#include "qx/platform/base/utf.h"
#include "qx/platform/os/internal/errno_error.h"
#include "qx/platform/os/internal/folder_listing_cache.h"
#include "qx/platform/os/internal/native_entries.h"
#include "qx/platform/os/last_error.h"
#include "qx/platform/os/path_split.h"

namespace qx {

namespace {

// Bytes that are not UTF-8 are carried as U+DC80..U+DCFF (the byte plus
// 0xDC00): wchar_t holds UTF-32 here, so a lone low surrogate is a value no
// decoded text contains.
constexpr wchar_t kEscapeBase = 0xDC00;
constexpr wchar_t kFirstEscape = 0xDC80;
constexpr wchar_t kLastEscape = 0xDCFF;

// Length of the well-formed UTF-8 sequence at *pos*, 0 if there is none
// (overlong forms, surrogates and values past U+10FFFF are not well-formed).
size_t WellFormedLength(std::string_view bytes, size_t pos) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(pos);
    if (lead < 0x80) return 1;
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) length = 2;
    else if (lead == 0xE0) { length = 3; low = 0xA0; }
    else if (lead == 0xED) { length = 3; high = 0x9F; }
    else if (lead >= 0xE1 && lead <= 0xEF) length = 3;
    else if (lead == 0xF0) { length = 4; low = 0x90; }
    else if (lead >= 0xF1 && lead <= 0xF3) length = 4;
    else if (lead == 0xF4) { length = 4; high = 0x8F; }
    else return 0;
    if (pos + length > bytes.size()) return 0;
    if (byte(pos + 1) < low || byte(pos + 1) > high) return 0;
    for (size_t i = pos + 2; i < pos + length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
    return length;
}

std::wstring DecodeNativeName(std::string_view bytes) {
    std::wstring text;
    size_t runStart = 0, pos = 0;
    while (pos < bytes.size()) {
        const size_t length = WellFormedLength(bytes, pos);
        if (length != 0) {
            pos += length;
            continue;
        }
        text += Utf8ToWide(bytes.substr(runStart, pos - runStart));
        text += static_cast<wchar_t>(kEscapeBase + static_cast<unsigned char>(bytes[pos]));
        runStart = ++pos;
    }
    text += Utf8ToWide(bytes.substr(runStart));
    return text;
}

std::string EncodeNativeName(std::wstring_view text) {
    std::string bytes;
    size_t runStart = 0;
    for (size_t pos = 0; pos < text.size(); ++pos) {
        if (text[pos] < kFirstEscape || text[pos] > kLastEscape) continue;
        bytes += WideToUtf8(text.substr(runStart, pos - runStart));
        bytes += static_cast<char>(text[pos] - kEscapeBase);
        runStart = pos + 1;
    }
    bytes += WideToUtf8(text.substr(runStart));
    return bytes;
}

// The drive letters and their folders, loaded from QX_DRIVES at first use.
// Folders are kept without a trailing slash, so "/" is stored as "".
class DriveMap {
public:
    static DriveMap& Instance() {
        static DriveMap map;
        return map;
    }

    const std::optional<std::string>& Folder(wchar_t letter) {
        Load();
        return folders_[Index(static_cast<char>(letter))];
    }

    struct Match {
        char letter;
        size_t folderLength;
    };
    // The drive whose folder holds absolute *nativePath*, longest folder first.
    std::optional<Match> DriveOf(std::string_view nativePath) {
        Load();
        std::optional<Match> best;
        for (size_t i = 0; i < folders_.size(); ++i) {
            if (!folders_[i]) continue;
            const std::string& folder = *folders_[i];
            const bool inside = nativePath.starts_with(folder) &&
                (nativePath.size() == folder.size() || nativePath[folder.size()] == '/');
            if (inside && (!best || folder.size() > best->folderLength))
                best = Match{static_cast<char>('A' + i), folder.size()};
        }
        return best;
    }

    void Set(std::string_view spec) {
        Parse(spec);
        loaded_ = true;
    }

    void Reset() { loaded_ = false; }

private:
    static size_t Index(char letter) {
        return static_cast<size_t>((letter >= 'a' ? letter - 'a' : letter - 'A'));
    }

    void Load() {
        if (loaded_) return;
        const char* spec = std::getenv("QX_DRIVES");
        Set(spec ? spec : "");
    }

    void Parse(std::string_view spec) {
        folders_.fill(std::nullopt);
        while (!spec.empty()) {
            const size_t end = spec.find(';');
            const std::string_view entry = TrimBlanks(spec.substr(0, end));
            spec = end == std::string_view::npos ? std::string_view() : spec.substr(end + 1);
            const size_t equals = entry.find('=');
            if (equals == std::string_view::npos) continue;
            const std::string_view letter = TrimBlanks(entry.substr(0, equals));
            std::string_view folder = TrimBlanks(entry.substr(equals + 1));
            if (letter.size() != 1 || !IsAsciiLetter(static_cast<unsigned char>(letter[0])) ||
                !folder.starts_with('/'))
                continue;
            while (folder.ends_with('/')) folder.remove_suffix(1);
            folders_[Index(letter[0])] = std::string(folder);
        }
    }

    std::array<std::optional<std::string>, 26> folders_;
    bool loaded_ = false;
};

// *nativePath* with each component that is missing as written replaced by
// its single case variant, up to the first component that has none. The
// search starts at the deepest folder on the path that can be reached: every
// component before it exists as written, so a missing file in an existing
// folder costs one look-up of that folder. *holderIsFolder*: see
// ResolveNativeCase.
std::string ResolveCase(std::string_view nativePath, bool* holderIsFolder) {
    struct Span {
        size_t begin, end;
    };
    std::vector<Span> components;
    for (size_t pos = nativePath.starts_with('/') ? 1 : 0;;) {
        const size_t end = std::min(nativePath.find('/', pos), nativePath.size());
        components.push_back({pos, end});
        if (end == nativePath.size()) break;
        pos = end + 1;
    }
    size_t first = components.size() - 1;
    detail::FolderLookup folder = detail::LookUpFolder(std::string(nativePath.substr(0, components[first].begin)));
    while (!folder.exists && first > 0) {
        --first;
        folder = detail::LookUpFolder(std::string(nativePath.substr(0, components[first].begin)));
    }

    std::string resolved(nativePath.substr(0, components[first].begin));
    for (size_t i = first; i < components.size(); ++i) {
        const std::string_view component =
            nativePath.substr(components[i].begin, components[i].end - components[i].begin);
        std::optional<std::string> variant;
        if (!component.empty() && component != "." && component != "..") {
            if (i != first) folder = detail::LookUpFolder(resolved);
            if (holderIsFolder && i + 1 == components.size()) *holderIsFolder = folder.folder;
            bool found = false;
            if (folder.listing) {
                auto match = folder.listing->Find(component);
                found = match.exact || match.variant;
                variant = std::move(match.variant);
            } else {
                found = detail::NativeEntryExists(resolved + std::string(component));
            }
            if (!found) return resolved.append(nativePath.substr(components[i].begin));
        }
        resolved += variant ? std::string_view(*variant) : component;
        if (i + 1 < components.size()) resolved += '/';
    }
    return resolved;
}

}  // namespace

std::wstring detail::CaseFoldedNativeName(std::string_view name) {
    std::wstring folded = DecodeNativeName(name);
    for (wchar_t& ch : folded) ch = FoldCase(ch);
    return folded;
}

std::string detail::ResolveNativeCase(std::string_view nativePath, bool* holderIsFolder) {
    if (holderIsFolder) *holderIsFolder = false;
    return ResolveCase(nativePath, holderIsFolder);
}

std::string detail::NativeParentFolder(std::string_view nativePath) {
    while (nativePath.size() > 1 && nativePath.ends_with('/')) nativePath.remove_suffix(1);
    const size_t slash = nativePath.rfind('/');
    if (slash == std::string_view::npos) return ".";
    return std::string(nativePath.substr(0, slash == 0 ? 1 : slash));
}

std::optional<std::string> ToNativePath(std::wstring_view libraryPath, bool resolveCase) {
    if (libraryPath.empty()) {
        detail::FailWith(kErrorPathNotFound);
        return std::nullopt;
    }
    if (libraryPath.find(L'\0') != std::wstring_view::npos) {
        // The system would stop at the zero and open a different file.
        detail::FailWith(kErrorInvalidName);
        return std::nullopt;
    }
    if (libraryPath.size() >= 2 && IsPathSeparator(libraryPath[0]) && IsPathSeparator(libraryPath[1])) {
        detail::FailWith(kErrorBadNetPath);
        return std::nullopt;
    }
    std::string native;
    if (libraryPath.size() >= 2 && libraryPath[1] == L':' && IsAsciiLetter(libraryPath[0])) {
        const std::optional<std::string>& folder = DriveMap::Instance().Folder(libraryPath[0]);
        if (!folder) {
            detail::FailWith(kErrorPathNotFound);
            return std::nullopt;
        }
        libraryPath.remove_prefix(2);
        native = *folder;
        if (libraryPath.empty() || !IsPathSeparator(libraryPath[0])) native += '/';
    }
    // A backslash byte in UTF-8 is always the character itself, so the
    // separators can be swapped after encoding.
    const size_t start = native.size();
    native += EncodeNativeName(libraryPath);
    for (size_t i = start; i < native.size(); ++i)
        if (native[i] == '\\') native[i] = '/';
    if (!resolveCase || detail::NativeEntryExists(native)) return native;
    return ResolveCase(native, nullptr);
}

std::wstring FromNativePath(std::string_view nativePath) {
    std::wstring library;
    if (nativePath.starts_with('/')) {
        if (const auto drive = DriveMap::Instance().DriveOf(nativePath)) {
            library = {static_cast<wchar_t>(drive->letter), L':'};
            nativePath.remove_prefix(drive->folderLength);
            if (nativePath.empty()) library += L'\\';
        }
    }
    library += DecodeNativeName(nativePath);
    for (wchar_t& ch : library)
        if (ch == L'/') ch = L'\\';
    return library;
}

void SetDriveMap(std::string_view spec) { DriveMap::Instance().Set(spec); }

void ResetDriveMap() { DriveMap::Instance().Reset(); }

}  // namespace qx
