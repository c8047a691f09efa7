// Case-insensitive search and replace with the family's own folding: the
// capitals U+0041-U+005A (A-Z), U+00C0-U+00DE (À-Þ) and U+0410-U+042F (А-Я)
// compare equal to the character 32 places above them, and nothing else is
// folded. So "ÄRGER" is found in "ärger" and "СЛОВО" in "слово", but "Ё"
// (U+0401) does not match "ё" and "ß" has no capital. The folding is fixed
// and does not follow the process locale.
#pragma once

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"

namespace String {

// The first occurrence of *pattern* in *text*; *text* itself for an empty
// pattern; null when there is none or either argument is null.
QX_API const wchar_t* FindNoCase(const wchar_t* text, const wchar_t* pattern);

// Replaces every occurrence of *find* in *text* by *replace*, left to right
// and without overlaps; inserted text is not searched again. Returns the
// number of replacements; 0 (and nothing changed) when *find* is null or
// empty or *replace* is null.
QX_API int ReplaceNoCase(CString& text, const wchar_t* find, const wchar_t* replace);

}  // namespace String
