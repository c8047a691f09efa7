// The references inside formula texts (A1 style, as files store them):
// moving the relative ones with a formula that is pasted elsewhere, and
// following a sheet that is renamed.
//
// Texts in quotes, structured references in brackets and function names are
// left alone; a reference that would move off the grid becomes #REF!, as in
// a spreadsheet program.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qx::sheet::detail {

// *formula* (UTF-8) as it reads *columns* columns to the right and *rows*
// rows further down (negative: left, up).
std::string ShiftFormula(std::string_view formula, std::int64_t columns, std::int64_t rows);

// *formula* with its references to sheet *from* (compared without regard to
// case) naming sheet *to* instead; references into other workbooks stay.
std::string RenameSheetInFormula(std::string_view formula, std::string_view from, std::string_view to);

}  // namespace qx::sheet::detail
