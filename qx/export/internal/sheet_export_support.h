// What the two spreadsheet exports (the list export and the parts list)
// share: their messages, opening a template's tables, the layout values of
// "Variablen", the project placeholders, the column widths and the copying
// of headers, footers and the formatted data row of "SpaltenInhalt". Each
// export passes its own message texts.
#pragma once

#include <span>

#include "qx/export/ms_excel.h"
#include "qx/platform/base/cstring.h"
#include "qx/platform/wnd/message_box.h"

namespace qx::detail {

// Table names are cut to this many characters, as spreadsheet programs hold them.
inline constexpr int kMaxTableName = 31;
// Columns are named with two letters at most: up to ZZ.
inline constexpr int kMaxColumns = 700;

// Shows one of an export's messages as it stands.
void ShowExportMessage(const CString& text, unsigned flags = MB_ICONSTOP);
// The translation of a German message.
CString Translated(const wchar_t* message);
// *format* with *value* for its "%s".
CString Formatted(const wchar_t* format, const CString& value);

// The table *name* of *sheets*, cut to kMaxTableName, into *table*; false
// when there is none (an automation error included).
bool OpenTable(CWorksheets& sheets, const CString& name, CWorksheet& table);

// A layout value in a cell of "Variablen": a number, truncated toward zero,
// of at least *minimum* (and at most a million), or, where *emptyAllowed*,
// an empty cell, which counts as 0.
struct LayoutCell {
    const wchar_t* cell;
    bool emptyAllowed;
    int minimum;
    int* target;
    const wchar_t* message;  // shown when the cell holds anything else
};
// Reads the cells in order; the first that is not allowed shows its
// message, an automation error *readError*; false then.
bool ReadLayoutCells(CWorksheet& variables, std::span<const LayoutCell> cells, const wchar_t* readError);

// Replaces in the text cells of the first *rows* rows and *columns* columns
// of *table* the first "$proj_na", "$proj_nr" and "$proj_da" (found in any
// case) with the project's name, number and date. Automation errors pass on.
void ReplaceProjectPlaceholders(CWorksheet& table, int rows, int columns, const CString& number, const CString& name,
                                const CString& date);

// The height of the template's data row (row 5 of "SpaltenInhalt") into
// *rowHeight*, and the widths of its columns C, D, ... as those of the
// output's A, B, ... A refused width shows *refused*, an automation error
// *readError*; false then.
bool CopyColumnWidths(CWorksheet& columns, CWorksheet& output, int count, double& rowHeight, const wchar_t* refused,
                      const wchar_t* readError);

// Copies the first *rows* rows and *columns* columns of *from* to column A
// of row *at* of *output*, with the rows' heights, written before the paste
// (a header) or after it (a footer). Each failure shows its message and
// gives false; nothing is copied for *rows* below 1.
struct RowCopyMessages {
    const wchar_t* heightRefused;
    const wchar_t* copyRefused;
    const wchar_t* readError;
};
enum class HeightsWritten { BeforePaste, AfterPaste };
bool CopyTemplateRows(CWorksheet& from, int rows, int columns, CWorksheet& output, long at, HeightsWritten order,
                      const RowCopyMessages& messages);

// Pastes the formatted data row of "SpaltenInhalt" (C5 onward, *columns*
// cells) at column A of row *at* of *output*; a refused copy or paste shows
// its message and gives false.
bool PasteDataRow(CWorksheet& columns, int count, CWorksheet& output, long at, const wchar_t* copyRefused,
                  const wchar_t* pasteRefused);

}  // namespace qx::detail
