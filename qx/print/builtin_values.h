// The values every layout may show without data: today's date and time in
// several forms and the user's name.
#pragma once

#include <optional>

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"

namespace qx {

// The text of built-in field *name* (DATELONG, DATELONG_ENGLISH, DATE,
// DATE_ENGLISH, DATETIME, DATETIME_ENGLISH, TIME, TIME_ENGLISH,
// CURRENTUSER; matched exactly), or nullopt for any other name. Dates and
// times are the current UTC time, with day and month names in the language
// of the session's time locale.
// The dated texts are remembered with the time and locale they were made
// for, so a report that shows the date on every page makes it once a second.
QX_API std::optional<CString> BuiltInValue(const CString& name);
// Forgets the remembered texts (for tests; the results do not depend on it).
QX_API void ResetBuiltInValues();

}  // namespace qx
