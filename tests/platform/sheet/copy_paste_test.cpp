// Copying ranges and pasting them, within a workbook and between workbooks.
#include <gtest/gtest.h>

#include <regex>

#include "qx/platform/sheet/engine.h"
#include "qx/platform/sheet/workbook.h"
#include "tests/platform/sheet/sheet_test_support.h"

namespace {

using namespace qx::sheet;

// A hand-made workbook whose cell B2 has the second cell format (bold red
// Arial 12, yellow fill, thin borders, "0.000") and the number 2.5, and whose
// A1 holds a shared text.
std::unique_ptr<Workbook> FormattedSource() {
    std::wstring error;
    auto book = Workbook::FromParts(
        qx::test::HandMadePackage("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c></row>"
                                  "<row r=\"2\" ht=\"30\" customHeight=\"1\"><c r=\"B2\" s=\"1\"><v>2.5</v></c></row>",
                                  {"<t>Kopf</t>"}),
        &error);
    EXPECT_TRUE(book) << qx::WideToUtf8(error);
    return book;
}

// How many cell formats the saved styles part lists.
size_t CellFormatCount(Workbook& book) {
    const auto parts = qx::ReadZipMembers(*book.SaveToBytes());
    for (const qx::ZipMember& part : *parts) {
        if (part.name != "xl/styles.xml") continue;
        std::smatch match;
        const std::regex cellXfs("<cellXfs count=\"([0-9]+)\"");
        if (std::regex_search(part.data, match, cellXfs)) return std::stoul(match[1]);
    }
    return 0;
}

void ExpectSourceFormat(const CellFormat& format) {
    EXPECT_TRUE(format.font.bold);
    EXPECT_EQ(format.font.name, "Arial");
    EXPECT_EQ(format.font.size, 12);
    EXPECT_EQ(format.font.color, "FFFF0000");
    EXPECT_EQ(format.fill.pattern, "solid");
    EXPECT_EQ(format.fill.foreground, "FFFFFF00");
    EXPECT_EQ(format.border.left.style, "thin");
    EXPECT_EQ(format.border.bottom.style, "thin");
    EXPECT_EQ(format.numberFormat, "0.000");
}

TEST(CopyPaste, FormatsTravelIntoAnotherWorkbook) {
    auto source = FormattedSource();
    auto target = Workbook::Create(L"Ziel");
    const RangeCopy copy = source->SheetAt(0)->Copy({0, 0, 1, 1});
    Sheet& sheet = *target->SheetAt(0);
    ASSERT_TRUE(sheet.Paste(copy, 3, 10));
    EXPECT_EQ(sheet.Value(3, 10), CellValue::Text(L"Kopf"));
    EXPECT_EQ(sheet.Value(4, 11), CellValue::Number(2.5));
    EXPECT_DOUBLE_EQ(sheet.RowHeight(11), 30);
    ExpectSourceFormat(sheet.Format(4, 11));
    EXPECT_EQ(sheet.Format(3, 10).styleIndex, 0u);
    const auto again = Workbook::FromBytes(*target->SaveToBytes());
    ExpectSourceFormat(again->SheetAt(0)->Format(4, 11));
    EXPECT_DOUBLE_EQ(again->SheetAt(0)->RowHeight(11), 30);
}

TEST(CopyPaste, PastingAgainAddsNoFormats) {
    auto source = FormattedSource();
    auto target = Workbook::Create();
    const RangeCopy copy = source->SheetAt(0)->Copy({0, 0, 1, 1});
    Sheet& sheet = *target->SheetAt(0);
    ASSERT_TRUE(sheet.Paste(copy, 0, 0));
    const size_t once = CellFormatCount(*target);
    EXPECT_EQ(once, 2u);
    for (std::uint32_t i = 1; i < 2000; ++i) ASSERT_TRUE(sheet.Paste(copy, 0, 2 * i));
    // A second copy of the same source, and the formats pasted back.
    ASSERT_TRUE(sheet.Paste(source->SheetAt(0)->Copy({1, 1, 1, 1}), 5, 5));
    ASSERT_TRUE(source->SheetAt(0)->Paste(sheet.Copy({0, 0, 1, 1}), 0, 5));
    EXPECT_EQ(CellFormatCount(*target), once);
    EXPECT_EQ(CellFormatCount(*source), 2u);
    ExpectSourceFormat(sheet.Format(1, 3999));
}

TEST(CopyPaste, ACopyOutlivesItsSource) {
    Engine engine;
    Workbook* target = engine.Add(L"");
    {
        auto source = FormattedSource();
        ASSERT_TRUE(engine.Copy(*source->SheetAt(0), {0, 0, 1, 1}));
        ASSERT_TRUE(source->SheetAt(0)->SetValue(1, 1, CellValue::Text(L"changed after copying")));
    }
    ASSERT_TRUE(engine.Paste(*target->SheetAt(0), 0, 0));
    EXPECT_EQ(target->SheetAt(0)->Value(1, 1), CellValue::Number(2.5));
    ExpectSourceFormat(target->SheetAt(0)->Format(1, 1));
}

TEST(CopyPaste, TheAreaBecomesTheCopy) {
    auto book = Workbook::Create();
    Sheet& sheet = *book->SheetAt(0);
    // The copy: B2 and D3 hold values, the rest of B2:D3 is empty.
    ASSERT_TRUE(sheet.SetValue(1, 1, CellValue::Number(1)));
    ASSERT_TRUE(sheet.SetValue(3, 2, CellValue::Number(2)));
    ASSERT_TRUE(sheet.Merge({2, 1, 3, 1}));
    const RangeCopy copy = sheet.Copy({1, 1, 3, 2});
    EXPECT_EQ(copy.Columns(), 3u);
    EXPECT_EQ(copy.Rows(), 2u);
    // The area B10:D11 is full, with a merge reaching into it from outside.
    for (std::uint32_t col = 0; col < 5; ++col)
        for (std::uint32_t row = 9; row < 11; ++row) ASSERT_TRUE(sheet.SetValue(col, row, CellValue::Text(L"old")));
    ASSERT_TRUE(sheet.Merge({3, 8, 4, 9}));
    ASSERT_TRUE(sheet.Paste(copy, 1, 9));
    EXPECT_EQ(sheet.Value(1, 9), CellValue::Number(1));
    EXPECT_EQ(sheet.Value(2, 9), CellValue());
    EXPECT_EQ(sheet.Value(3, 10), CellValue::Number(2));
    EXPECT_EQ(sheet.Value(1, 10), CellValue());
    EXPECT_EQ(sheet.Value(0, 9), CellValue::Text(L"old"));
    EXPECT_EQ(sheet.Value(4, 10), CellValue::Text(L"old"));
    EXPECT_EQ(sheet.MergedRanges(), (std::vector<CellRange>{{2, 1, 3, 1}, {2, 9, 3, 9}}));
    // Overlapping itself: the copy was taken before.
    ASSERT_TRUE(sheet.Paste(copy, 2, 1));
    EXPECT_EQ(sheet.Value(2, 1), CellValue::Number(1));
    EXPECT_EQ(sheet.Value(4, 2), CellValue::Number(2));
    EXPECT_EQ(sheet.Value(3, 2), CellValue());
    EXPECT_EQ(sheet.Value(1, 1), CellValue::Number(1));
}

TEST(CopyPaste, NothingIsPastedBeyondTheGrid) {
    auto book = Workbook::Create();
    Sheet& sheet = *book->SheetAt(0);
    ASSERT_TRUE(sheet.SetValue(0, 0, CellValue::Number(1)));
    const RangeCopy copy = sheet.Copy({0, 0, 1, 1});
    std::wstring error;
    EXPECT_FALSE(sheet.Paste(copy, kMaxColumns - 1, 0, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(sheet.Paste(copy, 0, kMaxRows - 1));
    EXPECT_TRUE(sheet.Paste(copy, kMaxColumns - 2, kMaxRows - 2));
    EXPECT_TRUE(sheet.Copy({0, 0, kMaxColumns, 0}).Empty());
    EXPECT_FALSE(sheet.Paste(RangeCopy(), 0, 0));
    Engine engine;
    EXPECT_FALSE(engine.Paste(sheet, 0, 0, &error));
    EXPECT_EQ(error, L"the clipboard is empty");
}

TEST(CopyPaste, FormulasMoveWithTheirCells) {
    struct Case {
        const wchar_t* formula;
        int columns, rows;
        const wchar_t* moved;
    } cases[] = {
        {L"A1+B2", 1, 1, L"B2+C3"},
        {L"$A$1+A$1+$A1", 2, 3, L"$A$1+C$1+$A4"},
        {L"SUM(A1:B3)", 0, 5, L"SUM(A6:B8)"},
        {L"SUM(A:A)", 1, 0, L"SUM(B:B)"},
        {L"SUM($A:B)", 1, 0, L"SUM($A:C)"},
        {L"SUM(1:2)", 0, 2, L"SUM(3:4)"},
        {L"Tabelle2!A1", 1, 0, L"Tabelle2!B1"},
        {L"'Mein Blatt'!A1", 0, 1, L"'Mein Blatt'!A2"},
        {L"\"A1\"&A1", 0, 1, L"\"A1\"&A2"},
        {L"LOG10(A1)", 0, 1, L"LOG10(A2)"},
        {L"Table1[Col1]+A1", 0, 1, L"Table1[Col1]+A2"},
        {L"1E+3*A1", 0, 1, L"1E+3*A2"},
        {L"TRUE", 0, 1, L"TRUE"},
        {L"A1", -1, 0, L"#REF!"},
        {L"XFD1", 1, 0, L"#REF!"},
        {L"Übersicht!A1&Zelle", 0, 1, L"Übersicht!A2&Zelle"},
        {L"#REF!+A1", 0, 1, L"#REF!+A2"},
    };
    for (const Case& c : cases) {
        auto book = Workbook::Create();
        Sheet& sheet = *book->SheetAt(0);
        ASSERT_TRUE(sheet.SetValue(1, 1, CellValue::Formula(c.formula, CellValue::Number(1))));
        ASSERT_TRUE(sheet.Paste(sheet.Copy({1, 1, 1, 1}), 1 + c.columns, 1 + c.rows));
        const CellValue moved = sheet.Value(1 + c.columns, 1 + c.rows);
        EXPECT_EQ(moved.formula, c.moved) << qx::WideToUtf8(c.formula);
        EXPECT_EQ(moved.number, 1);
        EXPECT_NE(book->SaveToBytes()->size(), 0u);
    }
}

TEST(CopyPaste, SharedFormulasAreReadAsTheirOwn) {
    std::wstring error;
    auto book = Workbook::FromParts(qx::test::HandMadePackage(
        "<row r=\"1\"><c r=\"A1\"><v>1</v></c><c r=\"B1\"><f t=\"shared\" ref=\"B1:B3\" si=\"0\">A1*2</f><v>2</v></c></row>"
        "<row r=\"2\"><c r=\"B2\"><f t=\"shared\" si=\"0\"/><v>0</v></c></row>"
        "<row r=\"3\"><c r=\"B3\"><f t=\"shared\" si=\"0\"/><v>0</v></c></row>"), &error);
    ASSERT_TRUE(book) << qx::WideToUtf8(error);
    const Sheet& sheet = *book->SheetAt(0);
    EXPECT_EQ(sheet.Value(1, 0).formula, L"A1*2");
    EXPECT_EQ(sheet.Value(1, 1).formula, L"A2*2");
    EXPECT_EQ(sheet.Value(1, 2).formula, L"A3*2");
    const auto again = Workbook::FromBytes(*book->SaveToBytes());
    EXPECT_EQ(again->SheetAt(0)->Value(1, 2).formula, L"A3*2");
}

TEST(CopyPaste, InlineAndFormattedTextsTravelWhole) {
    std::wstring error;
    auto book = Workbook::FromParts(
        qx::test::HandMadePackage("<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t xml:space=\"preserve\"> inline </t></is></c>"
                                  "<c r=\"B1\" t=\"inlineStr\"><is><r><rPr><b/></rPr><t>halb</t></r><r><t>fett</t></r></is></c>"
                                  "<c r=\"C1\" t=\"s\"><v>0</v></c></row>",
                                  {"<r><rPr><i/></rPr><t>schräg</t></r><r><t xml:space=\"preserve\"> und gerade</t></r>"}),
        &error);
    ASSERT_TRUE(book) << qx::WideToUtf8(error);
    auto target = Workbook::Create();
    ASSERT_TRUE(target->SheetAt(0)->Paste(book->SheetAt(0)->Copy({0, 0, 2, 0}), 0, 0));
    const auto again = Workbook::FromBytes(*target->SaveToBytes());
    const Sheet& sheet = *again->SheetAt(0);
    EXPECT_EQ(sheet.Value(0, 0), CellValue::Text(L" inline "));
    EXPECT_EQ(sheet.Value(1, 0), CellValue::Text(L"halbfett"));
    EXPECT_EQ(sheet.Value(2, 0), CellValue::Text(L"schräg und gerade"));
    // The runs keep their formats in the shared string table.
    const auto parts = qx::ReadZipMembers(*again->SaveToBytes());
    for (const qx::ZipMember& part : *parts) {
        if (part.name == "xl/sharedStrings.xml") {
            EXPECT_NE(part.data.find("<r><rPr><b/></rPr><t>halb</t></r><r><t>fett</t></r>"), std::string::npos) << part.data;
            EXPECT_NE(part.data.find("<r><rPr><i/></rPr><t>schräg</t></r>"), std::string::npos) << part.data;
        }
    }
}

TEST(Engine, HoldsItsWorkbooksUntilClosed) {
    qx::test::TempDir dir;
    Engine engine;
    Workbook* book = engine.Add(L"");
    ASSERT_TRUE(book);
    ASSERT_TRUE(book->SheetAt(0)->SetValue(0, 0, CellValue::Text(L"gespeichert")));
    std::wstring error;
    EXPECT_FALSE(engine.Close(book, dir.Wide("no/such/folder/out.xlsx"), &error));
    EXPECT_EQ(engine.WorkbookCount(), 1u);  // still open after a failed save
    ASSERT_TRUE(engine.Close(book, dir.Wide("out.xlsx"), &error)) << qx::WideToUtf8(error);
    EXPECT_EQ(engine.WorkbookCount(), 0u);
    EXPECT_FALSE(engine.Close(book));
    Workbook* reread = engine.Add(dir.Wide("out.xlsx"), &error);
    ASSERT_TRUE(reread) << qx::WideToUtf8(error);
    EXPECT_EQ(reread->SheetAt(0)->Value(0, 0), CellValue::Text(L"gespeichert"));
    EXPECT_FALSE(engine.Add(dir.Wide("none.xlsx"), &error));
    EXPECT_EQ(engine.WorkbookCount(), 1u);
}

}  // namespace
