// Spreadsheet workbooks in the .xlsx family (.xlsx, .xlsm, .xltx, .xltm),
// read, edited and written by the library itself.
//
// The engine edits cells (values, formulas, formats), column widths, row
// heights, merged ranges, sheet names, the active sheet and each sheet's
// selected cell, and adds sheets. Everything else of a file is written back
// as it was read: page setup, print areas and other defined names, headers
// and footers, drawings and pictures, themes, printer settings, document
// properties and parts the engine does not know. (The one part dropped on
// writing is the calculation chain, a cache of the order formulas were last
// computed in, which spreadsheet programs build anew.)
//
// Files are hostile input. A package is refused as a whole, with the reason,
// when it is damaged, exceeds the limits below, or holds what no valid file
// can (a cell beyond XFD1048576, a shared text that does not exist); a cell
// format that does not exist is read as the standard format.
//
// Errors come back as false or null with a message in *error* (English, for
// the caller to show or wrap); nothing throws. Columns and rows count from 0.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "qx/platform/base/export.h"
#include "qx/platform/os/zip_store.h"
#include "qx/platform/sheet/cell_format.h"
#include "qx/platform/sheet/cell_value.h"
#include "qx/platform/sheet/range_copy.h"

namespace qx::sheet {

namespace detail {
struct WorkbookData;
struct SheetData;
}  // namespace detail

// Limits on what a file may make the engine hold: its size on disk, what
// its members unpack to (all together and each), and the number of members.
inline constexpr std::uint64_t kMaxPackageBytes = 256u << 20;
inline constexpr std::size_t kMaxUnpackedBytes = 512u << 20;
inline constexpr std::size_t kMaxPartBytes = 128u << 20;
inline constexpr std::size_t kMaxParts = 10000;
// The longest sheet name, in UTF-16 units as spreadsheet programs count.
inline constexpr std::size_t kMaxSheetNameLength = 31;

class Workbook;

// A column's width that differs from the sheet's standard width.
struct ColumnWidth {
    std::uint32_t firstCol = 0;
    std::uint32_t lastCol = 0;
    double width = 0;
};

struct RowHeight {
    std::uint32_t row = 0;
    double height = 0;
};

class QX_API Sheet {
public:
    ~Sheet();
    Sheet(const Sheet&) = delete;
    Sheet& operator=(const Sheet&) = delete;

    Workbook& Owner() const;
    const std::wstring& Name() const;
    // Renames the sheet, and the references to it in defined names and
    // formulas. Refused: an empty name, one longer than kMaxSheetNameLength,
    // one with any of []:*?/\ or a leading or trailing apostrophe, the
    // reserved name "History", and the name of another sheet of the workbook
    // in any letter case.
    bool Rename(std::wstring_view name, std::wstring* error = nullptr);
    // False for a chart or dialog sheet, which holds no cells: its values
    // read as empty and nothing can be set.
    bool IsWorksheet() const;
    bool IsHidden() const;

    CellValue Value(std::uint32_t col, std::uint32_t row) const;
    // False outside the grid, on a sheet that is no worksheet, and for a
    // formula result that is itself a formula. The cell keeps its format.
    bool SetValue(std::uint32_t col, std::uint32_t row, const CellValue& value);
    CellFormat Format(std::uint32_t col, std::uint32_t row) const;

    // Widths in characters of the standard font's digits, as spreadsheet
    // programs show them (the standard width of a new sheet is 8.43), and
    // held as whole pixels as they do. Setting a width of 0 hides the column.
    // Widths from 0 to 255 can be set.
    double ColumnWidth(std::uint32_t col) const;
    bool SetColumnWidth(std::uint32_t col, double width);
    // The width of columns without a width of their own.
    double StandardColumnWidth() const;
    // The columns of their own width, in order.
    std::vector<qx::sheet::ColumnWidth> ColumnWidths() const;
    // Heights in points (standard: the sheet's default, usually 15); from 0
    // (hides the row) to 409.5.
    double RowHeight(std::uint32_t row) const;
    bool SetRowHeight(std::uint32_t row, double height);
    double StandardRowHeight() const;
    // The rows of their own height, in order.
    std::vector<qx::sheet::RowHeight> RowHeights() const;

    std::vector<CellRange> MergedRanges() const;
    // Merges *range*, which must not overlap a merged range.
    bool Merge(const CellRange& range);

    // Makes *col*, *row* the sheet's active and selected cell.
    bool Select(std::uint32_t col, std::uint32_t row);
    CellPosition ActiveCell() const;

    // The smallest range holding every cell with a value or a format;
    // nullopt for an empty sheet.
    std::optional<CellRange> UsedRange() const;

    // The cells of *range* with their values, formulas, formats, the merged
    // ranges wholly inside it and the heights of its rows. An empty copy for
    // a range outside the grid or a sheet that is no worksheet.
    RangeCopy Copy(const CellRange& range) const;
    // Puts *copy* here with its top left cell at *col*, *row*: every cell of
    // the covered area becomes the copied one (a cell the copy does not have
    // is emptied), formats are taken into this workbook's formats, relative
    // references of formulas move with them, merged ranges that share cells
    // with the area are undone and the copied ones made, and rows take the
    // copied heights. False when the area leaves the grid.
    bool Paste(const RangeCopy& copy, std::uint32_t col, std::uint32_t row, std::wstring* error = nullptr);

private:
    friend class Workbook;
    friend struct detail::WorkbookData;
    explicit Sheet(std::unique_ptr<detail::SheetData> data);
    std::unique_ptr<detail::SheetData> data_;
};

class QX_API Workbook {
public:
    // Reads the file at library path *path*.
    static std::unique_ptr<Workbook> Open(std::wstring_view path, std::wstring* error = nullptr);
    // Reads a package from its bytes or from its members.
    static std::unique_ptr<Workbook> FromBytes(std::string_view bytes, std::wstring* error = nullptr);
    static std::unique_ptr<Workbook> FromParts(std::vector<ZipMember> parts, std::wstring* error = nullptr);
    // A new workbook with one empty sheet named *sheetName*.
    static std::unique_ptr<Workbook> Create(std::wstring_view sheetName = L"Sheet1");
    ~Workbook();
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    // Writes the workbook to library path *path*, replacing the file as a
    // whole (it is written under a temporary name beside it first). The
    // name's ending sets the kind: .xltx a template, .xlsm and .xltm keep
    // macros; any other name is written as a workbook (.xlsx), which holds no
    // macros, so a workbook opened from a template is saved as a workbook.
    bool Save(std::wstring_view path, std::wstring* error = nullptr);
    // The package's bytes as Save would write them for a name ending in *extension*.
    std::optional<std::string> SaveToBytes(std::wstring_view extension = L".xlsx", std::wstring* error = nullptr);

    // True when the package read was a template (.xltx, .xltm).
    bool IsTemplate() const;

    std::size_t SheetCount() const;
    // Null past the end.
    Sheet* SheetAt(std::size_t index) const;
    // The first sheet named exactly *name* (letter case counts); null when none is.
    Sheet* FindSheet(std::wstring_view name) const;
    // The position of *sheet*, SheetCount() for a sheet of another workbook.
    std::size_t IndexOf(const Sheet& sheet) const;
    // Adds an empty worksheet after the last one, named *name*, or for an
    // empty name the first free "SheetN". Null, with *error*, for a name
    // Rename refuses.
    Sheet* AddSheet(std::wstring_view name = {}, std::wstring* error = nullptr);

    // Makes *sheet* the sheet shown when the file is opened (and the only
    // selected one). False for a hidden sheet or one of another workbook.
    bool Activate(Sheet& sheet);
    Sheet* ActiveSheet() const;

    struct DefinedName {
        std::wstring name;     // "_xlnm.Print_Area" for a print area
        std::wstring formula;  // "'Sheet 1'!$A$1:$F$40"
        std::optional<std::size_t> sheet;  // the sheet it belongs to, nullopt for the whole workbook
    };
    std::vector<DefinedName> DefinedNames() const;

private:
    Workbook();
    std::unique_ptr<detail::WorkbookData> data_;
    friend class Sheet;
};

}  // namespace qx::sheet
