// The framework's dialog: a CWnd for a dialog made from a template (one
// given in memory, or the resource module's dialog of an id). DoModal runs
// it modally through the UI host; Create makes it modeless. OnInitDialog
// loads the members with UpdateData(FALSE), OnOK saves them and ends the
// dialog only when every exchange succeeded.
#pragma once

#include <optional>

#include "qx/platform/base/export.h"
#include "qx/platform/wnd/cwnd.h"
#include "qx/platform/wnd/dialog_template.h"

class QX_API CDialog : public CWnd {
public:
    CDialog();
    // The dialog of resource *templateId* (found when it is made).
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    // Takes an in-memory template for DoModal.
    BOOL InitModalIndirect(const qx::DialogTemplate& dialog, CWnd* parent = nullptr);
    // Makes the dialog modeless; false when the template is missing or the
    // dialog cannot be made.
    BOOL Create(UINT templateId, CWnd* parent = nullptr);
    BOOL CreateIndirect(const qx::DialogTemplate& dialog, CWnd* parent = nullptr);

    // The button's ID that ended the dialog; -1 when it could not be made.
    virtual LRESULT DoModal();
    void EndDialog(int result);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;
    void GotoDlgCtrl(CWnd* control);
    void SetDefID(UINT id);
    DWORD GetDefID() const;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // The parent the dialog is made over: the one given, else the main
    // window when it is enabled.
    HWND ParentForDialog() const;

    CWnd* m_pParentWnd = nullptr;
    UINT m_nIDHelp = 0;

private:
    std::optional<qx::DialogTemplate> Template() const;
    static LRESULT DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    UINT templateId_ = 0;
    std::optional<qx::DialogTemplate> template_;
};
