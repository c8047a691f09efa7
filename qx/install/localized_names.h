// LocalizedNames: display names of the family's region codes and of the
// languages it ships, in the user's language where a translation exists.
//
// Region names are German texts passed through the message translation at
// every call; the language table translates its German names once, when it
// is first used (qx::ResetLocalizedNames builds it again). Lookups never
// fail loudly: an unknown code or name gives "".
#pragma once

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"

namespace LocalizedNames {

// "deu" and "DEU" => "Deutschland".
QX_API CString GetRegionName(const CString& code);
// *combined* 0: the native name ("FR" => "Français"); otherwise
// "Français (Französisch)", or the native name alone where the two are the
// same ("DE" => "Deutsch"). The abbreviation may be in any case.
QX_API CString GetLanguageName(const CString& abbr, int combined);
// The inverse: "Français" => "FR". With *combined*, a name as
// GetLanguageName(abbr, 1) gives it is recognised too, else the text before
// the first space is looked up.
QX_API CString GetLanguageAbbr(const CString& name, int combined);

}  // namespace LocalizedNames

namespace qx {

// Forgets the language table, so that the next lookup translates its German
// names again (after the message table changed; for tests).
QX_API void ResetLocalizedNames();

}  // namespace qx
