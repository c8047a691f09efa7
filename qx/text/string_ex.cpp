#include "qx/text/string_ex.h"

#include "qx/text/string_nocase.h"

int CStringEx::FindNoCase(const wchar_t* pattern, int start) const {
    if (!pattern || start < 0 || start > GetLength()) return -1;
    const wchar_t* from = GetString() + start;
    const wchar_t* hit = String::FindNoCase(from, pattern);
    return hit ? static_cast<int>(hit - GetString()) : -1;
}

CStringEx CStringEx::ReplacedNoCase(const wchar_t* find, const wchar_t* replace) const {
    CStringEx copy(*this);
    String::ReplaceNoCase(copy, find, replace);
    return copy;
}
