// qxtool slide list and slide render, run as a user would.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/image/slide_writer.h"
#include "tests/support/test_support.h"
#include "tests/tools/run_tool.h"

namespace {

using qx::test::RunTool;
using qx::test::SlideWriter;
using qx::test::ToolResult;

std::uint32_t BigEndian(const std::string& bytes, size_t at) {
    std::uint32_t value = 0;
    for (size_t k = 0; k < 4; ++k) value = (value << 8) | static_cast<unsigned char>(bytes.at(at + k));
    return value;
}

class SlideCommandsTest : public ::testing::Test {
protected:
    SlideCommandsTest() {
        wide_.Color(1).Vector(0, 0, 200, 50).Color(7).Vector(0, 50, 200, 0).End();
        square_.Color(3).Vector(0, 0, 10, 10).End();
        qx::test::WriteBytes(dir_.path() / "symbols.slb",
                             qx::test::SlideLibrary({{"WIDE", wide_.Bytes()}, {"Ventil-\xC4", square_.Bytes()}}));
        qx::test::WriteBytes(dir_.path() / "wide.sld", wide_.Bytes());
    }

    // Renders and returns the PNG's bytes (empty when the tool failed).
    std::string Render(std::vector<std::string> args) {
        const std::string out = dir_.Native("out.png");
        args.insert(args.begin(), {"slide", "render"});
        args.insert(args.begin() + 3, out);
        const ToolResult r = RunTool(args);
        EXPECT_EQ(r.exitCode, 0) << r.out;
        EXPECT_EQ(r.out, "");
        return r.exitCode == 0 ? qx::test::ReadBytes(out) : std::string();
    }

    qx::test::TempDir dir_;
    SlideWriter wide_{200, 50};
    SlideWriter square_{10, 10};
};

TEST_F(SlideCommandsTest, ListsTheLibraryDirectory) {
    const ToolResult r = RunTool({"slide", "list", dir_.Native("symbols.slb")});
    EXPECT_EQ(r.exitCode, 0) << r.out;
    const size_t first = 32 + 3 * 36;
    EXPECT_EQ(r.out, "WIDE\t" + std::to_string(first) + "\nVentil-\xC3\x84\t" +
                         std::to_string(first + wide_.Bytes().size()) + "\n");
}

TEST_F(SlideCommandsTest, RendersLibrarySlidesAndSingleSlidesAsPng) {
    const std::string byName = Render({dir_.Native("symbols.slb") + "?wide"});
    ASSERT_GT(byName.size(), 24u);
    EXPECT_EQ(byName.substr(1, 3), "PNG");
    EXPECT_EQ(BigEndian(byName, 16), 320u);
    EXPECT_EQ(BigEndian(byName, 20), 240u);
    // The same slide from its own file, found with ".sld" appended.
    EXPECT_EQ(Render({dir_.Native("wide")}), byName);
    // A name in the default code page, matched without regard to case.
    EXPECT_NE(Render({dir_.Native("symbols") + "?VENTIL-\xC3\x84"}), byName);

    const std::string sized = Render({dir_.Native("wide.sld"), "--size", "64x48"});
    EXPECT_EQ(BigEndian(sized, 16), 64u);
    EXPECT_EQ(BigEndian(sized, 20), 48u);
    EXPECT_NE(Render({dir_.Native("wide.sld"), "--size", "64x48", "--stretch"}), sized);
}

TEST_F(SlideCommandsTest, RejectsWrongCommandLinesAndUnreadableSlides) {
    const std::string renderUsage =
        "usage: qxtool slide render LIB.slb?NAME|FILE.sld OUT.png [--size WxH] [--stretch]\n";
    const std::string sizeError =
        "qxtool slide render: --size needs WIDTHxHEIGHT, each from 1 to 8192\n" + renderUsage;
    const std::string out = dir_.Native("x.png");
    const std::string library = dir_.Native("symbols.slb");
    struct Case {
        const char* name;
        std::vector<std::string> args;
        int exitCode;
        std::string out;
    } const cases[] = {
        {"list without a library", {"slide", "list"}, 2,
         "qxtool slide list: expects one slide library\nusage: qxtool slide list LIB.slb\n"},
        {"list of a single slide", {"slide", "list", dir_.Native("wide.sld")}, 1,
         "qxtool slide list: not a readable slide library: " + dir_.Native("wide.sld") + "\n"},
        {"render without output", {"slide", "render", library + "?WIDE"}, 2,
         "qxtool slide render: expects a slide and an output file\n" + renderUsage},
        {"size without a height", {"slide", "render", library + "?WIDE", out, "--size", "64"}, 2, sizeError},
        {"size too small", {"slide", "render", library + "?WIDE", out, "--size", "0x10"}, 2, sizeError},
        {"size too large", {"slide", "render", library + "?WIDE", out, "--size", "9000x10"}, 2, sizeError},
        {"size not a number", {"slide", "render", library + "?WIDE", out, "--size", "-5x10"}, 2, sizeError},
        {"unknown option", {"slide", "render", library + "?WIDE", out, "--fit"}, 2,
         "qxtool slide render: unknown option --fit\n" + renderUsage},
        {"slide not in the library", {"slide", "render", library + "?PUMP", out}, 1,
         "qxtool slide render: cannot read the slide " + library + "?PUMP\n"},
        {"missing file", {"slide", "render", dir_.Native("none.sld"), out}, 1,
         "qxtool slide render: cannot read the slide " + dir_.Native("none.sld") + "\n"},
        {"output folder missing", {"slide", "render", library + "?WIDE", dir_.Native("none/x.png")}, 1,
         "qxtool slide render: cannot write " + dir_.Native("none/x.png") + "\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ToolResult r = RunTool(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.out;
        EXPECT_EQ(r.out, c.out);
    }
}

}  // namespace
