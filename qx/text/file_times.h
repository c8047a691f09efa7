// GetFileTime: one of a file's three times as a CTime.
#pragma once

#include "qx/platform/base/export.h"
#include "qx/platform/os/ctime.h"

enum EFileTime {
    eCreationTime = 0,
    eLastAccessTime = 1,
    eLastWriteTime = 2,
};

// The time *which* of the first entry matching *path* (a path, or a folder
// and a wildcard pattern, in the order of qx/platform/os/file_search.h).
// 0 when nothing matches; otherwise 1, with *time* set, or untouched when
// *which* names none of the three times. Throws CInvalidArgException for a
// time whose local year is before 1900, which CTime does not hold.
QX_API int GetFileTime(const wchar_t* path, EFileTime which, CTime& time);
