#include "qx/export/excel_rows.h"

#include <algorithm>

CExcelCell::CExcelCell(const CString& name) : m_name(name) {}
CExcelCell::CExcelCell(const CString& name, int value) : m_name(name), m_type(TYPE_INT), m_int(value) {}
CExcelCell::CExcelCell(const CString& name, float value) : m_name(name), m_type(TYPE_FLOAT), m_float(value) {}
CExcelCell::CExcelCell(const CString& name, double value) : m_name(name), m_type(TYPE_DOUBLE), m_double(value) {}
CExcelCell::CExcelCell(const CString& name, const CString& text) : m_name(name) { SetText(text); }
CExcelCell::~CExcelCell() = default;

int CExcelCell::GetLineCount() const {
    if (m_type != TYPE_TEXT) return 1;
    const wchar_t* text = m_text.GetString();
    return 1 + static_cast<int>(std::count(text, text + m_text.GetLength(), L'\n'));
}

void CExcelCell::TakeValue(const CExcelCell& other) {
    m_type = other.m_type;
    m_int = other.m_int;
    m_float = other.m_float;
    m_double = other.m_double;
    m_text = other.m_text;
}

void CExcelCell::SetText(const CString& text) {
    m_text = text;
    m_type = text.IsEmpty() ? TYPE_EMPTY : TYPE_TEXT;
}

void CExcelCell::SetEmpty() {
    m_type = TYPE_EMPTY;
    m_text.Empty();
}

CExcelRow::~CExcelRow() {
    for (int i = 0; i < GetSize(); ++i) delete GetAt(i);
}

void CExcelRow::append(CExcelCell* cell) {
    if (!cell) return;
    if (CExcelCell* existing = FindCell(cell->GetName())) {
        if (cell->GetType() != CExcelCell::TYPE_EMPTY) existing->TakeValue(*cell);
        delete cell;
        return;
    }
    Add(cell);
}

CExcelCell* CExcelRow::FindCell(const CString& name) const {
    for (int i = 0; i < GetSize(); ++i) {
        if (GetAt(i)->GetName().CompareNoCase(name.GetString()) == 0) return GetAt(i);
    }
    return nullptr;
}

int CExcelRow::GetLineCount() const {
    int lines = 1;
    for (int i = 0; i < GetSize(); ++i) lines = std::max(lines, GetAt(i)->GetLineCount());
    return lines;
}

CExcelRowArray::~CExcelRowArray() {
    for (int i = 0; i < GetSize(); ++i) delete GetAt(i);
}
