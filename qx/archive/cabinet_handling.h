// CCabinetHandling: data files that a folder may ship inside "data.zip" or
// "data.cab". Callers keep asking for the plain path of the file they want
// and get the path of a usable copy: the file on disk when it is at least as
// new as the archived one, otherwise a copy extracted into the cache folder
// (the temporary folder + "TempCpr", see archive_path.h).
//
// Process-wide state: the decision per file and the cabinets opened so far
// are kept until destroy(), which also removes every extracted copy. A
// decision is not revised when the files change meanwhile. Single-threaded.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"
#include "qx/platform/os/archive_reader.h"

class QX_API CCabinetHandling {
public:
    // Where the usable copy of a file comes from.
    enum EGetFileFrom { FromArchive = 0, FromDisk = 1, NotFound = 2 };

    // Non-zero when the file can be had: readable on disk (only with
    // *checkDisk*), else a member of the folder's "data.zip", else of its
    // "data.cab". Remembers nothing.
    static int accessFile(CString path, int checkDisk);

    // Sets *usablePath* to the path to open and returns non-zero when that
    // file can be used. A file found nowhere gives 0 and an empty
    // *usablePath*. Extraction failures (damaged archive, no room, a cache
    // folder that is not the user's own) give 0 and an empty *usablePath*
    // and leave no partial copy.
    static int getUncabedPathName(CString path, CString& usablePath);

    // Forgets all decisions, closes the cabinets (deleting the files they
    // extracted and the folders they created) and removes the cache folder.
    static void destroy();
};

namespace qx {

// The archive that serves folder *folder* (a library path, with or without a
// final backslash): "data.zip" when it exists and is readable, else
// "data.cab" under the same condition.
struct DataArchive {
    std::wstring path;
    ArchiveReader::Kind kind;
};
QX_API std::optional<DataArchive> FindDataArchive(const CString& folder);

// Whether *member* is the archived copy of a file named *name*: the same name
// ignoring case, with no folder part in the member's name.
QX_API bool IsMemberFor(const ArchiveMember& member, const CString& name);

}  // namespace qx
