// Folder listings in the manner of the Windows file search, which the
// family's searches (GetFirstFileName, CFindFiles, GetFileTime) are built on.
//
// A search lists its folder once, when it starts, and then hands out the
// entries whose names match the pattern (see file_name_pattern.h): "." and
// ".." first, then the others in the order an NTFS volume returns them
// (names compared character by character after upper-casing), so a listing
// comes out the same on every file system and machine. A name holding a
// backslash, which Linux allows, is left out: joined to its folder it would
// name a different file, possibly outside the folder.
//
// An entry carries its name and whether it is a folder; its attributes, size
// and times are read when asked (StatusOf), so that a scan that only wants
// names does not look at every file.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "qx/platform/base/export.h"
#include "qx/platform/os/file_system.h"

namespace qx {

struct FoundEntry {
    std::wstring name;    // without its folder
    bool folder = false;  // a folder, or a symbolic link to one
};

class QX_API FileSearch {
public:
    // Starts a search for *pathPattern*, a folder, a separator and a name
    // pattern:
    //
    //   "C:\\Data\\*.txt"     the .txt files and folders of C:\Data
    //   "logs/Log_*.csv"      relative to the current folder
    //   "C:\\Data\\a.ppx"     the one entry named so, in any letter case
    //   "*.txt"  "C:*.txt"    the current folder, the drive's folder
    //
    // nullopt, with the last error set, when the folder cannot be listed
    // (kErrorPathNotFound when it does not exist) or when no entry matches
    // (kErrorFileNotFound).
    static std::optional<FileSearch> Start(std::wstring_view pathPattern);

    // The next entry; null after the last one. The entry stays valid as long
    // as the search.
    const FoundEntry* Next();

    // The attributes, size and times of *entry*, read now; nullopt (with the
    // last error set) when it has gone since the search started.
    std::optional<FileStatus> StatusOf(const FoundEntry& entry) const;

private:
    FileSearch(std::wstring folder, std::vector<FoundEntry> entries)
        : folder_(std::move(folder)), entries_(std::move(entries)) {}

    std::wstring folder_;  // ends with a separator, or is a bare drive "C:"
    std::vector<FoundEntry> entries_;
    std::size_t next_ = 0;
};

}  // namespace qx
