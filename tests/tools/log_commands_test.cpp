// The log commands of qxtool, run as a user would.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "tests/support/test_support.h"
#include "tests/tools/run_tool.h"

namespace {

namespace fs = std::filesystem;
using qx::test::RunTool;
using qx::test::ToolResult;

TEST(LogCommandsTest, WriteAppendsToTodaysLog) {
    const qx::test::TempDir dir;
    ASSERT_EQ(RunTool({"log", "write", dir.Native("logs"), "Calc", "a;b"}).exitCode, 0);
    ASSERT_EQ(RunTool({"log", "write", dir.Native("logs"), "Calc", "-1"}).exitCode, 0);
    std::string log;
    for (const auto& entry : fs::directory_iterator(dir.path() / "logs")) {
        EXPECT_EQ(entry.path().filename().string().rfind("Log_", 0), 0u);
        log = qx::test::ReadBytes(entry.path());
    }
    EXPECT_EQ(log.find("Group;Message;Current File;Source File;Line;Time\r\nCalc;a,b;;;;"), 0u) << log;
    EXPECT_NE(log.find("\r\nCalc; -1;;;;"), std::string::npos) << log;
}

TEST(LogCommandsTest, PurgeAndUsage) {
    const qx::test::TempDir dir;
    qx::test::WriteBytes(dir.path() / "old.csv", "x");
    qx::test::WriteBytes(dir.path() / "new.csv", "x");
    fs::last_write_time(dir.path() / "old.csv", fs::file_time_type::clock::now() - std::chrono::hours(24 * 9));
    const ToolResult purge = RunTool({"log", "purge", dir.Native(""), "8"});
    EXPECT_EQ(purge.exitCode, 0) << purge.out;
    EXPECT_FALSE(fs::exists(dir.path() / "old.csv"));
    EXPECT_TRUE(fs::exists(dir.path() / "new.csv"));

    struct Case {
        const char* name;
        std::vector<std::string> args;
        int exitCode;
    } const cases[] = {
        {"days not a number", {"log", "purge", dir.Native(""), "seven"}, 2},
        {"negative days", {"log", "purge", dir.Native(""), "-1"}, 2},
        {"write without message", {"log", "write", dir.Native(""), "G"}, 2},
        {"write into a missing folder tree", {"log", "write", dir.Native("a/b/c"), "G", "m"}, 1},
        {"purge of a file", {"log", "purge", dir.Native("new.csv"), "1"}, 1},
        {"purge of a missing folder", {"log", "purge", dir.Native("missing"), "1"}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ToolResult r = RunTool(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.out;
        EXPECT_FALSE(r.out.empty()) << "a failure says why";
    }
}

}  // namespace
