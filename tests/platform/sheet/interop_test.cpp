// The engine against an independent reader and writer: templates made by
// openpyxl are read and filled, and what the engine writes is read back by
// openpyxl.
#include <gtest/gtest.h>

#include "qx/platform/sheet/engine.h"
#include "qx/platform/sheet/workbook.h"
#include "tests/platform/sheet/sheet_test_support.h"

namespace {

using namespace qx::sheet;
using qx::test::Python;

// A format template as the list exports use one: a header table, a table of
// column contents whose row 5 is the formatted data row, and a base
// template whose first table the output becomes.
constexpr const char* kMakeTemplates = R"py(
from openpyxl.styles import Font, PatternFill, Border, Side, Alignment
form = openpyxl.Workbook()
head = form.active
head.title = "KopfSeite1"
head["A1"] = "Projekt $proj_nr"
head["A1"].font = Font(name="Arial", size=14, bold=True)
head.merge_cells("A1:C1")
head.row_dimensions[1].height = 28
head["A2"] = "Pos"
head["B2"] = "Menge"
head["C2"] = "Text"
for c in ("A2", "B2", "C2"):
    head[c].border = Border(bottom=Side("medium"))
columns = form.create_sheet("SpaltenInhalt")
for i, name in enumerate(["POS", "MENGE", "TEXT"]):
    columns.cell(row=4, column=3 + i, value=name)
    cell = columns.cell(row=5, column=3 + i)
    cell.font = Font(bold=(i == 0), italic=(i == 2))
    cell.fill = PatternFill("solid", fgColor="FFDDEEFF")
    cell.border = Border(left=Side("thin"), right=Side("thin"), top=Side("thin"), bottom=Side("thin"))
    cell.alignment = Alignment(wrap_text=(i == 2), vertical="top")
columns["D5"].number_format = "0.00"
columns.merge_cells("E5:F5")
columns.row_dimensions[5].height = 30
# Widths as files store them: 6, 10 and 40 characters and the padding.
columns.column_dimensions["C"].width = 6.7109375
columns.column_dimensions["D"].width = 10.7109375
columns.column_dimensions["E"].width = 40.7109375
form.save(sys.argv[1])
base = openpyxl.Workbook()
base.active.title = "Tabelle1"
base.active["A1"] = "wird ersetzt"
base.template = True
base.save(sys.argv[2])
)py";

// Prints, for the output file, the facts the test compares.
constexpr const char* kReadOutput = R"py(
wb = openpyxl.load_workbook(sys.argv[1])
print("sheets", wb.sheetnames)
ws = wb["Stueckliste"]
print("A1", repr(ws["A1"].value), ws["A1"].font.b, ws["A1"].font.sz, ws["A1"].font.name)
print("merged", sorted(str(r) for r in ws.merged_cells.ranges))
print("heights", [ws.row_dimensions[r].height for r in range(1, 6)])
print("widths", [round(ws.column_dimensions[c].width, 2) for c in "ABC"])
for r in (3, 4, 5):
    print("row", r, [ws.cell(row=r, column=c).value for c in (1, 2, 3)])
b4 = ws["B4"]
print("B4", b4.number_format, b4.fill.fgColor.rgb, b4.border.left.style, b4.border.bottom.style, b4.font.b)
print("A4", ws["A4"].font.b, "C4", ws["C4"].font.i, ws["C4"].alignment.wrap_text, ws["C4"].alignment.vertical)
print("A2", ws["A2"].border.bottom.style)
print("styles", len(wb._cell_styles))
print("Anhang", repr(wb["Anhang"]["A1"].value))
print("active", wb.active.title)
)py";

TEST(Interop, AListFilledFromOpenpyxlTemplatesReadsBackInOpenpyxl) {
    QX_SKIP_WITHOUT_OPENPYXL();
    qx::test::TempDir dir;
    Python(kMakeTemplates, {dir.Native("format.xlsx"), dir.Native("base.xltx")});

    Engine engine;
    std::wstring error;
    Workbook* form = engine.Add(dir.Wide("format.xlsx"), &error);
    ASSERT_TRUE(form) << qx::WideToUtf8(error);
    Workbook* output = engine.Add(dir.Wide("base.xltx"), &error);
    ASSERT_TRUE(output) << qx::WideToUtf8(error);
    EXPECT_TRUE(output->IsTemplate());
    Sheet* head = form->FindSheet(L"KopfSeite1");
    Sheet* columns = form->FindSheet(L"SpaltenInhalt");
    ASSERT_TRUE(head && columns);
    EXPECT_EQ(columns->Value(3, 3), CellValue::Text(L"MENGE"));
    EXPECT_DOUBLE_EQ(columns->RowHeight(4), 30);
    EXPECT_DOUBLE_EQ(columns->ColumnWidth(4), 40);

    Sheet& list = *output->SheetAt(0);
    ASSERT_TRUE(list.Rename(L"Stueckliste"));
    for (std::uint32_t col = 0; col < 3; ++col) ASSERT_TRUE(list.SetColumnWidth(col, columns->ColumnWidth(col + 2)));
    ASSERT_TRUE(engine.Copy(*head, {0, 0, 2, 1}));
    ASSERT_TRUE(engine.Paste(list, 0, 0));
    for (std::uint32_t row = 0; row < 2; ++row) ASSERT_TRUE(list.SetRowHeight(row, head->RowHeight(row)));
    ASSERT_TRUE(engine.Copy(*columns, {2, 4, 5, 4}));
    const double texts = 3;
    for (std::uint32_t row = 2; row < 5; ++row) {
        ASSERT_TRUE(engine.Paste(list, 0, row));
        ASSERT_TRUE(list.SetRowHeight(row, columns->RowHeight(4) * (row == 4 ? 2 : 1)));
        ASSERT_TRUE(list.SetValue(0, row, CellValue::Number(row - 1)));
        ASSERT_TRUE(list.SetValue(1, row, CellValue::Number(texts * row + 0.25)));
        ASSERT_TRUE(list.SetValue(2, row, CellValue::Text(row == 4 ? L"Rohr\nDN 20" : L"Bogen")));
    }
    ASSERT_TRUE(list.SetValue(0, 0, CellValue::Text(L"Projekt 4711")));
    ASSERT_TRUE(output->AddSheet(L"Anhang")->SetValue(0, 0, CellValue::Text(L"Anlage")));
    ASSERT_TRUE(list.Select(0, 0));
    ASSERT_TRUE(engine.Close(output, dir.Wide("out.xlsx"), &error)) << qx::WideToUtf8(error);

    const std::string facts = Python(kReadOutput, {dir.Native("out.xlsx")});
    EXPECT_EQ(facts,
              "sheets ['Stueckliste', 'Anhang']\n"
              "A1 'Projekt 4711' True 14.0 Arial\n"
              "merged ['A1:C1', 'C3:D3', 'C4:D4', 'C5:D5']\n"
              "heights [28.0, 15.0, 30.0, 30.0, 60.0]\n"
              "widths [6.71, 10.71, 40.71]\n"
              "row 3 [1, 6.25, 'Bogen']\n"
              "row 4 [2, 9.25, 'Bogen']\n"
              "row 5 [3, 12.25, 'Rohr\\nDN 20']\n"
              "B4 0.00 FFDDEEFF thin thin False\n"
              "A4 True C4 True True top\n"
              "A2 medium\n"
              "styles 7\n"
              "Anhang 'Anlage'\n"
              "active Stueckliste\n");
}

// A workbook with every kind of value, formats, widths, heights, merges and
// names, as openpyxl writes them.
constexpr const char* kMakeRich = R"py(
from openpyxl.styles import Font, PatternFill, Border, Side
from openpyxl.workbook.defined_name import DefinedName
wb = openpyxl.Workbook()
ws = wb.active
ws.title = "Alte Liste"
ws["A1"] = 1.5
ws["B1"] = "Text\nzweite Zeile"
ws["C1"] = True
ws["D1"] = "=SUM(A1:A2)"
ws["E1"] = "ümläut € 𝄞"
ws["A2"] = 42
ws["A2"].number_format = "0.00"
ws["B2"] = "fett"
ws["B2"].font = Font(name="Arial", size=12, bold=True, color="FFFF0000")
ws["B2"].fill = PatternFill("solid", fgColor="FFFFFF00")
ws["B2"].border = Border(left=Side("thin"), bottom=Side("double"))
ws.column_dimensions["B"].width = 20.7109375
ws.row_dimensions[2].height = 30
ws.merge_cells("C3:E4")
ws.print_area = "A1:E10"
wb.defined_names.append(DefinedName("Werte", attr_text="'Alte Liste'!$A$1:$A$2"))
wb.create_sheet("Zweite")["A1"] = "=SUM('Alte Liste'!A1:A2)"
wb.save(sys.argv[1])
)py";

TEST(Interop, WhatOpenpyxlWritesReadsAsWritten) {
    QX_SKIP_WITHOUT_OPENPYXL();
    qx::test::TempDir dir;
    Python(kMakeRich, {dir.Native("rich.xlsx")});
    std::wstring error;
    const auto book = Workbook::Open(dir.Wide("rich.xlsx"), &error);
    ASSERT_TRUE(book) << qx::WideToUtf8(error);
    ASSERT_EQ(book->SheetCount(), 2u);
    const Sheet& sheet = *book->SheetAt(0);
    EXPECT_EQ(sheet.Name(), L"Alte Liste");
    EXPECT_EQ(sheet.Value(0, 0), CellValue::Number(1.5));
    EXPECT_EQ(sheet.Value(1, 0), CellValue::Text(L"Text\nzweite Zeile"));
    EXPECT_EQ(sheet.Value(2, 0), CellValue::Boolean(true));
    EXPECT_EQ(sheet.Value(3, 0), CellValue::Formula(L"SUM(A1:A2)"));
    EXPECT_EQ(sheet.Value(4, 0), CellValue::Text(L"ümläut € \U0001D11E"));
    EXPECT_EQ(sheet.Format(0, 1).numberFormat, "0.00");
    const CellFormat bold = sheet.Format(1, 1);
    EXPECT_TRUE(bold.font.bold);
    EXPECT_EQ(bold.font.name, "Arial");
    EXPECT_EQ(bold.font.color, "FFFF0000");
    EXPECT_EQ(bold.fill.foreground, "FFFFFF00");
    EXPECT_EQ(bold.border.left.style, "thin");
    EXPECT_EQ(bold.border.bottom.style, "double");
    EXPECT_DOUBLE_EQ(sheet.ColumnWidth(1), 20);
    EXPECT_DOUBLE_EQ(sheet.RowHeight(1), 30);
    EXPECT_EQ(sheet.MergedRanges(), (std::vector<CellRange>{{2, 2, 4, 3}}));
    bool printArea = false, values = false;
    for (const Workbook::DefinedName& name : book->DefinedNames()) {
        if (name.name == L"_xlnm.Print_Area") printArea = name.sheet == 0u && name.formula == L"'Alte Liste'!$A$1:$E$10";
        if (name.name == L"Werte") values = name.formula == L"'Alte Liste'!$A$1:$A$2";
    }
    EXPECT_TRUE(printArea && values);
}

TEST(Interop, ARenamedSheetTakesItsNamesAlong) {
    QX_SKIP_WITHOUT_OPENPYXL();
    qx::test::TempDir dir;
    Python(kMakeRich, {dir.Native("rich.xlsx")});
    auto book = Workbook::Open(dir.Wide("rich.xlsx"));
    ASSERT_TRUE(book);
    ASSERT_TRUE(book->SheetAt(0)->Rename(L"Neue Liste"));
    ASSERT_TRUE(book->Save(dir.Wide("renamed.xlsx")));
    EXPECT_NE(qx::test::ZipParts(dir.path() / "renamed.xlsx")["xl/workbook.xml"].find(
                  "localSheetId=\"0\">'Neue Liste'!$A$1:$E$10</definedName>"),
              std::string::npos);
    EXPECT_EQ(Python(R"py(
wb = openpyxl.load_workbook(sys.argv[1])
print(wb.sheetnames)
print(wb["Neue Liste"].print_area)
print(wb.defined_names["Werte"].attr_text)
print(wb["Zweite"]["A1"].value)
)py",
                     {dir.Native("renamed.xlsx")}),
              "['Neue Liste', 'Zweite']\n"
              "['$A$1:$E$10']\n"
              "'Neue Liste'!$A$1:$A$2\n"
              "=SUM('Neue Liste'!A1:A2)\n");
}

TEST(Interop, ATemplateIsSavedAsAWorkbook) {
    QX_SKIP_WITHOUT_OPENPYXL();
    qx::test::TempDir dir;
    Python(kMakeTemplates, {dir.Native("format.xlsx"), dir.Native("base.xltx")});
    EXPECT_NE(qx::test::ZipParts(dir.path() / "base.xltx")["[Content_Types].xml"].find("template.main+xml"),
              std::string::npos);
    auto book = Workbook::Open(dir.Wide("base.xltx"));
    ASSERT_TRUE(book && book->IsTemplate());
    ASSERT_TRUE(book->Save(dir.Wide("saved.xlsx")));
    const std::string types = qx::test::ZipParts(dir.path() / "saved.xlsx")["[Content_Types].xml"];
    EXPECT_EQ(types.find("template.main+xml"), std::string::npos);
    EXPECT_NE(types.find("spreadsheetml.sheet.main+xml"), std::string::npos);
    EXPECT_EQ(Python("wb = openpyxl.load_workbook(sys.argv[1])\nprint(wb.template, wb.active['A1'].value)",
                     {dir.Native("saved.xlsx")}),
              "False wird ersetzt\n");
    EXPECT_FALSE(Workbook::Open(dir.Wide("saved.xlsx"))->IsTemplate());
}

}  // namespace
