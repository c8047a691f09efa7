// A worksheet's cells, rows, columns and merged ranges as the engine holds
// them: rows in order, each with its cells in order, a cell in 24 bytes (its
// text and formula are numbers into tables of their own), so that lists of
// hundreds of thousands of rows stay compact and are written in one pass.
#pragma once

#include <cstdint>
#include <set>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "qx/platform/sheet/cell_value.h"

namespace qx::sheet::detail {

enum class CellKind : std::uint8_t { Empty, Number, Text, Boolean, Error, IsoDate };

struct Cell {
    std::uint32_t col = 0;
    std::uint32_t style = 0;    // index into the workbook's cell formats
    std::uint32_t formula = 0;  // 0: none; else 1 + index into SheetModel::formulas
    CellKind kind = CellKind::Empty;
    union {
        double number = 0;
        std::uint32_t text;  // Text, Error, IsoDate: number in the workbook's StringPool
        bool boolean;
    };
};

struct Formula {
    enum class Kind : std::uint8_t { Normal, Array, DataTable };
    std::string text;  // UTF-8, without '='
    Kind kind = Kind::Normal;
    CellRange ref;           // Array, DataTable: the cells it fills
    std::string attributes;  // its other attributes as written (' ca="1"')
};

enum RowFlag : std::uint8_t {
    kRowCustomHeight = 1,
    kRowCustomFormat = 2,
    kRowHidden = 4,
    kRowCollapsed = 8,
    kRowThickTop = 16,
    kRowThickBottom = 32,
    kRowPhonetic = 64,
};

struct Row {
    std::uint32_t index = 0;
    std::uint32_t style = 0;  // with kRowCustomFormat
    double height = 0;        // points, with kRowCustomHeight
    std::uint8_t flags = 0;
    std::uint8_t outlineLevel = 0;
    std::string attributes;   // attributes the engine does not know, as written
    std::vector<Cell> cells;  // by column, each column once
};

enum ColumnFlag : std::uint8_t {
    kColumnCustomWidth = 1,
    kColumnHidden = 2,
    kColumnBestFit = 4,
    kColumnCollapsed = 8,
    kColumnPhonetic = 16,
};

struct ColumnSpan {
    std::uint32_t first = 0;
    std::uint32_t last = 0;
    double width = -1;  // in the file's unit (characters with padding); -1: none given
    std::uint32_t style = 0;
    std::uint8_t flags = 0;
    std::uint8_t outlineLevel = 0;
    std::string attributes;  // attributes the engine does not know
};

// Merged ranges by their first row, then column.
struct ByFirstRow {
    bool operator()(const CellRange& a, const CellRange& b) const {
        return std::tie(a.firstRow, a.firstCol, a.lastRow, a.lastCol) < std::tie(b.firstRow, b.firstCol, b.lastRow, b.lastCol);
    }
};

struct SheetModel {
    std::vector<Row> rows;  // by index, each index once
    std::vector<Formula> formulas;
    std::vector<ColumnSpan> columns;  // by column, not overlapping
    std::set<CellRange, ByFirstRow> merges;
    std::uint32_t tallestMerge = 0;  // most rows of any merge, for searches by row

    const Row* FindRow(std::uint32_t row) const;
    Row* FindRow(std::uint32_t row);
    // The row, made when missing.
    Row& RowAt(std::uint32_t row);
    const Cell* FindCell(std::uint32_t col, std::uint32_t row) const;
    // The cell, made (empty, unformatted) when missing.
    Cell& CellAt(std::uint32_t col, std::uint32_t row);

    const ColumnSpan* FindColumn(std::uint32_t col) const;
    // Splits the spans so that *col* has one of its own, made when missing.
    ColumnSpan& ColumnAt(std::uint32_t col);

    void AddMerge(const CellRange& range);
    // Removes every merge that shares a cell with *area*.
    void RemoveMerges(const CellRange& area);
    // The merges inside *area*.
    std::vector<CellRange> MergesWithin(const CellRange& area) const;

    // The smallest range holding every cell, nullopt for none.
    std::optional<CellRange> UsedRange() const;
};

// Cells of one row in column order, from a list that may repeat columns (the
// later one wins) or be out of order.
void NormalizeCells(std::vector<Cell>& cells);

}  // namespace qx::sheet::detail
