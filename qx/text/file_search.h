// The family's folder searches driven by free functions: GetFirstFileName
// starts a search and pushes it on a process-wide stack, GetNextFileName
// continues the top search, and the search is popped when its entries run
// out, so a recursive walk can nest searches without keeping handles. Nested
// searches end in reverse order of their start; StopDirIteration ends the
// top search early. At most 64 searches are open at once.
//
// Names come without their folder, "." and ".." included (they are folders),
// in the order of qx/platform/os/file_search.h; patterns are Windows
// wildcards (qx/platform/os/file_name_pattern.h). The stack assumes a single
// thread.
#pragma once

#include "qx/platform/base/array.h"
#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"

// Starts a search of *folder* (a backslash is added unless it ends with a
// separator) for files matching *pattern*; 1 with the first file's name in
// *name*, 0 when the folder does not exist, holds no matching file or 64
// searches are open. Only a search that returned 1 is pushed.
QX_API int GetFirstFileName(const wchar_t* folder, const wchar_t* pattern, CString& name);
// The next file of the top search; 0 when no search is open, or when its
// entries are exhausted, which ends and pops it.
QX_API int GetNextFileName(CString& name);
// The same for folders.
QX_API int GetFirstDirName(const wchar_t* folder, const wchar_t* pattern, CString& name);
QX_API int GetNextDirName(CString& name);
// Ends and pops the top search, for leaving a loop before its last entry.
QX_API void StopDirIteration();

// Empties *names* and appends the name of every folder of *folder* matching
// *pattern*; 1 when the folder exists and some entry (of either kind)
// matches, else 0.
QX_API int GetDirNames(const wchar_t* folder, const wchar_t* pattern, CStringArray& names);

namespace qx {
// The number of searches on the stack.
QX_API int OpenFileSearchCount();
// Ends every search on the stack (for tests).
QX_API void ResetFileSearchStack();
}  // namespace qx
