// The binary spreadsheet forms (.xls workbooks, .xlt templates), which the
// engine does not read or write itself: LibreOffice converts them, when it
// is installed (its program soffice on PATH).
//
// Conversions run headless, each within a time limit, with a LibreOffice
// profile of the library's own in the user's cache folder
// ($XDG_CACHE_HOME/qxbase-sheets), so that a LibreOffice the user has open
// neither interferes nor notices; one conversion runs at a time per user.
// Files being converted live in folders of their own there, removed when
// the conversion ends (and, after a crash, by the next conversion).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "qx/platform/base/export.h"

namespace qx::sheet {

// The soffice program on PATH; nullopt when LibreOffice is not installed.
QX_API std::optional<std::wstring> LibreOfficeProgram();

// Converts the file *input* into *format* (a LibreOffice filter name or a
// file ending: "xlsx", "xls", "csv", "pdf") and writes the result to
// *output*, replacing it as a whole (library paths). False with *error*;
// without LibreOffice the message says it is needed.
QX_API bool ConvertWithLibreOffice(std::wstring_view input, std::wstring_view output, std::string_view format,
                                   std::wstring* error = nullptr);

// The .xlsx form of the binary workbook or template *path*: converted once
// and kept in the cache folder, under a name made of the file's path, size
// and time of change, so a changed file is converted again.
QX_API std::optional<std::wstring> ConvertedWorkbook(std::wstring_view path, std::wstring* error = nullptr);

// Writes *xlsxBytes* (a package as Workbook::SaveToBytes makes it) as the
// binary workbook *output* (.xls).
QX_API bool WriteBinaryWorkbook(std::string_view xlsxBytes, std::wstring_view output, std::wstring* error = nullptr);

// True for a name ending in .xls or .xlt (in any letter case).
QX_API bool IsBinaryWorkbookName(std::wstring_view path);

}  // namespace qx::sheet
