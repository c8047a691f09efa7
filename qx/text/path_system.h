// The path functions that ask the file system or the platform: creating a
// folder chain, finding a file along the program search path, and the
// temporary and system folders. Paths are library paths
// (qx/platform/os/native_path.h).
#pragma once

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"
#include "qx/text/path.h"

// Creates every missing folder along *path*: at each separator (backslash or
// slash) and at the end, the text before it is created as a folder unless
// something of that name exists. Failures are ignored; the result is 1.
QX_API int qxRecurseCreateDir(const CString& path);

// Looks for the file or folder *name* in the folders of
// qx::ProgramSearchFolders (the program's folder, the current folder, PATH;
// an absolute *name* is taken as it is), then, when not found and
// *searchList* is not null, in the folders of *searchList*, separated by
// ';' with white space around them ignored ("C:\\a; C:\\b"). The path found
// goes to *found* (if not null), which holds 260 characters: a path that
// does not fit counts as not found. The result is whether the file was found
// and *mode* is granted on it: 0 exists, 2 write, 4 read, 6 read and write
// (other modes: false).
QX_API bool qx_access(const wchar_t* name, unsigned char mode, wchar_t* searchList, wchar_t* found);

// The folder for temporary files ($TMPDIR, else /tmp), ending with a backslash.
QX_API CPath GetTempPathW();
// The system folder (qx::SystemDirectory: /usr/bin on POSIX), ending with a
// backslash.
QX_API CPath GetSystemDirectoryW();
