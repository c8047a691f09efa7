// What the engine does not edit comes back as it was: the parts of the
// package byte for byte, and the elements of a sheet around its cells.
#include <gtest/gtest.h>

#include <set>

#include "qx/platform/sheet/engine.h"
#include "qx/platform/sheet/workbook.h"
#include "tests/platform/sheet/sheet_test_support.h"

namespace {

using namespace qx::sheet;
using qx::test::Python;

constexpr const char* kMakeLaidOut = R"py(
from PIL import Image as PilImage
from openpyxl.drawing.image import Image
from openpyxl.workbook.defined_name import DefinedName
from openpyxl.worksheet.datavalidation import DataValidation
from openpyxl.formatting.rule import CellIsRule
from openpyxl.styles import PatternFill, Font
PilImage.new("RGB", (40, 20), (200, 30, 30)).save(sys.argv[2])
wb = openpyxl.Workbook()
ws = wb.active
ws.title = "Druck"
ws["A1"] = "Kopf"
ws["A1"].font = Font(bold=True)
ws["A2"] = 5
ws.oddHeader.center.text = "Seite &P von &N"
ws.oddFooter.right.text = "Projekt"
ws.page_setup.orientation = "landscape"
ws.page_setup.paperSize = ws.PAPERSIZE_A4
ws.page_margins.left = 1.25
ws.print_options.gridLines = True
ws.print_area = "A1:F40"
ws.print_title_rows = "1:2"
ws.freeze_panes = "A3"
ws.add_image(Image(sys.argv[2]), "D2")
dv = DataValidation(type="whole", operator="between", formula1="1", formula2="9")
ws.add_data_validation(dv)
dv.add("B2:B9")
ws.conditional_formatting.add("A2:A9", CellIsRule(operator="greaterThan", formula=["3"], fill=PatternFill("solid", fgColor="FFFF0000")))
wb.defined_names.append(DefinedName("Satz", attr_text="Druck!$A$2"))
wb.properties.creator = "Vorlage"
wb.save(sys.argv[1])
)py";

constexpr const char* kReadLaidOut = R"py(
wb = openpyxl.load_workbook(sys.argv[1])
ws = wb["Druck"]
print(ws.oddHeader.center.text, "|", ws.oddFooter.right.text)
print(ws.page_setup.orientation, ws.page_setup.paperSize, ws.page_margins.left, ws.print_options.gridLines)
print(ws.print_area, ws.print_title_rows, ws.freeze_panes)
print(len(ws._images), len(ws.data_validations.dataValidation), len(ws.conditional_formatting))
print(wb.defined_names["Satz"].attr_text, wb.properties.creator)
print(ws["A1"].value, ws["A1"].font.b, ws["A2"].value, ws["A3"].value, ws["A4"].value, ws["A4"].font.b)
)py";

TEST(Preservation, PartsTheEngineDoesNotWriteStayByteForByte) {
    QX_SKIP_WITHOUT_OPENPYXL();
    qx::test::TempDir dir;
    Python(kMakeLaidOut, {dir.Native("layout.xlsx"), dir.Native("red.png")});
    Engine engine;
    std::wstring error;
    Workbook* book = engine.Add(dir.Wide("layout.xlsx"), &error);
    ASSERT_TRUE(book) << qx::WideToUtf8(error);
    Sheet& sheet = *book->SheetAt(0);
    ASSERT_TRUE(sheet.SetValue(0, 2, CellValue::Number(7)));
    ASSERT_TRUE(engine.Copy(sheet, {0, 0, 0, 0}));
    ASSERT_TRUE(engine.Paste(sheet, 0, 3));
    ASSERT_TRUE(engine.Close(book, dir.Wide("saved.xlsx"), &error)) << qx::WideToUtf8(error);

    EXPECT_EQ(Python(kReadLaidOut, {dir.Native("saved.xlsx")}),
              "Seite &P von &N | Projekt\n"
              "landscape 9 1.25 True\n"
              "['$A$1:$F$40'] 1:2 A3\n"
              "1 1 1\n"
              "Druck!$A$2 Vorlage\n"
              "Kopf True 5 7 Kopf True\n");

    const auto before = qx::test::ZipParts(dir.path() / "layout.xlsx");
    const auto after = qx::test::ZipParts(dir.path() / "saved.xlsx");
    const std::set<std::string> written = {"[Content_Types].xml", "xl/workbook.xml", "xl/_rels/workbook.xml.rels",
                                           "xl/worksheets/sheet1.xml", "xl/sharedStrings.xml"};
    size_t compared = 0;
    for (const auto& [name, bytes] : before) {
        if (written.count(name)) continue;
        ASSERT_TRUE(after.count(name)) << name << " is missing";
        EXPECT_EQ(after.at(name), bytes) << name << " changed";
        ++compared;
    }
    // The drawing and its relationships, the picture, the theme, the
    // styles, the sheet's relationships and the document properties.
    EXPECT_GE(compared, 8u);
    EXPECT_TRUE(before.count("xl/media/image1.png"));

    // Around the cells, the sheet keeps its other elements in their order.
    const std::string& part = after.at("xl/worksheets/sheet1.xml");
    size_t at = 0;
    for (const char* element : {"<sheetViews>", "<pane ", "<sheetData>", "<conditionalFormatting", "<dataValidations",
                                "<printOptions", "<pageMargins", "<pageSetup", "<headerFooter", "<drawing "}) {
        const size_t found = part.find(element, at);
        EXPECT_NE(found, std::string::npos) << element << " missing or out of order";
        if (found != std::string::npos) at = found;
    }
}

TEST(Preservation, APrefixedMainNamespaceStaysConsistent) {
    QX_SKIP_WITHOUT_OPENPYXL();
    // Some writers name the main namespace with a prefix; parts added and
    // entries imported must use that prefix too.
    const std::string ns = "xmlns:x=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"";
    const std::string rels = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    auto parts = qx::test::HandMadePackage(
        "", {},
        {{"xl/workbook.xml", "<x:workbook " + ns + " xmlns:r=\"" + rels +
                                 "\"><x:sheets><x:sheet name=\"Blatt1\" sheetId=\"1\" r:id=\"rId1\"/></x:sheets></x:workbook>"},
         {"xl/worksheets/sheet1.xml", "<x:worksheet " + ns + "><x:sheetData><x:row r=\"1\"><x:c r=\"A1\" t=\"s\"><x:v>0</x:v>"
                                                              "</x:c></x:row></x:sheetData></x:worksheet>"},
         {"xl/sharedStrings.xml", "<x:sst " + ns + "><x:si><x:r><x:rPr><x:b/></x:rPr><x:t>fett</x:t></x:r>"
                                                  "<x:r><x:t xml:space=\"preserve\"> und nicht</x:t></x:r></x:si></x:sst>"},
         {"xl/styles.xml", "<x:styleSheet " + ns + "><x:fonts count=\"1\"><x:font><x:sz val=\"10\"/><x:name val=\"Arial\"/>"
                                                  "</x:font></x:fonts></x:styleSheet>"}});
    std::wstring error;
    auto book = Workbook::FromParts(parts, &error);
    ASSERT_TRUE(book) << qx::WideToUtf8(error);
    Sheet& sheet = *book->SheetAt(0);
    EXPECT_EQ(sheet.Value(0, 0), CellValue::Text(L"fett und nicht"));
    auto styled = Workbook::FromParts(qx::test::HandMadePackage("<row r=\"1\"><c r=\"A1\" s=\"1\"><v>1</v></c></row>"));
    ASSERT_TRUE(sheet.Paste(styled->SheetAt(0)->Copy({0, 0, 0, 0}), 1, 1));
    ASSERT_TRUE(sheet.Merge({2, 2, 3, 3}));
    ASSERT_TRUE(sheet.SetColumnWidth(1, 12));
    ASSERT_TRUE(book->AddSheet(L"Neu"));
    ASSERT_TRUE(book->Activate(*book->SheetAt(1)));
    qx::test::TempDir dir;
    ASSERT_TRUE(book->Save(dir.Wide("prefixed.xlsx"), &error)) << qx::WideToUtf8(error);
    EXPECT_EQ(Python(R"py(
wb = openpyxl.load_workbook(sys.argv[1])
ws = wb["Blatt1"]
print(wb.sheetnames, ws["A1"].value, ws["B2"].value, ws["B2"].font.b, ws["B2"].fill.fgColor.rgb, ws.merged_cells.ranges)
)py",
                     {dir.Native("prefixed.xlsx")}),
              "['Blatt1', 'Neu'] fett und nicht 1 True FFFFFF00 [<MergedCellRange C3:D4>]\n");
    const auto again = Workbook::Open(dir.Wide("prefixed.xlsx"));
    ASSERT_TRUE(again);
    EXPECT_EQ(again->SheetAt(0)->Value(0, 0), CellValue::Text(L"fett und nicht"));
    EXPECT_TRUE(again->SheetAt(0)->Format(1, 1).font.bold);
}

}  // namespace
