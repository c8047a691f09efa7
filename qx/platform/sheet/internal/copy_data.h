// What a copied range holds: its cells (columns and rows counted from the
// range's top left), their texts and formulas, the merged ranges and row
// heights, and the style sheet its formats are numbered in.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "qx/platform/sheet/internal/sheet_model.h"
#include "qx/platform/sheet/internal/style_sheet.h"

namespace qx::sheet::detail {

struct CopyData {
    struct CopiedRow {
        std::uint32_t offset = 0;
        double height = 0;
        std::uint8_t flags = 0;  // kRowCustomHeight, kRowHidden
        std::vector<Cell> cells;  // col: offset in the range; text: index into texts; formula: 1 + index into formulas
    };
    struct Text {
        std::string text;
        std::string runs;
    };

    std::uint32_t columns = 0, rows = 0;
    CellPosition origin;  // where the range was, for moving formulas
    std::vector<CopiedRow> rowList;
    std::vector<Text> texts;
    std::vector<Formula> formulas;
    std::vector<CellRange> merges;  // relative to the range
    std::shared_ptr<const StyleSheet> styles;

    // The texts' numbers in the pool of the workbook pasted into last (by
    // its serial), so that pasting the same copy again needs no search.
    mutable std::uint64_t pastedInto = 0;
    mutable std::vector<std::uint32_t> pastedTexts;
};

}  // namespace qx::sheet::detail
