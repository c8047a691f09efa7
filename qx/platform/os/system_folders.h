// Folders the platform designates: the system folder and the folders a
// search for a program looks in. All are library paths (native_path.h).
#pragma once

#include <string>
#include <vector>

#include "qx/platform/base/export.h"

namespace qx {

// The folder of the system's own programs, ending with a backslash. On POSIX
// it is /usr/bin ("\\usr\\bin\\", or the drive path of it when a mapped drive
// holds it), the counterpart of the Windows system folder as a place to find
// the system's tools; shared libraries have no single folder there.
QX_API std::wstring SystemDirectory();

// The folders searched for a program, in order: the running program's folder,
// the current folder, then the folders of PATH (POSIX: separated by ':', an
// empty entry meaning the current folder; without PATH the system's default
// search path). Folders are given as found, without a final separator except
// the program's folder; a folder listed twice is searched once.
QX_API std::vector<std::wstring> ProgramSearchFolders();

// The folders of PATH alone, in order (POSIX: separated by ':', an empty
// entry meaning the current folder; without PATH the system's default search
// path), each once.
QX_API std::vector<std::wstring> PathVariableFolders();

// The platform's folder for programs shared by several vendors' products
// (Windows: "Common Files"), without a final separator: $QX_COMMON_FILES
// when set and not empty, else /opt. *fromVariable* tells which.
QX_API std::wstring CommonProgramFilesFolder(bool* fromVariable = nullptr);

}  // namespace qx
