// The language the user's session runs in, as the Windows language
// identifier the family's tables are keyed by (0x0407 for German, Germany).
#pragma once

#include <string>
#include <string_view>

#include "qx/platform/base/export.h"

namespace qx {

// The identifier of a POSIX locale name: "de_DE.UTF-8" gives 0x0407,
// "de_AT" 0x0C07, "de" and "de_XX" the language's main identifier 0x0407,
// "sr_RS@latin" 0x241A. 0 for "C", "POSIX", "" and unknown languages.
QX_API unsigned short LanguageIdOfLocale(std::string_view locale);

// The identifier of the session's locale for messages: the first non-empty
// of $LC_ALL, $LC_MESSAGES and $LANG, through LanguageIdOfLocale.
QX_API unsigned short SystemDefaultLanguageId();

// The session's locale for dates and times as a POSIX locale name
// ("de_DE.UTF-8"): the first non-empty of $LC_ALL, $LC_TIME and $LANG, else
// "C".
QX_API std::string TimeLocaleName();

}  // namespace qx
