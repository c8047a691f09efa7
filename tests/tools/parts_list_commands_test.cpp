// qxtool export parts-list, run as a user would: articles from text files
// and tree documents, the text and the spreadsheet list, questions answered
// by a script.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "qx/tree/node.h"
#include "tests/platform/sheet/sheet_test_support.h"
#include "tests/support/fixtures.h"
#include "tests/support/test_support.h"
#include "tests/tools/run_tool.h"

namespace {

using qx::test::RunTool;
using qx::test::ToolResult;

const std::filesystem::path kExamples = std::filesystem::path(QX_EXAMPLES_DIR) / "export";

// A text template: the header names the project, one line per article.
const char* const kTemplate =
    "#TOP1\nProjekt $PROJ_NA\n#END\n#BOTTOM\nSeite $PAGE_NR\n#END\n"
    "#OUTPUT\n$POS |$NUM    | $UNT $TXT\n#END\n";
const char* const kCounts = "#VAR\n&LINES_PG 10\n&LINES_T1 2\n&LINES_TN 2\n&LINES_BO 1\n#END\n";

class PartsListCommandsTest : public ::testing::Test {
protected:
    std::string File(const std::string& name, const std::string& bytes) {
        qx::test::WriteBytes(dir_.path() / name, bytes);
        return dir_.Native(name);
    }
    std::string Out() const { return qx::test::ReadBytes(dir_.path() / "list.txt"); }

    qx::test::TempDir dir_;
};

TEST_F(PartsListCommandsTest, ArticleFilesNameTheirColumnsInAnyOrder) {
    // TEXT before POS, no unit; an empty quantity is none; "\n" a line feed.
    const std::string articles = File("articles.txt", "\xEF\xBB\xBFTEXT\tPOS\tmenge\n"
                                                      "Ventil\\nDN 15\t1\t2,5\n"
                                                      "\n"
                                                      "Rohr\t2\t\n");
    const std::string tmpl = File("template.txt", std::string(kTemplate) + kCounts);
    const ToolResult result = RunTool({"export", "parts-list", articles, dir_.Native("list.txt"), "--template", tmpl,
                                       "--project", "4711;Schule Nord;10.12.2026"});
    ASSERT_EQ(result.exitCode, 0) << result.out;
    EXPECT_EQ(result.out, "");
    // POS 6 and NUM 9 wide (right-aligned), a space, UNT 4 wide and the kept
    // space, then the text; its further lines in the text's column.
    const std::string text(21, ' ');
    EXPECT_EQ(Out(), "Projekt Schule Nord\n"
                     "     1     2.50" + std::string(6, ' ') + "Ventil\n" +
                     text + "DN 15\n"
                     "     2" + std::string(15, ' ') + "Rohr\n"
                     "Seite 1\n");
}

TEST_F(PartsListCommandsTest, TreeDocumentsHoldArticlesAsChildNodes) {
    CNode root(L"Stueckliste");
    CNode* first = root.AddChild(L"Artikel");
    first->AddLeaf(L"POS", L"7");
    first->AddLeaf(L"menge", L"3,5");
    first->AddLeaf(L"EINHEIT", L"m");
    first->AddLeaf(L"TEXT", L"Kupferrohr\n15 x 1: hart");
    root.AddChild(L"Artikel")->AddLeaf(L"TEXT", L"ohne Position");
    ASSERT_TRUE(root.WriteToFile(dir_.Wide("articles.txt").c_str(), false, true, true));
    const std::string tmpl = File("template.txt", std::string(kTemplate) + kCounts);
    const ToolResult result =
        RunTool({"export", "parts-list", dir_.Native("articles.txt"), dir_.Native("list.txt"), "--template", tmpl});
    ASSERT_EQ(result.exitCode, 0) << result.out;
    const std::string text(21, ' ');
    EXPECT_EQ(Out(), "Projekt \n"
                     "     7     3.50 m    Kupferrohr\n" +
                     text + "15 x 1: hart\n" + text + "ohne Position\n"
                     "Seite 1\n");
}

TEST_F(PartsListCommandsTest, QuestionsAreAnsweredThroughTheUiHost) {
    const std::string articles = File("articles.txt", "POS\tTEXT\n1\tVentil\n");
    // 120 lines a page is asked about.
    const std::string tmpl = File("template.txt", std::string(kTemplate) +
                                                      "#VAR\n&LINES_PG 120\n&LINES_T1 2\n&LINES_TN 2\n&LINES_BO 1\n#END\n");
    struct Case {
        const char* script;
        int exitCode;
    } const cases[] = {{"press Ja\n", 0}, {"press Nein\n", 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        std::filesystem::remove(dir_.path() / "list.txt");
        const std::string script = File("ui-script", c.script);
        qx::test::ScopedEnv ui("QX_UI", "script");
        qx::test::ScopedEnv source("QX_UI_SCRIPT", script);
        qx::test::ScopedEnv transcript("QX_UI_TRANSCRIPT", dir_.Native("transcript"));
        const ToolResult result =
            RunTool({"export", "parts-list", articles, dir_.Native("list.txt"), "--template", tmpl}, 30);
        EXPECT_EQ(result.exitCode, c.exitCode) << result.out;
        EXPECT_EQ(std::filesystem::exists(dir_.path() / "list.txt"), c.exitCode == 0);
        EXPECT_NE(qx::test::ReadBytes(dir_.path() / "transcript").find("Gibt es wirklich 120 druckbare Zeilen?"),
                  std::string::npos);
    }
}

TEST_F(PartsListCommandsTest, TheSpreadsheetListFillsTheBaseTemplatesTable) {
    QX_SKIP_WITHOUT_OPENPYXL();
    const std::string articles = File("articles.txt", "POS\tMENGE\tTEXT\tPREIS\tWAEHRUNG\n1\t2\tVentil\\nDN 15\t12.5\tEUR\n");
    const ToolResult result = RunTool({"export", "parts-list", articles, dir_.Native("list.xlsx"), "--format-template",
                                       (kExamples / "parts_list_format.xlsx").string(), "--base-template",
                                       (kExamples / "parts_list_base.xlsx").string(), "--project", "1;Schule;heute"});
    ASSERT_EQ(result.exitCode, 0) << result.out;
    qx::test::Python("ws = openpyxl.load_workbook(sys.argv[1])['Stueckliste']\n"
                     "assert ws['A2'].value == 'Projekt: 1  Schule', ws['A2'].value\n"
                     "row = [ws.cell(row=6, column=c).value for c in range(1, 8)]\n"
                     "assert row == [1, 2, ' ', 'Ventil\\nDN 15', ' ', 12.5, 'EUR'], row\n",
                     {dir_.Native("list.xlsx")});
}

TEST_F(PartsListCommandsTest, WrongCommandLinesAndArticleFilesAreRefused) {
    const std::string articles = File("articles.txt", "POS\tTEXT\n1\tVentil\n");
    const std::string tmpl = File("template.txt", std::string(kTemplate) + kCounts);
    const std::string out = dir_.Native("list.txt");
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        const char* message;
    } const cases[] = {
        {{articles, out}, 2, "either --template or --format-template"},
        {{articles, out, "--template", tmpl, "--format-template", "f.xlsx", "--base-template", "b.xlsx"}, 2,
         "either --template or --format-template"},
        {{articles, out, "--format-template", "f.xlsx"}, 2, "--format-template goes with --base-template"},
        {{articles, "--template", tmpl}, 2, "expects ARTICLES and OUTPUT"},
        {{articles, out, "--template", tmpl, "--project", "1;2"}, 2, "--project needs NR;NAME;DATE"},
        {{File("position.txt", "POS\tTEXT\n1.5\tVentil\n"), out, "--template", tmpl}, 1, "line 2: \"1.5\" is not a position"},
        {{File("number.txt", "POS\tMENGE\n1\tzwei\n"), out, "--template", tmpl}, 1, "line 2: \"zwei\" is not a number"},
        {{File("column.txt", "POS\tFARBE\n"), out, "--template", tmpl}, 1, "unknown column \"FARBE\""},
        {{File("tree.txt", "[Liste\n"), out, "--template", tmpl}, 1, "tree.txt is neither an article list"},
        // The export's message, then the tool's.
        {{articles, out, "--template", dir_.Native("missing.txt")}, 1, "list.txt was not written"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"export", "parts-list"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        SCOPED_TRACE(c.message);
        const ToolResult result = RunTool(args, 30);
        EXPECT_EQ(result.exitCode, c.exitCode) << result.out;
        EXPECT_NE(result.out.find(c.message), std::string::npos) << result.out;
    }
}

}  // namespace
