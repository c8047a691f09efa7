#include "qx/ui/builtin_dialogs.h"

#include "qx/platform/wnd/dialog_box.h"

namespace qx {
namespace {

DialogTemplate WaitMessageTemplate() {
    DialogTemplate dialog;
    dialog.style = WS_POPUP | WS_BORDER | DS_MODALFRAME | DS_SETFONT;
    dialog.rect = CRect(0, 0, 200, 40);
    dialog.items = {
        {WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, CRect(7, 7, 193, 17), 1001, L"Static", L""},
        {WS_VISIBLE | PBS_SMOOTH, 0, CRect(7, 21, 193, 31), 1000, L"msctls_progress32", L""},
    };
    return dialog;
}

DialogTemplate ValueTemplate() {
    DialogTemplate dialog;
    dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    dialog.rect = CRect(0, 0, 200, 92);
    dialog.items = {
        {WS_VISIBLE | SS_LEFT, 0, CRect(7, 7, 193, 17), 1004, L"Static", L""},
        {WS_VISIBLE | SS_LEFT, 0, CRect(7, 20, 193, 30), 1001, L"Static", L""},
        {WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, CRect(7, 33, 193, 47), 1002, L"Edit", L""},
        {WS_TABSTOP | CBS_DROPDOWNLIST, 0, CRect(7, 33, 193, 110), 1003, L"ComboBox", L""},
        {WS_TABSTOP | BS_AUTOCHECKBOX, 0, CRect(7, 52, 193, 62), 1000, L"Button", L""},
        {WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, CRect(89, 71, 139, 85), IDOK, L"Button", L"OK"},
        {WS_VISIBLE | WS_TABSTOP, 0, CRect(143, 71, 193, 85), IDCANCEL, L"Button", L"Abbrechen"},
    };
    return dialog;
}

[[maybe_unused]] const bool g_registered = [] {
    SetBuiltInDialogTemplate(kWaitMessageDialog, WriteDialogTemplate(WaitMessageTemplate()));
    SetBuiltInDialogTemplate(kValueDialog, WriteDialogTemplate(ValueTemplate()));
    return true;
}();

}  // namespace
}  // namespace qx
