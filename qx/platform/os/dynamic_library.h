// Loading shared libraries and looking into the ones already loaded, for the
// family's module loader (qx/install/module_loader.h).
//
// A handle is the loader's own (dlopen on POSIX, LoadLibrary on Windows),
// passed around as an opaque pointer; every successful OpenLibrary adds one
// reference that CloseLibrary takes away again. Paths are library paths
// (see native_path.h).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "qx/platform/base/export.h"

namespace qx {

// Loads the file at *path* (resolving its functions now, keeping its symbols
// to itself); null, with the loader's reason in LastLibraryError, when it
// cannot be loaded. A path without a folder is searched the system's way.
QX_API void* OpenLibrary(std::wstring_view path);

// Adds a reference to the library already loaded from *path*; null when no
// library of that file is loaded (nothing is loaded then).
QX_API void* ReferenceLoadedLibrary(std::wstring_view path);

// Takes away one reference; the library goes with its last one.
QX_API bool CloseLibrary(void* handle);

// The address of the function or variable *name* that the library itself
// exports; null when it exports none (what the libraries it depends on
// export does not count).
QX_API void* LibrarySymbol(void* handle, const char* name);

// The files of the libraries loaded into the process, in loading order, as
// library paths; the program itself and objects without a file (the
// system's vDSO) are left out.
QX_API std::vector<std::wstring> LoadedLibraryPaths();

// The file names a library named the family's way stands for, the name
// itself first: "Tessel100x64.dll" is also "Tessel100x64.so" on POSIX, where
// the family's libraries carry that ending (compared ignoring case).
QX_API std::vector<std::wstring> LibraryFileNames(std::wstring_view name);

// Why the last OpenLibrary of this thread failed.
QX_API std::wstring LastLibraryError();

}  // namespace qx
