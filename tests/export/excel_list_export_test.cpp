// The template-driven list export end to end: rows through the example
// templates (written by openpyxl) into a workbook, read back by openpyxl as
// an independent reader, and every failure with its one message.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "qx/export/excel_list_export.h"
#include "qx/platform/sheet/workbook.h"
#include "qx/platform/wnd/control_classes.h"
#include "qx/platform/wnd/message_box.h"
#include "tests/export/export_messages.h"
#include "tests/platform/sheet/sheet_test_support.h"
#include "tests/support/test_support.h"

namespace {

using qx::test::Messages;
using qx::test::Python;

const std::filesystem::path kExamples = std::filesystem::path(QX_EXAMPLES_DIR) / "export";

CExcelRow* DataRow(std::initializer_list<CExcelCell*> cells) {
    auto* row = new CExcelRow;
    for (CExcelCell* cell : cells) row->append(cell);
    return row;
}

class ExcelListExportTest : public ::testing::Test {
protected:
    void SetUp() override { QX_SKIP_WITHOUT_OPENPYXL(); }

    // The example format template with *layout* cells of "Variablen" set
    // ({"C9", "0"}); a value "text" writes a text.
    std::string FormatTemplate(const std::vector<std::pair<std::string, std::string>>& layout = {}) {
        const std::string path = dir_.Native("format.xlsx");
        std::string script = "wb = openpyxl.load_workbook(sys.argv[1])\nws = wb['Variablen']\n";
        for (const auto& [cell, value] : layout) {
            script += "ws['" + cell + "'] = " + (value == "text" ? std::string("'viele'") : value == "None" ? "None" : value) + "\n";
        }
        script += "wb.save(sys.argv[2])\n";
        Python(script, {(kExamples / "list_format.xlsx").string(), path});
        return path;
    }
    std::string BaseTemplate() const { return (kExamples / "list_base.xlsx").string(); }

    bool Export(CExcelRowArray& rows, const std::string& format, int& pages, bool append = false,
                CExcelProjectInfo* project = nullptr) {
        CExcelListExport exporter;
        return exporter.doExport(rows, CString(dir_.Wide("out.xlsx").c_str()), L"Datenliste", CString(qx::Utf8ToWide(format).c_str()),
                                 CString(qx::Utf8ToWide(BaseTemplate()).c_str()), pages, project, nullptr, append);
    }
    // Runs *checks* with ws = the output's sheet *sheet* (openpyxl).
    std::string Check(const std::string& checks, const std::string& sheet = "Datenliste") {
        return Python("wb = openpyxl.load_workbook(sys.argv[1])\nws = wb[sys.argv[2]]\n" + checks,
                      {dir_.Native("out.xlsx"), sheet});
    }

    qx::test::TempDir dir_;
};

TEST(ExcelCells, IndexToStringNamesCellsWithUpToTwoLetters) {
    struct Case {
        long col, row;
        const wchar_t* name;
    } const cases[] = {{0, 0, L"A1"}, {25, 9, L"Z10"}, {26, 0, L"AA1"}, {27, 4, L"AB5"},
                       {51, 0, L"AZ1"}, {52, 0, L"BA1"}, {701, 0, L"ZZ1"}};
    for (const Case& c : cases) EXPECT_EQ(CWorksheet::IndexToString(c.col, c.row), CString(c.name)) << c.col;
}

TEST(ExcelCells, RowsMergeCellsOfOneNameAndCountTheirLines) {
    CExcelRow row;
    EXPECT_EQ(row.GetLineCount(), 1);
    row.append(new CExcelCell(L"Menge", 2.5));
    row.append(new CExcelCell(L"TEXT", CString(L"eins\nzwei\ndrei")));
    row.append(new CExcelCell(L"MENGE", 4));       // replaces the value of "Menge"
    row.append(new CExcelCell(L"menge"));          // an empty cell changes nothing
    row.append(new CExcelCell(L"Leer", CString()));  // an empty text is an empty cell
    ASSERT_EQ(row.GetSize(), 3);
    EXPECT_EQ(row.GetAt(0)->GetType(), CExcelCell::TYPE_INT);
    EXPECT_EQ(row.GetAt(0)->GetInt(), 4);
    EXPECT_EQ(row.GetAt(2)->GetType(), CExcelCell::TYPE_EMPTY);
    EXPECT_EQ(row.GetLineCount(), 3);
    EXPECT_EQ(row.FindCell(L"text"), row.GetAt(1));
}

TEST_F(ExcelListExportTest, AnEmptyListGivesTheFirstHeaderWithTheFooterRightBelowIt) {
    CExcelRowArray rows;
    int pages = 0;
    Messages messages;
    ASSERT_TRUE(Export(rows, FormatTemplate(), pages));
    EXPECT_TRUE(messages.Texts().empty());
    EXPECT_EQ(pages, 1);
    // Five header rows, then the footer's two rows from row 6 on.
    Check("assert ws['A1'].value == 'Stückliste', ws['A1'].value\n"
          "assert ws['A5'].value == 'Pos.'\n"
          "assert ws['A5'].font.b\n"
          "assert ws['A6'].border.top.style == 'thin'\n"
          "assert ws['A7'].value.startswith('Projekt'), ws['A7'].value\n"
          "assert ws.max_row == 7, ws.max_row\n"
          "assert abs(ws.column_dimensions['D'].width - 34) < 1, ws.column_dimensions['D'].width\n");
}

TEST_F(ExcelListExportTest, RowsFillPagesWithHeadersFootersAndContinuedTexts) {
    // Page 1 holds 3 lines, the following pages 4.
    const std::string format = FormatTemplate({{"C9", "3"}, {"C10", "4"}});
    CExcelRowArray rows;
    rows.Add(DataRow({new CExcelCell(L"Pos", 1), new CExcelCell(L"Menge", 2.5), new CExcelCell(L"Text", CString(L"Ventil"))}));
    // Five lines with two left on page 1: two stay, three go on.
    rows.Add(DataRow({new CExcelCell(L"POS", 2), new CExcelCell(L"text", CString(L"a\nb\nc\nd\ne")),
                      new CExcelCell(L"Einheit", CString(L"Stk"))}));
    rows.Add(DataRow({new CExcelCell(L"Pos", 3), new CExcelCell(L"Text", CString(L"")), new CExcelCell(L"Preis", 9.5f)}));
    int pages = 0;
    Messages messages;
    ASSERT_TRUE(Export(rows, format, pages));
    EXPECT_TRUE(messages.Texts().empty());
    EXPECT_EQ(rows.GetSize(), 4);  // the continuation was inserted
    // The last row fills page 2, so page 3 begins (header, and the footer
    // at the end).
    EXPECT_EQ(pages, 3);
    // Rows: 1-5 header, 6 and 7 data, footer 8-9, following header 10-11,
    // the continuation 12, the third row 13, footer 14-15, header 16-17,
    // the closing footer 18-19.
    Check("v = lambda c: ws[c].value\n"
          "assert v('A6') == 1 and v('B6') == 2.5 and v('D6') == 'Ventil', [v('A6'), v('B6'), v('D6')]\n"
          "assert v('D7') == 'a\\nb', repr(v('D7'))\n"
          "assert ws['F6'].number_format == '#,##0.00'\n"
          "assert ws['A6'].fill.fgColor.rgb.endswith('F2F7EC'), ws['A6'].fill.fgColor.rgb\n"
          "assert abs(ws.row_dimensions[7].height - 30) < 0.01, ws.row_dimensions[7].height\n"
          "assert v('A8') is None and ws['A8'].border.top.style == 'thin'\n"
          "assert v('A9').startswith('Projekt')\n"
          "assert v('A10').startswith('Stückliste'), v('A10')\n"
          "assert v('A11') == 'Pos.'\n"
          "assert v('D12') == 'c\\nd\\ne', repr(v('D12'))\n"
          "assert v('A12') is None\n"
          "assert v('C12') == ' ', repr(v('C12'))\n"  // a text not cut goes on as a space
          "assert v('A13') == 3 and v('D13') is None and v('F13') == 9.5, [v('A13'), v('D13'), v('F13')]\n"
          "assert v('A16').startswith('Stückliste') and v('A19').startswith('Projekt'), [v('A16'), v('A19')]\n");
}

TEST_F(ExcelListExportTest, AnUnpagedTemplateWritesAllRowsBetweenTheFirstHeaderAndTheFooter) {
    const std::string format = FormatTemplate({{"C9", "0"}, {"C10", "44"}});
    CExcelRowArray rows;
    for (int i = 1; i <= 60; ++i) rows.Add(DataRow({new CExcelCell(L"POS", i)}));
    rows.Add(new CExcelRow);
    rows.GetAt(rows.GetSize() - 1)->m_bEmptyLine = true;
    int pages = 0;
    ASSERT_TRUE(Export(rows, format, pages));
    EXPECT_EQ(pages, 1);
    Check("assert [ws.cell(row=r, column=1).value for r in (6, 65)] == [1, 60]\n"
          "assert ws['A66'].value is None\n"
          "assert ws['A68'].value.startswith('Projekt'), ws['A68'].value\n"
          "assert all(not str(ws.cell(row=r, column=1).value or '').startswith('Stückliste') for r in range(2, 70))\n");
}

TEST_F(ExcelListExportTest, ProjectPlaceholdersPageBreaksAndNewTables) {
    CExcelRowArray rows;
    rows.Add(DataRow({new CExcelCell(L"POS", 1)}));
    rows.Add(new CExcelRow);
    rows.GetAt(1)->m_bNewPage = true;
    rows.Add(DataRow({new CExcelCell(L"POS", 2)}));
    rows.Add(new CExcelRow);
    rows.GetAt(3)->m_bNewTable = true;
    rows.GetAt(3)->m_tableName = L"Zubehör";
    rows.Add(DataRow({new CExcelCell(L"POS", 3)}));
    CExcelProjectInfo project{L"4711", L"Schule Nord", L"10.12.2026"};
    int pages = 0;
    ASSERT_TRUE(Export(rows, FormatTemplate(), pages, false, &project));
    EXPECT_EQ(pages, 1);  // the new table starts its own page count
    Check("assert ws['A2'].value == 'Projekt: 4711  Schule Nord', ws['A2'].value\n"
          "assert ws['A3'].value == 'Datum: 10.12.2026'\n"
          "assert 'A2:D2' in [str(r) for r in ws.merged_cells.ranges]\n"
          "texts = [str(ws.cell(row=r, column=1).value) for r in range(1, 120)]\n"
          "assert 'Stückliste Schule Nord (Fortsetzung)' in texts, texts\n"
          "assert 'Projekt 4711 vom 10.12.2026' in texts\n"
          "assert wb.sheetnames == ['Datenliste', 'Zubehör'], wb.sheetnames\n");
    // The row after a new table's header stays empty, as after every
    // steering row.
    Check("assert ws['A1'].value == 'Stückliste'\nassert ws['A6'].value is None\nassert ws['A7'].value == 3\n",
          "Zubehör");
}

TEST_F(ExcelListExportTest, AppendingBuildsOnTheEarlierOutput) {
    CExcelRowArray first;
    first.Add(DataRow({new CExcelCell(L"POS", 1)}));
    int pages = 0;
    ASSERT_TRUE(Export(first, FormatTemplate(), pages));
    // With three pages written before, the earlier output is the base.
    CExcelRowArray second;
    second.Add(new CExcelRow);
    second.GetAt(0)->m_bNewTable = true;
    second.GetAt(0)->m_tableName = L"Teil 2";
    second.Add(DataRow({new CExcelCell(L"POS", 2)}));
    pages = 3;
    {
        CExcelListExport exporter;
        ASSERT_TRUE(exporter.doExport(second, CString(dir_.Wide("out.xlsx").c_str()), L"Datenliste",
                                      CString(qx::Utf8ToWide(dir_.Native("format.xlsx")).c_str()),
                                      CString(qx::Utf8ToWide(BaseTemplate()).c_str()), pages, nullptr, nullptr, true));
    }
    EXPECT_EQ(pages, 4);
    Check("assert wb.sheetnames == ['Datenliste', 'Teil 2'], wb.sheetnames\n"
          "assert ws['A6'].value == 1\n");
}

TEST_F(ExcelListExportTest, EveryFailureShowsItsOneMessage) {
    struct Case {
        std::vector<std::pair<std::string, std::string>> layout;
        std::wstring message;
    } const cases[] = {
        {{{"C5", "0"}}, L"please enter a valid value >= 1 into \"Number of printable columns\""},
        {{{"C5", "text"}}, L"please enter a valid value >= 1 into \"Number of printable columns\""},
        {{{"C4", "-1"}}, L"please enter a valid value >= 0 into \"Number of lines of the footer\""},
        {{{"C9", "None"}}, L"please enter a valid value >= 0 into \"Number of printable rows from page 1\""},
    };
    for (const Case& c : cases) {
        CExcelRowArray rows;
        int pages = 0;
        Messages messages;
        EXPECT_FALSE(Export(rows, FormatTemplate(c.layout), pages));
        ASSERT_EQ(messages.Texts().size(), 1u);
        EXPECT_EQ(messages.Texts()[0], c.message);
        EXPECT_EQ(pages, 0);
        EXPECT_FALSE(std::filesystem::exists(dir_.path() / "out.xlsx"));
    }
    {
        Messages messages;
        CExcelRowArray rows;
        int pages = 0;
        EXPECT_FALSE(Export(rows, dir_.Native("missing.xlsx"), pages));
        ASSERT_EQ(messages.Texts().size(), 1u);
        EXPECT_EQ(messages.Texts()[0], L"Die Formatvorlage \"" + dir_.Wide("missing.xlsx") + L"\" konnte nicht geöffnet werden..");
    }
}

// A progress bar that keeps every position it is set to.
class RecordingProgress : public CProgressCtrl {
public:
    std::vector<int> positions;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == PBM_SETPOS) positions.push_back(static_cast<int>(wParam));
        return CProgressCtrl::WindowProc(message, wParam, lParam);
    }
};

TEST_F(ExcelListExportTest, TheProgressBarMovesThroughTheStepsAndOncePerRow) {
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, L"#32770", L"", WS_POPUP, CRect(0, 0, 300, 100), nullptr, 0));
    RecordingProgress progress;
    ASSERT_TRUE(progress.Create(WS_CHILD, CRect(0, 0, 200, 20), &parent, 1));
    CExcelRowArray rows;
    for (int i = 1; i <= 3; ++i) rows.Add(DataRow({new CExcelCell(L"POS", i)}));
    int pages = 0;
    CExcelListExport exporter;
    ASSERT_TRUE(exporter.doExport(rows, CString(dir_.Wide("out.xlsx").c_str()), L"Datenliste",
                                  CString(qx::Utf8ToWide(FormatTemplate()).c_str()),
                                  CString(qx::Utf8ToWide(BaseTemplate()).c_str()), pages, nullptr, &progress, false));
    EXPECT_EQ(progress.positions, (std::vector<int>{2, 4, 6, 10}));
    int low = 0, high = 0;
    progress.GetRange(low, high);
    EXPECT_EQ(high, 13);
    EXPECT_EQ(progress.GetPos(), 13);
    parent.DestroyWindow();
}

TEST_F(ExcelListExportTest, AFailedSaveIsReportedAndCountsNoPages) {
    CExcelRowArray rows;
    rows.Add(DataRow({new CExcelCell(L"POS", 1)}));
    int pages = 2;
    Messages messages;
    CExcelListExport exporter;
    const std::wstring output = dir_.Wide("missing-folder/out.xlsx");
    EXPECT_FALSE(exporter.doExport(rows, CString(output.c_str()), L"Datenliste",
                                   CString(qx::Utf8ToWide(FormatTemplate()).c_str()),
                                   CString(qx::Utf8ToWide(BaseTemplate()).c_str()), pages, nullptr, nullptr, false));
    ASSERT_EQ(messages.Texts().size(), 1u);
    EXPECT_EQ(messages.Texts()[0], L"Speichern der Excel-Datei \"" + output + L"\" fehlgeschlagen...");
    EXPECT_EQ(pages, 2);
}

TEST_F(ExcelListExportTest, AnEngineThatCannotStartIsReportedAndItsEndIsQuiet) {
    CMSExcel2k::SetStartFailsForTesting(true);
    {
        CMSExcel2k failed;
        EXPECT_EQ(failed.RunMSExcel(), 0);
    }  // destroying a failed application does nothing visible
    Messages messages;
    CExcelRowArray rows;
    int pages = 0;
    EXPECT_FALSE(Export(rows, FormatTemplate(), pages));
    CMSExcel2k::SetStartFailsForTesting(false);
    ASSERT_EQ(messages.Texts().size(), 1u);
    EXPECT_EQ(messages.Texts()[0].rfind(L"Microsoft Excel konnte nicht gestartet werden...", 0), 0u);
    EXPECT_EQ(messages.LastFlags() & MB_ICONSTOP, static_cast<unsigned>(MB_ICONSTOP));
}

TEST_F(ExcelListExportTest, SheetsAreFoundByTheirExactName) {
    CMSExcel2k excel;
    ASSERT_EQ(excel.RunMSExcel(), 1);
    CWorkbook book;
    excel.AddWorkbook(book, CString(qx::Utf8ToWide((kExamples / "list_format.xlsx").string()).c_str()));
    CWorksheets sheets;
    sheets.AttachSheets(book);
    EXPECT_TRUE(sheets.GetItem(CString(L"Variablen")));
    EXPECT_FALSE(sheets.GetItem(CString(L"variablen")));
    EXPECT_EQ(sheets.GetCount(), 5);
    EXPECT_THROW(sheets.GetItem(short{6}), COleDispatchException);
    CWorksheet sheet;
    sheet.Attach(sheets.GetItem(short{4}));
    COleVariant value;
    sheet.GetValueAt(value, COleVariant(L"C5"));
    EXPECT_EQ(value.vt, VT_R8);
    EXPECT_EQ(value.dblVal, 7.0);
    EXPECT_THROW(sheet.GetValueAt(value, COleVariant(L"not a cell")), COleDispatchException);
}

}  // namespace
