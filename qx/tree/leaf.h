// CLeaf: a named leaf of a tree document holding one packed value list
// (see qx/text/sub_str.h).
//
// The list operations keep no state in the leaf: they use the one
// process-wide packed-value reader and builder. InitGetValues points the
// reader at this leaf, and every following GetNextValue continues that list,
// whichever leaf it is called on; InitSetValues/SetFirstValue start a list in
// the builder, SetNextValue appends to it, and ExitSetValues/SetLastValue
// store it in the leaf they are called on. Every single-value operation
// restarts the reader or uses the builder, so finish a list first.
//
// A leaf read from a file keeps its value in the file's bytes, right behind
// the leaf in the same block, and widens it the first time it is asked for
// (qx/tree/internal/packed_leaf.h).
#pragma once

#include <cstddef>

#include "qx/tree/tree_item.h"

namespace qx::detail {
struct PackedLeaf;
}

class QX_API CLeaf : public CTreeItem {
public:
    // Without *raw* a non-empty *value* is stored as a list of exactly one
    // value (a:b is one value); with *raw* it is taken as a packed list
    // unchanged (a:b holds two values).
    explicit CLeaf(const wchar_t* name = nullptr, const wchar_t* value = nullptr, bool raw = false);
    ~CLeaf() override;

    int GetItemType() const override { return 2; }
    unsigned GetTextLength(int indent) const override;
    unsigned WriteToMem(wchar_t*& cursor, int indent, wchar_t separator) const override;
    unsigned long ReadFromMem(const wchar_t*& cursor, wchar_t separator) override;
    void DumpToDebugger(int level) const override;

    // The packed value as stored.
    const CString& GetRawData() const { return Value(); }
    void SetRawData(const CString& text) { MutableValue() = text; }
    void SetRawData(CString&& text) { MutableValue() = std::move(text); }

    CString GetOnlyValue(wchar_t separator = L':');
    int GetOnlyValueI(wchar_t separator = L':', bool force = false);
    void SetOnlyValue(const wchar_t* value, wchar_t separator = L':');
    // *out* = the index-th value counted from 1 ("" when there is none or
    // index < 1); true when *out* is non-empty.
    bool GetValue(int index, CString& out, wchar_t separator = L':');
    // The index-th value (0 and 1 both mean the first), or *defaultValue*
    // when the leaf is empty or has fewer values.
    CString GetStrLeafValue(int index, wchar_t separator = L':', const wchar_t* defaultValue = L"");
    // The index-th value as text into *out*; false when the leaf is empty or
    // has fewer values (where the getters give their default).
    bool ReadValueAt(int index, wchar_t separator, CString& out);

    // Reading the list; each returns whether a further value follows.
    bool InitGetValues(wchar_t separator = L':');
    void GetValueInit(wchar_t separator = L':');
    bool GetFirstValue(CString& out, wchar_t separator = L':');
    bool GetFirstValue(double& out, wchar_t separator = L':', bool force = false);
    bool GetFirstValue(int& out, wchar_t separator = L':', bool force = false);
    bool GetNextValue(CString& out);
    bool GetNextValue(double& out, bool force = false);
    bool GetNextValue(int& out, bool force = false);
    bool GetNextValue(bool& out, bool flag = false);

    // Building the list.
    static void InitSetValues(wchar_t separator = L':');
    void SetFirstValue(const wchar_t* value, wchar_t separator = L':');
    void SetFirstValue(int value, const wchar_t* format, wchar_t separator = L':');
    void SetFirstValue(double value, const wchar_t* format, wchar_t separator = L':');
    void SetNextValue(const wchar_t* value);
    void SetNextValue(int value, const wchar_t* format);
    void SetNextValue(double value, const wchar_t* format);
    void SetLastValue(const wchar_t* value);
    void ExitSetValues();
    void SetAccumulatedValue();

private:
    friend struct qx::detail::PackedLeaf;

    const CString& Value() const {
        if (m_packedBytes) WidenPacked();
        return m_value;
    }
    CString& MutableValue() {
        m_packedBytes = 0;
        return m_value;
    }
    void WidenPacked() const;

    mutable CString m_value;
    // While m_packedBytes is not zero, the value is that many bytes behind
    // the leaf: 8-bit text widened by m_widening, or UTF-8 when it is null.
    mutable std::size_t m_packedBytes = 0;
    const wchar_t* m_widening = nullptr;
};

namespace qx {

// Number texts of the tree values. An integer with a printf format; a double
// with a printf format, then trailing zeros of its fraction removed (a point
// left at the end stays: 1.0 with "%.2f" gives "1."), except for exactly
// "%.0f". Without a format a double is written with "%f" and trimmed of
// trailing zeros and the point (2.5 gives "2.5", 3.0 gives "3").
QX_API CString FormatTreeInt(int value, const wchar_t* format);
QX_API CString FormatTreeDouble(double value, const wchar_t* format);
QX_API CString FormatTreeDouble(double value);

}  // namespace qx
