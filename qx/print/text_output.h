// Pages as fixed-width text: each page becomes a grid of character cells the
// size of one character of a fixed-pitch font, and each text object is
// written into the cells its box covers.
//
// Pure logic: the caller measures the cell (the extent of "W" in the
// fixed-pitch font) and fills in the page numbers.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"
#include "qx/print/page_file_reader.h"

namespace qx {

// A box in cells: columns left..right, rows top..bottom (end exclusive).
struct CellBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Writes *text* into *rows* inside *box*, one chunk a row from the box's top
// until the text is used up or the box's bottom or the last row is reached.
// A chunk ends at a line feed within the box width, takes the rest when it
// fits, else ends at the last space within reach, else is cut at the width;
// the line feed or space that ends a chunk is skipped. *alignment* 0 left,
// 1 centre, 2 right within the box. Cells outside the rows are not written.
//
//   "Hello world" in a box 3 wide, 4 high => "Hel", "lo", "wor", "ld"
QX_API void PlaceTextInCells(std::vector<std::wstring>& rows, std::wstring_view text, const CellBox& box,
                             int alignment);

// The rows of *page* as text: a grid of pageHeight / cellHeight rows and
// pageWidth / cellWidth columns (engine units), every text object whose
// colour differs from its fill placed in the cells of its box, with the text
// *objectText* gives for it (the text with its page numbers filled in) and
// carriage returns removed. Rows have their trailing spaces removed; empty
// rows stay. No rows when a cell has no size.
QX_API std::vector<CString> PageToTextRows(const LoadedPage& page, int pageWidth, int pageHeight, int cellWidth,
                                           int cellHeight,
                                           const std::function<CString(const PRINTOBJ&)>& objectText);

}  // namespace qx
