// The free text-file functions beside qxStrUtil's readers and writers.
#pragma once

#include <string_view>
#include <vector>

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/exceptions.h"
#include "qx/platform/base/export.h"

// Reads a file into *text*: UTF-16LE when it begins with FF FE, otherwise
// the default 8-bit code page. 1 on success; 0 when it cannot be read, with
// the cause in *error* when given.
QX_API int LoadFromFile(const wchar_t* path, CString& text, CFileException* error);

// The next line of *text* at *cursor* (which starts null: the beginning),
// without its line end and leading tabs and spaces; 0 when no line is left.
// CR LF and LF CR count as one line end.
QX_API int quOrixReadLine(CString& line, const CString& text, wchar_t*& cursor);

namespace qx {

// The lines of *text* as views into it, without their line ends: every CR,
// LF or CR LF closes a line, and what follows the last one is a line only
// when it is not empty. *lines* is cleared first.
QX_API void SplitTextLines(std::wstring_view text, std::vector<std::wstring_view>& lines);

}  // namespace qx
