// The spreadsheet engine as an application: it holds the open workbooks and
// the clipboard, as a spreadsheet program would, and opens and saves the
// binary forms through LibreOffice (libreoffice.h).
//
// Workbooks belong to the engine from Add to Close (or the engine's end);
// the pointers it gives out stay valid as long.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "qx/platform/base/export.h"
#include "qx/platform/sheet/range_copy.h"
#include "qx/platform/sheet/workbook.h"

namespace qx::sheet {

class QX_API Engine {
public:
    Engine();
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // A new workbook made from the file *templatePath* (a template or a
    // workbook; a binary one is converted first), or an empty one for an
    // empty path. Null with *error* when the file cannot be read.
    Workbook* Add(std::wstring_view templatePath, std::wstring* error = nullptr);
    // Saves *book* as *saveAs* (unless empty) and closes it. A name ending
    // in .xls is written in the binary form. When saving fails the workbook
    // stays open and the result is false.
    bool Close(Workbook* book, std::wstring_view saveAs = {}, std::wstring* error = nullptr);
    // Saves *book* as *path* and keeps it open.
    bool SaveAs(Workbook& book, std::wstring_view path, std::wstring* error = nullptr);
    std::size_t WorkbookCount() const;

    // Puts a copy of *range* of *sheet* on the clipboard; false (and the
    // clipboard unchanged) for a range outside the grid.
    bool Copy(const Sheet& sheet, const CellRange& range);
    // Pastes the clipboard into *sheet* with its top left cell at *col*, *row*.
    bool Paste(Sheet& sheet, std::uint32_t col, std::uint32_t row, std::wstring* error = nullptr);
    Clipboard& clipboard() { return clipboard_; }

private:
    std::vector<std::unique_ptr<Workbook>> books_;
    Clipboard clipboard_;
};

}  // namespace qx::sheet
