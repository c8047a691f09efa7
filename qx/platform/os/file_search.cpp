#include "qx/platform/os/file_search.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "qx/platform/base/ascii.h"
#include "qx/platform/base/unicode.h"
#include "qx/platform/base/utf.h"
#include "qx/platform/os/file_name_pattern.h"
#include "qx/platform/os/internal/errno_error.h"
#include "qx/platform/os/internal/folder_listing.h"
#include "qx/platform/os/last_error.h"
#include "qx/platform/os/native_path.h"
#include "qx/platform/os/path_split.h"

namespace qx {

namespace {

bool IsDrive(std::wstring_view path) { return path.size() >= 2 && path[1] == L':' && IsAsciiLetter(path[0]); }

// The name as NTFS compares it, upper-cased character by character, in UTF-8,
// whose byte order is the order of the characters: comparing keys is then a
// byte comparison, and short keys need no allocation.
std::string OrderKey(std::wstring_view name) {
    std::string key(name.size(), '\0');
    for (size_t i = 0; i < name.size(); ++i) {
        const wchar_t ch = name[i];
        if (ch >= 0x80) {
            std::wstring upper(name);
            for (wchar_t& c : upper) c = ToUpper(c);
            return WideToUtf8(upper);
        }
        key[i] = static_cast<char>(ch >= L'a' && ch <= L'z' ? ch - (L'a' - L'A') : ch);
    }
    return key;
}

// The first eight bytes of *key* from *offset* on as a big-endian number,
// padded with zero bytes (no key holds one).
std::uint64_t KeyHead(std::string_view key, size_t offset) {
    std::uint64_t head = 0;
    for (size_t i = offset; i < offset + 8; ++i)
        head = (head << 8) | (i < key.size() ? static_cast<unsigned char>(key[i]) : 0u);
    return head;
}

// Sorts *entries* by OrderKey. The sort moves small records that hold the
// first 16 bytes of each key as two numbers, so most comparisons are integer
// comparisons and no name moves before the order is known.
void SortInNtfsOrder(std::vector<FoundEntry>& entries) {
    struct Item {
        std::uint64_t head[2];
        std::uint32_t index;
    };
    std::vector<std::string> keys;
    std::vector<Item> items;
    keys.reserve(entries.size());
    items.reserve(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        keys.push_back(OrderKey(entries[i].name));
        items.push_back({{KeyHead(keys.back(), 0), KeyHead(keys.back(), 8)}, static_cast<std::uint32_t>(i)});
    }
    std::sort(items.begin(), items.end(), [&keys, &entries](const Item& a, const Item& b) {
        if (a.head[0] != b.head[0]) return a.head[0] < b.head[0];
        if (a.head[1] != b.head[1]) return a.head[1] < b.head[1];
        if (const int order = keys[a.index].compare(keys[b.index])) return order < 0;
        // Names equal after upper-casing (only possible off Windows, or for
        // names that are not UTF-8) are kept in a fixed order too.
        return entries[a.index].name < entries[b.index].name;
    });
    std::vector<FoundEntry> sorted;
    sorted.reserve(entries.size());
    for (const Item& item : items) sorted.push_back(std::move(entries[item.index]));
    entries.swap(sorted);
}

}  // namespace

std::optional<FileSearch> FileSearch::Start(std::wstring_view pathPattern) {
    std::wstring folder;
    std::wstring_view pattern = pathPattern;
    const auto cut = std::find_if(pathPattern.rbegin(), pathPattern.rend(), IsPathSeparator);
    if (cut != pathPattern.rend()) {
        const size_t length = static_cast<size_t>(pathPattern.rend() - cut);
        folder = pathPattern.substr(0, length);
        pattern.remove_prefix(length);
    } else if (IsDrive(pathPattern)) {
        folder = pathPattern.substr(0, 2);
        pattern.remove_prefix(2);
    } else {
        folder = L".\\";
    }

    const auto native = ToNativePath(folder);
    if (!native) return std::nullopt;
    auto listed = detail::ListNativeFolderEntries(*native);
    if (!listed) return std::nullopt;

    const FileNamePattern matcher(pattern);
    std::vector<FoundEntry> entries;
    for (const wchar_t* name : {L".", L".."})
        if (matcher.Matches(name)) entries.push_back({name, true});
    std::vector<FoundEntry> others;
    others.reserve(listed->size());
    for (const detail::NativeFolderEntry& listedEntry : *listed) {
        std::wstring name = FromNativePath(listedEntry.name);
        if (name.find(L'\\') != std::wstring::npos || !matcher.Matches(name)) continue;
        others.push_back({std::move(name), listedEntry.folder});
    }
    SortInNtfsOrder(others);
    entries.insert(entries.end(), std::make_move_iterator(others.begin()), std::make_move_iterator(others.end()));

    if (entries.empty()) {
        detail::FailWith(kErrorFileNotFound);
        return std::nullopt;
    }
    return FileSearch(std::move(folder), std::move(entries));
}

const FoundEntry* FileSearch::Next() {
    if (next_ == entries_.size()) return nullptr;
    return &entries_[next_++];
}

std::optional<FileStatus> FileSearch::StatusOf(const FoundEntry& entry) const {
    return GetFileStatus(folder_ + entry.name);
}

}  // namespace qx
