// A file one process appends to while others may read it: the shape of a log.
//
// Opening takes an advisory write lock on the whole file, the counterpart of
// the Windows share mode that lets others read but not write; a second writer
// (in this or another process) fails to open it until the first closes it.
// Every Write goes straight to the system, so what was written survives a
// crash of the program.
//
// The name is the caller's, often in a folder that others may write (the
// temporary folder): the file is never reached through a symbolic link, must
// be a regular file, and there must be plainly the user's own (owned by the
// user, no second name), so that nobody can have the records appended to a
// file of their choosing.
#pragma once

#include <memory>
#include <string_view>

#include "qx/platform/base/export.h"

namespace qx {

class QX_API LockedAppendFile {
public:
    // Opens *path* for appending, creating it when missing; *created* tells
    // which. Null, with the last error set, when it cannot be opened, is
    // refused as above (kErrorAccessDenied) or another writer holds it
    // (kErrorSharingViolation).
    static std::unique_ptr<LockedAppendFile> Open(std::wstring_view path, bool* created);
    ~LockedAppendFile();
    LockedAppendFile(const LockedAppendFile&) = delete;
    LockedAppendFile& operator=(const LockedAppendFile&) = delete;

    // Appends *bytes* at the end of the file.
    bool Write(std::string_view bytes);

private:
    explicit LockedAppendFile(int fd) : fd_(fd) {}
    int fd_;
};

}  // namespace qx
