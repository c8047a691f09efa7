#include "qx/ui/wait_message.h"

#include "qx/platform/wnd/data_exchange.h"
#include "qx/platform/wnd/ui_host.h"
#include "qx/ui/builtin_dialogs.h"

namespace {

enum : int { kBar = 1000, kText = 1001 };

}  // namespace

CWaitMessage::CWaitMessage(CWnd* parent) { m_pParentWnd = parent; }

CWaitMessage::~CWaitMessage() {
    if (m_hWnd) DestroyWindow();
}

BOOL CWaitMessage::Create(CWnd* parent) {
    if (parent) m_pParentWnd = parent;
    return CDialog::Create(qx::kWaitMessageDialog, parent);
}

BOOL CWaitMessage::OnInitDialog() {
    CDialog::OnInitDialog();
    SendDlgItemMessage(m_hWnd, kBar, PBM_SETRANGE32, 0, 100);
    CenterWindow();
    return TRUE;
}

void CWaitMessage::DoDataExchange(CDataExchange* exchange) { DDX_Text(exchange, kText, m_strText); }

void CWaitMessage::RestoreDisabled() {
    if (disabledWasEnabled_ != -1 && IsWindow(disabled_)) {
        if (disabledWasEnabled_ == 1) ::EnableWindow(disabled_, TRUE);
        SetForegroundWindow(disabled_);
    }
    disabled_ = nullptr;
    disabledWasEnabled_ = -1;
}

void CWaitMessage::Show(CWnd* window) {
    if (!m_hWnd) return;
    if (window && ::GetParent(m_hWnd) != window->m_hWnd) ::SetParent(m_hWnd, window->m_hWnd);
    if (disabledWasEnabled_ == 1 && IsWindow(disabled_)) ::EnableWindow(disabled_, TRUE);
    HWND target = window ? window->m_hWnd : ::GetParent(m_hWnd);
    disabled_ = target;
    disabledWasEnabled_ = target ? (::IsWindowEnabled(target) ? 1 : 0) : -1;
    if (target) ::EnableWindow(target, FALSE);
    CenterWindow();
    ShowWindow(SW_SHOW);
    Refresh();
}

void CWaitMessage::Hide() {
    if (!m_hWnd) return;
    RestoreDisabled();
    ShowWindow(SW_HIDE);
}

void CWaitMessage::SetText(const wchar_t* text) {
    if (!m_hWnd) return;
    m_strText = text ? text : L"";
    Invalidate();
    UpdateWindow();
    UpdateData(FALSE);
}

void CWaitMessage::SetRange(int low, int high) {
    if (m_hWnd) SendDlgItemMessage(m_hWnd, kBar, PBM_SETRANGE32, static_cast<WPARAM>(low), high);
}

void CWaitMessage::Refresh() {
    RedrawWindow(m_hWnd);
    qx::CurrentUiHost().Flush();
}

void CWaitMessage::SetPosition(int position) {
    if (!m_hWnd) return;
    SendDlgItemMessage(m_hWnd, kBar, PBM_SETPOS, static_cast<WPARAM>(position));
    Refresh();
}

void CWaitMessage::SetProzent(int percent) {
    if (!m_hWnd || SendDlgItemMessage(m_hWnd, kBar, PBM_GETPOS) == percent) return;
    SendDlgItemMessage(m_hWnd, kBar, PBM_SETPOS, static_cast<WPARAM>(percent));
    Refresh();
    if (percent == 100) qx::WaitFor(100);
}

BOOL CWaitMessage::DestroyWindow() {
    RestoreDisabled();
    return CDialog::DestroyWindow();
}
