// The framework's control objects: thin CWnd classes whose members send the
// control's messages. Attach one to a dialog's control with DDX_Control or
// SubclassDlgItem, or make a new control with Create.
#pragma once

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"
#include "qx/platform/wnd/common_controls.h"
#include "qx/platform/wnd/cwnd.h"

class QX_API CButton : public CWnd {
public:
    BOOL Create(const wchar_t* caption, DWORD style, const CRect& rect, CWnd* parent, UINT id);
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int check) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(check)); }
    UINT GetState() const { return static_cast<UINT>(SendMessage(BM_GETSTATE)); }
    void SetButtonStyle(UINT style, BOOL redraw = TRUE) { SendMessage(BM_SETSTYLE, style, redraw); }
    void Click() { SendMessage(BM_CLICK); }
};

class QX_API CEdit : public CWnd {
public:
    BOOL Create(DWORD style, const CRect& rect, CWnd* parent, UINT id);
    void SetSel(int start, int end, BOOL noScroll = FALSE);
    void GetSel(int& start, int& end) const;
    void ReplaceSel(const wchar_t* text, BOOL canUndo = FALSE);
    void SetLimitText(UINT limit) { SendMessage(EM_LIMITTEXT, limit); }
    void LimitText(int limit = 0) { SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(limit)); }
    UINT GetLimitText() const { return static_cast<UINT>(SendMessage(EM_GETLIMITTEXT)); }
    BOOL SetReadOnly(BOOL readOnly = TRUE) { return static_cast<BOOL>(SendMessage(EM_SETREADONLY, readOnly)); }
    int GetLineCount() const { return static_cast<int>(SendMessage(EM_GETLINECOUNT)); }
};

class QX_API CStatic : public CWnd {
public:
    BOOL Create(const wchar_t* text, DWORD style, const CRect& rect, CWnd* parent, UINT id);
    void* SetIcon(void* icon) { return reinterpret_cast<void*>(SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(icon))); }
    void* GetIcon() const { return reinterpret_cast<void*>(SendMessage(STM_GETICON)); }
};

class QX_API CComboBox : public CWnd {
public:
    BOOL Create(DWORD style, const CRect& rect, CWnd* parent, UINT id);
    int AddString(const wchar_t* text) { return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text))); }
    int InsertString(int index, const wchar_t* text);
    int DeleteString(UINT index) { return static_cast<int>(SendMessage(CB_DELETESTRING, index)); }
    void ResetContent() { SendMessage(CB_RESETCONTENT); }
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int index) { return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index))); }
    void GetLBText(int index, CString& text) const;
    int GetLBTextLen(int index) const { return static_cast<int>(SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(index))); }
    int FindString(int startAfter, const wchar_t* text) const;
    int FindStringExact(int startAfter, const wchar_t* text) const;
    int SelectString(int startAfter, const wchar_t* text);
    LPARAM GetItemData(int index) const { return SendMessage(CB_GETITEMDATA, static_cast<WPARAM>(index)); }
    int SetItemData(int index, LPARAM data) { return static_cast<int>(SendMessage(CB_SETITEMDATA, static_cast<WPARAM>(index), data)); }
    void* GetItemDataPtr(int index) const { return reinterpret_cast<void*>(GetItemData(index)); }
    int SetItemDataPtr(int index, void* data) { return SetItemData(index, reinterpret_cast<LPARAM>(data)); }
    BOOL SetEditSel(int start, int end) { return static_cast<BOOL>(SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(static_cast<unsigned>(start), static_cast<unsigned>(end)))); }
    BOOL LimitText(int limit) { return static_cast<BOOL>(SendMessage(CB_LIMITTEXT, static_cast<WPARAM>(limit))); }
    void ShowDropDown(BOOL show = TRUE) { SendMessage(CB_SHOWDROPDOWN, show); }
    BOOL GetDroppedState() const { return static_cast<BOOL>(SendMessage(CB_GETDROPPEDSTATE)); }
};

class QX_API CListBox : public CWnd {
public:
    BOOL Create(DWORD style, const CRect& rect, CWnd* parent, UINT id);
    int AddString(const wchar_t* text) { return static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text))); }
    int InsertString(int index, const wchar_t* text);
    int DeleteString(UINT index) { return static_cast<int>(SendMessage(LB_DELETESTRING, index)); }
    void ResetContent() { SendMessage(LB_RESETCONTENT); }
    int GetCount() const { return static_cast<int>(SendMessage(LB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(LB_GETCURSEL)); }
    int SetCurSel(int index) { return static_cast<int>(SendMessage(LB_SETCURSEL, static_cast<WPARAM>(index))); }
    int GetSel(int index) const { return static_cast<int>(SendMessage(LB_GETSEL, static_cast<WPARAM>(index))); }
    int SetSel(int index, BOOL select = TRUE) { return static_cast<int>(SendMessage(LB_SETSEL, select, index)); }
    int GetSelCount() const { return static_cast<int>(SendMessage(LB_GETSELCOUNT)); }
    void GetText(int index, CString& text) const;
    int GetTextLen(int index) const { return static_cast<int>(SendMessage(LB_GETTEXTLEN, static_cast<WPARAM>(index))); }
    int FindString(int startAfter, const wchar_t* text) const;
    int FindStringExact(int startAfter, const wchar_t* text) const;
    int SelectString(int startAfter, const wchar_t* text);
    LPARAM GetItemData(int index) const { return SendMessage(LB_GETITEMDATA, static_cast<WPARAM>(index)); }
    int SetItemData(int index, LPARAM data) { return static_cast<int>(SendMessage(LB_SETITEMDATA, static_cast<WPARAM>(index), data)); }
    void* GetItemDataPtr(int index) const { return reinterpret_cast<void*>(GetItemData(index)); }
    int SetItemDataPtr(int index, void* data) { return SetItemData(index, reinterpret_cast<LPARAM>(data)); }
    int GetTopIndex() const { return static_cast<int>(SendMessage(LB_GETTOPINDEX)); }
    int SetTopIndex(int index) { return static_cast<int>(SendMessage(LB_SETTOPINDEX, static_cast<WPARAM>(index))); }
};

class QX_API CListCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const CRect& rect, CWnd* parent, UINT id);
    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    int InsertColumn(int column, const wchar_t* heading, int format = 0, int width = -1);
    int InsertItem(int item, const wchar_t* text);
    int InsertItem(const LVITEM* item) { return static_cast<int>(SendMessage(LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(item))); }
    BOOL DeleteItem(int item) { return static_cast<BOOL>(SendMessage(LVM_DELETEITEM, static_cast<WPARAM>(item))); }
    BOOL DeleteAllItems() { return static_cast<BOOL>(SendMessage(LVM_DELETEALLITEMS)); }
    BOOL SetItemText(int item, int subItem, const wchar_t* text);
    CString GetItemText(int item, int subItem) const;
    DWORD_PTR GetItemData(int item) const;
    BOOL SetItemData(int item, DWORD_PTR data);
    UINT GetItemState(int item, UINT mask) const { return static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, static_cast<WPARAM>(item), mask)); }
    BOOL SetItemState(int item, UINT state, UINT mask);
    int GetNextItem(int item, int flags) const { return static_cast<int>(SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(item), flags)); }
    BOOL EnsureVisible(int item, BOOL partialOk) { return static_cast<BOOL>(SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(item), partialOk)); }
};

class QX_API CProgressCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const CRect& rect, CWnd* parent, UINT id);
    void SetRange32(int low, int high) { SendMessage(PBM_SETRANGE32, static_cast<WPARAM>(low), high); }
    void GetRange(int& low, int& high) const;
    int SetPos(int position) { return static_cast<int>(SendMessage(PBM_SETPOS, static_cast<WPARAM>(position))); }
    int GetPos() const { return static_cast<int>(SendMessage(PBM_GETPOS)); }
    int OffsetPos(int delta) { return static_cast<int>(SendMessage(PBM_DELTAPOS, static_cast<WPARAM>(delta))); }
    int SetStep(int step) { return static_cast<int>(SendMessage(PBM_SETSTEP, static_cast<WPARAM>(step))); }
    int StepIt() { return static_cast<int>(SendMessage(PBM_STEPIT)); }
};

// Shows the busy cursor for the object's lifetime; nested ones count.
class QX_API CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
    // Shows the busy cursor again after a message box.
    void Restore();
    // Whether any wait cursor is shown (hosts show it).
    static bool IsShown();
};
