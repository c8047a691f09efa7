// qxtool tree cat / convert / get / set on the shipped examples.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/test_support.h"
#include "tests/tools/run_tool.h"

namespace {

using qx::test::ReadBytes;
using qx::test::RunTool;
using qx::test::TempDir;
using qx::test::WriteBytes;

const std::string kExamples = QX_EXAMPLES_DIR;

TEST(TreeCommandsTest, CatReadsEveryForm) {
    std::string utf8 = RunTool({"tree", "cat", kExamples + "/trees/config_utf8.txt"}).out;
    ASSERT_NE(utf8.find("Länge:mm"), std::string::npos) << utf8;
    for (const char* file : {"config_cp1252.txt", "config_utf16.txt", "config_encoded.txx"}) {
        SCOPED_TRACE(file);
        auto r = RunTool({"tree", "cat", kExamples + "/trees/" + file});
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.out, utf8);
    }
}

TEST(TreeCommandsTest, FailuresAndUsage) {
    TempDir dir;
    WriteBytes(dir.path() / "bad.txt", "[A]\r\n[ENDE_B]\r\n");
    struct Case {
        const char* name;
        std::vector<std::string> args;
        int exitCode;
        std::string contains;
    } cases[] = {
        {"read error", {"tree", "cat", dir.Native("bad.txt")}, 1, "Wrong ending node!"},
        {"missing file", {"tree", "cat", dir.Native("none.txt")}, 1, "cannot read"},
        {"no file", {"tree", "cat"}, 2, "usage"},
        {"bad index", {"tree", "get", dir.Native("bad.txt"), "", "k", "x"}, 2, "INDEX"},
        {"bad code page", {"tree", "convert", "a", "b", "--codepage", "99"}, 2, "--codepage"},
        {"missing value", {"tree", "get", kExamples + "/trees/config_utf8.txt", "", "Nope"}, 1, "no value"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto r = RunTool(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.out;
        EXPECT_NE(r.out.find(c.contains), std::string::npos) << r.out;
    }
}

TEST(TreeCommandsTest, GetAndSetKeepTheFileForm) {
    TempDir dir;
    std::string file = dir.Native("config.txx");
    WriteBytes(file, ReadBytes(kExamples + "/trees/config_encoded.txx"));
    auto got = RunTool({"tree", "get", file, "Fenster\\", "Position", "3"});
    EXPECT_EQ(got.exitCode, 0);
    EXPECT_EQ(got.out, "800\n");
    EXPECT_EQ(RunTool({"tree", "set", file, "Fenster\\", "Position", "3", "1024"}).exitCode, 0);
    EXPECT_EQ(RunTool({"tree", "get", file, "Fenster\\", "Position", "3"}).out, "1024\n");
    // Still encoded: the plain text is not in the file.
    EXPECT_EQ(ReadBytes(file).find("Fenster"), std::string::npos);
    EXPECT_EQ(RunTool({"tree", "set", file, "NoBackslash", "k", "1", "v"}).exitCode, 1);
}

TEST(TreeCommandsTest, VdiSurvivesConversionToTextAndBack) {
    TempDir dir;
    std::string vdi = kExamples + "/vdi/muster_heizkoerper.vdi";
    ASSERT_EQ(RunTool({"tree", "convert", vdi, dir.Native("y.txt")}).exitCode, 0);
    auto back = RunTool({"tree", "convert", dir.Native("y.txt"), dir.Native("z.vdi")});
    ASSERT_EQ(back.exitCode, 0) << back.out;
    EXPECT_EQ(ReadBytes(dir.path() / "z.vdi"), ReadBytes(vdi));
}

}  // namespace
