#include <algorithm>

#include "qx/platform/sheet/internal/sheet_model.h"

namespace qx::sheet::detail {

namespace {

template <typename Rows>
auto LowerRow(Rows& rows, std::uint32_t row) {
    return std::lower_bound(rows.begin(), rows.end(), row, [](const Row& r, std::uint32_t i) { return r.index < i; });
}

template <typename Cells>
auto LowerCell(Cells& cells, std::uint32_t col) {
    return std::lower_bound(cells.begin(), cells.end(), col, [](const Cell& c, std::uint32_t i) { return c.col < i; });
}

}  // namespace

const Row* SheetModel::FindRow(std::uint32_t row) const {
    const auto at = LowerRow(rows, row);
    return at != rows.end() && at->index == row ? &*at : nullptr;
}

Row* SheetModel::FindRow(std::uint32_t row) {
    const auto at = LowerRow(rows, row);
    return at != rows.end() && at->index == row ? &*at : nullptr;
}

Row& SheetModel::RowAt(std::uint32_t row) {
    // Lists grow at their end: that case needs no search.
    if (rows.empty() || rows.back().index < row) {
        rows.emplace_back().index = row;
        return rows.back();
    }
    const auto at = LowerRow(rows, row);
    if (at != rows.end() && at->index == row) return *at;
    Row& made = *rows.emplace(at);
    made.index = row;
    return made;
}

const Cell* SheetModel::FindCell(std::uint32_t col, std::uint32_t row) const {
    const Row* r = FindRow(row);
    if (!r) return nullptr;
    const auto at = LowerCell(r->cells, col);
    return at != r->cells.end() && at->col == col ? &*at : nullptr;
}

Cell& SheetModel::CellAt(std::uint32_t col, std::uint32_t row) {
    std::vector<Cell>& cells = RowAt(row).cells;
    if (cells.empty() || cells.back().col < col) {
        cells.emplace_back().col = col;
        return cells.back();
    }
    const auto at = LowerCell(cells, col);
    if (at != cells.end() && at->col == col) return *at;
    Cell& made = *cells.emplace(at);
    made.col = col;
    return made;
}

const ColumnSpan* SheetModel::FindColumn(std::uint32_t col) const {
    const auto at = std::lower_bound(columns.begin(), columns.end(), col,
                                     [](const ColumnSpan& s, std::uint32_t c) { return s.last < c; });
    return at != columns.end() && at->first <= col ? &*at : nullptr;
}

ColumnSpan& SheetModel::ColumnAt(std::uint32_t col) {
    auto at = std::lower_bound(columns.begin(), columns.end(), col,
                               [](const ColumnSpan& s, std::uint32_t c) { return s.last < c; });
    if (at == columns.end() || at->first > col) {
        ColumnSpan& made = *columns.emplace(at);
        made.first = made.last = col;
        return made;
    }
    if (at->first < col) {
        ColumnSpan before = *at;
        before.last = col - 1;
        at->first = col;
        at = columns.insert(at, before) + 1;
    }
    if (at->last > col) {
        ColumnSpan after = *at;
        after.first = col + 1;
        at->last = col;
        at = columns.insert(at + 1, after) - 1;
    }
    return *at;
}

void SheetModel::AddMerge(const CellRange& range) {
    merges.insert(range);
    tallestMerge = std::max(tallestMerge, range.Rows());
}

void SheetModel::RemoveMerges(const CellRange& area) {
    if (merges.empty()) return;
    // A merge that reaches into the area starts at most tallestMerge rows above it.
    const std::uint32_t from = area.firstRow >= tallestMerge ? area.firstRow - tallestMerge + 1 : 0;
    auto it = merges.lower_bound(CellRange{0, from, 0, 0});
    while (it != merges.end() && it->firstRow <= area.lastRow) {
        it = it->Intersects(area) ? merges.erase(it) : std::next(it);
    }
}

std::vector<CellRange> SheetModel::MergesWithin(const CellRange& area) const {
    std::vector<CellRange> inside;
    for (auto it = merges.lower_bound(CellRange{0, area.firstRow, 0, 0}); it != merges.end() && it->firstRow <= area.lastRow;
         ++it) {
        if (it->firstCol >= area.firstCol && it->lastCol <= area.lastCol && it->lastRow <= area.lastRow)
            inside.push_back(*it);
    }
    return inside;
}

std::optional<CellRange> SheetModel::UsedRange() const {
    std::optional<CellRange> used;
    for (const Row& row : rows) {
        if (row.cells.empty()) continue;
        const CellRange here{row.cells.front().col, row.index, row.cells.back().col, row.index};
        if (!used) {
            used = here;
            continue;
        }
        used->firstCol = std::min(used->firstCol, here.firstCol);
        used->lastCol = std::max(used->lastCol, here.lastCol);
        used->lastRow = here.lastRow;
    }
    return used;
}

void NormalizeCells(std::vector<Cell>& cells) {
    bool ordered = true;
    for (size_t i = 1; i < cells.size() && ordered; ++i) ordered = cells[i - 1].col < cells[i].col;
    if (ordered) return;
    std::stable_sort(cells.begin(), cells.end(), [](const Cell& a, const Cell& b) { return a.col < b.col; });
    // Of cells with the same column the last one read stays.
    std::vector<Cell> unique;
    unique.reserve(cells.size());
    for (const Cell& cell : cells) {
        if (!unique.empty() && unique.back().col == cell.col) unique.back() = cell;
        else unique.push_back(cell);
    }
    cells.swap(unique);
}

}  // namespace qx::sheet::detail
