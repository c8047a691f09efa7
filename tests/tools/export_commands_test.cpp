// qxtool export list, run as a user would: rows from a text file through the
// example templates, the result read back by openpyxl.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/platform/sheet/sheet_test_support.h"
#include "tests/support/test_support.h"
#include "tests/tools/run_tool.h"

namespace {

using qx::test::RunTool;
using qx::test::ToolResult;

const std::string kExamples = std::string(QX_EXAMPLES_DIR) + "/export/";

class ExportCommandsTest : public ::testing::Test {
protected:
    ToolResult Export(const std::string& rows, std::vector<std::string> options = {}) {
        qx::test::WriteBytes(dir_.path() / "rows.txt", rows);
        std::vector<std::string> args = {"export", "list", dir_.Native("rows.txt"), dir_.Native("out.xlsx"),
                                         "--format-template", kExamples + "list_format.xlsx",
                                         "--base-template", kExamples + "list_base.xlsx"};
        args.insert(args.end(), options.begin(), options.end());
        return RunTool(args);
    }
    qx::test::TempDir dir_;
};

TEST_F(ExportCommandsTest, WritesTheRowsOfATextFileWithTheirKinds) {
    QX_SKIP_WITHOUT_OPENPYXL();
    const ToolResult r = Export("\xEF\xBB\xBFPOS\tMENGE\tTEXT\tARTNR\n"
                                "1\t2.5\tVentil \xC3\xA4\\nzweite Zeile\t0815\n"
                                "#empty\n"
                                "2\t\tRohr\tA-17\n"
                                "#table Zubeh\xC3\xB6r\n"
                                "3\t1\tKappe\t9\n",
                                {"--table", "Liste", "--project", "12;Bad;1.1.2027"});
    ASSERT_EQ(r.exitCode, 0) << r.out;
    EXPECT_EQ(r.out, "1\n");
    qx::test::Python("wb = openpyxl.load_workbook(sys.argv[1])\n"
                     "assert wb.sheetnames == ['Liste', 'Zubeh\\u00f6r'], wb.sheetnames\n"
                     "ws = wb['Liste']\n"
                     "assert ws['A2'].value == 'Projekt: 12  Bad', ws['A2'].value\n"
                     "assert ws['A6'].value == 1 and ws['B6'].value == 2.5\n"
                     "assert ws['D6'].value == 'Ventil \\u00e4\\nzweite Zeile', repr(ws['D6'].value)\n"
                     "assert ws['E6'].value == 815\n"  // a number, as the format says
                     "assert ws['A7'].value is None\n"
                     "assert ws['A8'].value == 2 and ws['B8'].value is None and ws['E8'].value == 'A-17'\n"
                     "assert wb['Zubeh\\u00f6r']['A7'].value == 3\n",
                     {dir_.Native("out.xlsx")});
}

TEST_F(ExportCommandsTest, FailuresAndWrongCommandLines) {
    qx::test::WriteBytes(dir_.path() / "rows.txt", "POS\n1\n");
    const ToolResult noTemplate = RunTool({"export", "list", dir_.Native("rows.txt"), dir_.Native("out.xlsx"),
                                           "--format-template", dir_.Native("none.xlsx"), "--base-template",
                                           kExamples + "list_base.xlsx"});
    EXPECT_EQ(noTemplate.exitCode, 1);
    EXPECT_NE(noTemplate.out.find("Die Formatvorlage \"" + dir_.Native("none.xlsx") + "\" konnte nicht ge"),
              std::string::npos)
        << noTemplate.out;
    EXPECT_FALSE(std::filesystem::exists(dir_.path() / "out.xlsx"));

    const ToolResult noRows = RunTool({"export", "list", dir_.Native("missing.txt"), dir_.Native("out.xlsx"),
                                       "--format-template", "f", "--base-template", "b"});
    EXPECT_EQ(noRows.exitCode, 1);
    EXPECT_EQ(noRows.out, "qxtool export list: cannot read " + dir_.Native("missing.txt") + "\n");
    const ToolResult usage = RunTool({"export", "list", "rows.txt", "out.xlsx", "--base-template", "b"});
    EXPECT_EQ(usage.exitCode, 2);
    EXPECT_EQ(usage.out.rfind("qxtool export list: needs --format-template\n", 0), 0u) << usage.out;
    const ToolResult pages = RunTool({"export", "list", "r", "o", "--format-template", "f", "--base-template", "b",
                                      "--page-count", "3"});
    EXPECT_EQ(pages.exitCode, 2);
    EXPECT_EQ(pages.out.rfind("qxtool export list: --page-count goes with --append\n", 0), 0u) << pages.out;
    const ToolResult project = RunTool({"export", "list", "r", "o", "--format-template", "f", "--base-template",
                                        "b", "--project", "only;two"});
    EXPECT_EQ(project.exitCode, 2);
}

}  // namespace
