// The values of spreadsheet cells and the addresses of cells and ranges.
//
// Columns and rows count from 0 (column 0, row 0 is the cell a spreadsheet
// program calls A1). The grid has kMaxColumns columns (A to XFD) and kMaxRows
// rows; nothing outside it can be addressed.
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "qx/platform/base/export.h"

namespace qx::sheet {

inline constexpr std::uint32_t kMaxColumns = 16384;
inline constexpr std::uint32_t kMaxRows = 1048576;

struct QX_API CellValue {
    enum class Type : std::uint8_t { Empty, Number, Text, Boolean, Error };

    Type type = Type::Empty;
    double number = 0;     // Number
    std::wstring text;     // Text; Error: the error as shown ("#DIV/0!")
    bool boolean = false;  // Boolean
    // Not empty: the cell computes its value by this formula (without the
    // leading '='), and the fields above hold its last result as the file
    // recorded it.
    std::wstring formula;

    static CellValue Number(double value);
    static CellValue Text(std::wstring value);
    static CellValue Boolean(bool value);
    static CellValue Error(std::wstring value);
    // A formula with *result* as its last result (none: not computed yet).
    static CellValue Formula(std::wstring formula, CellValue result);
    static CellValue Formula(std::wstring formula);

    bool operator==(const CellValue&) const = default;
};

struct CellPosition {
    std::uint32_t col = 0;
    std::uint32_t row = 0;
    bool operator==(const CellPosition&) const = default;
};

// A rectangle of cells, both corners included.
struct CellRange {
    std::uint32_t firstCol = 0;
    std::uint32_t firstRow = 0;
    std::uint32_t lastCol = 0;
    std::uint32_t lastRow = 0;

    std::uint32_t Columns() const { return lastCol - firstCol + 1; }
    std::uint32_t Rows() const { return lastRow - firstRow + 1; }
    bool Contains(std::uint32_t col, std::uint32_t row) const {
        return col >= firstCol && col <= lastCol && row >= firstRow && row <= lastRow;
    }
    bool Intersects(const CellRange& other) const {
        return firstCol <= other.lastCol && other.firstCol <= lastCol && firstRow <= other.lastRow &&
               other.firstRow <= lastRow;
    }
    auto operator<=>(const CellRange&) const = default;
};

// True for a cell inside the grid.
inline bool InGrid(std::uint32_t col, std::uint32_t row) { return col < kMaxColumns && row < kMaxRows; }
// True for a range inside the grid whose first corner is its top left.
inline bool IsValidRange(const CellRange& r) {
    return InGrid(r.lastCol, r.lastRow) && r.firstCol <= r.lastCol && r.firstRow <= r.lastRow;
}

// The letters of column *col* ("A", "Z", "AA", "XFD"); "" outside the grid.
QX_API std::string ColumnLetters(std::uint32_t col);
// The name of a cell ("A1", "AB5"); "" outside the grid.
QX_API std::string CellName(std::uint32_t col, std::uint32_t row);
// "A1:C3", or one cell's name for a range of one cell.
QX_API std::string RangeName(const CellRange& range);
// The cell a name stands for ("b2" and "$B$2" as "B2"); nullopt for anything
// else and for a cell outside the grid.
QX_API std::optional<CellPosition> ParseCellName(std::string_view name);
// A range "A1:C3" (either corner first) or a single cell "B2".
QX_API std::optional<CellRange> ParseRangeName(std::string_view name);

}  // namespace qx::sheet
