// Wildcard matching of whole texts: "*" stands for any run of characters
// (none included), "?" for exactly one; every other character stands for
// itself.
//
//   MatchesWildcard(L"Report.TXT", L"*.txt", false)  == true
//   MatchesWildcard(L"abab", L"*ab", true)           == true
//   MatchesWildcard(L"", L"*?", true)                == false
//
// Without *caseSensitive* only the letters A to Z are folded, as the family's
// name filters always compared; accented and other letters compare exactly.
// The time is bounded by the text length times the longest star-free part of
// the pattern: a failed attempt only ever moves the most recent star on,
// never an earlier one, and the part after the final star is compared with
// the end of the text once. Patterns such as "a*a*a*a*b" cannot make it
// explode.
#pragma once

#include <string_view>

#include "qx/platform/base/export.h"

namespace qx {

QX_API bool MatchesWildcard(std::wstring_view text, std::wstring_view pattern, bool caseSensitive);

}  // namespace qx
