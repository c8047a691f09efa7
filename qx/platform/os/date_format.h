// Dates and times written with a date or time picture, with the names of
// days and months in a locale's language.
//
// Pictures use the platform's letters: d dd (day), ddd dddd (short and full
// day name), M MM (month), MMM MMMM (short and full month name), yy yyyy
// (year), h hh (12-hour clock), H HH (24-hour clock), m mm, s ss, tt (AM or
// PM); text in single quotes and every other character stand as written.
//
//   FormatCalendarTime({2026, 3, 4 (Wednesday), 4, ...}, L"dddd, dd. MMMM yyyy", "de_DE.UTF-8")
//       == L"Mittwoch, 04. März 2026"
#pragma once

#include <string>
#include <string_view>

#include "qx/platform/base/export.h"
#include "qx/platform/os/process_info.h"

namespace qx {

// *time* (taken as it stands, without a time zone) written with *picture*.
// *locale* is a POSIX locale name ("de_DE.UTF-8", "fr_FR", "C"); "C",
// "POSIX", "" and unknown languages give English names.
QX_API std::wstring FormatCalendarTime(const CalendarTime& time, std::wstring_view picture, std::string_view locale);

}  // namespace qx
