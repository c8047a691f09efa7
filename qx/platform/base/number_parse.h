// Reading numbers from text by the standard rules, independent of the
// process locale.
//
//   integer: leading white space, an optional sign, decimal digits up to the
//            first other character; no digits give 0; out of range clamps.
//   double:  leading white space, an optional sign, digits with an optional
//            decimal point ('.' only), an optional exponent; nothing readable
//            gives 0; out of range gives +-HUGE_VAL.
//
//   ParseInt(L"  -12ab") == -12     ParseDouble(L"1.5e3x") == 1500
//   ParseInt(L"x1")      == 0       ParseDouble(L"1,5")    == 1
#pragma once

#include <string_view>

#include "qx/platform/base/export.h"

namespace qx {

// *end*, when given, receives the first character after what was read (the
// start of the text when nothing was read).
QX_API long long ParseInteger(const wchar_t* text, const wchar_t** end = nullptr);
QX_API int ParseInt(const wchar_t* text);
// The same integer rules on a text that need not end in a zero character,
// such as one field of a line.
QX_API long long ParseInteger(std::wstring_view text);
QX_API double ParseDouble(const wchar_t* text, const wchar_t** end = nullptr);

}  // namespace qx
