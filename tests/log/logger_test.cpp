#include "qx/log/logger.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "qx/platform/os/last_error.h"
#include "qx/platform/os/locked_append_file.h"
#include "qx/platform/os/process_info.h"
#include "qx/tree/node.h"
#include "tests/support/fixtures.h"

namespace qx::test {
namespace {

namespace fs = std::filesystem;

constexpr char kHeader[] = "Group;Message;Current File;Source File;Line;Time\r\n";

// 2026-03-07 12:00:00.123 UTC (the same day in every time zone). The time
// field ends in the 32-bit tick count modulo 1000, not in the clock's 123.
constexpr std::int64_t kNow = 1772884800123;
constexpr int kTickMilliseconds = static_cast<int>(static_cast<std::uint32_t>(kNow) % 1000);

class LoggerTest : public DriveFolderTest {
protected:
    LoggerTest() {
        SetClockForTesting([] { return kNow; });
        Logger().Stop();
        Logger().SetCurrentFile(L"");
        Logger().SetLogDir(L"C:\\logs");
    }
    ~LoggerTest() override {
        Logger().Stop();
        Logger().SetLogDir(L"");
        SetClockForTesting(nullptr);
    }

    static CLogger& Logger() { return CLogger::GetInstance(); }

    std::string LogName() const {
        const CalendarTime today = LocalTime();
        return "logs/Log_" + std::to_string(today.year) + "." + std::to_string(today.month) + "." +
               std::to_string(today.day) + ".csv";
    }
    std::string TimeField() const {
        const CalendarTime now = LocalTime();
        char text[32];
        std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", now.hour, now.minute, now.second, kTickMilliseconds);
        return text;
    }
    std::string Log() const { return ReadBytes(Native(LogName())); }
};

TEST_F(LoggerTest, FileNameHeaderAndRecords) {
    EXPECT_EQ(LogName().substr(0, 17), "logs/Log_2026.3.7") << "no leading zeros";
    ASSERT_EQ(Logger().Start(), 1);
    EXPECT_EQ(Logger().IsStarted(), 1);
    Logger().SetCurrentFile(L"C:\\docs\\plan.qxp");
    Logger().Write(L"Calc", L"%d rooms in %s", 3, L"Haus");
    Logger().Write(L"Io", "reader.cpp", 42, L"done");
    Logger().Write(L"Text", L"Gr\u00f6\u00dfe \u20ac");
    EXPECT_EQ(Log(), std::string(kHeader) + "Calc;3 rooms in Haus;C:\\docs\\plan.qxp;;;" + TimeField() + "\r\n" +
                         "Io;done;C:\\docs\\plan.qxp;reader.cpp;42;" + TimeField() + "\r\n" +
                         "Text;Gr\xF6\xDF" "e \x80;C:\\docs\\plan.qxp;;;" + TimeField() + "\r\n");
}

TEST_F(LoggerTest, StartTwiceAndAppendWriteOneHeader) {
    ASSERT_EQ(Logger().Start(), 1);
    ASSERT_EQ(Logger().Start(), 1);
    Logger().Write(L"A", L"first");
    Logger().Stop();
    EXPECT_EQ(Logger().IsStarted(), 0);
    ASSERT_EQ(Logger().Start(), 1);
    Logger().Write(L"B", L"second");
    const std::string log = Log();
    EXPECT_EQ(log.find(kHeader), 0u);
    EXPECT_EQ(log.find(kHeader, 1), std::string::npos);
    EXPECT_NE(log.find("A;first;"), std::string::npos);
    EXPECT_GT(log.find("B;second;"), log.find("A;first;"));
}

TEST_F(LoggerTest, TimeFieldFollowsTheClockAcrossSeconds) {
    struct Case {
        const char* name;
        std::int64_t now;
        const char* clockPart;  // hh:mm:ss, in UTC
    };
    const Case cases[] = {
        {"start", kNow, ":00:00."},
        {"last millisecond of the second", kNow + 876, ":00:00."},
        {"next second", kNow + 877, ":00:01."},
        {"clock goes back", kNow - 1000, "11:59:59."},
        {"next minute", kNow + 60'000, ":01:00."},
    };
    const ScopedEnv utc("TZ", "UTC");
    ASSERT_EQ(Logger().Start(), 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetClockForTesting([&c] { return c.now; });
        Logger().Write(L"T", L"x");
        const std::string log = Log();
        const std::string last = log.substr(log.rfind(';') + 1);
        char milliseconds[8];
        std::snprintf(milliseconds, sizeof milliseconds, "%03u", static_cast<std::uint32_t>(c.now) % 1000);
        EXPECT_NE(last.find(c.clockPart), std::string::npos) << last;
        EXPECT_EQ(last.substr(last.size() - 5), std::string(milliseconds) + "\r\n");
    }
}

TEST_F(LoggerTest, NothingIsWrittenBeforeStart) {
    Logger().Write(L"A", L"lost");
    Logger().Write(L"A", "x.cpp", 1, L"lost");
    EXPECT_FALSE(fs::exists(Native("logs")));
}

TEST_F(LoggerTest, StartFailures) {
    Logger().SetLogDir(L"C:\\missing\\logs");
    EXPECT_EQ(Logger().Start(), 0) << "only one folder level is created";
    Write("file", "");
    Logger().SetLogDir(L"C:\\file");
    EXPECT_EQ(Logger().Start(), 0);
    EXPECT_EQ(Logger().IsStarted(), 0);
}

TEST_F(LoggerTest, OthersMayReadButNotWrite) {
    ASSERT_EQ(Logger().Start(), 1);
    const std::wstring path = L"C:\\" + fs::path(LogName()).wstring();
    EXPECT_EQ(LockedAppendFile::Open(path, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), kErrorSharingViolation);
    Logger().Write(L"A", L"visible");
    EXPECT_NE(Log().find("A;visible;"), std::string::npos) << "flushed after the record";
    Logger().Stop();
    EXPECT_NE(LockedAppendFile::Open(path, nullptr), nullptr);
}

TEST(CleanLogMessageTest, KeepsARecordOnOneLineAndInOneField) {
    struct Case {
        const wchar_t* in;
        const wchar_t* out;
    };
    const Case cases[] = {
        {L"a;b\r\nc", L"a,b||c"},
        {L"a\rb", L"a\rb"},
        {L"a\rb\n", L"a|b|"},
        {L"-5", L" -5"},
        {L"5-", L"5-"},
        {L"", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << fs::path(c.in).string());
        EXPECT_EQ(CleanLogMessage(c.in), c.out);
    }
}

TEST_F(LoggerTest, GroupAndCurrentFileAreNotCleaned) {
    ASSERT_EQ(Logger().Start(), 1);
    Logger().SetCurrentFile(L"a;b");
    Logger().Write(L"g;h", L"-x;y");
    EXPECT_NE(Log().find("g;h; -x,y;a;b;;;"), std::string::npos);
}

TEST_F(LoggerTest, StartupRecord) {
    struct Case {
        const char* name;
        double version;  // 0: no version leaf
        bool writeFile;
        const char* message;
    };
    const Case cases[] = {
        {"version 2.5", 2.5, true, "Version X (2.50)"},
        {"no version", 0, true, ""},
        {"no file", 0, false, ""},
    };
    ASSERT_EQ(Logger().Start(), 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(Native("version.txt"));
        if (c.writeFile) {
            CNode root(L"Versions");
            root.AddChild(L"Old")->AddLeaf(L"Name", L"Y");
            CNode* last = root.AddChild(L"Current");
            last->AddLeaf(L"Name", L"X");
            if (c.version != 0) last->AddLeaf(L"InternalVersion", c.version);
            ASSERT_TRUE(root.WriteToFile(L"C:\\version.txt"));
        }
        Logger().WriteStartup(L"C:\\version.txt");
        const std::string log = Log();
        const std::string expected = std::string("Start;") + c.message + ";;;;" + TimeField() + "\r\n";
        EXPECT_EQ(log.substr(log.size() - expected.size()), expected);
    }
}

TEST_F(LoggerTest, PurgeKeepsWholeDaysAndDeletesOlder) {
    struct Case {
        const char* file;
        double ageInDays;
        bool kept;
    };
    const Case cases[] = {
        {"logs/recent.csv", 7.9, true},
        {"logs/old.csv", 8.0, false},
        {"logs/OLDER.CSV", 30, false},
        {"logs/old.txt", 30, true},  // only .csv files
    };
    const auto now = fs::file_time_type::clock::now();
    for (const Case& c : cases) {
        Write(c.file, "x");
        const auto age = std::chrono::duration_cast<fs::file_time_type::duration>(
            std::chrono::duration<double, std::ratio<86400>>(c.ageInDays));
        fs::last_write_time(Native(c.file), now - age);
    }
    Logger().PurgeLogFiles(7);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        EXPECT_EQ(fs::exists(Native(c.file)), c.kept);
    }
}

}  // namespace
}  // namespace qx::test
