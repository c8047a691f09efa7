#include "qx/platform/os/ctime.h"

#include "qx/platform/base/exceptions.h"
#include "qx/platform/os/internal/local_time_format.h"
#include "qx/platform/os/process_info.h"

namespace {

qx::CalendarTime LocalFields(std::int64_t time) { return qx::TimeToLocal(time).value_or(qx::CalendarTime{}); }

}  // namespace

CTime::CTime(int year, int month, int day, int hour, int minute, int second) {
    if (year < 1900) throw CInvalidArgException();
    qx::CalendarTime fields;
    fields.year = year;
    fields.month = month;
    fields.day = day;
    fields.hour = hour;
    fields.minute = minute;
    fields.second = second;
    const auto time = qx::LocalToTime(fields);
    if (!time) throw CInvalidArgException();
    time_ = *time;
}

CTime CTime::GetCurrentTime() {
    // The clock is read as local time, so that the test clock applies; in
    // the hour that the change to standard time repeats, the system picks
    // one of the two moments.
    const auto now = qx::LocalToTime(qx::LocalTime());
    return CTime(now.value_or(0));
}

int CTime::GetYear() const { return LocalFields(time_).year; }
int CTime::GetMonth() const { return LocalFields(time_).month; }
int CTime::GetDay() const { return LocalFields(time_).day; }
int CTime::GetHour() const { return LocalFields(time_).hour; }
int CTime::GetMinute() const { return LocalFields(time_).minute; }
int CTime::GetSecond() const { return LocalFields(time_).second; }
int CTime::GetDayOfWeek() const { return LocalFields(time_).dayOfWeek + 1; }

CString CTime::Format(const wchar_t* format) const { return CString(qx::detail::FormatLocalTime(time_, format)); }
