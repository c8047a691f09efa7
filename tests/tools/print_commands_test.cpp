// qxtool print on the example report, and its command-line errors.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/test_support.h"
#include "tests/tools/run_tool.h"

namespace {

using qx::test::ReadBytes;
using qx::test::RunTool;

const std::string kReport = std::string(QX_EXAMPLES_DIR) + "/report/";

int PdfPageCount(const std::string& pdf) {
    int pages = 0;
    for (size_t at = pdf.find("/Type /Page"); at != std::string::npos; at = pdf.find("/Type /Page", at + 1)) {
        if (pdf.compare(at, 12, "/Type /Pages") != 0) ++pages;
    }
    return pages;
}

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
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RunTool(c.args).exitCode, c.exitCode);
    }
}

}  // namespace
