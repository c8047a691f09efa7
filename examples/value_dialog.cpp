// A dialog made from an in-memory template and run modally through the UI
// host the environment names (QX_UI): on a terminal it asks its questions,
// under QX_UI=image it is painted into QX_UI_IMAGES (docs/ui-hosts.md shows
// the picture), under QX_UI=script it follows QX_UI_SCRIPT.
//
//   QX_UI=image QX_UI_IMAGES=/tmp/pictures build/examples/value_dialog
#include <cstdio>

#include "qx/platform/base/utf.h"
#include "qx/platform/wnd/cdialog.h"
#include "qx/platform/wnd/control_classes.h"
#include "qx/platform/wnd/data_exchange.h"

namespace {

enum : int { kLabel = 100, kValue = 101, kAgain = 102, kKind = 103, kProgress = 104 };

class ValueDialog : public CDialog {
public:
    ValueDialog() {
        qx::DialogTemplate dialog;
        dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER;
        dialog.rect = CRect(0, 0, 200, 100);
        dialog.title = L"Wert eingeben";
        dialog.items = {
            {WS_VISIBLE | SS_LEFT, 0, CRect(7, 7, 193, 17), kLabel, L"Static", L"Vorlauftemperatur:"},
            {WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, CRect(7, 20, 193, 34), kValue, L"Edit", L""},
            {WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, CRect(7, 38, 120, 48), kAgain, L"Button", L"Nicht mehr fragen"},
            {WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST, 0, CRect(7, 52, 100, 100), kKind, L"ComboBox", L""},
            {WS_VISIBLE, 0, CRect(110, 54, 193, 62), kProgress, L"msctls_progress32", L""},
            {WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, CRect(90, 75, 140, 89), IDOK, L"Button", L"OK"},
            {WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, CRect(143, 75, 193, 89), IDCANCEL, L"Button", L"&Abbrechen"},
        };
        InitModalIndirect(dialog);
    }

    int temperature = 55;
    int again = 1;
    int kind = 0;

protected:
    BOOL OnInitDialog() override {
        CComboBox* kinds = static_cast<CComboBox*>(GetDlgItem(kKind));
        for (const wchar_t* entry : {L"Heizung", L"Warmwasser", L"L\u00fcftung"}) {
            kinds->SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
        }
        SendDlgItemMessage(m_hWnd, kProgress, PBM_SETPOS, 60);
        return CDialog::OnInitDialog();
    }
    void DoDataExchange(CDataExchange* exchange) override {
        DDX_Text(exchange, kValue, temperature);
        DDX_Check(exchange, kAgain, again);
        DDX_CBIndex(exchange, kKind, kind);
    }
};

}  // namespace

int main() {
    ValueDialog dialog;
    const LRESULT answer = dialog.DoModal();
    std::printf("%s: %d, %s, entry %d\n", answer == IDOK ? "OK" : "cancelled", dialog.temperature,
                dialog.again ? "ask again" : "do not ask again", dialog.kind);
    return answer == IDOK ? 0 : 1;
}
