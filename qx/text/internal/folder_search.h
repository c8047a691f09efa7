// The steps the family's folder searches share (the search stack of
// file_search.h and CFindFiles). Internal to qx/text.
#pragma once

#include <optional>
#include <string>

#include "qx/platform/base/cstring.h"
#include "qx/platform/os/file_search.h"

namespace qx::detail {

enum class EntryKind { kFile, kFolder };

// *folder* with a backslash appended unless it ends with a separator, then
// *pattern*; nullopt when that folder does not exist. Null texts count as
// empty, so a null folder searches the root.
std::optional<std::wstring> FolderSearchPath(const wchar_t* folder, const wchar_t* pattern);

// Moves *search* to its next entry of *kind*, skipping the other kind; true
// with the entry's name in *name*, false (and *name* untouched) when no such
// entry is left.
bool NextOfKind(FileSearch& search, EntryKind kind, CString& name);

// Starts a search of *folder* for *pattern* and moves to its first entry of
// *kind*, as NextOfKind; nullopt when the folder does not exist or holds no
// such entry.
std::optional<FileSearch> StartSearchOfKind(const wchar_t* folder, const wchar_t* pattern, EntryKind kind,
                                            CString& name);

}  // namespace qx::detail
