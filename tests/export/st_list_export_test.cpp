// The spreadsheet parts list end to end: articles through the example
// templates (written by openpyxl, changed here by openpyxl) into a workbook,
// read back by openpyxl, and every failure with its one message.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "qx/export/st_list_export.h"
#include "qx/platform/os/file_system.h"
#include "qx/platform/wnd/control_classes.h"
#include "qx/platform/wnd/window_constants.h"
#include "tests/export/export_messages.h"
#include "tests/platform/sheet/sheet_test_support.h"
#include "tests/support/test_support.h"

namespace {

using qx::test::Messages;
using qx::test::Python;

const std::filesystem::path kExamples = std::filesystem::path(QX_EXAMPLES_DIR) / "export";

class Articles {
public:
    CArticle& Add(int pos, double quantity, const std::wstring& text, double price = 10.0) {
        articles_.push_back(std::make_unique<CArticle>());
        CArticle& a = *articles_.back();
        a.m_nPos = pos;
        a.m_dQuantity = quantity;
        a.m_unit = L"Stk";
        a.m_text = text.c_str();
        a.m_articleNo = L"4711";
        a.m_dPrice = price;
        a.m_currency = L"EUR";
        list_.AddTail(&a);
        return a;
    }
    CStList& List() { return list_; }

private:
    std::vector<std::unique_ptr<CArticle>> articles_;
    CStList list_;
};

// "L1\nL2\n...": *count* numbered lines from *first* on.
std::wstring Lines(int first, int count) {
    std::wstring text;
    for (int i = first; i < first + count; ++i) text += (i > first ? L"\n" : L"") + std::wstring(L"L") + std::to_wstring(i);
    return text;
}

std::string PyLines(int first, int count) { return "'\\n'.join('L%d' % i for i in range(" + std::to_string(first) + ", " +
                                                    std::to_string(first + count) + "))"; }

class StListExportTest : public ::testing::Test {
protected:
    void SetUp() override { QX_SKIP_WITHOUT_OPENPYXL(); }

    // The example format template, changed by *edits* (Python with wb, the
    // workbook, and v, its "Variablen", at hand).
    std::string FormatTemplate(const std::string& edits = "") {
        const std::string path = dir_.Native("format.xlsx");
        Python("wb = openpyxl.load_workbook(sys.argv[1])\nv = wb['Variablen']\n" + edits + "wb.save(sys.argv[2])\n",
               {(kExamples / "parts_list_format.xlsx").string(), path});
        return path;
    }
    std::string BaseTemplate() const { return (kExamples / "parts_list_base.xlsx").string(); }

    int Export(CStList& list, const std::string& format, CProjectInfo* project = nullptr, CProgressCtrl* progress = nullptr,
               const std::string& base = "") {
        CStListExport exporter;
        return exporter.CreateStList(list, Out(), CString(qx::Utf8ToWide(format)),
                                     CString(qx::Utf8ToWide(base.empty() ? BaseTemplate() : base)), project, progress);
    }
    CString Out() const { return CString(dir_.Wide("out.xlsx")); }
    bool Written() const { return std::filesystem::exists(dir_.path() / "out.xlsx"); }
    // Runs *checks* with ws = the output's "Stueckliste" (openpyxl), v(cell)
    // its values and h(row) its row heights.
    void Check(const std::string& checks) {
        Python("wb = openpyxl.load_workbook(sys.argv[1])\nws = wb['Stueckliste']\nv = lambda c: ws[c].value\n"
               "h = lambda r: ws.row_dimensions[r].height\n" + checks,
               {dir_.Native("out.xlsx")});
    }

    qx::test::TempDir dir_;
};

TEST_F(StListExportTest, IdentifiersInAnyCaseChooseTheColumns) {
    // MENGE in lower case in C4 and TEXT in D4, two printable columns.
    const std::string format = FormatTemplate(
        "c = wb['SpaltenInhalt']\nc['C4'] = 'menge'\nc['D4'] = 'Text'\n"
        "for col in 'EFGHI': c[col + '4'] = None\nv['C5'] = 2\n");
    Articles articles;
    articles.Add(1, 2.5, L"Ventil");
    articles.Add(2, 7, L"Rohr\nhart");
    Messages messages;
    ASSERT_EQ(Export(articles.List(), format), 1);
    EXPECT_TRUE(messages.Texts().empty());
    // Rows 1-5 the header; the articles from row 6.
    Check("assert v('A6') == 2.5 and v('B6') == 'Ventil', [v('A6'), v('B6')]\n"
          "assert v('A7') == 7 and v('B7') == 'Rohr\\nhart', [v('A7'), v('B7')]\n"
          "assert v('C6') is None\n"
          "assert h(7) == 30, h(7)\n"
          // The widths of template columns C and D.
          "assert abs(ws.column_dimensions['A'].width - 5) < 0.5, ws.column_dimensions['A'].width\n"
          "assert abs(ws.column_dimensions['B'].width - 8) < 0.5, ws.column_dimensions['B'].width\n");
}

TEST_F(StListExportTest, AnEmptyListGivesTheTableWithoutHeaderOrFooter) {
    Articles articles;
    ASSERT_EQ(Export(articles.List(), FormatTemplate()), 1);
    Check("assert ws.max_row == 1 and v('A1') is None, [ws.max_row, v('A1')]\n"
          "assert wb.sheetnames == ['Stueckliste']\n");
}

TEST_F(StListExportTest, LongTextsArePiecesAndTheLastPageIsFilled) {
    // 20 rows on every page.
    const std::string format = FormatTemplate("v['C9'] = 20\nv['C10'] = 20\n");
    Articles articles;
    articles.Add(1, 3, Lines(1, 45), 99.5);
    CProjectInfo project;
    project.m_projectNo = L"4711";
    project.m_projectName = L"Schule Nord";
    project.m_projectDate = L"10.12.2026";
    Messages messages;
    ASSERT_EQ(Export(articles.List(), format, &project), 1);
    EXPECT_TRUE(messages.Texts().empty());
    EXPECT_EQ(articles.List().GetCount(), 1);  // the caller's list as it was
    // Page 1: header 1-5, the first piece (20 lines) 6, footer 7-8. Page 2:
    // header 9-10, piece 11, footer 12-13. Page 3: header 14-15, the last
    // piece (5 lines) 16, 15 filler rows 17-31, footer 32-33.
    Check("assert v('A6') == 1 and v('B6') == 3 and v('C6') == 'Stk' and v('F6') == 99.5, [v('A6'), v('B6'), v('F6')]\n"
          "assert v('D6') == " + PyLines(1, 20) + ", repr(v('D6'))\n"
          "assert h(6) == 300, h(6)\n"
          "assert v('A7') is None and ws['A7'].border.top.style == 'thin'\n"
          "assert v('A8') == 'Projekt 4711 vom 10.12.2026', v('A8')\n"
          "assert v('A9') == 'Stückliste Schule Nord (Fortsetzung)', v('A9')\n"
          "assert v('D11') == " + PyLines(21, 20) + "\n"
          "assert [v(c + '11') for c in 'ABCEFG'] == [None] * 6, [v(c + '11') for c in 'ABCEFG']\n"
          "assert v('D16') == " + PyLines(41, 5) + " and h(16) == 75, [v('D16'), h(16)]\n"
          "assert v('A16') is None and v('F16') is None\n"
          "assert all(h(r) == 15 and v('D%d' % r) is None for r in range(17, 32)), [h(r) for r in range(17, 32)]\n"
          "assert ws['A32'].border.top.style == 'thin' and v('A33').startswith('Projekt 4711'), v('A33')\n"
          "assert ws.max_row == 33, ws.max_row\n"
          "assert v('A2') == 'Projekt: 4711  Schule Nord' and v('A3') == 'Datum: 10.12.2026', [v('A2'), v('A3')]\n");
}

TEST_F(StListExportTest, ArticlesThatDoNotFitBeginTheNextPage) {
    // Page 1 holds 3 lines, the others 4.
    const std::string format = FormatTemplate("v['C9'] = 3\nv['C10'] = 4\n");
    Articles articles;
    articles.Add(1, 1, L"a\nb");
    articles.Add(2, -1, L"c\nd", -1);  // 2 lines with 1 left; no quantity or price
    CArticle& third = articles.Add(3, 2, L"");
    third.m_unit = L"";
    ASSERT_EQ(Export(articles.List(), format), 1);
    // Page 1: 1-5 header, article 6, filler 7, footer 8-9; page 2: header
    // 10-11, articles 12 and 13, filler 14, footer 15-16.
    Check("assert v('A6') == 1 and h(6) == 30 and h(7) == 15 and v('A7') is None\n"
          "assert v('A8') is None and v('A9').startswith('Projekt'), v('A9')\n"
          "assert v('A10').startswith('Stückliste'), v('A10')\n"
          "assert v('A12') == 2 and v('B12') is None and v('F12') is None and v('D12') == 'c\\nd', "
          "[v('B12'), v('F12')]\n"
          "assert v('A13') == 3 and v('C13') == ' ' and v('D13') == ' ', [v('C13'), v('D13')]\n"
          "assert h(14) == 15 and v('A15') is None and v('A16').startswith('Projekt')\n"
          "assert ws.max_row == 16, ws.max_row\n");
}

TEST_F(StListExportTest, AnIdentifierBeyondThePrintableColumnsIsAskedAboutOnce) {
    // Five printable columns: PREIS and WAEHRUNG (H4, I4) are beyond them.
    const std::string format = FormatTemplate("v['C5'] = 5\n");
    Articles articles;
    articles.Add(1, 1, L"Ventil");
    {
        Messages messages({IDNO});
        EXPECT_EQ(Export(articles.List(), format), 0);
        ASSERT_EQ(messages.Texts().size(), 1u);
        EXPECT_EQ(messages.Texts()[0].rfind(L"Warnung!\n\nSie haben mehr Bezeichner als druckbare Spalten", 0), 0u);
        EXPECT_EQ(messages.Flags()[0], static_cast<unsigned>(MB_YESNO | MB_ICONWARNING));
        EXPECT_FALSE(Written());
    }
    Messages messages({IDYES});
    ASSERT_EQ(Export(articles.List(), format), 1);
    EXPECT_EQ(messages.Texts().size(), 1u);
    Check("assert v('A6') == 1 and v('E6') == '4711' and v('F6') is None and v('G6') is None, [v('E6'), v('F6')]\n");
}

// Records the positions and steps a progress bar is given.
class RecordingProgress : public CProgressCtrl {
public:
    std::vector<int> positions;
    int steps = 0;
    int high = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == PBM_SETPOS) positions.push_back(static_cast<int>(wParam));
        if (message == PBM_STEPIT) ++steps;
        if (message == PBM_SETRANGE32) high = static_cast<int>(lParam);
        return CProgressCtrl::WindowProc(message, wParam, lParam);
    }
};

TEST_F(StListExportTest, TheProgressBarMovesOncePerArticle) {
    const std::string format = FormatTemplate("v['C9'] = 20\nv['C10'] = 20\n");
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, L"#32770", L"Export", WS_POPUP, CRect(0, 0, 300, 80), nullptr, 0));
    RecordingProgress bar;
    ASSERT_TRUE(bar.Create(WS_CHILD, CRect(10, 10, 290, 30), &parent, 1));
    Articles articles;
    articles.Add(1, 1, L"kurz");
    articles.Add(2, 1, Lines(1, 45));  // three pieces, one step
    articles.Add(3, 1, L"kurz");
    ASSERT_EQ(Export(articles.List(), format, nullptr, &bar), 1);
    EXPECT_EQ(bar.high, 13);
    EXPECT_EQ(bar.positions, (std::vector<int>{2, 4, 6, 8, 10}));
    EXPECT_EQ(bar.steps, 3);
    parent.DestroyWindow();
}

TEST_F(StListExportTest, EveryFailureShowsItsOneMessage) {
    const std::wstring invalid = L"\"\nist ein ungültiger Wert zugeordnet.\nEs muss sich hierbei um eine ganze Zahl >= ";
    struct Case {
        std::string edits;
        std::wstring message;
    } const cases[] = {
        {"v['C4'] = -1\n", L"Der Variablen \"Anzahl der Zeilen der Fußleiste" + invalid + L"0 handeln!"},
        {"v['C5'] = 0\n", L"Der Variablen \"Anzahl der druckbaren Spalten" + invalid + L"1 handeln!"},
        {"v['C7'] = 'fünf'\n", L"Der Variablen \"Anzahl der Zeilen des Kopfes von Seite 1" + invalid + L"0 handeln!"},
        {"v['C8'] = -2\n", L"Der Variablen \"Anzahl der Zeilen des Kopfes von Seite 2 und folgenden" + invalid + L"0 handeln!"},
        // Unlike the list export, printable rows must be at least 1.
        {"v['C9'] = 0\n", L"Der Variablen \"Anzahl der druckbaren Zeilen von Seite 1" + invalid + L"1 handeln!"},
        {"v['C10'] = None\n",
         L"Der Variablen \"Anzahl der druckbaren Zeilen von Seite 2 und folgenden" + invalid + L"1 handeln!"},
        {"wb['SpaltenInhalt']['E4'] = 3\n",
         L"In Zelle \"E4\" der Tabelle \"SpaltenInhalt\" wurde ein\nungültiges Format lokalisiert.\n\nEs muss sich hierbei "
         L"um einen Text handeln!"},
        {"wb['SpaltenInhalt']['D4'] = 'Menge '\n",
         L"In Zelle \"D4\" der Tabelle \"SpaltenInhalt\" wurde ein ungültiger Bezeichner lokalisiert.\nDie benutzten "
         L"Bezeichner müssen mit den darunter aufgeführten übereinstimmen!"},
        {"del wb['Fussleiste']\n", L"Tabelle \"Fussleiste\" kann nicht geöffnet werden"},
        {"wb['KopfSeite1'].title = 'kopfseite1'\n", L"Tabelle \"KopfSeite1\" kann nicht geöffnet werden"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.edits);
        Articles articles;
        articles.Add(1, 1, L"x");
        Messages messages;
        EXPECT_EQ(Export(articles.List(), FormatTemplate(c.edits)), 0);
        ASSERT_EQ(messages.Texts().size(), 1u);
        EXPECT_EQ(messages.Texts()[0], c.message);
        EXPECT_FALSE(Written());
    }
    Articles articles;
    {
        // A base template without the table "Stueckliste".
        Messages messages;
        EXPECT_EQ(Export(articles.List(), FormatTemplate(), nullptr, nullptr, (kExamples / "list_base.xlsx").string()), 0);
        ASSERT_EQ(messages.Texts().size(), 1u);
        EXPECT_EQ(messages.Texts()[0], L"Tabelle \"Stueckliste\" kann nicht geöffnet werden");
    }
    {
        // An earlier output stays as it was.
        qx::test::WriteBytes(dir_.path() / "out.xlsx", "alt");
        Messages messages;
        EXPECT_EQ(Export(articles.List(), dir_.Native("missing.xlsx")), 0);
        ASSERT_EQ(messages.Texts().size(), 1u);
        EXPECT_EQ(messages.Texts()[0], L"Die Vorlage \"" + dir_.Wide("missing.xlsx") + L"\" konnte nicht geöffnet werden..");
        EXPECT_EQ(messages.LastFlags(), static_cast<unsigned>(MB_ICONSTOP));
        EXPECT_EQ(qx::test::ReadBytes(dir_.path() / "out.xlsx"), "alt");
        std::filesystem::remove(dir_.path() / "out.xlsx");
    }
    {
        CMSExcel2k::SetStartFailsForTesting(true);
        Messages messages;
        EXPECT_EQ(Export(articles.List(), FormatTemplate()), 0);
        CMSExcel2k::SetStartFailsForTesting(false);
        ASSERT_EQ(messages.Texts().size(), 1u);
        EXPECT_EQ(messages.Texts()[0].rfind(L"Microsoft Excel konnte nicht gestartet werden...", 0), 0u);
    }
}

TEST_F(StListExportTest, AnOutputThatCannotBeReplacedOrSavedIsReported) {
    Articles articles;
    articles.Add(1, 1, L"x");
    const std::string format = FormatTemplate();
    // The output's folder does not take the saved file: the save's message, and 0.
    {
        Messages messages;
        CStListExport exporter;
        const CString output(dir_.Wide("no/folder/out.xlsx"));
        EXPECT_EQ(exporter.CreateStList(articles.List(), output, CString(qx::Utf8ToWide(format)),
                                        CString(qx::Utf8ToWide(BaseTemplate())), nullptr, nullptr),
                  0);
        ASSERT_EQ(messages.Texts().size(), 1u);
        EXPECT_EQ(messages.Texts()[0], L"Speichern der Excel-Datei \"" + output.str() + L"\" fehlgeschlagen...");
    }
    // An output that cannot be replaced (read-only, as the family's files
    // can be): the message of a file still open, and the file kept.
    qx::test::WriteBytes(dir_.path() / "out.xlsx", "alt");
    ASSERT_TRUE(qx::ChangeFileAttributes(Out().str(), qx::kFileAttributeReadOnly));
    Messages messages;
    EXPECT_EQ(Export(articles.List(), format), 0);
    ASSERT_EQ(messages.Texts().size(), 1u);
    EXPECT_EQ(messages.Texts()[0], L"Die Datei \"" + Out().str() +
                                       L"\" ist in Excel noch offen.\nBitte schließen Sie die Datei oder speichern Sie\n"
                                       L"diese unter einem anderen Namen.");
    EXPECT_EQ(qx::test::ReadBytes(dir_.path() / "out.xlsx"), "alt");
    qx::ChangeFileAttributes(Out().str(), 0);
}

}  // namespace
