#include "qx/print/builtin_values.h"

#include <array>
#include <iterator>
#include <string>

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
    bool dated;  // made from the time and the time locale alone
};

constexpr BuiltIn kBuiltIns[] = {
    {L"DATELONG", DateLong, true},
    {L"DATELONG_ENGLISH", DateLongEnglish, true},
    {L"DATE", Date, true},
    {L"DATE_ENGLISH", DateEnglish, true},
    {L"DATETIME", DateTime, true},
    {L"DATETIME_ENGLISH", DateTimeEnglish, true},
    {L"TIME", Time, true},
    {L"TIME_ENGLISH", TimeEnglish, true},
    {L"CURRENTUSER", CurrentUser, false},
};

// The last text of each dated built-in with the time and locale it was made
// for: a report shows the date on every page, and writing it out through the
// locale's pictures costs far more than comparing them.
struct RememberedText {
    bool made = false;
    CalendarTime time;
    std::string locale;
    CString text;
};

std::array<RememberedText, std::size(kBuiltIns)>& Remembered() {
    static std::array<RememberedText, std::size(kBuiltIns)> remembered;
    return remembered;
}

CString DatedText(size_t index) {
    const CalendarTime now = SystemTime();
    // No picture shows the milliseconds, so the text stays for the second.
    CalendarTime second = now;
    second.millisecond = 0;
    std::string locale = TimeLocaleName();
    RememberedText& remembered = Remembered()[index];
    if (!remembered.made || remembered.time != second || remembered.locale != locale) {
        remembered.text = kBuiltIns[index].text(now);
        remembered.time = second;
        remembered.locale = std::move(locale);
        remembered.made = true;
    }
    return remembered.text;
}

}  // namespace

std::optional<CString> BuiltInValue(const CString& name) {
    for (size_t i = 0; i < std::size(kBuiltIns); ++i) {
        const BuiltIn& builtIn = kBuiltIns[i];
        if (name != builtIn.name) continue;
        return builtIn.dated ? DatedText(i) : builtIn.text(SystemTime());
    }
    return std::nullopt;
}

void ResetBuiltInValues() { Remembered() = {}; }

}  // namespace qx
