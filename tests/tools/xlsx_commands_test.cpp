// qxtool xlsx dump, run as a user would.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qx/platform/sheet/workbook.h"
#include "tests/platform/sheet/sheet_test_support.h"
#include "tests/support/test_support.h"
#include "tests/tools/run_tool.h"

namespace {

using namespace qx::sheet;
using qx::test::RunTool;
using qx::test::ToolResult;

TEST(XlsxCommandsTest, DumpPrintsTheCellsOfASheet) {
    const qx::test::TempDir dir;
    auto book = Workbook::Create(L"Erste");
    Sheet& first = *book->SheetAt(0);
    first.SetValue(0, 0, CellValue::Number(1.5));
    first.SetValue(1, 0, CellValue::Number(0.1));
    first.SetValue(2, 0, CellValue::Number(1e300));
    first.SetValue(3, 0, CellValue::Number(-42));
    first.SetValue(1, 2, CellValue::Text(L"zwei\nZeilen\tund \\ Tab"));
    first.SetValue(0, 3, CellValue::Boolean(true));
    first.SetValue(1, 3, CellValue::Formula(L"A1*2", CellValue::Number(3)));
    first.SetValue(2, 3, CellValue::Error(L"#N/A"));
    Sheet& second = *book->AddSheet(L"Zweite");
    second.SetValue(0, 0, CellValue::Text(L"Ü"));
    ASSERT_TRUE(book->Save(dir.Wide("list.xlsx")));

    const ToolResult dump = RunTool({"xlsx", "dump", dir.Native("list.xlsx")});
    EXPECT_EQ(dump.exitCode, 0) << dump.out;
    EXPECT_EQ(dump.out, "1.5\t0.1\t1e+300\t-42\n\n\tzwei\\nZeilen\\tund \\\\ Tab\nTRUE\t3\t#N/A\n");
    const ToolResult named = RunTool({"xlsx", "dump", "--sheet", "Zweite", dir.Native("list.xlsx")});
    EXPECT_EQ(named.exitCode, 0) << named.out;
    EXPECT_EQ(named.out, "Ü\n");
}

TEST(XlsxCommandsTest, StylesShowLayoutAndFormats) {
    const qx::test::TempDir dir;
    auto source = Workbook::FromParts(qx::test::HandMadePackage("<row r=\"1\"><c r=\"A1\" s=\"1\"><v>2.5</v></c></row>"));
    ASSERT_TRUE(source);
    auto book = Workbook::Create(L"Blatt");
    Sheet& sheet = *book->SheetAt(0);
    ASSERT_TRUE(sheet.Paste(source->SheetAt(0)->Copy({0, 0, 0, 0}), 1, 1));
    ASSERT_TRUE(sheet.SetColumnWidth(1, 20));
    ASSERT_TRUE(sheet.SetColumnWidth(2, 20));
    ASSERT_TRUE(sheet.SetRowHeight(1, 30));
    ASSERT_TRUE(sheet.Merge({1, 1, 2, 1}));
    ASSERT_TRUE(book->Save(dir.Wide("styled.xlsx")));
    const ToolResult dump = RunTool({"xlsx", "dump", "--styles", dir.Native("styled.xlsx")});
    EXPECT_EQ(dump.exitCode, 0) << dump.out;
    EXPECT_EQ(dump.out,
              "\n"
              "\t2.5\n"
              "standard width 8.43, standard height 15\n"
              "column B width 20\n"
              "column C width 20\n"
              "row 2 height 30\n"
              "merged B2:C2\n"
              "format B2: font Arial 12 bold color FFFF0000; fill solid FFFFFF00; border left thin, right thin, top thin, "
              "bottom thin; number 0.000\n");
}

TEST(XlsxCommandsTest, Failures) {
    const qx::test::TempDir dir;
    qx::test::WriteBytes(dir.path() / "text.xlsx", "no zip");
    ASSERT_TRUE(Workbook::Create(L"Blatt")->Save(dir.Wide("ok.xlsx")));
    struct Case {
        const char* name;
        std::vector<std::string> args;
        int exitCode;
        const char* says;
    } const cases[] = {
        {"a missing file", {"xlsx", "dump", dir.Native("none.xlsx")}, 1, "does not exist"},
        {"a file that is no package", {"xlsx", "dump", dir.Native("text.xlsx")}, 1, "no readable zip"},
        {"no such sheet", {"xlsx", "dump", "--sheet", "blatt", dir.Native("ok.xlsx")}, 1, "no sheet named \"blatt\""},
        {"no file", {"xlsx", "dump"}, 2, "expects one FILE"},
        {"an unknown option", {"xlsx", "dump", "--fast", dir.Native("ok.xlsx")}, 2, "--fast"},
    };
    for (const Case& c : cases) {
        const ToolResult result = RunTool(c.args);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.name << ": " << result.out;
        EXPECT_NE(result.out.find(c.says), std::string::npos) << c.name << ": " << result.out;
    }
}

}  // namespace
