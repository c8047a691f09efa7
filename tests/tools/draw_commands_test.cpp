// qxtool draw-test, run as a user would.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/test_support.h"
#include "tests/tools/run_tool.h"

namespace {

using qx::test::RunTool;
using qx::test::ToolResult;

std::uint32_t BigEndian(const std::string& bytes, size_t at) {
    std::uint32_t value = 0;
    for (size_t k = 0; k < 4; ++k) value = (value << 8) | static_cast<unsigned char>(bytes.at(at + k));
    return value;
}

TEST(DrawCommandsTest, DrawsTheCardAsAnA4ImageAtTheGivenResolution) {
    const qx::test::TempDir dir;
    const ToolResult r = RunTool({"draw-test", dir.Native("card.PNG"), "--dpi", "50"});
    ASSERT_EQ(r.exitCode, 0) << r.out;
    EXPECT_EQ(r.out, "");
    const std::string png = qx::test::ReadBytes(dir.path() / "card.PNG");
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    // 210 x 297 mm at 50 dots per inch.
    EXPECT_EQ(BigEndian(png, 16), 413u);
    EXPECT_EQ(BigEndian(png, 20), 585u);
}

TEST(DrawCommandsTest, PrintsTheCardAsAOnePagePdf) {
    const qx::test::TempDir dir;
    const ToolResult r = RunTool({"draw-test", dir.Native("card.pdf")});
    ASSERT_EQ(r.exitCode, 0) << r.out;
    const std::string pdf = qx::test::ReadBytes(dir.path() / "card.pdf");
    EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
    EXPECT_NE(pdf.find("/Count 1"), std::string::npos);
}

TEST(DrawCommandsTest, RejectsWrongCommandLines) {
    const qx::test::TempDir dir;
    const std::string usage = "usage: qxtool draw-test OUT.png|OUT.pdf [--dpi N]\n";
    struct Case {
        const char* name;
        std::vector<std::string> args;
        int exitCode;
        std::string out;
    } const cases[] = {
        {"no output", {"draw-test"}, 2, "qxtool draw-test: expects one output file\n" + usage},
        {"other format", {"draw-test", dir.Native("x.jpg")}, 2,
         "qxtool draw-test: the output file must end in .png or .pdf\n" + usage},
        {"resolution out of range", {"draw-test", dir.Native("x.png"), "--dpi", "5"}, 2,
         "qxtool draw-test: --dpi needs a whole number from 10 to 1200\n" + usage},
        {"resolution not a number", {"draw-test", dir.Native("x.png"), "--dpi", "96x"}, 2,
         "qxtool draw-test: --dpi needs a whole number from 10 to 1200\n" + usage},
        {"resolution for a pdf", {"draw-test", dir.Native("x.pdf"), "--dpi", "96"}, 2,
         "qxtool draw-test: --dpi applies to PNG output only\n" + usage},
        {"folder missing", {"draw-test", dir.Native("none/x.png"), "--dpi", "10"}, 1,
         "qxtool draw-test: cannot write " + dir.Native("none/x.png") + "\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ToolResult r = RunTool(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.out;
        EXPECT_EQ(r.out, c.out);
    }
}

}  // namespace
