// The rows a spreadsheet list export writes: named, typed cells gathered in
// rows, which may also stand for a page break, an empty line or the start of
// a new table. Rows own their cells and row arrays own their rows.
#pragma once

#include "qx/platform/base/array.h"
#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"

class QX_API CExcelCell {
public:
    enum Type { TYPE_EMPTY = 0, TYPE_INT = 1, TYPE_FLOAT = 2, TYPE_DOUBLE = 3, TYPE_TEXT = 4 };

    explicit CExcelCell(const CString& name);
    CExcelCell(const CString& name, int value);
    CExcelCell(const CString& name, float value);
    CExcelCell(const CString& name, double value);
    // An empty text makes an empty cell.
    CExcelCell(const CString& name, const CString& text);
    ~CExcelCell();
    CExcelCell(const CExcelCell&) = delete;
    CExcelCell& operator=(const CExcelCell&) = delete;

    const CString& GetName() const { return m_name; }
    int GetType() const { return m_type; }
    int GetInt() const { return m_int; }
    float GetFloat() const { return m_float; }
    double GetDouble() const { return m_double; }
    const CString& GetText() const { return m_text; }
    // 1 for every kind but text; for a text 1 plus its line feeds.
    int GetLineCount() const;

    // Takes the kind and value of *other*.
    void TakeValue(const CExcelCell& other);
    void SetText(const CString& text);  // empty: an empty cell
    void SetEmpty();

private:
    CString m_name;
    int m_type = TYPE_EMPTY;
    int m_int = 0;
    float m_float = 0;
    double m_double = 0;
    CString m_text;
};

class QX_API CExcelRow : public CArray<CExcelCell*, CExcelCell*> {
public:
    CExcelRow() = default;
    ~CExcelRow();
    CExcelRow(const CExcelRow&) = delete;
    CExcelRow& operator=(const CExcelRow&) = delete;

    // Adds *cell* and takes it over. When the row has a cell of that name
    // already (letter case aside), that cell takes the new one's value (an
    // empty new cell changes nothing) and *cell* is deleted.
    void append(CExcelCell* cell);
    // The first cell whose name equals *name* without regard to case; null
    // when there is none.
    CExcelCell* FindCell(const CString& name) const;
    // The largest line count of the cells, at least 1.
    int GetLineCount() const;

    bool m_bNewPage = false;
    bool m_bEmptyLine = false;
    bool m_bNewTable = false;
    CString m_tableName;
};

class QX_API CExcelRowArray : public CArray<CExcelRow*, CExcelRow*> {
public:
    CExcelRowArray() = default;
    ~CExcelRowArray();
    CExcelRowArray(const CExcelRowArray&) = delete;
    CExcelRowArray& operator=(const CExcelRowArray&) = delete;
};

// What the headers and footers of an export put in for "$proj_nr",
// "$proj_na" and "$proj_da".
struct CExcelProjectInfo {
    CString m_projectNo;
    CString m_projectName;
    CString m_projectDate;
};
