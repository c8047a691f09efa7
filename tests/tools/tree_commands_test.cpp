// qxtool tree cat / convert / get / set on the shipped examples.
#include <gtest/gtest.h>

#include <filesystem>
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

const std::string kVdiData = std::string(QX_TEST_DATA_DIR) + "/vdi/";
const char* const kCatalogues[] = {"part3_valves.vdi", "part20_pipes.vdi", "part22_heat_pumps.vdi"};

TEST(TreeCommandsTest, VdiImportThatStopsFailsTheCommand) {
    TempDir dir;
    WriteBytes(dir.path() / "orphan.vdi",
               "010;3;\r\n100;1;\r\n110;1;\r\n700;a;\r\n710.01;b;\r\n700;c;\r\n710.11;d;\r\n");
    WriteBytes(dir.path() / "long.vdi", "010;3;\r\n9" + std::string(99, 'A') + ";x;\r\n");
    WriteBytes(dir.path() / "spaced.vdi", "010;3;\r\n900;a;\r\n740 x;y;\r\n");
    WriteBytes(dir.path() / "plain.vdi", "[A]\r\n[ENDE_A]\r\n");
    const std::string out = dir.Native("out.vdi");
    struct Case {
        const char* name;
        std::vector<std::string> args;
        std::string contains;
    } cases[] = {
        {"a type outside the table", {"tree", "cat", kVdiData + "part22_heat_pumps.vdi"},
         "import stopped at line 6: record type 710.09 is outside the placement table of part 22 "
         "(--keep-unknown keeps such records)"},
        {"a record without its parent", {"tree", "convert", dir.Native("orphan.vdi"), out},
         "import stopped at line 7: record type 710.11 has no record 710.01 to go below"},
        {"a type with a space is not kept", {"tree", "convert", "--keep-unknown", dir.Native("spaced.vdi"), out},
         "import stopped at line 3: record type 740 x cannot be kept (it holds a space or ends in a backslash)"},
        {"the type shortened", {"tree", "cat", dir.Native("long.vdi")},
         "record type 9" + std::string(36, 'A') + "... is outside"},
        {"not a VDI file", {"tree", "convert", dir.Native("plain.vdi"), out}, "not a VDI file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto r = RunTool(c.args);
        EXPECT_EQ(r.exitCode, 1) << r.out;
        EXPECT_NE(r.out.find(c.contains), std::string::npos) << r.out;
        EXPECT_EQ(r.out.find("Unknown VDI-Node"), std::string::npos) << r.out;
        EXPECT_FALSE(std::filesystem::exists(out));
    }
}

TEST(TreeCommandsTest, KeepUnknownReadsModernCataloguesWhole) {
    TempDir dir;
    for (const char* catalogue : kCatalogues) {
        SCOPED_TRACE(catalogue);
        const std::string in = kVdiData + catalogue;
        auto direct = RunTool({"tree", "convert", "--keep-unknown", in, dir.Native("direct.vdi")});
        ASSERT_EQ(direct.exitCode, 0) << direct.out;
        EXPECT_EQ(ReadBytes(dir.path() / "direct.vdi"), ReadBytes(in));
        // Through the tree text form and back: colons and real registered
        // signs stay apart in code page 1252 too.
        ASSERT_EQ(RunTool({"tree", "convert", in, dir.Native("tree.txt"), "--keep-unknown"}).exitCode, 0);
        auto back = RunTool({"tree", "convert", dir.Native("tree.txt"), dir.Native("back.vdi")});
        ASSERT_EQ(back.exitCode, 0) << back.out;
        EXPECT_EQ(ReadBytes(dir.path() / "back.vdi"), ReadBytes(in));
    }
    auto cat = RunTool({"tree", "cat", "--keep-unknown", kVdiData + "part3_valves.vdi"});
    EXPECT_EQ(cat.exitCode, 0);
    EXPECT_NE(cat.out.find("[GRUPPE 740]"), std::string::npos) << cat.out;
}

TEST(TreeCommandsTest, SetWritesAVdiFileBackWholeOrNotAtAll) {
    TempDir dir;
    const std::string file = dir.Native("valves.vdi");
    const std::string original = ReadBytes(kVdiData + "part3_valves.vdi");
    WriteBytes(file, original);
    const std::vector<std::string> set = {"tree", "set", file, "GRUPPE 100\\100\\", "<>", "2", "Neue Armaturen GmbH"};
    EXPECT_EQ(RunTool(set).exitCode, 1);
    EXPECT_EQ(ReadBytes(file), original);

    std::vector<std::string> keep = set;
    keep.push_back("--keep-unknown");
    auto r = RunTool(keep);
    ASSERT_EQ(r.exitCode, 0) << r.out;
    std::string expected = original;
    const std::string maker = "Muster Armaturen GmbH;Ventilweg";
    expected.replace(expected.find(maker), maker.size(), "Neue Armaturen GmbH;Ventilweg");
    EXPECT_EQ(ReadBytes(file), expected);
}

}  // namespace
