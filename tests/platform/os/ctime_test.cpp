#include "qx/platform/os/ctime.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "qx/platform/base/exceptions.h"
#include "qx/platform/os/process_info.h"
#include "tests/support/fixtures.h"

namespace {

// Central European time, so that daylight saving time shows.
class CTimeTest : public ::testing::Test {
protected:
    ~CTimeTest() override { qx::SetClockForTesting(nullptr); }
    qx::test::ScopedEnv tz_{"TZ", "CET-1CEST,M3.5.0,M10.5.0/3"};
};

TEST_F(CTimeTest, ShowsTheLocalTimeOfTheMoment) {
    struct Case {
        std::int64_t seconds;
        int year, month, day, hour, minute, second, dayOfWeek;
    } const cases[] = {
        {0, 1970, 1, 1, 1, 0, 0, 5},                       // a Thursday
        {1'072'915'199, 2004, 1, 1, 0, 59, 59, 5},         // winter: UTC+1
        {1'088'640'000, 2004, 7, 1, 2, 0, 0, 5},           // summer: UTC+2
        {951'782'400, 2000, 2, 29, 1, 0, 0, 3},            // leap day, a Tuesday
        {-2'208'988'800, 1900, 1, 1, 1, 0, 0, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seconds);
        const CTime time(c.seconds);
        EXPECT_EQ(time.GetYear(), c.year);
        EXPECT_EQ(time.GetMonth(), c.month);
        EXPECT_EQ(time.GetDay(), c.day);
        EXPECT_EQ(time.GetHour(), c.hour);
        EXPECT_EQ(time.GetMinute(), c.minute);
        EXPECT_EQ(time.GetSecond(), c.second);
        EXPECT_EQ(time.GetDayOfWeek(), c.dayOfWeek);
        EXPECT_EQ(CTime(c.year, c.month, c.day, c.hour, c.minute, c.second).GetTime(), c.seconds);
    }
}

TEST_F(CTimeTest, CalendarFieldsCarryOver) {
    EXPECT_EQ(CTime(2003, 13, 1, 0, 0, 0), CTime(2004, 1, 1, 0, 0, 0));
    EXPECT_EQ(CTime(2004, 3, 0, 24, 0, 0), CTime(2004, 3, 1, 0, 0, 0));
}

TEST_F(CTimeTest, RefusesYearsBefore1900) {
    EXPECT_THROW(CTime(1899, 12, 31, 23, 59, 59), CInvalidArgException);
    EXPECT_NO_THROW(CTime(1900, 1, 1, 1, 0, 0));
}

TEST_F(CTimeTest, ReadsTheProcessClock) {
    qx::SetClockForTesting([] { return std::int64_t{1'088'640'000'999}; });
    EXPECT_EQ(CTime::GetCurrentTime().GetTime(), 1'088'640'000);
}

TEST_F(CTimeTest, Formats) {
    const CTime time(1'088'647'384);  // 2004-07-01 04:03:04 local, summer time
    EXPECT_EQ(time.Format(L"%d.%m.%Y %H:%M:%S"), L"01.07.2004 04:03:04");
    EXPECT_EQ(time.Format(L"%Z %j %%"), L"CEST 183 %");
    EXPECT_EQ(time.Format(L""), L"");
    EXPECT_EQ(time.Format(nullptr), L"");
    EXPECT_EQ(time.Format(std::wstring(1000, L'x').c_str()), CString(std::wstring(1000, L'x')))
        << "longer than the first buffer";
}

TEST_F(CTimeTest, DifferencesAreSpans) {
    const CTime start(2004, 3, 27, 12, 0, 0);
    const CTime end(2004, 3, 29, 11, 59, 59);  // across the change to summer time
    const CTimeSpan span = end - start;
    EXPECT_EQ(span.GetTotalSeconds(), 2 * 86400 - 1 - 3600);
    EXPECT_EQ(span.GetDays(), 1);
    EXPECT_EQ(span.GetTotalHours(), 46);
    EXPECT_EQ(start + span, end);
    EXPECT_EQ(end - span, start);
    EXPECT_EQ(CTimeSpan(1, 2, 3, 4).GetTotalSeconds(), 93784);
    EXPECT_LT(start, end);
}

}  // namespace
