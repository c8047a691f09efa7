// The packed DOS date and time that zip archives and cabinets store with
// their members: local time, two-second steps, years 1980 to 2107.
//
//   date: bits 15-9 year - 1980, 8-5 month, 4-0 day
//   time: bits 15-11 hour, 10-5 minute, 4-0 seconds / 2
#pragma once

#include <cstdint>
#include <optional>

#include "qx/platform/base/export.h"
#include "qx/platform/os/file_time.h"

namespace qx {

// The moment the packed local date and time name; nullopt when a field is out
// of range (month 0 or 13, 31 February, hour 24, second 60 and so on), so that
// a damaged archive cannot stamp a file with a date that carries over into
// some other day.
QX_API std::optional<FileTime> DosDateTimeToFileTime(std::uint16_t date, std::uint16_t time);

}  // namespace qx
