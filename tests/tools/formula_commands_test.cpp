// qxtool formula, run as a user would.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/tools/run_tool.h"

namespace {

using qx::test::RunTool;
using qx::test::ToolResult;

size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

TEST(FormulaCommandsTest, CommandLines) {
    struct Case {
        const char* name;
        std::vector<std::string> args;
        int exitCode;
        std::string out;  // the whole output
    } cases[] = {
        {"shortest form", {"formula", "2*(3,5+1)"}, 0, "9\n"},
        {"fraction", {"formula", "1/3"}, 0, "0.3333333333333333\n"},
        {"hexadecimal", {"formula", "0x10"}, 0, "16\n"},
        {"macros", {"formula", "--define", "A=2*B", "--define", "B=3", "A+1"}, 0, "7\n"},
        {"formula beginning with a minus", {"formula", "-2^2"}, 0, "4\n"},
        {"formula after --", {"formula", "--define", "B=2", "--", "--B"}, 0, "2\n"},
        {"syntax error once", {"formula", "3;4"}, 1, "qxtool formula: Syntaxfehler\nin Zeile: 1\n3;4\n"},
        {"division by zero", {"formula", "1/0"}, 1, "qxtool formula: Division durch 0\nin Zeile: 1\n1/0\n"},
        {"self-referring macro", {"formula", "--define", "A=A+1", "A"}, 1,
         "qxtool formula: Syntaxfehler\nin Zeile: 1\nA\n"},
        {"empty formula", {"formula", " "}, 1, "qxtool formula: the formula is empty\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ToolResult r = RunTool(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_EQ(r.out, c.out);
    }
}

TEST(FormulaCommandsTest, UsageErrors) {
    struct Case {
        const char* name;
        std::vector<std::string> args;
        std::string outContains;
    } cases[] = {
        {"no formula", {"formula"}, "expects exactly one formula"},
        {"two formulas", {"formula", "1", "2"}, "expects exactly one formula"},
        {"definition without name", {"formula", "--define", "=3", "1"}, "--define takes NAME=TEXT"},
        {"definition without equals sign", {"formula", "--define", "A", "1"}, "--define takes NAME=TEXT"},
        {"unknown option", {"formula", "--frob", "1"}, "unknown option --frob"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ToolResult r = RunTool(c.args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(Count(r.out, c.outContains), 1u) << r.out;
    }
}

}  // namespace
