#include "qx/platform/wnd/control_classes.h"

#include "qx/platform/wnd/internal/host_support.h"

#include <algorithm>
#include <string>

namespace {

int Find(const CWnd& control, UINT message, int startAfter, const wchar_t* text) {
    return static_cast<int>(control.SendMessage(message, static_cast<WPARAM>(startAfter), reinterpret_cast<LPARAM>(text)));
}

int g_waitCursors = 0;

}  // namespace

BOOL CButton::Create(const wchar_t* caption, DWORD style, const CRect& rect, CWnd* parent, UINT id) {
    return CreateEx(0, L"Button", caption, style | WS_CHILD, rect, parent, id);
}

BOOL CEdit::Create(DWORD style, const CRect& rect, CWnd* parent, UINT id) {
    return CreateEx(0, L"Edit", L"", style | WS_CHILD, rect, parent, id);
}

void CEdit::SetSel(int start, int end, BOOL) { SendMessage(EM_SETSEL, static_cast<WPARAM>(start), end); }

void CEdit::GetSel(int& start, int& end) const {
    DWORD from = 0, to = 0;
    SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    start = static_cast<int>(from);
    end = static_cast<int>(to);
}

void CEdit::ReplaceSel(const wchar_t* text, BOOL canUndo) { SendMessage(EM_REPLACESEL, canUndo, reinterpret_cast<LPARAM>(text)); }

BOOL CStatic::Create(const wchar_t* text, DWORD style, const CRect& rect, CWnd* parent, UINT id) {
    return CreateEx(0, L"Static", text, style | WS_CHILD, rect, parent, id);
}

BOOL CComboBox::Create(DWORD style, const CRect& rect, CWnd* parent, UINT id) {
    return CreateEx(0, L"ComboBox", L"", style | WS_CHILD, rect, parent, id);
}

int CComboBox::InsertString(int index, const wchar_t* text) {
    return static_cast<int>(SendMessage(CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text)));
}

void CComboBox::GetLBText(int index, CString& text) const { text = CString(qx::wnd::ListEntry(m_hWnd, index).c_str()); }
int CComboBox::FindString(int startAfter, const wchar_t* text) const { return Find(*this, CB_FINDSTRING, startAfter, text); }
int CComboBox::FindStringExact(int startAfter, const wchar_t* text) const { return Find(*this, CB_FINDSTRINGEXACT, startAfter, text); }
int CComboBox::SelectString(int startAfter, const wchar_t* text) { return Find(*this, CB_SELECTSTRING, startAfter, text); }

BOOL CListBox::Create(DWORD style, const CRect& rect, CWnd* parent, UINT id) {
    return CreateEx(0, L"ListBox", L"", style | WS_CHILD, rect, parent, id);
}

int CListBox::InsertString(int index, const wchar_t* text) {
    return static_cast<int>(SendMessage(LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text)));
}

void CListBox::GetText(int index, CString& text) const { text = CString(qx::wnd::ListEntry(m_hWnd, index).c_str()); }
int CListBox::FindString(int startAfter, const wchar_t* text) const { return Find(*this, LB_FINDSTRING, startAfter, text); }
int CListBox::FindStringExact(int startAfter, const wchar_t* text) const { return Find(*this, LB_FINDSTRINGEXACT, startAfter, text); }
int CListBox::SelectString(int startAfter, const wchar_t* text) { return Find(*this, LB_SELECTSTRING, startAfter, text); }

BOOL CListCtrl::Create(DWORD style, const CRect& rect, CWnd* parent, UINT id) {
    return CreateEx(0, L"SysListView32", L"", style | WS_CHILD, rect, parent, id);
}

int CListCtrl::InsertColumn(int column, const wchar_t* heading, int format, int width) {
    std::wstring text = heading ? heading : L"";
    LVCOLUMN record;
    record.mask = LVCF_TEXT | LVCF_FMT | (width >= 0 ? LVCF_WIDTH : 0u);
    record.fmt = format;
    record.cx = width;
    record.pszText = text.data();
    return static_cast<int>(SendMessage(LVM_INSERTCOLUMN, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&record)));
}

int CListCtrl::InsertItem(int item, const wchar_t* text) {
    std::wstring copy = text ? text : L"";
    LVITEM record;
    record.mask = LVIF_TEXT;
    record.iItem = item;
    record.pszText = copy.data();
    return InsertItem(&record);
}

BOOL CListCtrl::SetItemText(int item, int subItem, const wchar_t* text) {
    std::wstring copy = text ? text : L"";
    LVITEM record;
    record.iSubItem = subItem;
    record.pszText = copy.data();
    return static_cast<BOOL>(SendMessage(LVM_SETITEMTEXT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&record)));
}

CString CListCtrl::GetItemText(int item, int subItem) const {
    // List texts are short; a longer one is read again with room for it.
    for (size_t room = 256;; room *= 4) {
        std::wstring buffer(room, L'\0');
        LVITEM record;
        record.iSubItem = subItem;
        record.pszText = buffer.data();
        record.cchTextMax = static_cast<int>(room);
        const auto length = static_cast<size_t>(SendMessage(LVM_GETITEMTEXT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&record)));
        if (length + 1 < room || room >= (1u << 20)) return CString(buffer.c_str());
    }
}

DWORD_PTR CListCtrl::GetItemData(int item) const {
    LVITEM record;
    record.mask = LVIF_PARAM;
    record.iItem = item;
    return SendMessage(LVM_GETITEM, 0, reinterpret_cast<LPARAM>(&record)) ? static_cast<DWORD_PTR>(record.lParam) : 0;
}

BOOL CListCtrl::SetItemData(int item, DWORD_PTR data) {
    LVITEM record;
    record.mask = LVIF_PARAM;
    record.iItem = item;
    record.lParam = static_cast<LPARAM>(data);
    return static_cast<BOOL>(SendMessage(LVM_SETITEM, 0, reinterpret_cast<LPARAM>(&record)));
}

BOOL CListCtrl::SetItemState(int item, UINT state, UINT mask) {
    LVITEM record;
    record.state = state;
    record.stateMask = mask;
    return static_cast<BOOL>(SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&record)));
}

BOOL CProgressCtrl::Create(DWORD style, const CRect& rect, CWnd* parent, UINT id) {
    return CreateEx(0, L"msctls_progress32", L"", style | WS_CHILD, rect, parent, id);
}

void CProgressCtrl::GetRange(int& low, int& high) const {
    PBRANGE range;
    SendMessage(PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
    low = range.iLow;
    high = range.iHigh;
}

CWaitCursor::CWaitCursor() { ++g_waitCursors; }
CWaitCursor::~CWaitCursor() { --g_waitCursors; }
// The busy cursor comes back after a box took it away; the count is
// unchanged, so nothing is to do here.
void CWaitCursor::Restore() {}
bool CWaitCursor::IsShown() { return g_waitCursors > 0; }
