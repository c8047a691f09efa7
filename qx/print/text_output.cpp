#include "qx/print/text_output.h"

#include <algorithm>

namespace qx {
namespace {

// The length of the chunk that starts at *pos*.
size_t ChunkLength(std::wstring_view text, size_t pos, size_t width) {
    const size_t lineFeed = text.find(L'\n', pos);
    if (lineFeed != std::wstring_view::npos && lineFeed - pos <= width) return lineFeed - pos;
    if (text.size() - pos <= width) return text.size() - pos;
    const size_t space = text.rfind(L' ', pos + width);
    if (space != std::wstring_view::npos && space >= pos) return space - pos;
    return width;
}

void WriteCells(std::wstring& row, long long column, std::wstring_view chunk) {
    for (size_t i = 0; i < chunk.size(); ++i) {
        const long long at = column + static_cast<long long>(i);
        if (at >= 0 && at < static_cast<long long>(row.size())) row[static_cast<size_t>(at)] = chunk[i];
    }
}

}  // namespace

void PlaceTextInCells(std::vector<std::wstring>& rows, std::wstring_view text, const CellBox& box, int alignment) {
    const size_t width = static_cast<size_t>(std::max(static_cast<long long>(box.right) - box.left, 0LL));
    const long long lastRow = std::min<long long>(box.bottom, static_cast<long long>(rows.size()));
    size_t pos = 0;
    for (long long row = box.top; row < lastRow && pos < text.size(); ++row) {
        const size_t length = ChunkLength(text, pos, width);
        const size_t room = width - length;
        const size_t offset = alignment == 1 ? room / 2 : alignment == 2 ? room : 0;
        if (row >= 0) {
            WriteCells(rows[static_cast<size_t>(row)], box.left + static_cast<long long>(offset),
                       text.substr(pos, length));
        }
        const size_t before = pos;
        pos += length;
        if (pos < text.size() && (text[pos] == L'\n' || text[pos] == L' ')) ++pos;
        // Nothing used (a box without width): every further row would be the
        // same, so a box reaching far above the grid costs nothing.
        if (pos == before) break;
    }
}

std::vector<CString> PageToTextRows(const LoadedPage& page, int pageWidth, int pageHeight, int cellWidth,
                                    int cellHeight, const std::function<CString(const PRINTOBJ&)>& objectText) {
    if (cellWidth <= 0 || cellHeight <= 0) return {};
    const int rowCount = std::max(pageHeight / cellHeight, 0);
    const int columnCount = std::max(pageWidth / cellWidth, 0);
    std::vector<std::wstring> rows(static_cast<size_t>(rowCount), std::wstring(static_cast<size_t>(columnCount), L' '));
    for (const auto& object : page.objects) {
        if (object->kind != kPrintText || object->color == object->fillColor) continue;
        CString text = objectText(*object);
        text.Remove(L'\r');
        const CellBox box{object->left / cellWidth, object->top / cellHeight, object->right / cellWidth,
                          object->bottom / cellHeight};
        PlaceTextInCells(rows, text.str(), box, object->alignment);
    }
    std::vector<CString> result;
    result.reserve(rows.size());
    for (std::wstring& row : rows) {
        row.erase(row.find_last_not_of(L' ') + 1);
        result.emplace_back(std::move(row));
    }
    return result;
}

}  // namespace qx
