#include "qx/ui/dlg_input.h"

#include <algorithm>

#include "qx/platform/base/format.h"
#include "qx/platform/base/number_parse.h"
#include "qx/platform/wnd/screen.h"
#include "qx/ui/builtin_dialogs.h"

namespace {

enum : int { kCheck = 1000, kLabel2 = 1001, kEdit = 1002, kList = 1003, kLabel1 = 1004 };

}  // namespace

CDlgInput::CDlgInput(const wchar_t* label1, const wchar_t* caption, const wchar_t* label2, const wchar_t* value,
                     CWnd* parent)
    : CDialog(qx::kValueDialog, parent),
      m_strValue(value ? value : L""),
      label1_(label1 ? label1 : L""),
      caption_(caption ? caption : L""),
      label2_(label2 ? label2 : L"") {}

BOOL CDlgInput::OnInitDialog() {
    CDialog::OnInitDialog();
    SetWindowText(caption_);
    SetDlgItemText(kLabel1, label1_);
    SetDlgItemText(kLabel2, label2_);
    if (HWND check = ::GetDlgItem(m_hWnd, kCheck)) {
        ::SetWindowText(check, m_strCheck);
        ::SendMessage(check, BM_SETCHECK, m_nCheck ? BST_CHECKED : BST_UNCHECKED);
        ::ShowWindow(check, m_strCheck.IsEmpty() ? SW_HIDE : SW_SHOW);
    }
    HWND edit = ::GetDlgItem(m_hWnd, kEdit);
    HWND list = ::GetDlgItem(m_hWnd, kList);
    const bool choosing = !m_List.empty() && list;
    if (choosing) {
        for (const CString& entry : m_List) ::SendMessage(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.GetString()));
        ::SendMessage(list, CB_SETCURSEL, 0);
    } else if (edit) {
        ::SetWindowText(edit, m_dValue != kNoNumber ? qx::Format(L"%.f", m_dValue).c_str() : m_strValue.GetString());
    }
    if (edit) ::ShowWindow(edit, choosing ? SW_HIDE : SW_SHOW);
    if (list) ::ShowWindow(list, choosing ? SW_SHOW : SW_HIDE);

    // Opened at the mouse, kept on the monitor it is on.
    CPoint mouse;
    GetCursorPos(&mouse);
    CRect frame;
    GetWindowRect(&frame);
    const CRect probe(mouse.x, mouse.y, mouse.x + 1, mouse.y + 1);
    MONITORINFO monitor;
    GetMonitorInfo(MonitorFromRect(&probe, MONITOR_DEFAULTTONEAREST), &monitor);
    const CRect work = monitor.rcWork;
    const int x = std::max(work.left, std::min(mouse.x, work.right - frame.Width()));
    const int y = std::max(work.top, std::min(mouse.y, work.bottom - frame.Height()));
    SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The value has the focus, selected as the dialog's first control would
    // be, so typing replaces it.
    ::SetFocus(choosing ? list : edit);
    if (!choosing && edit) ::SendMessage(edit, EM_SETSEL, 0, -1);
    return FALSE;
}

void CDlgInput::OnOK() {
    HWND list = ::GetDlgItem(m_hWnd, kList);
    const bool choosing = !m_List.empty() && list;
    GetDlgItemText(choosing ? kList : kEdit, m_strValue);
    if (m_dValue != kNoNumber) {
        CString number = m_strValue;
        number.Replace(L",", L".");
        m_dValue = qx::ParseDouble(number.GetString());
    }
    if (HWND check = ::GetDlgItem(m_hWnd, kCheck)) m_nCheck = ::SendMessage(check, BM_GETCHECK) == BST_CHECKED ? 1 : 0;
    EndDialog(IDOK);
}
