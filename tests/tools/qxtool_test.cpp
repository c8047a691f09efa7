// Runs the qxtool program as a user would and checks exit codes and output.
#include <gtest/gtest.h>

#include "tests/tools/run_tool.h"

#include <string>
#include <vector>

namespace {

using qx::test::RunTool;
using qx::test::ToolResult;

TEST(QxtoolTest, CommandLines) {
    struct Case {
        const char* name;
        std::vector<std::string> args;
        int exitCode;
        std::string outContains;
    } cases[] = {
        {"help", {"--help"}, 0, "usage: qxtool COMMAND"},
        {"help lists commands", {"--help"}, 0, "pack"},
        {"version", {"--version"}, 0, "qxtool 1."},
        {"no arguments is a usage error", {}, 2, "usage: qxtool COMMAND"},
        {"unknown command", {"frobnicate"}, 2, "unknown command 'frobnicate'"},
        {"command help", {"pack", "--help"}, 0, "usage: qxtool pack"},
        {"help for a command", {"help", "unpack"}, 0, "usage: qxtool unpack"},
        {"pack", {"pack", "a", "b:c", "x\ny"}, 0, "a:b\xC2\xAE" "c:x&ny\n"},
        {"pack with separator", {"pack", "--sep", ";", "1:2", "3"}, 0, "1\xC2\xAE" "2;3\n"},
        {"pack with separator text", {"pack", "--sep-text", "--", "a", "b"}, 0, "a--b\n"},
        {"bad separator", {"pack", "--sep", "ab", "x"}, 2, "exactly one character"},
        {"missing option value", {"pack", "--sep"}, 2, "--sep needs a value"},
        {"unknown option", {"pack", "--frob", "x"}, 2, "unknown option --frob"},
        {"unpack", {"unpack", "a:b\xC2\xAE" "c:&r&n"}, 0, "a\nb:c\n\r\n\n"},
        {"unpack stops at the line end", {"unpack", "a:b\r\nc:d"}, 0, "a\nb\n"},
        {"unpack U+2248", {"unpack", "\xE2\x89\x88" "12,5"}, 0, "12,5\n"},
        {"unpack needs one text", {"unpack", "a", "b"}, 2, "exactly one packed text"},
        {"a family alone lists its members", {"tree"}, 2, "tree convert"},
        {"a family's help lists its members", {"reg", "--help"}, 0, "reg import"},
        {"an unknown member of a family", {"tree", "frob"}, 2, "unknown command 'tree frob'"},
        {"the manual page", {"--man-page"}, 0, ".B tree cat"},
        {"the bash completion", {"--bash-completion"}, 0, "complete -o filenames -F _qxtool qxtool"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ToolResult r = RunTool(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.out;
        EXPECT_NE(r.out.find(c.outContains), std::string::npos) << r.out;
    }
}

}  // namespace
