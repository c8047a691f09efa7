#include "qx/text/file_times.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "qx/platform/base/exceptions.h"
#include "qx/platform/os/file_system.h"
#include "tests/support/fixtures.h"

namespace {

using qx::FileTimeFromUnix;

class FileTimesTest : public qx::test::DriveFolderTest {
protected:
    void SetTimes(const wchar_t* path, std::int64_t access, std::int64_t write) {
        ASSERT_TRUE(qx::SetFileTimes(path, std::nullopt, FileTimeFromUnix(access), FileTimeFromUnix(write)));
    }

    qx::test::ScopedEnv tz_{"TZ", "CET-1CEST,M3.5.0,M10.5.0/3"};
};

TEST_F(FileTimesTest, AFileWrittenJustNowHasTheCurrentTime) {
    const CTime before = CTime::GetCurrentTime();
    Write("log.csv", "x");
    CTime written;
    ASSERT_EQ(GetFileTime(L"C:\\log.csv", eLastWriteTime, written), 1);
    // File systems stamp with a coarse clock that may lag the system time by
    // a tick, which can fall just before a second boundary that time crossed.
    EXPECT_LE((before - written).GetTotalSeconds(), 1);
    EXPECT_LE(written, CTime::GetCurrentTime());
    CTime created;
    ASSERT_EQ(GetFileTime(L"C:\\log.csv", eCreationTime, created), 1);
    EXPECT_LE((created - written).GetTotalSeconds(), 1);
}

TEST_F(FileTimesTest, ReturnsTheChosenTimeOfTheFirstMatch) {
    Write("logs/Log_2004.7.1.csv", "x");
    Write("logs/Log_2004.1.1.csv", "x");
    MakeFolder("logs/sub");
    // In summer and in winter: neither may move by the hour of the other
    // season.
    SetTimes(L"C:\\logs\\Log_2004.7.1.csv", 1'088'640'000, 1'088'647'384);
    SetTimes(L"C:\\logs\\Log_2004.1.1.csv", 1'072'915'199, 1'072'915'000);
    struct Case {
        const wchar_t* path;
        EFileTime which;
        std::int64_t seconds;
    } const cases[] = {
        {L"C:\\logs\\Log_2004.7.1.csv", eLastWriteTime, 1'088'647'384},
        {L"C:\\logs\\Log_2004.7.1.csv", eLastAccessTime, 1'088'640'000},
        {L"c:\\LOGS\\log_2004.7.1.CSV", eLastWriteTime, 1'088'647'384},
        {L"C:\\logs\\*.csv", eLastWriteTime, 1'072'915'000},  // the first in search order
        {L"C:\\logs\\Log_2004.?.1.csv", eLastAccessTime, 1'072'915'199},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "path \"" << c.path << "\", time " << c.which);
        CTime time;
        ASSERT_EQ(GetFileTime(c.path, c.which, time), 1);
        EXPECT_EQ(time.GetTime(), c.seconds);
    }
    CTime time;
    ASSERT_EQ(GetFileTime(L"C:\\logs\\Log_2004.7.1.csv", eLastWriteTime, time), 1);
    EXPECT_EQ(time.Format(L"%d.%m.%Y %H:%M:%S"), L"01.07.2004 04:03:04");
}

TEST_F(FileTimesTest, AnswersZeroWhenNothingMatches) {
    Write("a.txt", "x");
    const CTime untouched(12345);
    const wchar_t* const paths[] = {L"C:\\b.txt", L"C:\\*.csv", L"C:\\missing\\a.txt", L"C:\\", L"", nullptr};
    for (const wchar_t* path : paths) {
        SCOPED_TRACE(testing::Message() << "path \"" << (path ? path : L"(null)") << "\"");
        CTime time = untouched;
        EXPECT_EQ(GetFileTime(path, eLastWriteTime, time), 0);
        EXPECT_EQ(time, untouched);
    }
}

TEST_F(FileTimesTest, OtherTimesLeaveTheResultAlone) {
    Write("a.txt", "x");
    CTime time(12345);
    EXPECT_EQ(GetFileTime(L"C:\\a.txt", static_cast<EFileTime>(3), time), 1);
    EXPECT_EQ(time.GetTime(), 12345);
    EXPECT_EQ(GetFileTime(L"C:\\b.txt", static_cast<EFileTime>(3), time), 0);
}

TEST(FileTimesOldFileTest, TimesBefore1900AreRefused) {
    // ext4 keeps no time before 1901-12-13; tmpfs does.
    qx::test::ScopedEnv tz("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
    std::optional<qx::test::ScopedEnv> tmp;
    if (std::filesystem::is_directory("/dev/shm")) tmp.emplace("TMPDIR", "/dev/shm");
    const qx::test::TempDir dir;
    qx::test::WriteBytes(dir.path() / "old.txt", "x");
    const std::wstring file = dir.Wide("old.txt");
    const std::int64_t in1897 = -2'300'000'000;
    ASSERT_TRUE(qx::SetFileTimes(file, std::nullopt, FileTimeFromUnix(0), FileTimeFromUnix(in1897)));
    if (qx::UnixSecondsOf(qx::GetFileStatus(file)->lastWriteTime) != in1897)
        GTEST_SKIP() << "the file system of " << dir.path() << " cannot hold a time in 1897";

    CTime time;
    EXPECT_THROW(GetFileTime(file.c_str(), eLastWriteTime, time), CInvalidArgException);
    ASSERT_EQ(GetFileTime(file.c_str(), eLastAccessTime, time), 1);
    EXPECT_EQ(time.GetTime(), 0);
}

}  // namespace
