#include "qx/platform/sheet/cell_value.h"

#include <algorithm>

#include "qx/platform/base/ascii.h"

namespace qx::sheet {

CellValue CellValue::Number(double value) {
    CellValue v;
    v.type = Type::Number;
    v.number = value;
    return v;
}

CellValue CellValue::Text(std::wstring value) {
    CellValue v;
    v.type = Type::Text;
    v.text = std::move(value);
    return v;
}

CellValue CellValue::Boolean(bool value) {
    CellValue v;
    v.type = Type::Boolean;
    v.boolean = value;
    return v;
}

CellValue CellValue::Error(std::wstring value) {
    CellValue v;
    v.type = Type::Error;
    v.text = std::move(value);
    return v;
}

CellValue CellValue::Formula(std::wstring formula, CellValue result) {
    result.formula = std::move(formula);
    return result;
}

CellValue CellValue::Formula(std::wstring formula) { return Formula(std::move(formula), CellValue()); }

std::string ColumnLetters(std::uint32_t col) {
    if (col >= kMaxColumns) return {};
    std::string letters;
    for (std::uint32_t n = col + 1; n > 0; n = (n - 1) / 26) letters += static_cast<char>('A' + (n - 1) % 26);
    std::reverse(letters.begin(), letters.end());
    return letters;
}

std::string CellName(std::uint32_t col, std::uint32_t row) {
    if (!InGrid(col, row)) return {};
    return ColumnLetters(col) + std::to_string(row + 1);
}

std::string RangeName(const CellRange& range) {
    if (range.firstCol == range.lastCol && range.firstRow == range.lastRow)
        return CellName(range.firstCol, range.firstRow);
    return CellName(range.firstCol, range.firstRow) + ":" + CellName(range.lastCol, range.lastRow);
}

std::optional<CellPosition> ParseCellName(std::string_view name) {
    size_t i = 0;
    if (i < name.size() && name[i] == '$') ++i;
    std::uint32_t col = 0;
    size_t letters = 0;
    for (; i < name.size() && IsAsciiLetter(name[i]) && letters < 4; ++i, ++letters)
        col = col * 26 + static_cast<std::uint32_t>(AsciiUpper(name[i]) - 'A' + 1);
    if (letters == 0 || letters > 3) return std::nullopt;
    if (i < name.size() && name[i] == '$') ++i;
    std::uint32_t row = 0;
    size_t digits = 0;
    for (; i < name.size() && IsAsciiDigit(name[i]) && digits < 8; ++i, ++digits)
        row = row * 10 + static_cast<std::uint32_t>(name[i] - '0');
    if (digits == 0 || digits > 7 || i != name.size() || row == 0) return std::nullopt;
    if (!InGrid(col - 1, row - 1)) return std::nullopt;
    return CellPosition{col - 1, row - 1};
}

std::optional<CellRange> ParseRangeName(std::string_view name) {
    const size_t colon = name.find(':');
    const auto first = ParseCellName(name.substr(0, colon));
    const auto last = colon == std::string_view::npos ? first : ParseCellName(name.substr(colon + 1));
    if (!first || !last) return std::nullopt;
    return CellRange{std::min(first->col, last->col), std::min(first->row, last->row), std::max(first->col, last->col),
                     std::max(first->row, last->row)};
}

}  // namespace qx::sheet
