// Files no valid writer makes: each is refused with its reason, or, where
// the damage is a format index that does not exist, read with the standard
// format in its place. None may crash the reader or make it allocate what a
// count in the file claims.
#include <gtest/gtest.h>

#include "qx/platform/sheet/workbook.h"
#include "tests/platform/sheet/sheet_test_support.h"

namespace {

using namespace qx::sheet;
using qx::test::HandMadePackage;

std::unique_ptr<Workbook> Read(const std::vector<qx::ZipMember>& parts, std::string& error) {
    std::wstring why;
    auto book = Workbook::FromParts(parts, &why);
    error = qx::WideToUtf8(why);
    return book;
}

const std::string kRels = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

TEST(HostileInput, PackagesThatNoValidFileIsAreRefused) {
    std::string unnamed;
    for (std::uint32_t i = 0; i <= kMaxColumns; ++i) unnamed += "<c><v>1</v></c>";
    std::string deep = "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData/>";
    for (int i = 0; i < 200000; ++i) deep += "<extLst>";
    for (int i = 0; i < 200000; ++i) deep += "</extLst>";
    deep += "</worksheet>";
    const std::string twoSheets = "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" xmlns:r=\"" +
                                  kRels + "\"><sheets><sheet name=\"A\" sheetId=\"1\" r:id=\"rId1\"/>"
                                  "<sheet name=\"B\" sheetId=\"2\" r:id=\"rId1\"/></sheets></workbook>";
    const std::string outside = "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                                "<Relationship Id=\"rId1\" Type=\"" + kRels + "/worksheet\" Target=\"../../../etc/passwd\"/>"
                                "</Relationships>";
    struct Case {
        const char* what;
        std::vector<qx::ZipMember> parts;
        const char* reason;
    } cases[] = {
        {"a column beyond XFD", HandMadePackage("<row r=\"1\"><c r=\"XFE1\"><v>1</v></c></row>"), "beyond the grid"},
        {"a row beyond the last", HandMadePackage("<row r=\"1\"><c r=\"A1048577\"><v>1</v></c></row>"), "beyond the grid"},
        {"a row number beyond the last", HandMadePackage("<row r=\"1048577\"/>"), "beyond the grid"},
        {"row number 0", HandMadePackage("<row r=\"0\"/>"), "beyond the grid"},
        {"a cell in the wrong row", HandMadePackage("<row r=\"1\"><c r=\"A2\"><v>1</v></c></row>"), "is given in row 1"},
        {"unnamed cells past XFD", HandMadePackage("<row r=\"1\">" + unnamed + "</row>"), "beyond the grid"},
        {"a shared text that does not exist", HandMadePackage("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>1</v></c></row>", {"<t>x</t>"}),
         "does not exist"},
        {"a negative shared text", HandMadePackage("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>-1</v></c></row>", {"<t>x</t>"}),
         "does not exist"},
        {"a shared formula without its first cell",
         HandMadePackage("<row r=\"1\"><c r=\"A1\"><f t=\"shared\" si=\"3\"/><v>1</v></c></row>"), "does not exist"},
        {"a number that is none", HandMadePackage("<row r=\"1\"><c r=\"A1\"><v>12abc</v></c></row>"), "no number"},
        {"an unknown cell type", HandMadePackage("<row r=\"1\"><c r=\"A1\" t=\"q\"><v>1</v></c></row>"), "unknown"},
        {"a malformed merged range",
         HandMadePackage("", {}, {{"xl/worksheets/sheet1.xml",
                                   "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData/>"
                                   "<mergeCells><mergeCell ref=\"A1:ZZZZ1\"/></mergeCells></worksheet>"}}),
         "malformed"},
        {"a column range beyond the grid",
         HandMadePackage("", {}, {{"xl/worksheets/sheet1.xml",
                                   "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
                                   "<cols><col min=\"1\" max=\"16385\" width=\"9\"/></cols><sheetData/></worksheet>"}}),
         "beyond the grid"},
        {"nesting 200000 deep", HandMadePackage("", {}, {{"xl/worksheets/sheet1.xml", deep}}), "nested more than"},
        {"a sheet that is no XML", HandMadePackage("", {}, {{"xl/worksheets/sheet1.xml", "<worksheet><sheetData>"}}),
         "not well-formed"},
        {"a missing sheet part", HandMadePackage("", {}, {{"xl/worksheets/sheet1.xml", ""}}), "is missing"},
        {"a relationship out of the package", HandMadePackage("", {}, {{"xl/_rels/workbook.xml.rels", outside}}), "is missing"},
        {"two sheets on one part", HandMadePackage("", {}, {{"xl/workbook.xml", twoSheets}}), "share the part"},
        {"members named alike", HandMadePackage("", {}, {{"XL/Styles.xml", "<x/>"}}), "two members"},
        {"no content types", HandMadePackage("", {}, {{"[Content_Types].xml", ""}}), "has no part [Content_Types].xml"},
        {"another kind of document",
         HandMadePackage("", {}, {{"[Content_Types].xml",
                                   "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                                   "<Default Extension=\"xml\" ContentType=\"application/vnd.openxmlformats-officedocument."
                                   "wordprocessingml.document.main+xml\"/></Types>"}}),
         "no spreadsheet"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(Read(c.parts, error)) << c.what;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.what << ": " << error;
    }
}

TEST(HostileInput, ZipArchivesBeyondTheLimitsAreRefused) {
    std::wstring error;
    EXPECT_FALSE(Workbook::FromBytes("not a zip archive at all", &error));
    EXPECT_NE(error.find(L"no readable zip archive"), std::wstring::npos);
    // A member that unpacks to more than a part may hold, from a small file.
    std::vector<qx::ZipMember> parts = HandMadePackage("");
    parts.push_back({"xl/media/bomb.bin", std::string(kMaxPartBytes + 1, '\0')});
    const auto bomb = qx::WriteZipMembers(parts, 9);
    ASSERT_TRUE(bomb);
    EXPECT_LT(bomb->size(), 1u << 20);
    EXPECT_FALSE(Workbook::FromBytes(*bomb, &error));
    EXPECT_NE(error.find(L"unpacks to more than"), std::wstring::npos);
    // A file larger than a package may be is not read at all.
    qx::test::TempDir dir;
    qx::test::WriteBytes(dir.path() / "huge.xlsx", "");
    std::filesystem::resize_file(dir.path() / "huge.xlsx", kMaxPackageBytes + 1);
    EXPECT_FALSE(Workbook::Open(dir.Wide("huge.xlsx"), &error));
    EXPECT_NE(error.find(L"is larger than"), std::wstring::npos);
}

TEST(HostileInput, CountsInTheFileAreNotBelieved) {
    std::string error;
    auto parts = HandMadePackage("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c></row>", {"<t>einzig</t>"});
    for (qx::ZipMember& part : parts) {
        if (part.name == "xl/sharedStrings.xml")
            part.data = "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" count=\"4294967295\" "
                        "uniqueCount=\"4294967295\"><si><t>einzig</t></si></sst>";
        if (part.name == "xl/styles.xml") {
            const size_t at = part.data.find("<fonts count=\"2\"");
            part.data.replace(at, 16, "<fonts count=\"4000000000\"");
        }
    }
    const auto book = Read(parts, error);
    ASSERT_TRUE(book) << error;
    EXPECT_EQ(book->SheetAt(0)->Value(0, 0), CellValue::Text(L"einzig"));
}

TEST(HostileInput, FormatsThatDoNotExistReadAsTheStandardOne) {
    std::string error;
    auto parts = HandMadePackage("<row r=\"1\" s=\"500\" customFormat=\"1\"><c r=\"A1\" s=\"99999\"><v>1</v></c>"
                                 "<c r=\"B1\" s=\"1\"><v>2</v></c></row>");
    for (qx::ZipMember& part : parts) {
        if (part.name != "xl/styles.xml") continue;
        const size_t at = part.data.find("<xf numFmtId=\"164\"");
        const size_t end = part.data.find("/>", at);
        part.data.replace(at, end - at, "<xf numFmtId=\"999\" fontId=\"77\" fillId=\"99\" borderId=\"55\" xfId=\"9\"");
    }
    const auto book = Read(parts, error);
    ASSERT_TRUE(book) << error;
    Workbook* read = book.get();
    const Sheet& sheet = *read->SheetAt(0);
    EXPECT_EQ(sheet.Format(0, 0).styleIndex, 0u);
    const CellFormat second = sheet.Format(1, 0);
    EXPECT_EQ(second.styleIndex, 1u);
    EXPECT_EQ(second.font.name, "Calibri");
    EXPECT_EQ(second.fill.pattern, "none");
    EXPECT_EQ(second.border.left.style, "");
    EXPECT_EQ(second.numberFormat, "General");
    // What is written refers to formats that exist.
    const auto saved = qx::ReadZipMembers(*read->SaveToBytes());
    for (const qx::ZipMember& part : *saved) {
        if (part.name == "xl/styles.xml") {
            for (const char* gone : {"fontId=\"77\"", "fillId=\"99\"", "borderId=\"55\"", "numFmtId=\"999\"", "xfId=\"9\""})
                EXPECT_EQ(part.data.find(gone), std::string::npos) << gone;
        }
        if (part.name == "xl/worksheets/sheet1.xml") {
            EXPECT_EQ(part.data.find("99999"), std::string::npos);
            EXPECT_EQ(part.data.find("s=\"500\""), std::string::npos);
        }
    }
}

TEST(HostileInput, DisorderIsPutInOrder) {
    std::string error;
    const auto book = Read(HandMadePackage("<row r=\"3\"><c r=\"B3\"><v>3</v></c></row>"
                                           "<row r=\"1\"><c r=\"C1\"><v>1</v></c><c r=\"A1\"><v>0</v></c></row>"
                                           "<row r=\"1\"><c r=\"C1\"><v>9</v></c></row>"
                                           "<row><c><v>4</v></c><c><v>5</v></c></row>"),
                           error);
    ASSERT_TRUE(book) << error;
    const Sheet& sheet = *book->SheetAt(0);
    EXPECT_EQ(sheet.Value(0, 0), CellValue::Number(0));
    EXPECT_EQ(sheet.Value(2, 0), CellValue::Number(9));  // the later of two
    EXPECT_EQ(sheet.Value(1, 2), CellValue::Number(3));
    // A row without a number follows the one before; its cells count from A.
    EXPECT_EQ(sheet.Value(0, 1), CellValue::Number(4));
    EXPECT_EQ(sheet.Value(1, 1), CellValue::Number(5));
    const auto again = Workbook::FromBytes(*book->SaveToBytes());
    ASSERT_TRUE(again);
    EXPECT_EQ(again->SheetAt(0)->Value(2, 0), CellValue::Number(9));
}

TEST(HostileInput, AWorkbookWithoutStylesGetsThem) {
    std::string error;
    const auto book = Read(HandMadePackage("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>", {},
                                           {{"xl/styles.xml", ""}}),
                           error);
    ASSERT_TRUE(book) << error;
    const auto saved = book->SaveToBytes();
    const auto again = Workbook::FromBytes(*saved);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->SheetAt(0)->Format(0, 0).font.name, "Calibri");
}

TEST(HostileInput, SheetsWithoutCellsAreKeptAsTheyAre) {
    const std::string chart = "<chartsheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
                              "<sheetViews><sheetView workbookViewId=\"0\"/></sheetViews></chartsheet>";
    auto parts = HandMadePackage("", {}, {
        {"xl/workbook.xml", "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" xmlns:r=\"" + kRels +
                                "\"><sheets><sheet name=\"Blatt1\" sheetId=\"1\" r:id=\"rId1\"/>"
                                "<sheet name=\"Diagramm\" sheetId=\"2\" r:id=\"rId9\"/></sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels",
         "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<Relationship Id=\"rId1\" Type=\"" + kRels + "/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
         "<Relationship Id=\"rId9\" Type=\"" + kRels + "/chartsheet\" Target=\"chartsheets/sheet1.xml\"/></Relationships>"},
        {"xl/chartsheets/sheet1.xml", chart}});
    std::string error;
    auto book = Read(parts, error);
    ASSERT_TRUE(book) << error;
    Sheet& diagram = *book->FindSheet(L"Diagramm");
    EXPECT_FALSE(diagram.IsWorksheet());
    EXPECT_FALSE(diagram.SetValue(0, 0, CellValue::Number(1)));
    EXPECT_TRUE(diagram.Copy({0, 0, 1, 1}).Empty());
    ASSERT_TRUE(diagram.Rename(L"Grafik"));
    const auto saved = qx::ReadZipMembers(*book->SaveToBytes());
    bool kept = false;
    for (const qx::ZipMember& part : *saved) kept |= part.name == "xl/chartsheets/sheet1.xml" && part.data == chart;
    EXPECT_TRUE(kept);
    EXPECT_EQ(Workbook::FromBytes(*book->SaveToBytes())->SheetAt(1)->Name(), L"Grafik");
}

}  // namespace
