// Spreadsheet packages from arbitrary input, read by the workbook engine.
//
// Input: byte 0 picks the form. Even: the other bytes are the file, a zip
// archive. Odd: the other bytes are XML parts of a small fixed package,
// separated by "\n@@\n", in the order worksheet, shared strings, styles,
// workbook, workbook relationships, content types; missing ones keep the
// fixed package's. That way the XML reader and the model meet hostile XML
// without the zip layer in the way.
//
// What holds: reading either succeeds or fails with a message; a workbook
// read can be walked, copied from, pasted into, renamed and saved; and what
// is saved reads again, with the same sheets and the same values.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "qx/platform/sheet/workbook.h"

namespace {

using namespace qx::sheet;

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

const char* const kPartNames[] = {"xl/worksheets/sheet1.xml", "xl/sharedStrings.xml", "xl/styles.xml",
                                  "xl/workbook.xml", "xl/_rels/workbook.xml.rels", "[Content_Types].xml"};

const char* const kFixedParts[] = {
    "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData><row r=\"1\">"
    "<c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" s=\"1\"><v>2.5</v></c></row></sheetData>"
    "<mergeCells count=\"1\"><mergeCell ref=\"C1:D2\"/></mergeCells></worksheet>",
    "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><si><t>Text</t></si></sst>",
    "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><fonts><font><sz val=\"11\"/></font>"
    "<font><b/></font></fonts><fills><fill><patternFill/></fill></fills><borders><border/></borders>"
    "<cellXfs><xf fontId=\"0\"/><xf fontId=\"1\"/></cellXfs></styleSheet>",
    "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><sheets>"
    "<sheet name=\"Blatt1\" sheetId=\"1\" r:id=\"rId1\"/></sheets>"
    "<definedNames><definedName name=\"_xlnm.Print_Area\" localSheetId=\"0\">Blatt1!$A$1:$B$2</definedName>"
    "</definedNames></workbook>",
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" "
    "Target=\"worksheets/sheet1.xml\"/>"
    "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" "
    "Target=\"styles.xml\"/>"
    "<Relationship Id=\"rId3\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings\" "
    "Target=\"sharedStrings.xml\"/></Relationships>",
    "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
    "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
    "<Override PartName=\"/xl/workbook.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/></Types>",
};

std::vector<qx::ZipMember> Parts(std::string_view input) {
    std::vector<qx::ZipMember> parts = {
        {"_rels/.rels",
         "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<Relationship Id=\"rId1\" "
         "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
         "Target=\"xl/workbook.xml\"/></Relationships>"}};
    for (size_t i = 0; i < std::size(kPartNames); ++i) {
        const size_t end = input.find("\n@@\n");
        const bool given = !input.empty() || end != std::string_view::npos;
        parts.push_back({kPartNames[i], given ? std::string(input.substr(0, end)) : std::string(kFixedParts[i])});
        input = end == std::string_view::npos ? std::string_view() : input.substr(end + 4);
    }
    return parts;
}

// Walks what was read the way the exports use a workbook.
void Exercise(Workbook& book) {
    auto target = Workbook::Create();
    for (size_t i = 0; i < book.SheetCount(); ++i) {
        Sheet& sheet = *book.SheetAt(i);
        const auto used = sheet.UsedRange();
        if (used) {
            const CellRange corner{used->firstCol, used->firstRow, std::min(used->lastCol, used->firstCol + 20),
                                   std::min(used->lastRow, used->firstRow + 20)};
            for (std::uint32_t row = corner.firstRow; row <= corner.lastRow; ++row) {
                for (std::uint32_t col = corner.firstCol; col <= corner.lastCol; ++col) {
                    sheet.Value(col, row);
                    sheet.Format(col, row);
                }
            }
            const RangeCopy copy = sheet.Copy(corner);
            target->SheetAt(0)->Paste(copy, 0, 0);
            target->SheetAt(0)->Paste(copy, 0, 30);
            sheet.Paste(copy, corner.firstCol, corner.lastRow < kMaxRows - 25 ? corner.lastRow + 1 : 0);
        }
        sheet.ColumnWidth(0);
        sheet.RowHeight(0);
        sheet.MergedRanges();
        sheet.Select(1, 1);
        sheet.Rename(L"Umbenannt " + std::to_wstring(i));
    }
    book.AddSheet(L"Neu");
    book.Activate(*book.SheetAt(0));
    Check(target->SaveToBytes().has_value());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);
    std::wstring error;
    auto book = (data[0] & 1) ? Workbook::FromParts(Parts(input), &error) : Workbook::FromBytes(input, &error);
    if (!book) {
        Check(!error.empty());
        return 0;
    }
    Exercise(*book);
    const auto saved = book->SaveToBytes(L".xlsx", &error);
    Check(saved.has_value());
    const auto again = Workbook::FromBytes(*saved, &error);
    Check(again != nullptr);
    Check(again->SheetCount() == book->SheetCount());
    for (size_t i = 0; i < book->SheetCount(); ++i) {
        const Sheet& before = *book->SheetAt(i);
        const Sheet& after = *again->SheetAt(i);
        Check(before.Name() == after.Name());
        Check(before.UsedRange() == after.UsedRange());
        if (const auto used = before.UsedRange()) {
            for (std::uint32_t col = used->firstCol; col <= std::min(used->lastCol, used->firstCol + 5); ++col)
                Check(before.Value(col, used->firstRow) == after.Value(col, used->firstRow));
        }
    }
    return 0;
}
