#include "qx/platform/wnd/cdialog.h"

#include "qx/platform/wnd/dialog_box.h"

CDialog::CDialog() = default;
CDialog::CDialog(UINT templateId, CWnd* parent) : m_pParentWnd(parent), m_nIDHelp(templateId), templateId_(templateId) {}
CDialog::~CDialog() = default;

BOOL CDialog::InitModalIndirect(const qx::DialogTemplate& dialog, CWnd* parent) {
    template_ = dialog;
    if (parent) m_pParentWnd = parent;
    return TRUE;
}

std::optional<qx::DialogTemplate> CDialog::Template() const {
    if (template_) return template_;
    return qx::FindDialogTemplate(templateId_);
}

HWND CDialog::ParentForDialog() const {
    if (m_pParentWnd) return m_pParentWnd->m_hWnd;
    CWnd* main = AfxGetMainWnd();
    return main && main->IsWindowEnabled() ? main->m_hWnd : nullptr;
}

LRESULT CDialog::DialogProc(HWND hwnd, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_INITDIALOG) return FALSE;
    // From here on the dialog's messages go through the object; what it
    // leaves goes on to the dialog class.
    auto* dialog = reinterpret_cast<CDialog*>(lParam);
    if (!dialog->SubclassWindow(hwnd)) return FALSE;
    return dialog->OnInitDialog();
}

LRESULT CDialog::DoModal() {
    std::optional<qx::DialogTemplate> dialog = Template();
    if (!dialog || m_hWnd) return -1;
    return DialogBoxIndirectParam(*dialog, ParentForDialog(), DialogProc, reinterpret_cast<LPARAM>(this));
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
    templateId_ = templateId;
    template_.reset();
    if (parent) m_pParentWnd = parent;
    std::optional<qx::DialogTemplate> dialog = Template();
    return dialog ? CreateIndirect(*dialog, parent) : FALSE;
}

BOOL CDialog::CreateIndirect(const qx::DialogTemplate& dialog, CWnd* parent) {
    if (m_hWnd) return FALSE;
    if (parent) m_pParentWnd = parent;
    return CreateDialogIndirectParam(dialog, ParentForDialog(), DialogProc, reinterpret_cast<LPARAM>(this)) != nullptr;
}

void CDialog::EndDialog(int result) { ::EndDialog(m_hWnd, result); }

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    // Buttons and the dialog manager's Enter and Escape arrive here.
    if (HIWORD(wParam) == BN_CLICKED || lParam == 0) {
        if (LOWORD(wParam) == IDOK) {
            OnOK();
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            OnCancel();
            return TRUE;
        }
    }
    return CWnd::OnCommand(wParam, lParam);
}

void CDialog::NextDlgCtrl() const { ::SendMessage(m_hWnd, WM_NEXTDLGCTL, 0, 0); }
void CDialog::PrevDlgCtrl() const { ::SendMessage(m_hWnd, WM_NEXTDLGCTL, 1, 0); }

void CDialog::GotoDlgCtrl(CWnd* control) {
    if (control) ::SendMessage(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control->m_hWnd), TRUE);
}

void CDialog::SetDefID(UINT id) { ::SendMessage(m_hWnd, DM_SETDEFID, id); }
DWORD CDialog::GetDefID() const { return static_cast<DWORD>(::SendMessage(m_hWnd, DM_GETDEFID)); }
