#include "qx/export/ms_excel.h"

#include <array>
#include <cmath>

#include "qx/message/message_table.h"
#include "qx/platform/base/format.h"
#include "qx/platform/base/utf.h"
#include "qx/platform/sheet/engine.h"
#include "qx/platform/wnd/message_box.h"

namespace {

bool g_startFails = false;

[[noreturn]] void Fail(const std::wstring& description) { throw COleDispatchException(description.c_str()); }

// The error values of cells as automation reports them (VT_ERROR with the
// spreadsheet's code in the low word).
struct ErrorValue {
    const wchar_t* text;
    std::uint32_t code;
};
constexpr std::array<ErrorValue, 7> kErrors{{{L"#NULL!", 2000},
                                             {L"#DIV/0!", 2007},
                                             {L"#VALUE!", 2015},
                                             {L"#REF!", 2023},
                                             {L"#NAME?", 2029},
                                             {L"#NUM!", 2036},
                                             {L"#N/A", 2042}}};
constexpr std::uint32_t kErrorFacility = 0x800A0000u;

COleVariant ToVariant(const qx::sheet::CellValue& cell) {
    using Type = qx::sheet::CellValue::Type;
    switch (cell.type) {
        case Type::Number: return COleVariant(cell.number);
        case Type::Text: return COleVariant(cell.text.c_str());
        case Type::Boolean: return COleVariant(static_cast<short>(cell.boolean), VT_BOOL);
        case Type::Error:
            for (const ErrorValue& error : kErrors) {
                if (cell.text == error.text) return COleVariant(static_cast<std::int32_t>(kErrorFacility | error.code), VT_ERROR);
            }
            return COleVariant(static_cast<std::int32_t>(kErrorFacility | 2015), VT_ERROR);
        default: return COleVariant();
    }
}

qx::sheet::CellValue FromVariant(const VARIANT& value) {
    using qx::sheet::CellValue;
    switch (value.vt) {
        case VT_I2: return CellValue::Number(value.iVal);
        case VT_I4: return CellValue::Number(value.lVal);
        case VT_R4: return CellValue::Number(value.fltVal);
        case VT_R8: return CellValue::Number(value.dblVal);
        case VT_BSTR: return CellValue::Text(value.bstrVal ? value.bstrVal : L"");
        case VT_BOOL: return CellValue::Boolean(value.boolVal != VARIANT_FALSE);
        case VT_ERROR:
            for (const ErrorValue& error : kErrors) {
                if (static_cast<std::uint32_t>(value.scode) == (kErrorFacility | error.code)) return CellValue::Error(error.text);
            }
            return CellValue();  // a left-out argument empties the cell
        default: return CellValue();
    }
}

qx::sheet::CellPosition ParseCell(const COleVariant& cellName) {
    const std::string name = qx::WideToUtf8(cellName.Text().GetString());
    const std::optional<qx::sheet::CellPosition> cell = qx::sheet::ParseCellName(name);
    if (!cell) Fail(L"Not a cell name: \"" + std::wstring(cellName.Text().GetString()) + L"\"");
    return *cell;
}

qx::sheet::CellPosition CellAt(long col, long row) {
    if (col < 0 || row < 0 || !qx::sheet::InGrid(static_cast<std::uint32_t>(col), static_cast<std::uint32_t>(row))) {
        Fail(L"Cell outside the sheet");
    }
    return {static_cast<std::uint32_t>(col), static_cast<std::uint32_t>(row)};
}

bool IsTrue(const VARIANT& value) {
    switch (value.vt) {
        case VT_BOOL: return value.boolVal != VARIANT_FALSE;
        case VT_I2: return value.iVal != 0;
        case VT_I4: return value.lVal != 0;
        default: return false;
    }
}

}  // namespace

CMSExcel2k::CMSExcel2k() = default;

// Quitting the application closes every workbook it holds without saving,
// as quitting with alerts off does.
CMSExcel2k::~CMSExcel2k() = default;

int CMSExcel2k::RunMSExcel() {
    if (g_startFails) return 0;
    if (!engine_) engine_ = std::make_unique<qx::sheet::Engine>();
    return 1;
}

void CMSExcel2k::AddWorkbook(CWorkbook& workbook, const CString& templatePath) {
    if (!engine_) Fail(L"The spreadsheet engine is not running");
    std::wstring error;
    qx::sheet::Workbook* book = engine_->Add(templatePath.GetString(), &error);
    if (!book) Fail(error);
    workbook.engine_ = engine_.get();
    workbook.book_ = book;
}

void CMSExcel2k::SetStartFailsForTesting(bool fails) { g_startFails = fails; }

const COleVariant CWorkbook::m_covTRUE(short{1}, VT_BOOL);
const COleVariant CWorkbook::m_covFALSE(short{0}, VT_BOOL);

CWorkbook::CWorkbook() = default;
CWorkbook::~CWorkbook() = default;

void CWorkbook::Close(const wchar_t* fileName, const VARIANT& saveChanges, const VARIANT& /*routeWorkbook*/) {
    if (!book_) return;
    const bool save = IsTrue(saveChanges);
    std::wstring error;
    if (!engine_->Close(book_, save && fileName ? std::wstring_view(fileName) : std::wstring_view(), &error)) {
        const std::wstring text =
            qx::Format(qx::TranslateMessage(L"Speichern der Excel-Datei \"%s\" fehlgeschlagen..."), fileName ? fileName : L"");
        qx::ShowAppMessage(text.c_str(), MB_ICONSTOP);
        return;
    }
    book_ = nullptr;
}

void CWorksheets::AttachSheets(const CWorkbook& workbook) {
    if (!workbook.book_) Fail(L"The workbook is not open");
    engine_ = workbook.engine_;
    book_ = workbook.book_;
}

long CWorksheets::GetCount() const { return book_ ? static_cast<long>(book_->SheetCount()) : 0; }

SheetRef CWorksheets::GetItem(const CString& name) {
    // By position, the count read again at every step, as the family walks it.
    for (long position = 1; position <= GetCount(); ++position) {
        qx::sheet::Sheet* sheet = book_->SheetAt(static_cast<std::size_t>(position - 1));
        if (sheet && sheet->Name() == name.GetString()) return GetItem(static_cast<short>(position));
    }
    return {};
}

SheetRef CWorksheets::GetItem(short position) {
    if (!book_ || position < 1 || position > GetCount()) Fail(L"No sheet at that position");
    return {engine_, book_->SheetAt(static_cast<std::size_t>(position - 1))};
}

SheetRef CWorksheets::Add() {
    if (!book_) Fail(L"The workbook is not open");
    std::wstring error;
    qx::sheet::Sheet* sheet = book_->AddSheet({}, &error);
    if (!sheet) Fail(error);
    return {engine_, sheet};
}

qx::sheet::Sheet& CWorksheet::Sheet() {
    if (!sheet_) Fail(L"The sheet is not open");
    return *sheet_.sheet;
}

void CWorksheet::SetName(CString name) {
    m_name = name;
    std::wstring error;
    if (Sheet().Name() != name.GetString() && !Sheet().Rename(name.GetString(), &error)) Fail(error);
}

void CWorksheet::GetValueAt(COleVariant& value, long col, long row) {
    const qx::sheet::CellPosition cell = CellAt(col, row);
    value = ToVariant(Sheet().Value(cell.col, cell.row));
}

void CWorksheet::GetValueAt(COleVariant& value, COleVariant cellName) {
    const qx::sheet::CellPosition cell = ParseCell(cellName);
    value = ToVariant(Sheet().Value(cell.col, cell.row));
}

void CWorksheet::SetValueAt(COleVariant& value, long col, long row) {
    const qx::sheet::CellPosition cell = CellAt(col, row);
    if (!Sheet().SetValue(cell.col, cell.row, FromVariant(value))) Fail(L"The cell cannot be written");
}

void CWorksheet::SetValueAt(COleVariant& value, COleVariant cellName) {
    const qx::sheet::CellPosition cell = ParseCell(cellName);
    if (!Sheet().SetValue(cell.col, cell.row, FromVariant(value))) Fail(L"The cell cannot be written");
}

double CWorksheet::GetWidth(long col) { return Sheet().ColumnWidth(CellAt(col, 1).col); }

double CWorksheet::GetHeight(long row) { return Sheet().RowHeight(CellAt(1, row).row); }

void CWorksheet::Select(COleVariant cellName) {
    const qx::sheet::CellPosition cell = ParseCell(cellName);
    Sheet().Owner().Activate(Sheet());
    Sheet().Select(cell.col, cell.row);
}

int CWorksheet::SetWidth(double width, long col) {
    try {
        return Sheet().SetColumnWidth(CellAt(col, 1).col, width) ? 1 : 0;
    } catch (const COleDispatchException&) {
        return 0;
    }
}

int CWorksheet::SetHeight(double height, long row) {
    try {
        return Sheet().SetRowHeight(CellAt(0, row).row, height) ? 1 : 0;
    } catch (const COleDispatchException&) {
        return 0;
    }
}

int CWorksheet::Copy(COleVariant from, COleVariant to) {
    try {
        const qx::sheet::CellPosition first = ParseCell(from);
        const qx::sheet::CellPosition last = ParseCell(to);
        const qx::sheet::CellRange range{std::min(first.col, last.col), std::min(first.row, last.row),
                                         std::max(first.col, last.col), std::max(first.row, last.row)};
        return sheet_.engine->Copy(Sheet(), range) ? 1 : 0;
    } catch (const COleDispatchException&) {
        return 0;
    }
}

int CWorksheet::Paste(COleVariant at) {
    try {
        const qx::sheet::CellPosition cell = ParseCell(at);
        // The sheet is activated and the cell selected, then the clipboard
        // lands there.
        Sheet().Owner().Activate(Sheet());
        Sheet().Select(cell.col, cell.row);
        return sheet_.engine->Paste(Sheet(), cell.col, cell.row) ? 1 : 0;
    } catch (const COleDispatchException&) {
        return 0;
    }
}

CString CWorksheet::IndexToString(long col, long row) {
    if (col < 0 || row < 0) return CString();
    return CString(qx::Utf8ToWide(qx::sheet::CellName(static_cast<std::uint32_t>(col), static_cast<std::uint32_t>(row))).c_str());
}
