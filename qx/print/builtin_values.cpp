#include "qx/print/builtin_values.h"

#include "qx/platform/os/date_format.h"
#include "qx/platform/os/locale_info.h"
#include "qx/platform/os/process_info.h"

namespace qx {
namespace {

CString Picture(const CalendarTime& now, const wchar_t* picture) {
    return CString(FormatCalendarTime(now, picture, TimeLocaleName()));
}

CString DateLong(const CalendarTime& now) { return Picture(now, L"dddd, dd. MMMM yyyy"); }
CString DateLongEnglish(const CalendarTime& now) { return Picture(now, L"dddd, MMMM dd yyyy"); }
CString Date(const CalendarTime& now) { return Picture(now, L"dd.MM.yy"); }
CString DateEnglish(const CalendarTime& now) { return Picture(now, L"MM/dd/yy"); }
CString Time(const CalendarTime& now) { return Picture(now, L"HH:mm:ss"); }
// The 12-hour clock with a mark that does not depend on the locale.
CString TimeEnglish(const CalendarTime& now) { return Picture(now, L"hh:mm:ss") + (now.hour < 12 ? L" AM" : L" PM"); }
CString DateTime(const CalendarTime& now) { return Date(now) + L" " + Time(now); }
CString DateTimeEnglish(const CalendarTime& now) { return DateEnglish(now) + L" " + TimeEnglish(now); }
CString CurrentUser(const CalendarTime&) { return CString(UserName()); }

struct BuiltIn {
    const wchar_t* name;
    CString (*text)(const CalendarTime& now);
};

constexpr BuiltIn kBuiltIns[] = {
    {L"DATELONG", DateLong},       {L"DATELONG_ENGLISH", DateLongEnglish}, {L"DATE", Date},
    {L"DATE_ENGLISH", DateEnglish}, {L"DATETIME", DateTime},               {L"DATETIME_ENGLISH", DateTimeEnglish},
    {L"TIME", Time},               {L"TIME_ENGLISH", TimeEnglish},         {L"CURRENTUSER", CurrentUser},
};

}  // namespace

std::optional<CString> BuiltInValue(const CString& name) {
    for (const BuiltIn& builtIn : kBuiltIns) {
        if (name == builtIn.name) return builtIn.text(SystemTime());
    }
    return std::nullopt;
}

}  // namespace qx
