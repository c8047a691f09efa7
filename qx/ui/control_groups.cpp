#include "qx/ui/control_groups.h"

#include "qx/platform/base/cstring.h"
#include "qx/platform/gfx/gdi_objects.h"
#include "qx/platform/gfx/targets.h"
#include "qx/platform/wnd/cwnd.h"
#include "qx/platform/wnd/screen.h"
#include "qx/platform/wnd/window.h"
#include "qx/ui/wnd_util.h"

namespace {

// Calls *apply* for each listed child the window has, up to the first 0.
template <typename Apply>
void ForListed(HWND window, std::span<const int> ids, Apply apply) {
    for (int id : ids) {
        if (id == 0) break;
        if (HWND control = GetDlgItem(window, id)) apply(control);
    }
}

bool IsCheckOrRadio(HWND control) {
    wchar_t name[16] = {};
    GetClassName(control, name, 16);
    if (std::wstring_view(name) != L"Button") return false;
    switch (GetWindowLongPtr(control, GWL_STYLE) & BS_TYPEMASK) {
        case BS_CHECKBOX: case BS_AUTOCHECKBOX: case BS_3STATE: case BS_AUTO3STATE:
        case BS_RADIOBUTTON: case BS_AUTORADIOBUTTON: return true;
        default: return false;
    }
}

// Room for the box or the circle beside the text.
constexpr int kBoxWidth = 18;
constexpr int kHighDpiExtra = 3;

BOOL SetEnabled(HWND hwnd, BOOL enable) {
    EnableWindow(hwnd, enable);
    return TRUE;
}

}  // namespace

namespace qx {

void EnableControls(HWND window, BOOL enable, std::span<const int> ids) {
    ForListed(window, ids, [enable](HWND control) { EnableWindow(control, enable); });
}

void ShowControls(HWND window, int showCommand, std::span<const int> ids) {
    ForListed(window, ids, [showCommand](HWND control) { ShowWindow(control, showCommand); });
}

void SetControlsReadOnly(HWND window, BOOL readOnly, std::span<const int> ids) {
    ForListed(window, ids, [readOnly](HWND control) {
        if (SendMessage(control, WM_GETDLGCODE) & DLGC_HASSETSEL) SendMessage(control, EM_SETREADONLY, readOnly ? TRUE : FALSE);
    });
}

void AdjustControlWidths(HWND window, std::span<const int> ids) {
    CFont* font = GetWindowFont(window);
    CMemoryDC dc;
    dc.SelectObject(font ? font : &DefaultGuiFont());
    const int room = kBoxWidth + (WndUtil::GetDPIMult() > 1.0 ? kHighDpiExtra : 0);
    ForListed(window, ids, [&](HWND control) {
        if (!IsCheckOrRadio(control)) return;
        CString text;
        CWnd::FromHandle(control)->GetWindowText(text);
        CRect rect;
        GetWindowRect(control, &rect);
        const int width = dc.GetTextExtent(text).cx + room;
        SetWindowPos(control, nullptr, 0, 0, width, rect.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    });
}

}  // namespace qx

BOOL EnableWindows(HWND hwnd, LPARAM) { return SetEnabled(hwnd, TRUE); }
BOOL DisableWindows(HWND hwnd, LPARAM) { return SetEnabled(hwnd, FALSE); }

namespace {

BOOL SetHelpId(HWND hwnd, LPARAM baseId) {
    SetWindowContextHelpId(hwnd, static_cast<DWORD>(baseId) + static_cast<DWORD>(GetDlgCtrlID(hwnd)));
    return TRUE;
}

}  // namespace

void SetChildsHelpIds(HWND window, DWORD baseId) {
    if (!IsWindow(window)) return;
    SetWindowContextHelpId(window, baseId);
    EnumChildWindows(window, SetHelpId, static_cast<LPARAM>(baseId));
}
