// The layout scrambling commands of qxtool, run as a user would.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qx/print/layout_reader.h"
#include "qx/print/page_geometry.h"
#include "tests/support/test_support.h"
#include "tests/tools/run_tool.h"

namespace {

using qx::test::ReadBytes;
using qx::test::RunTool;
using qx::test::WriteBytes;

TEST(MaskCommandsTest, ScrambledLayoutsLoadAndUnscrambleBack) {
    const qx::test::TempDir dir;
    const std::string plain =
        "VER(2.0)\r\nPAG(Main,0)\r\n"
        "OBJ(0,Gr\xFC\xDF" "e,Arial,10,0,0,0,0,0,0,100,20,0,0,2,0,0,0,0,0,0,STATIC,0,0,0,255,255,255)\r\n";
    WriteBytes(dir.path() / "plain.txt", plain);

    const auto scramble = RunTool({"mask", "scramble", dir.Native("plain.txt"), dir.Native("layout.prx")});
    ASSERT_EQ(scramble.exitCode, 0) << scramble.out;
    EXPECT_NE(ReadBytes(dir.path() / "layout.prx").substr(0, 2), "\xFF\xFE") << "ASCII moved by 1 to 3 fits 1252";

    qx::LayoutFile file;
    ASSERT_TRUE(file.Set(dir.Wide("layout.prx")));
    qx::LayoutState state;
    qx::LoadSection(state, file, 0);
    ASSERT_EQ(state.parts.size(), 1u);
    ASSERT_EQ(state.parts[0].objects.size(), 1u);
    EXPECT_EQ(state.parts[0].objects[0]->text, L"Gr\u00FC\u00DFe");
    qx::ResetPageGeometry();

    const auto unscramble = RunTool({"mask", "unscramble", dir.Native("layout.prx"), dir.Native("back.txt")});
    ASSERT_EQ(unscramble.exitCode, 0) << unscramble.out;
    EXPECT_EQ(ReadBytes(dir.path() / "back.txt"), plain);
}

TEST(MaskCommandsTest, TextBeyondCodePage1252IsWrittenAsUtf16) {
    const qx::test::TempDir dir;
    // "}" moves to U+007E..U+0080; U+0080 does not survive code page 1252.
    WriteBytes(dir.path() / "plain.txt", std::string("\xFF\xFE}\0}\0}\0}\0}\0}\0\r\0\n\0", 16));
    ASSERT_EQ(RunTool({"mask", "scramble", dir.Native("plain.txt"), dir.Native("out.prx")}).exitCode, 0);
    EXPECT_EQ(ReadBytes(dir.path() / "out.prx").substr(0, 2), "\xFF\xFE");
    ASSERT_EQ(RunTool({"mask", "unscramble", dir.Native("out.prx"), dir.Native("back.txt")}).exitCode, 0);
    EXPECT_EQ(ReadBytes(dir.path() / "back.txt"), "}}}}}}\r\n");
}

TEST(MaskCommandsTest, Failures) {
    const qx::test::TempDir dir;
    // Characters that scramble into a line feed cannot be stored in a line.
    WriteBytes(dir.path() / "control.txt", std::string("\x07\x07\x07\x07\x07\x07\x07\x07\r\n"));
    struct Case {
        const char* name;
        std::vector<std::string> args;
        int exitCode;
    } const cases[] = {
        {"missing input", {"mask", "scramble", dir.Native("none.txt"), dir.Native("out.prx")}, 1},
        {"a line end in the result", {"mask", "scramble", dir.Native("control.txt"), dir.Native("out.prx")}, 1},
        {"one argument", {"mask", "unscramble", dir.Native("none.txt")}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto result = RunTool(c.args);
        EXPECT_EQ(result.exitCode, c.exitCode) << result.out;
    }
}

}  // namespace
