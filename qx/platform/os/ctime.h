// CTime, the framework's time class as the family's code uses it: a moment as
// whole seconds since 1970-01-01 00:00 UTC, whose calendar fields are those
// of local time; and CTimeSpan, the difference of two moments.
//
// GetCurrentTime reads the clock of process_info.h, so tests that set that
// clock control it too.
#pragma once

#include <compare>
#include <cstdint>

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"

class QX_API CTimeSpan {
public:
    CTimeSpan() = default;
    CTimeSpan(std::int64_t seconds) : seconds_(seconds) {}
    CTimeSpan(long days, int hours, int minutes, int seconds)
        : seconds_(((static_cast<std::int64_t>(days) * 24 + hours) * 60 + minutes) * 60 + seconds) {}

    // Whole units, cut toward zero.
    std::int64_t GetDays() const { return seconds_ / 86400; }
    std::int64_t GetTotalHours() const { return seconds_ / 3600; }
    std::int64_t GetTotalMinutes() const { return seconds_ / 60; }
    std::int64_t GetTotalSeconds() const { return seconds_; }

    friend auto operator<=>(CTimeSpan, CTimeSpan) = default;

private:
    std::int64_t seconds_ = 0;
};

class QX_API CTime {
public:
    CTime() = default;
    CTime(std::int64_t time) : time_(time) {}
    // A local time; the system decides whether daylight saving time applies.
    // Fields out of range carry over (month 13 is January of the next year).
    // Throws CInvalidArgException for a year before 1900 or a time the system
    // cannot represent.
    CTime(int year, int month, int day, int hour, int minute, int second);

    static CTime GetCurrentTime();

    std::int64_t GetTime() const { return time_; }

    // Local calendar fields.
    int GetYear() const;
    int GetMonth() const;      // 1 to 12
    int GetDay() const;        // 1 to 31
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const;  // 1 = Sunday to 7 = Saturday

    // The local time in a strftime format ("%d.%m.%Y %H:%M"); names of days
    // and months are those of the C library's current locale.
    CString Format(const wchar_t* format) const;

    CTimeSpan operator-(CTime other) const { return CTimeSpan(time_ - other.time_); }
    CTime operator-(CTimeSpan span) const { return CTime(time_ - span.GetTotalSeconds()); }
    CTime operator+(CTimeSpan span) const { return CTime(time_ + span.GetTotalSeconds()); }
    CTime& operator+=(CTimeSpan span) { time_ += span.GetTotalSeconds(); return *this; }
    CTime& operator-=(CTimeSpan span) { time_ -= span.GetTotalSeconds(); return *this; }

    friend auto operator<=>(CTime, CTime) = default;

private:
    std::int64_t time_ = 0;
};
