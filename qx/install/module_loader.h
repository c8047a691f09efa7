// Loading the family's other libraries from the shared folders, and the
// hooks a delayed-import loader calls.
//
// Family libraries carry an architecture suffix before the extension
// (Tessel100x64.dll, Tessel100x64d.dll for a debugging build); a request
// whose last three characters before the extension are "xxx" means "the
// variant of this library that is already loaded". After loading a library
// from the shared folders, LoadQuorixLib hands it the company name and the
// current language through its exports "setRegCompany", "initLanguage" and
// "changeLanguage", where it has them.
//
// On POSIX a requested name ending in ".dll" that is not found as given is
// tried with ".so" instead, so the family's stored names keep working.
// A handle holds one reference to its library; nothing here unloads.
#pragma once

#include <cstdint>

#include "qx/platform/base/export.h"
#include "qx/platform/wnd/window_types.h"

#ifndef _WIN32
typedef HINSTANCE HMODULE;
typedef std::intptr_t (*FARPROC)();
#endif

// What a delayed-import loader passes to its hooks (the layout the family's
// hooks were written against).
struct DelayLoadProc {
    int fImportByName;  // non-zero: szProcName is valid, else dwOrdinal
    union {
        const char* szProcName;
        unsigned long dwOrdinal;
    };
};

struct DelayLoadInfo {
    unsigned long cb;          // size of this structure
    const void* pidd;          // the loader's import descriptor
    FARPROC* ppfn;             // where the function's address goes
    const char* szDll;         // the requested library's name, 8-bit text
    DelayLoadProc dlp;         // the requested function
    HMODULE hmodCur;           // the library, once loaded
    FARPROC pfnCur;            // the function, once found
    unsigned long dwLastError; // the error of the failed step
};

// The notifications of the delayed-import loader.
enum DelayLoadNotification : unsigned {
    dliStartProcessing = 0,
    dliNotePreLoadLibrary = 1,
    dliNotePreGetProcAddress = 2,
    dliFailLoadLib = 3,
    dliFailGetProc = 4,
    dliNoteEndProcessing = 5,
};

// Loads exactly the file *path*; null on failure.
QX_API HINSTANCE LoadThisLib(const wchar_t* path);

// Finds and loads a family library: a placeholder request takes the variant
// already loaded; a library already loaded is returned with one more
// reference; a name with a folder is loaded from there only; a bare name is
// looked for beside the program, in "Common Files\\quOsysDll\\" of the
// program's folder and the folders above it, in the family library folder
// (CRegUtil::getQuOsysDllPath, which may show a message) and in the Dll
// folder of the family's common folder. Null when nothing loads.
QX_API HINSTANCE LoadQuorixLib(const wchar_t* name);

// dliNotePreLoadLibrary: LoadQuorixLib of the requested library (its
// result, non-null, is the loaded library); anything else: null, the
// loader's default.
QX_API FARPROC DliHook(unsigned notify, DelayLoadInfo* info);

// Always null. The first failure (dliFailLoadLib, dliFailGetProc) after a
// dliNotePreLoadLibrary shows one message box naming this library and the
// requested one, so that a missing library shows one message rather than
// one per function.
QX_API FARPROC DliFailHook(unsigned notify, DelayLoadInfo* info);

namespace qx {

// Forgets that a delayed-loading failure has been shown (for tests).
QX_API void ResetDelayLoadErrorShown();

}  // namespace qx
