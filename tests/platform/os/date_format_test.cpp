#include "qx/platform/os/date_format.h"

#include <gtest/gtest.h>

namespace qx {
namespace {

// Wednesday, 2026-03-04, 16:05:09.
constexpr CalendarTime kAfternoon{2026, 3, 3, 4, 16, 5, 9, 0};

TEST(DateFormatTest, PicturesInTheLocalesLanguage) {
    struct Case {
        const char* locale;
        const wchar_t* picture;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {"de_DE.UTF-8", L"dddd, dd. MMMM yyyy", L"Mittwoch, 04. M\u00E4rz 2026"},
        {"de_AT.UTF-8@euro", L"ddd d MMM", L"Mi. 4 M\u00E4rz"},
        {"fr_FR", L"dddd, MMMM dd yyyy", L"mercredi, mars 04 2026"},
        {"C", L"dddd, MMMM dd yyyy", L"Wednesday, March 04 2026"},
        {"", L"dd.MM.yy", L"04.03.26"},
        {"xx_YY", L"MMMM", L"March"},  // a language without names speaks English
        {"de_DE", L"MM/dd/yy HH:mm:ss", L"03/04/26 16:05:09"},
        {"de_DE", L"hh:mm:ss h", L"04:05:09 4"},
        {"C", L"h tt", L"4 PM"},
        // Quoted text and letters the picture does not know stay as written.
        {"C", L"'dddd' yyyy 'o''clock' xD", L"dddd 2026 o'clock xD"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.locale << " " << testing::PrintToString(std::wstring(c.picture)));
        EXPECT_EQ(FormatCalendarTime(kAfternoon, c.picture, c.locale), c.expected);
    }
}

TEST(DateFormatTest, TheFieldsAreShownAsGiven) {
    // No zone moves the time, whatever the process's TZ: midnight stays on
    // its day.
    const CalendarTime midnight{1999, 12, 5, 31, 0, 0, 0, 0};
    EXPECT_EQ(FormatCalendarTime(midnight, L"yyyy-MM-dd HH:mm dddd", "C"), L"1999-12-31 00:00 Friday");
}

}  // namespace
}  // namespace qx
