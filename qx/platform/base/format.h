// printf-style formatting with the Windows wide-character conventions, used
// wherever the library formats text (CString::Format, messages, page files).
//
// In a wide format %s and %c take wide arguments, %S, %hs, %C and %hc narrow
// ones (taken as the default 8-bit code page), %ls/%ws/%lc wide; %I64d, %I64u,
// %I32d, %Id and %zu are accepted beside the C99 length modifiers. The decimal
// point is always '.', whatever the process locale, and the output has no
// length limit. %n writes nothing. A null string argument prints "(null)".
#pragma once

#include <cstdarg>
#include <string>

#include "qx/platform/base/export.h"

namespace qx {

QX_API std::wstring FormatV(const wchar_t* format, va_list args);
QX_API std::wstring Format(const wchar_t* format, ...);

// Appends to *out* instead of returning a new string.
QX_API void AppendFormatV(std::wstring& out, const wchar_t* format, va_list args);

}  // namespace qx
