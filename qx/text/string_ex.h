// CStringEx: the wide string with the family's case-insensitive find and
// replace (folding as in qx/text/string_nocase.h). It adds no state, so a
// CString and a CStringEx convert into each other freely.
#pragma once

#include <utility>

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"

class QX_API CStringEx : public CString {
public:
    using CString::CString;
    CStringEx() = default;
    CStringEx(const CString& text) : CString(text) {}
    CStringEx(CString&& text) noexcept : CString(std::move(text)) {}

    // Index of the first occurrence of *pattern* at or after *start*; -1
    // when there is none, *pattern* is null or *start* lies outside 0 to the
    // length. An empty pattern is found at *start*.
    int FindNoCase(const wchar_t* pattern, int start = 0) const;

    // A copy with every occurrence of *find* replaced (String::ReplaceNoCase).
    CStringEx ReplacedNoCase(const wchar_t* find, const wchar_t* replace) const;
};
