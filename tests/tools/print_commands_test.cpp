// qxtool print on the example report, and its command-line errors.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/test_support.h"
#include "tests/tools/run_tool.h"

namespace {

using qx::test::PdfPageCount;
using qx::test::ReadBytes;
using qx::test::RunTool;

const std::string kReport = std::string(QX_EXAMPLES_DIR) + "/report/";

TEST(PrintCommandsTest, PrintsTheExampleAsPdfPngAndText) {
    const qx::test::TempDir dir;
    const auto r = RunTool({"print", kReport + "parts_list.prx", kReport + "parts_list_data.txt", "--pdf",
                            dir.Native("report.pdf"), "--png", dir.Native("pages"), "--text",
                            dir.Native("report.txt")});
    ASSERT_EQ(r.exitCode, 0) << r.out;
    const int pages = std::stoi(r.out);
    EXPECT_GE(pages, 4);
    EXPECT_EQ(r.out, std::to_string(pages) + " pages\n");
    EXPECT_EQ(PdfPageCount(ReadBytes(dir.path() / "report.pdf")), pages);
    for (int page = 1; page <= pages; ++page) {
        const auto png = dir.path() / "pages" / ("page-00" + std::to_string(page) + ".png");
        EXPECT_EQ(ReadBytes(png).substr(1, 3), "PNG") << png;
    }
    const std::string text = ReadBytes(dir.path() / "report.txt");
    EXPECT_NE(text.find("Baugruppe 2 \xE2\x80\x93 Heizkreis Obergeschoss"), std::string::npos);
    EXPECT_NE(text.find("Seite 1"), std::string::npos);
    EXPECT_NE(text.find("Gesamtsumme: 113.964,20 EUR"), std::string::npos);
}

// A layout of one flowing section with the given header height, a part per
// record showing its "I" and a footer of 100; and data of three records.
class PrintJobTest : public ::testing::Test {
protected:
    std::string Layout(const std::string& name, int headerHeight, const std::string& object) const {
        const std::string text =
            "VER(2.0)\r\nDOC(2100,0)\r\nPAG(S,1)\r\nFRM(Head," + std::to_string(headerHeight) +
            ",0,0)\r\nFRM(Item,100,0,0)\r\n" + object + "\r\nFRM(ItemEnd,0,0,0)\r\nFRM(Foot,100,0,0)\r\n";
        return Write(name, text);
    }
    std::string Data() const {
        return Write("data.txt", "[Data]\r\n\t[Record]\r\n\t\t[Row]\r\n\t\t\tI:one\r\n\t\t[ENDE_Row]\r\n"
                                 "\t\t[Row]\r\n\t\t\tI:two\r\n\t\t[ENDE_Row]\r\n\t[ENDE_Record]\r\n[ENDE_Data]\r\n");
    }
    std::string Write(const std::string& name, const std::string& text) const {
        qx::test::WriteBytes(dir_.path() / name, text);
        return dir_.Native(name);
    }

    static constexpr const char* kRow = "OBJ(0,Zeile %s,Arial,10,0,0,0,0,0,0,1000,100,0,0,2,0,0,0,0,0,0,I,0,0,0,255,255,255)";
    qx::test::TempDir dir_;
};

TEST_F(PrintJobTest, PageOffsetNumbersTheTextWhenNoPageIsDrawn) {
    const std::string layout = Layout(
        "layout.msk", 100, std::string(kRow) +
                 "\r\nOBJ(0,Seite %s,Arial,10,0,0,0,0,0,0,1000,50,0,0,2,0,0,0,0,0,0,PAGE,0,0,0,255,255,255)");
    const auto r = RunTool({"print", layout, Data(), "--text", dir_.Native("out.txt"), "--page-offset", "10"});
    ASSERT_EQ(r.exitCode, 0) << r.out;
    const std::string text = ReadBytes(dir_.path() / "out.txt");
    EXPECT_NE(text.find("Seite 11"), std::string::npos) << text;
}

// A job that cannot be composed or read is a failure with a message, never
// an abort and never "0 pages".
TEST_F(PrintJobTest, FailedJobsExitWithAMessage) {
    struct Case {
        const char* name;
        std::string layout;
        const char* message;
    };
    const Case cases[] = {
        {"object record of 27 fields",
         Layout("short.msk", 100, "OBJ(0,x,Arial,10,0,0,0,0,0,0,1000,100,0,0,2,0,0,0,0,0,0,I,0,0,0,255,255)"), "Invalid argument"},
        {"header and footer leave no room", Layout("tall.msk", 2900, kRow), "\"Item\" (level 1, "},
        {"version below 2.0", Write("old.msk", "VER(1.0)\r\nPAG(S,0)\r\n" + std::string(kRow) + "\r\n"),
         "version is below 2.0"},
        {"no section", Write("none.msk", "VER(2.0)\r\n" + std::string(kRow) + "\r\n"), "no page section"},
        {"no printable record", Write("empty.msk", "VER(2.0)\r\nPAG(S,0)\r\n"), "makes no page"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto r = RunTool({"print", c.layout, Data(), "--text", dir_.Native("out.txt")});
        EXPECT_EQ(r.exitCode, 1) << r.out;
        EXPECT_NE(r.out.find(c.message), std::string::npos) << r.out;
        EXPECT_EQ(r.out.find("pages"), std::string::npos) << r.out;
    }
}

TEST(PrintCommandsTest, CommandLineErrors) {
    const qx::test::TempDir dir;
    struct Case {
        const char* name;
        std::vector<std::string> args;
        int exitCode;
    };
    const Case cases[] = {
        {"no output asked for", {"print", kReport + "parts_list.msk", kReport + "parts_list_data.txt"}, 2},
        {"no data", {"print", kReport + "parts_list.msk", "--pdf", dir.Native("x.pdf")}, 2},
        {"unknown paper", {"print", kReport + "parts_list.msk", kReport + "parts_list_data.txt", "--pdf",
                           dir.Native("x.pdf"), "--paper", "a3"}, 2},
        {"missing layout", {"print", dir.Native("none.msk"), kReport + "parts_list_data.txt", "--text",
                            dir.Native("x.txt")}, 1},
        {"data is no tree", {"print", kReport + "parts_list.msk", kReport + "logo.png", "--text",
                             dir.Native("x.txt")}, 1},
        {"copies without a printer", {"print", kReport + "parts_list.msk", kReport + "parts_list_data.txt", "--pdf",
                                      dir.Native("x.pdf"), "--copies", "2"}, 2},
        {"no copies", {"print", kReport + "parts_list.msk", kReport + "parts_list_data.txt", "--printer", "Q",
                       "--copies", "0"}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RunTool(c.args).exitCode, c.exitCode);
    }
}

}  // namespace
