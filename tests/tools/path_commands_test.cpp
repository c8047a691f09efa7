// The path and find commands of qxtool, run as a user would.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/test_support.h"
#include "tests/tools/run_tool.h"

namespace {

using qx::test::RunTool;
using qx::test::ToolResult;

TEST(PathCommandsTest, PrintTheAlgebrasResults) {
    struct Case {
        const char* name;
        std::vector<std::string> args;
        int exitCode;
        std::string out;  // the whole output
    } const cases[] = {
        {"join", {"path", "join", "C:\\data", "x.txt"}, 0, "C:\\data\\x.txt\n"},
        {"join separators", {"path", "join", "C:\\data\\", "\\x.txt"}, 0, "C:\\data\\x.txt\n"},
        {"rel", {"path", "rel", "C:\\x\\q", "C:\\x\\y\\z"}, 0, "..\\..\\q\n"},
        {"rel of itself", {"path", "rel", "C:\\x", "c:\\X"}, 0, "\n"},
        {"rel without a relative form", {"path", "rel", "D:\\x", "C:\\x"}, 0, "D:\\x\n"},
        {"normalize", {"path", "normalize", "C:/a//b/../c/"}, 0, "C:\\a\\c\n"},
        {"normalize non-ASCII", {"path", "normalize", "C:\\Gr\xC3\xBC\xC3\x9F" "e\\.\\x"}, 0,
         "C:\\Gr\xC3\xBC\xC3\x9F" "e\\x\n"},
        {"clean", {"path", "clean", "C:\\a\\\\b\\..\\c"}, 0, "C:\\a\\c\n"},
        {"join needs two", {"path", "join", "a"}, 2, "qxtool path join: expects two paths\n"
                                                    "usage: qxtool path join LEFT RIGHT\n"},
        {"normalize needs one", {"path", "normalize"}, 2, "qxtool path normalize: expects one path\n"
                                                          "usage: qxtool path normalize PATH\n"},
        {"unknown option", {"path", "clean", "--x", "a"}, 2, "qxtool path clean: unknown option --x\n"
                                                             "usage: qxtool path clean PATH\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ToolResult r = RunTool(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.out;
        EXPECT_EQ(r.out, c.out);
    }
}

TEST(PathCommandsTest, FindListsNamesInSearchOrder) {
    const qx::test::TempDir dir;
    for (const char* name : {"b.csv", "A.csv", "c.txt"}) qx::test::WriteBytes(dir.path() / name, "x");
    std::filesystem::create_directory(dir.path() / "Sub");
    const std::string folder = dir.path().string();
    struct Case {
        const char* name;
        std::vector<std::string> args;
        int exitCode;
        std::string out;
    } const cases[] = {
        {"files", {"find", folder, "*"}, 0, "A.csv\nb.csv\nc.txt\n"},
        {"by pattern", {"find", folder + "/", "*.CSV"}, 0, "A.csv\nb.csv\n"},
        {"folders", {"find", folder, "*", "--dirs"}, 0, ".\n..\nSub\n"},
        {"nothing matches", {"find", folder, "*.doc"}, 0, ""},
        {"missing folder", {"find", folder + "/missing", "*"}, 1,
         "qxtool find: no such folder: " + folder + "/missing\n"},
        {"needs two arguments", {"find", folder}, 2, "qxtool find: expects a folder and a pattern\n"
                                                     "usage: qxtool find FOLDER PATTERN [--dirs]\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ToolResult r = RunTool(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.out;
        EXPECT_EQ(r.out, c.out);
    }
}

}  // namespace
