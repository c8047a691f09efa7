// Facts about the running process and the clock: user, program file, tick
// count and local time.
//
// The clock is process-wide state with a test seam: SetClockForTesting makes
// TickCount and LocalTime read a function instead of the system clocks, so
// tests neither wait nor depend on the hour they run at.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "qx/platform/base/export.h"

namespace qx {

// The login name of the effective user; when the user database has no entry
// for it, $LOGNAME or $USER, else the numeric user id.
QX_API std::wstring UserName();

// The running program's file as a library path; "" (with the last error set)
// when the system cannot say.
QX_API std::wstring ProgramPath();
// The folder of ProgramPath(), ending with a backslash.
QX_API std::wstring ProgramDirectory();

// This library's own file (libqxbase.so.1 wherever it was loaded from) as a
// library path; "" when the loader cannot say. Language modules and shared
// family libraries are found beside it.
QX_API std::wstring LibraryPath();
// The folder of LibraryPath(), ending with a backslash.
QX_API std::wstring LibraryDirectory();

// Milliseconds since an arbitrary start, never going back. TickCount() is
// the low 32 bits, which wrap after 49.7 days as GetTickCount does; compare
// such values by unsigned difference.
QX_API std::uint64_t TickCount64();
QX_API std::uint32_t TickCount();

// A broken-down time, laid out like SYSTEMTIME.
struct CalendarTime {
    int year = 1970;
    int month = 1;      // 1 to 12
    int dayOfWeek = 4;  // 0 = Sunday to 6 = Saturday
    int day = 1;        // 1 to 31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;

    friend bool operator==(const CalendarTime&, const CalendarTime&) = default;
};

// The current local time.
QX_API CalendarTime LocalTime();
// The current time in UTC (the system time, as opposed to the local time).
QX_API CalendarTime SystemTime();
// The local time of *seconds* since 1970-01-01 00:00 UTC (millisecond 0);
// nullopt when its year does not fit an int.
QX_API std::optional<CalendarTime> TimeToLocal(std::int64_t seconds);
// The seconds since 1970 of local time *time*; dayOfWeek and millisecond are
// ignored, out-of-range fields carry over (month 13 is January of the next
// year). In the hour that a change to standard time repeats, the system
// chooses. nullopt when the time cannot be represented.
QX_API std::optional<std::int64_t> LocalToTime(const CalendarTime& time);

// Makes the clock functions read *millisecondsSinceEpoch* (milliseconds since
// 1970-01-01 00:00 UTC): LocalTime and SystemTime show that moment and
// TickCount64 returns the value itself, so all move together when the test
// moves its clock.
// nullptr restores the system clocks.
QX_API void SetClockForTesting(std::function<std::int64_t()> millisecondsSinceEpoch);

}  // namespace qx
