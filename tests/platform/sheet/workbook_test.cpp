// The workbook engine on its own: cell values, sheets, geometry and merged
// ranges through saving and reading again.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "qx/platform/sheet/workbook.h"
#include "tests/platform/sheet/sheet_test_support.h"

namespace {

using namespace qx::sheet;

// The workbook as it reads after saving.
std::unique_ptr<Workbook> Reopen(Workbook& book, const wchar_t* extension = L".xlsx") {
    std::wstring error;
    const auto bytes = book.SaveToBytes(extension, &error);
    EXPECT_TRUE(bytes) << qx::WideToUtf8(error);
    auto again = bytes ? Workbook::FromBytes(*bytes, &error) : nullptr;
    EXPECT_TRUE(again) << qx::WideToUtf8(error);
    return again;
}

TEST(CellNames, NameAndParseEachOther) {
    struct Case {
        std::uint32_t col, row;
        const char* name;
    } cases[] = {{0, 0, "A1"}, {25, 9, "Z10"}, {26, 0, "AA1"}, {51, 0, "AZ1"}, {52, 0, "BA1"}, {701, 0, "ZZ1"},
                 {702, 0, "AAA1"}, {16383, 1048575, "XFD1048576"}};
    for (const Case& c : cases) {
        EXPECT_EQ(CellName(c.col, c.row), c.name);
        EXPECT_EQ(ParseCellName(c.name), (CellPosition{c.col, c.row})) << c.name;
    }
    EXPECT_EQ(ParseCellName("$b$2"), (CellPosition{1, 1}));
    for (const char* bad : {"", "A", "1", "A0", "XFE1", "A1048577", "AAAA1", "A1B", "A-1", " A1"})
        EXPECT_FALSE(ParseCellName(bad)) << bad;
    EXPECT_EQ(CellName(16384, 0), "");
    EXPECT_EQ(ParseRangeName("C3:A1"), (CellRange{0, 0, 2, 2}));
}

TEST(WorkbookRoundTrip, ValuesOfEveryKindComeBack) {
    auto book = Workbook::Create(L"Liste");
    Sheet& sheet = *book->SheetAt(0);
    struct Case {
        std::uint32_t col, row;
        CellValue value;
    } cases[] = {
        {0, 0, CellValue::Number(1.5)},
        {1, 0, CellValue::Number(0.1)},
        {2, 0, CellValue::Number(-1e300)},
        {3, 0, CellValue::Number(123456789012345.0)},
        {4, 0, CellValue::Number(5e-324)},
        {0, 1, CellValue::Text(L"line\nfeed")},
        {1, 1, CellValue::Text(L"carriage\r\nreturn")},
        {2, 1, CellValue::Text(L"  spaced  ")},
        {3, 1, CellValue::Text(L"tab\tand\x01" L"control")},
        {4, 1, CellValue::Text(L"_x0041_ stays as written")},
        // A literal "_x000D" before a character that is itself escaped: the
        // escape's '_' must not complete the literal into a carriage return.
        {9, 1, CellValue::Text(L"a_x000D\x1F" L"b")},
        {5, 1, CellValue::Text(L"Ünïcode € \U0001D11E")},
        {6, 1, CellValue::Text(L"<&>\"'")},
        {7, 1, CellValue::Text(L" ")},
        {8, 1, CellValue::Text(L"")},
        {0, 2, CellValue::Boolean(true)},
        {1, 2, CellValue::Boolean(false)},
        {2, 2, CellValue::Error(L"#DIV/0!")},
        {3, 2, CellValue::Formula(L"SUM(A1:B1)", CellValue::Number(1.6))},
        {4, 2, CellValue::Formula(L"A2&\"x\"", CellValue::Text(L"line\nfeedx"))},
        {5, 2, CellValue::Formula(L"NOW()")},
        {16383, 1048575, CellValue::Text(L"the last cell")},
    };
    for (const Case& c : cases) ASSERT_TRUE(sheet.SetValue(c.col, c.row, c.value)) << CellName(c.col, c.row);
    const auto again = Reopen(*book);
    ASSERT_TRUE(again);
    const Sheet& read = *again->SheetAt(0);
    EXPECT_EQ(read.Name(), L"Liste");
    for (const Case& c : cases) EXPECT_EQ(read.Value(c.col, c.row), c.value) << CellName(c.col, c.row);
    EXPECT_EQ(read.UsedRange(), (CellRange{0, 0, 16383, 1048575}));
}

TEST(WorkbookRoundTrip, RefusedValuesLeaveTheCellAlone) {
    auto book = Workbook::Create();
    Sheet& sheet = *book->SheetAt(0);
    ASSERT_TRUE(sheet.SetValue(0, 0, CellValue::Number(7)));
    EXPECT_FALSE(sheet.SetValue(0, 0, CellValue::Number(std::numeric_limits<double>::quiet_NaN())));
    EXPECT_FALSE(sheet.SetValue(0, 0, CellValue::Number(std::numeric_limits<double>::infinity())));
    EXPECT_FALSE(sheet.SetValue(0, 0, CellValue::Text(std::wstring(32768, L'x'))));
    EXPECT_EQ(sheet.Value(0, 0), CellValue::Number(7));
    EXPECT_TRUE(sheet.SetValue(1, 0, CellValue::Text(std::wstring(32767, L'x'))));
    EXPECT_FALSE(sheet.SetValue(kMaxColumns, 0, CellValue::Number(1)));
    EXPECT_FALSE(sheet.SetValue(0, kMaxRows, CellValue::Number(1)));
    // Emptying a cell without a format removes it.
    ASSERT_TRUE(sheet.SetValue(0, 0, CellValue()));
    EXPECT_EQ(sheet.UsedRange(), (CellRange{1, 0, 1, 0}));
}

TEST(SheetNames, RenameTakesWhatSpreadsheetProgramsTake) {
    auto book = Workbook::Create(L"Erste");
    ASSERT_TRUE(book->AddSheet(L"Zweite"));
    Sheet& sheet = *book->SheetAt(1);
    struct Case {
        std::wstring name;
        bool accepted;
    } cases[] = {
        {std::wstring(31, L'a'), true},  {std::wstring(32, L'a'), false}, {L"", false},
        {L"a[b", false},                 {L"a]b", false},                 {L"a:b", false},
        {L"a*b", false},                 {L"a?b", false},                 {L"a/b", false},
        {L"a\\b", false},                {L"'quoted", false},             {L"quoted'", false},
        {L"it's", true},                 {L"ERSTE", false},               {L"erste", false},
        {L"Zweite", true},               {L"Stückliste 2024", true},      {L"a\nb", false},
        {L"history", false},             {L"History 2", true},
        // Characters beyond the first plane count twice, as UTF-16 counts them.
        {std::wstring(15, L'\U0001F600') + L"a", true}, {std::wstring(16, L'\U0001F600'), false},
    };
    for (const Case& c : cases) {
        std::wstring error;
        EXPECT_EQ(sheet.Rename(c.name, &error), c.accepted) << qx::WideToUtf8(c.name);
        EXPECT_EQ(error.empty(), c.accepted) << qx::WideToUtf8(c.name);
        if (c.accepted) {
            EXPECT_EQ(sheet.Name(), c.name);
        }
    }
    EXPECT_FALSE(book->AddSheet(L"erste"));
}

TEST(SheetNames, FindSheetComparesExactly) {
    auto book = Workbook::Create(L"KopfSeite1");
    EXPECT_EQ(book->FindSheet(L"KopfSeite1"), book->SheetAt(0));
    EXPECT_EQ(book->FindSheet(L"kopfseite1"), nullptr);
    EXPECT_EQ(book->FindSheet(L"KopfSeite"), nullptr);
}

TEST(SheetNames, RenamingMovesTheReferencesOfFormulas) {
    auto book = Workbook::Create(L"Daten");
    Sheet& list = *book->AddSheet(L"Liste");
    ASSERT_TRUE(list.SetValue(0, 0, CellValue::Formula(L"Daten!A1*2")));
    ASSERT_TRUE(list.SetValue(1, 0, CellValue::Formula(L"SUM('Daten'!A1:A3)+DATEN!B1")));
    ASSERT_TRUE(list.SetValue(2, 0, CellValue::Formula(L"\"Daten!A1\"&Daten2!A1&[1]Daten!A1")));
    ASSERT_TRUE(book->SheetAt(0)->Rename(L"Neue Daten"));
    EXPECT_EQ(list.Value(0, 0).formula, L"'Neue Daten'!A1*2");
    EXPECT_EQ(list.Value(1, 0).formula, L"SUM('Neue Daten'!A1:A3)+'Neue Daten'!B1");
    EXPECT_EQ(list.Value(2, 0).formula, L"\"Daten!A1\"&Daten2!A1&[1]Daten!A1");
    ASSERT_TRUE(book->SheetAt(0)->Rename(L"Basis"));
    EXPECT_EQ(list.Value(0, 0).formula, L"'Basis'!A1*2");
}

TEST(Sheets, AddedSheetsComeLastAndSurviveSaving) {
    auto book = Workbook::Create(L"Stueckliste");
    Sheet* second = book->AddSheet(L"Anhang");
    Sheet* third = book->AddSheet();
    ASSERT_TRUE(second && third);
    EXPECT_EQ(third->Name(), L"Sheet3");
    ASSERT_TRUE(second->SetValue(0, 0, CellValue::Text(L"zwei")));
    ASSERT_TRUE(third->SetValue(0, 0, CellValue::Text(L"drei")));
    const auto again = Reopen(*book);
    ASSERT_EQ(again->SheetCount(), 3u);
    EXPECT_EQ(again->SheetAt(0)->Name(), L"Stueckliste");
    EXPECT_EQ(again->SheetAt(1)->Name(), L"Anhang");
    EXPECT_EQ(again->SheetAt(2)->Name(), L"Sheet3");
    EXPECT_EQ(again->SheetAt(1)->Value(0, 0), CellValue::Text(L"zwei"));
    EXPECT_EQ(again->SheetAt(2)->Value(0, 0), CellValue::Text(L"drei"));
    // A sheet added to a read workbook gets a part of its own.
    ASSERT_TRUE(again->AddSheet(L"Vier")->SetValue(1, 1, CellValue::Number(4)));
    const auto third_time = Reopen(*again);
    EXPECT_EQ(third_time->SheetCount(), 4u);
    EXPECT_EQ(third_time->SheetAt(2)->Value(0, 0), CellValue::Text(L"drei"));
    EXPECT_EQ(third_time->FindSheet(L"Vier")->Value(1, 1), CellValue::Number(4));
}

TEST(Sheets, ActivatingSelectsThatSheetAlone) {
    auto book = Workbook::Create(L"Eins");
    Sheet& two = *book->AddSheet(L"Zwei");
    EXPECT_EQ(book->ActiveSheet(), book->SheetAt(0));
    ASSERT_TRUE(book->Activate(two));
    ASSERT_TRUE(two.Select(2, 4));
    const auto bytes = book->SaveToBytes();
    const auto parts = qx::ReadZipMembers(*bytes);
    for (const qx::ZipMember& part : *parts) {
        if (part.name == "xl/worksheets/sheet1.xml") {
            EXPECT_EQ(part.data.find("tabSelected"), std::string::npos);
        } else if (part.name.starts_with("xl/worksheets/sheet2")) {
            EXPECT_NE(part.data.find("tabSelected=\"1\""), std::string::npos);
        }
    }
    const auto again = Workbook::FromBytes(*bytes);
    EXPECT_EQ(again->ActiveSheet(), again->SheetAt(1));
    EXPECT_EQ(again->SheetAt(1)->ActiveCell(), (CellPosition{2, 4}));
    EXPECT_EQ(again->SheetAt(0)->ActiveCell(), (CellPosition{0, 0}));
}

TEST(Geometry, WidthsAndHeightsAreThoseProgramsShow) {
    auto book = Workbook::Create();
    Sheet& sheet = *book->SheetAt(0);
    EXPECT_DOUBLE_EQ(sheet.ColumnWidth(3), 8.43);
    EXPECT_DOUBLE_EQ(sheet.RowHeight(3), 15);
    struct Width {
        double set, shown;
    } widths[] = {{20, 20}, {8.43, 8.43}, {10.71, 10.71}, {255, 255}, {0, 0}, {0.5, 0.43}, {12.3, 12.29}};
    for (std::uint32_t i = 0; i < std::size(widths); ++i) ASSERT_TRUE(sheet.SetColumnWidth(i, widths[i].set));
    for (double bad : {-1.0, 255.5, std::numeric_limits<double>::quiet_NaN()}) EXPECT_FALSE(sheet.SetColumnWidth(9, bad));
    const double heights[] = {30, 0, 409.5, 12.75};
    for (std::uint32_t i = 0; i < std::size(heights); ++i) ASSERT_TRUE(sheet.SetRowHeight(i, heights[i]));
    for (double bad : {-1.0, 410.0}) EXPECT_FALSE(sheet.SetRowHeight(9, bad));
    // The middle of a run of columns of one width takes a width of its own.
    ASSERT_TRUE(sheet.SetColumnWidth(20, 5));
    ASSERT_TRUE(sheet.SetColumnWidth(21, 5));
    ASSERT_TRUE(sheet.SetColumnWidth(22, 5));
    ASSERT_TRUE(sheet.SetColumnWidth(21, 30));

    const auto again = Reopen(*book);
    const Sheet& read = *again->SheetAt(0);
    for (std::uint32_t i = 0; i < std::size(widths); ++i) EXPECT_DOUBLE_EQ(read.ColumnWidth(i), widths[i].shown) << i;
    for (std::uint32_t i = 0; i < std::size(heights); ++i) EXPECT_DOUBLE_EQ(read.RowHeight(i), heights[i]) << i;
    EXPECT_DOUBLE_EQ(read.ColumnWidth(20), 5);
    EXPECT_DOUBLE_EQ(read.ColumnWidth(21), 30);
    EXPECT_DOUBLE_EQ(read.ColumnWidth(22), 5);
    EXPECT_DOUBLE_EQ(read.ColumnWidth(23), 8.43);
    EXPECT_DOUBLE_EQ(read.RowHeight(9), 15);
}

TEST(Merges, MergedRangesDoNotOverlap) {
    auto book = Workbook::Create();
    Sheet& sheet = *book->SheetAt(0);
    EXPECT_TRUE(sheet.Merge({0, 0, 2, 0}));
    EXPECT_TRUE(sheet.Merge({0, 1, 0, 4}));
    EXPECT_FALSE(sheet.Merge({2, 0, 3, 1}));  // overlaps A1:C1
    EXPECT_FALSE(sheet.Merge({5, 5, 5, 5}));  // one cell
    EXPECT_FALSE(sheet.Merge({0, 0, kMaxColumns, 0}));
    const auto again = Reopen(*book);
    EXPECT_EQ(again->SheetAt(0)->MergedRanges(), (std::vector<CellRange>{{0, 0, 2, 0}, {0, 1, 0, 4}}));
}

TEST(Saving, TheKindFollowsTheFileName) {
    auto book = Workbook::Create();
    struct Case {
        const wchar_t* extension;
        const char* type;
    } cases[] = {{L".xlsx", "spreadsheetml.sheet.main+xml"}, {L".XLSX", "spreadsheetml.sheet.main+xml"},
                 {L".xltx", "spreadsheetml.template.main+xml"}, {L".xlsm", "sheet.macroEnabled.main+xml"},
                 {L".xltm", "template.macroEnabled.main+xml"}, {L"", "spreadsheetml.sheet.main+xml"}};
    for (const Case& c : cases) {
        const auto parts = qx::ReadZipMembers(*book->SaveToBytes(c.extension));
        ASSERT_TRUE(parts);
        EXPECT_EQ((*parts)[0].name, "[Content_Types].xml");
        EXPECT_NE((*parts)[0].data.find(c.type), std::string::npos) << qx::WideToUtf8(c.extension);
        const auto again = Workbook::FromBytes(*book->SaveToBytes(c.extension));
        EXPECT_EQ(again->IsTemplate(), std::wstring_view(c.extension).find(L"xlt") != std::wstring_view::npos);
    }
}

TEST(Saving, TheFileIsReplacedWholeOrNotAtAll) {
    qx::test::TempDir dir;
    auto book = Workbook::Create();
    ASSERT_TRUE(book->SheetAt(0)->SetValue(0, 0, CellValue::Text(L"neu")));
    qx::test::WriteBytes(dir.path() / "out.xlsx", "old content");
    std::wstring error;
    ASSERT_TRUE(book->Save(dir.Wide("out.xlsx"), &error)) << qx::WideToUtf8(error);
    EXPECT_EQ(Workbook::Open(dir.Wide("out.xlsx"))->SheetAt(0)->Value(0, 0), CellValue::Text(L"neu"));
    EXPECT_FALSE(book->Save(dir.Wide("missing/out.xlsx"), &error));
    EXPECT_NE(error.find(L"missing"), std::wstring::npos) << qx::WideToUtf8(error);
    // Nothing is left behind beside the file.
    size_t entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) entries += !entry.is_directory();
    EXPECT_EQ(entries, 1u);
    EXPECT_FALSE(Workbook::Open(dir.Wide("none.xlsx"), &error));
    EXPECT_NE(error.find(L"does not exist"), std::wstring::npos) << qx::WideToUtf8(error);
}

}  // namespace
