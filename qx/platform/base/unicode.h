// Locale-independent character properties: case mapping and composition.
// Case mapping is the simple (one character to one character) Unicode
// mapping, the same for every process whatever its locale.
#pragma once

#include <string>
#include <string_view>

#include "qx/platform/base/export.h"

namespace qx {

QX_API wchar_t ToUpper(wchar_t ch);
QX_API wchar_t ToLower(wchar_t ch);
// Simple case folding, for comparisons that ignore case.
QX_API wchar_t FoldCase(wchar_t ch);
// Whether two texts are equal under simple case folding.
QX_API bool EqualsFolded(std::wstring_view a, std::wstring_view b);
// Space as the wide-character classification knows it (space, tab, line
// feed, vertical tab, form feed, carriage return and the Unicode spaces).
QX_API bool IsSpace(wchar_t ch);

// Composed form (NFC). Text that is already composed is returned unchanged
// without copying work beyond the check.
QX_API std::wstring ComposeNfc(std::wstring_view text);

}  // namespace qx
