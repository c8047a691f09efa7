#include "qx/archive/dos_time.h"

#include "qx/platform/os/process_info.h"

namespace qx {

namespace {

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

}  // namespace

std::optional<FileTime> DosDateTimeToFileTime(std::uint16_t date, std::uint16_t time) {
    CalendarTime local;
    local.year = 1980 + (date >> 9);
    local.month = (date >> 5) & 0x0F;
    local.day = date & 0x1F;
    local.hour = time >> 11;
    local.minute = (time >> 5) & 0x3F;
    local.second = (time & 0x1F) * 2;
    if (local.month < 1 || local.month > 12 || local.day < 1 || local.day > DaysInMonth(local.year, local.month) ||
        local.hour > 23 || local.minute > 59 || local.second > 59) {
        return std::nullopt;
    }
    const auto seconds = LocalToTime(local);
    if (!seconds) return std::nullopt;
    return FileTimeFromUnix(*seconds);
}

}  // namespace qx
