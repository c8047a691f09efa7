// CFindFiles: one folder search owned by an object, for callers that keep
// several searches apart or cannot end them in order (see file_search.h for
// the stack-driven kind). Objects are independent of each other.
#pragma once

#include <optional>

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"
#include "qx/platform/os/file_search.h"

class QX_API CFindFiles {
public:
    // Lists files of *folder* matching *pattern* when *files* is non-zero,
    // else folders ("." and ".." included). No search is open yet.
    CFindFiles(const CString& folder, const CString& pattern, int files)
        : m_folder(folder), m_pattern(pattern), m_files(files) {}
    CFindFiles(const CFindFiles&) = delete;
    CFindFiles& operator=(const CFindFiles&) = delete;

    // The first, then each next matching name: 1 with the name in *name*;
    // 0 at the end (or when the folder does not exist), after which the
    // next call starts over from the first entry.
    int GetNext(CString& name);

private:
    CString m_folder;
    CString m_pattern;
    int m_files;
    std::optional<qx::FileSearch> m_search;  // empty while no search is open
};
