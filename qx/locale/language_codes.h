// The family's two-letter language abbreviations: from Windows language
// identifiers and to the 8-bit code page a language's texts are kept in.
//
// The abbreviations are the family's own, not ISO 639 throughout ("cz" for
// Czech, "fl" for Flemish); they name wordbooks, language modules and file
// variants.
#pragma once

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"

namespace qx {

// The abbreviation of Windows language identifier *langId* (1031 gives
// "de"). Only whole identifiers are known, so 2057 (English, United Kingdom)
// is not. False, with *abbr* emptied, when the identifier is unknown.
QX_API bool LanguageAbbreviation(unsigned short langId, CString& abbr);

// The Windows 8-bit code page of the texts of language *abbr*, compared
// without regard to case ("PL" gives 1250); -1 when the language is unknown.
QX_API int LanguageCodePage(const CString& abbr);

}  // namespace qx
