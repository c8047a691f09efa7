#include "qx/export/internal/sheet_export_support.h"

#include <cmath>

#include "qx/message/message_table.h"
#include "qx/platform/base/format.h"

namespace qx::detail {
namespace {

// Replaces the first occurrence of *placeholder* (found without regard to
// case) in *text* with *value*; true when there was one.
bool ReplaceFirst(CString& text, const wchar_t* placeholder, const CString& value) {
    CString lower = text;
    lower.MakeLower();
    const int at = lower.Find(placeholder);
    if (at < 0) return false;
    text.Delete(at, 8);
    text.Insert(at, value.GetString());
    return true;
}

bool LayoutValue(const COleVariant& value, bool emptyAllowed, int minimum, int* out) {
    if (value.vt == VT_EMPTY && emptyAllowed) {
        *out = 0;
        return minimum <= 0;
    }
    if (value.vt != VT_R8 || !std::isfinite(value.dblVal)) return false;
    const double truncated = std::trunc(value.dblVal);
    if (truncated < minimum || truncated > 1e6) return false;
    *out = static_cast<int>(truncated);
    return true;
}

bool CopyHeights(CWorksheet& from, int rows, CWorksheet& output, long at, const RowCopyMessages& messages) {
    try {
        for (int r = 0; r < rows; ++r) {
            if (!output.SetHeight(from.GetHeight(r), at + r)) {
                ShowExportMessage(messages.heightRefused);
                return false;
            }
        }
    } catch (const COleDispatchException&) {
        ShowExportMessage(messages.readError);
        return false;
    }
    return true;
}

}  // namespace

void ShowExportMessage(const CString& text, unsigned flags) { qx::ShowAppMessage(text.GetString(), flags); }

CString Translated(const wchar_t* message) { return CString(qx::TranslateMessage(message)); }

CString Formatted(const wchar_t* format, const CString& value) { return CString(qx::Format(format, value.GetString())); }

bool OpenTable(CWorksheets& sheets, const CString& name, CWorksheet& table) {
    try {
        table.Attach(sheets.GetItem(name.Left(kMaxTableName)));
    } catch (const COleDispatchException&) {
        table.Attach({});
    }
    return table.IsAttached();
}

bool ReadLayoutCells(CWorksheet& variables, std::span<const LayoutCell> cells, const wchar_t* readError) {
    try {
        for (const LayoutCell& cell : cells) {
            COleVariant value;
            variables.GetValueAt(value, COleVariant(cell.cell));
            if (!LayoutValue(value, cell.emptyAllowed, cell.minimum, cell.target)) {
                ShowExportMessage(cell.message);
                return false;
            }
        }
    } catch (const COleDispatchException&) {
        ShowExportMessage(readError);
        return false;
    }
    return true;
}

void ReplaceProjectPlaceholders(CWorksheet& table, int rows, int columns, const CString& number, const CString& name,
                                const CString& date) {
    for (int row = 0; row < rows; ++row) {
        for (int col = 0; col < columns; ++col) {
            COleVariant value;
            table.GetValueAt(value, col, row);
            if (value.vt != VT_BSTR) continue;
            CString text = value.Text();
            bool found = ReplaceFirst(text, L"$proj_na", name);
            found = ReplaceFirst(text, L"$proj_nr", number) || found;
            found = ReplaceFirst(text, L"$proj_da", date) || found;
            if (!found) continue;
            COleVariant replaced(text);
            table.SetValueAt(replaced, col, row);
        }
    }
}

bool CopyColumnWidths(CWorksheet& columns, CWorksheet& output, int count, double& rowHeight, const wchar_t* refused,
                      const wchar_t* readError) {
    try {
        rowHeight = columns.GetHeight(4);
        for (int i = 0; i < count; ++i) {
            if (!output.SetWidth(columns.GetWidth(i + 2), i)) {
                ShowExportMessage(refused);
                return false;
            }
        }
    } catch (const COleDispatchException&) {
        ShowExportMessage(readError);
        return false;
    }
    return true;
}

bool CopyTemplateRows(CWorksheet& from, int rows, int columns, CWorksheet& output, long at, HeightsWritten order,
                      const RowCopyMessages& messages) {
    if (rows < 1 || !from.IsAttached()) return true;
    if (order == HeightsWritten::BeforePaste && !CopyHeights(from, rows, output, at, messages)) return false;
    if (!from.Copy(COleVariant(L"A1"), COleVariant(CWorksheet::IndexToString(columns - 1, rows - 1))) ||
        !output.Paste(COleVariant(CWorksheet::IndexToString(0, at)))) {
        ShowExportMessage(messages.copyRefused);
        return false;
    }
    return order == HeightsWritten::BeforePaste || CopyHeights(from, rows, output, at, messages);
}

bool PasteDataRow(CWorksheet& columns, int count, CWorksheet& output, long at, const wchar_t* copyRefused,
                  const wchar_t* pasteRefused) {
    if (!columns.Copy(COleVariant(L"C5"), COleVariant(CWorksheet::IndexToString(count + 1, 4)))) {
        ShowExportMessage(copyRefused);
        return false;
    }
    if (!output.Paste(COleVariant(CWorksheet::IndexToString(0, at)))) {
        ShowExportMessage(pasteRefused);
        return false;
    }
    return true;
}

}  // namespace qx::detail
