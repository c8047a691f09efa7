// Copying a range of cells and pasting it into a sheet.
#include "qx/platform/sheet/range_copy.h"

#include <algorithm>
#include <unordered_map>

#include "qx/platform/base/utf.h"
#include "qx/platform/sheet/internal/copy_data.h"
#include "qx/platform/sheet/internal/formula_refs.h"
#include "qx/platform/sheet/internal/workbook_data.h"
#include "qx/platform/sheet/workbook.h"

namespace qx::sheet {

using namespace detail;

RangeCopy::RangeCopy() = default;
RangeCopy::~RangeCopy() = default;
RangeCopy::RangeCopy(const RangeCopy&) = default;
RangeCopy& RangeCopy::operator=(const RangeCopy&) = default;
RangeCopy::RangeCopy(std::shared_ptr<const CopyData> data) : data_(std::move(data)) {}

bool RangeCopy::Empty() const { return !data_; }
std::uint32_t RangeCopy::Columns() const { return data_ ? data_->columns : 0; }
std::uint32_t RangeCopy::Rows() const { return data_ ? data_->rows : 0; }

RangeCopy Sheet::Copy(const CellRange& range) const {
    if (!data_->worksheet || !IsValidRange(range)) return RangeCopy();
    const SheetModel& model = data_->model;
    const StringPool& pool = data_->book->strings;
    auto copy = std::make_shared<CopyData>();
    copy->columns = range.Columns();
    copy->rows = range.Rows();
    copy->origin = CellPosition{range.firstCol, range.firstRow};
    copy->styles = data_->book->styles;
    std::unordered_map<std::uint32_t, std::uint32_t> texts;  // pool number to the copy's
    auto row = std::lower_bound(model.rows.begin(), model.rows.end(), range.firstRow,
                                [](const Row& r, std::uint32_t i) { return r.index < i; });
    for (; row != model.rows.end() && row->index <= range.lastRow; ++row) {
        CopyData::CopiedRow copied;
        copied.offset = row->index - range.firstRow;
        copied.height = row->height;
        copied.flags = row->flags & (kRowCustomHeight | kRowHidden);
        for (const Cell& cell : row->cells) {
            if (cell.col < range.firstCol || cell.col > range.lastCol) continue;
            Cell c = cell;
            c.col -= range.firstCol;
            if (c.kind == CellKind::Text || c.kind == CellKind::Error || c.kind == CellKind::IsoDate) {
                const auto [at, added] = texts.emplace(cell.text, static_cast<std::uint32_t>(copy->texts.size()));
                if (added) copy->texts.push_back({std::string(pool.Text(cell.text)), std::string(pool.Runs(cell.text))});
                c.text = at->second;
            }
            if (cell.formula) {
                copy->formulas.push_back(model.formulas[cell.formula - 1]);
                c.formula = static_cast<std::uint32_t>(copy->formulas.size());
            }
            copied.cells.push_back(c);
        }
        if (!copied.cells.empty() || copied.flags) copy->rowList.push_back(std::move(copied));
    }
    for (CellRange merge : model.MergesWithin(range)) {
        merge.firstCol -= range.firstCol;
        merge.lastCol -= range.firstCol;
        merge.firstRow -= range.firstRow;
        merge.lastRow -= range.firstRow;
        copy->merges.push_back(merge);
    }
    return RangeCopy(std::move(copy));
}

bool Sheet::Paste(const RangeCopy& range, std::uint32_t col, std::uint32_t row, std::wstring* error) {
    auto fail = [&](const wchar_t* message) {
        if (error) *error = message;
        return false;
    };
    if (range.Empty()) return fail(L"there is nothing to paste");
    if (!data_->worksheet) return fail(L"the sheet holds no cells");
    const CopyData& copy = *range.data_;
    const std::uint64_t lastCol = std::uint64_t{col} + copy.columns - 1, lastRow = std::uint64_t{row} + copy.rows - 1;
    if (lastCol >= kMaxColumns || lastRow >= kMaxRows) return fail(L"the pasted range would reach beyond the grid");
    const CellRange area{col, row, static_cast<std::uint32_t>(lastCol), static_cast<std::uint32_t>(lastRow)};

    WorkbookData& book = *data_->book;
    SheetModel& model = data_->model;
    if (copy.pastedInto != book.serial) {
        copy.pastedTexts.clear();
        for (const CopyData::Text& text : copy.texts) copy.pastedTexts.push_back(book.strings.Rich(text.runs, text.text));
        copy.pastedInto = book.serial;
    }

    // Every cell of the area is the copy's: what was there goes first.
    auto first = std::lower_bound(model.rows.begin(), model.rows.end(), row,
                                  [](const Row& r, std::uint32_t i) { return r.index < i; });
    for (auto r = first; r != model.rows.end() && r->index <= area.lastRow; ++r) {
        std::erase_if(r->cells, [&](const Cell& c) { return c.col >= area.firstCol && c.col <= area.lastCol; });
    }

    const std::int64_t moveCols = std::int64_t{col} - copy.origin.col, moveRows = std::int64_t{row} - copy.origin.row;
    for (const CopyData::CopiedRow& copied : copy.rowList) {
        Row& target = model.RowAt(row + copied.offset);
        if (copied.flags & kRowCustomHeight) {
            target.height = copied.height;
            target.flags = static_cast<std::uint8_t>((target.flags & ~(kRowCustomHeight | kRowHidden)) | copied.flags);
        }
        if (copied.cells.empty()) continue;
        auto at = std::lower_bound(target.cells.begin(), target.cells.end(), col,
                                   [](const Cell& c, std::uint32_t i) { return c.col < i; });
        const size_t position = static_cast<size_t>(at - target.cells.begin());
        target.cells.insert(at, copied.cells.begin(), copied.cells.end());
        for (size_t i = position; i < position + copied.cells.size(); ++i) {
            Cell& cell = target.cells[i];
            cell.col += col;
            cell.style = book.styles->Import(*copy.styles, cell.style);
            if (cell.kind == CellKind::Text || cell.kind == CellKind::Error || cell.kind == CellKind::IsoDate)
                cell.text = copy.pastedTexts[cell.text];
            if (cell.formula) {
                Formula formula = copy.formulas[cell.formula - 1];
                formula.text = ShiftFormula(formula.text, moveCols, moveRows);
                if (formula.kind != Formula::Kind::Normal) {
                    formula.ref.firstCol = static_cast<std::uint32_t>(formula.ref.firstCol + moveCols);
                    formula.ref.lastCol = static_cast<std::uint32_t>(formula.ref.lastCol + moveCols);
                    formula.ref.firstRow = static_cast<std::uint32_t>(formula.ref.firstRow + moveRows);
                    formula.ref.lastRow = static_cast<std::uint32_t>(formula.ref.lastRow + moveRows);
                    if (!IsValidRange(formula.ref)) formula.ref = CellRange{cell.col, row + copied.offset, cell.col, row + copied.offset};
                }
                model.formulas.push_back(std::move(formula));
                cell.formula = static_cast<std::uint32_t>(model.formulas.size());
                book.formulasChanged = true;
            }
        }
    }

    model.RemoveMerges(area);
    for (CellRange merge : copy.merges) {
        merge.firstCol += col;
        merge.lastCol += col;
        merge.firstRow += row;
        merge.lastRow += row;
        model.AddMerge(merge);
    }
    return true;
}

}  // namespace qx::sheet
