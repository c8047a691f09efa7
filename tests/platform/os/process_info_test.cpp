#include "qx/platform/os/process_info.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "tests/support/fixtures.h"

namespace qx {
namespace {

// Central European time: a zone with daylight saving, to see that the
// conversions use the rule of the date, not of today.
constexpr const char* kCentralEurope = "CET-1CEST,M3.5.0,M10.5.0/3";

class ClockTest : public ::testing::Test {
protected:
    ~ClockTest() override { SetClockForTesting(nullptr); }
    test::ScopedEnv tz_{"TZ", kCentralEurope};
};

TEST_F(ClockTest, ReadsTheInjectedClock) {
    std::int64_t now = 1'064'916'000'123;  // 2003-09-30 10:00:00.123 UTC, a Tuesday
    SetClockForTesting([&now] { return now; });
    EXPECT_EQ(LocalTime(), (CalendarTime{2003, 9, 2, 30, 12, 0, 0, 123}));
    EXPECT_EQ(TickCount64(), 1'064'916'000'123u);

    now = 0x1'0000'0005;
    EXPECT_EQ(TickCount(), 5u) << "the 32-bit count wraps";

    now = -1;  // a millisecond before 1970
    EXPECT_EQ(LocalTime(), (CalendarTime{1970, 1, 4, 1, 0, 59, 59, 999}));
}

TEST_F(ClockTest, SystemTimeIsUtcWhateverTheZone) {
    std::int64_t now = 1'064'962'799'456;  // 2003-09-30 22:59:59.456 UTC, 00:59 on Wednesday in the zone
    SetClockForTesting([&now] { return now; });
    EXPECT_EQ(SystemTime(), (CalendarTime{2003, 9, 2, 30, 22, 59, 59, 456}));
    EXPECT_EQ(LocalTime().day, 1);

    now = -1;
    EXPECT_EQ(SystemTime(), (CalendarTime{1969, 12, 3, 31, 23, 59, 59, 999}));
    now = 951'782'400'000;  // 2000-02-29, a leap day
    EXPECT_EQ(SystemTime(), (CalendarTime{2000, 2, 2, 29, 0, 0, 0, 0}));
}

TEST_F(ClockTest, TheSystemClocksMove) {
    const std::uint64_t before = TickCount64();
    const CalendarTime now = LocalTime();
    EXPECT_GE(TickCount64(), before);
    EXPECT_GE(now.year, 2024);
}

TEST_F(ClockTest, ConvertsBetweenSecondsAndLocalTime) {
    struct Case {
        std::int64_t seconds;
        CalendarTime local;
    };
    const Case cases[] = {
        {0, {1970, 1, 4, 1, 1, 0, 0, 0}},
        {1'072'915'199, {2004, 1, 4, 1, 0, 59, 59, 0}},        // winter: UTC+1
        {1'088'640'000, {2004, 7, 4, 1, 2, 0, 0, 0}},          // summer: UTC+2
        {951'782'400, {2000, 2, 2, 29, 1, 0, 0, 0}},           // leap day
        {-2'208'988'800, {1900, 1, 1, 1, 1, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seconds);
        EXPECT_EQ(TimeToLocal(c.seconds), c.local);
        EXPECT_EQ(LocalToTime(c.local), c.seconds);
    }
}

TEST_F(ClockTest, LocalToTimeCarriesFieldsOver) {
    const CalendarTime thirteenth{2003, 13, 0, 1, 0, 0, 0, 0};
    const CalendarTime january{2004, 1, 0, 1, 0, 0, 0, 0};
    EXPECT_EQ(LocalToTime(thirteenth), LocalToTime(january));
    EXPECT_EQ(TimeToLocal(*LocalToTime(CalendarTime{2004, 2, 0, 30, 0, 0, 0, 0}))->day, 1);
}

TEST(ProcessInfoTest, NamesTheProgramAndItsUser) {
    const std::wstring program = ProgramPath();
    const std::wstring folder = ProgramDirectory();
    ASSERT_FALSE(program.empty());
    EXPECT_TRUE(folder.ends_with(L'\\'));
    EXPECT_TRUE(program.starts_with(folder));
    EXPECT_NE(program.substr(folder.size()).find(L"test_platform_os"), std::wstring::npos);
    EXPECT_FALSE(UserName().empty());
}

TEST(ProcessInfoTest, NamesThisLibrarysOwnFile) {
    const std::wstring library = LibraryPath();
    const std::wstring folder = LibraryDirectory();
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(library.starts_with(folder));
    // The real file behind the soname link.
    EXPECT_TRUE(library.substr(folder.size()).starts_with(L"libqxbase.so.1"));
}

}  // namespace
}  // namespace qx
