// Installation settings with where they came from, for tools that explain
// what an application of the family finds (CRegUtil answers the same
// questions without the explanation).
#pragma once

#include <string>

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"

namespace qx {

struct InstallLookup {
    bool found = false;
    CString value;        // the answer, or the last candidate tried
    std::wstring source;  // where the answer came from, or why there is none
};

// The common folder as CRegUtil::getCommonDir finds it.
QX_API InstallLookup LookUpCommonDir(bool company);

// "Lang" or "PrintLang" of HKEY_CURRENT_USER: the company's environment key,
// then the default one; the first non-empty value.
QX_API InstallLookup LookUpLanguage(const wchar_t* valueName);

}  // namespace qx
