// Push buttons, check boxes, radio buttons and group boxes.
#include "qx/platform/wnd/internal/classic_look.h"
#include "qx/platform/wnd/internal/controls.h"
#include "qx/platform/wnd/window.h"

namespace qx::wnd {
namespace {

struct ButtonState : ControlState {
    int check = BST_UNCHECKED;
    bool pushed = false;
};

DWORD Kind(const Window& w) { return w.style & BS_TYPEMASK; }

bool IsRadio(DWORD kind) { return kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON; }

// An automatic radio button unchecks the automatic radio buttons of its
// group: the siblings from the last WS_GROUP before it to the next one.
void CheckInGroup(HWND hwnd) {
    HWND parent = GetParent(hwnd);
    Window* p = Find(parent);
    if (!p) return;
    const auto& siblings = p->children;
    size_t self = 0;
    while (self < siblings.size() && siblings[self] != hwnd) ++self;
    size_t first = self;
    while (first > 0 && !(Find(siblings[first])->style & WS_GROUP)) --first;
    for (size_t i = first; i < siblings.size(); ++i) {
        Window* s = Find(siblings[i]);
        if (i > first && (s->style & WS_GROUP)) break;
        if (siblings[i] != hwnd && Kind(*s) == BS_AUTORADIOBUTTON) SendMessage(siblings[i], BM_SETCHECK, BST_UNCHECKED);
    }
}

void Click(HWND hwnd) {
    Window* w = Find(hwnd);
    if (!w) return;
    auto& state = StateOf<ButtonState>(*w);
    switch (Kind(*w)) {
        case BS_AUTOCHECKBOX: SendMessage(hwnd, BM_SETCHECK, state.check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED); break;
        case BS_AUTO3STATE: SendMessage(hwnd, BM_SETCHECK, (state.check + 1) % 3); break;
        case BS_AUTORADIOBUTTON:
            CheckInGroup(hwnd);
            SendMessage(hwnd, BM_SETCHECK, BST_CHECKED);
            break;
        default: break;
    }
    NotifyParent(hwnd, BN_CLICKED);
}

void SetPushed(HWND hwnd, Window& w, bool pushed) {
    auto& state = StateOf<ButtonState>(w);
    if (state.pushed == pushed) return;
    state.pushed = pushed;
    InvalidateRect(hwnd, nullptr, TRUE);
    NotifyChanged(hwnd);
}

}  // namespace

LRESULT ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = Find(hwnd);
    if (!w) return 0;
    auto& state = StateOf<ButtonState>(*w);
    const DWORD kind = Kind(*w);
    switch (message) {
        case WM_GETDLGCODE:
            if (kind == BS_GROUPBOX) return DLGC_STATIC;
            if (kind == BS_DEFPUSHBUTTON) return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
            if (kind == BS_PUSHBUTTON) return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
            return IsRadio(kind) ? (DLGC_BUTTON | DLGC_RADIOBUTTON) : DLGC_BUTTON;
        case BM_GETCHECK: return state.check;
        case BM_SETCHECK: {
            const int check = static_cast<int>(wParam);
            const bool checkable = kind != BS_PUSHBUTTON && kind != BS_DEFPUSHBUTTON && kind != BS_GROUPBOX;
            if (checkable && state.check != check) {
                state.check = (kind == BS_3STATE || kind == BS_AUTO3STATE) ? check % 3 : (check ? BST_CHECKED : BST_UNCHECKED);
                InvalidateRect(hwnd, nullptr, TRUE);
                NotifyChanged(hwnd);
            }
            return 0;
        }
        case BM_GETSTATE:
            return state.check | (state.pushed ? BST_PUSHED : 0) | (GetFocus() == hwnd ? BST_FOCUS : 0);
        case BM_SETSTATE: SetPushed(hwnd, *w, wParam != 0); return 0;
        case BM_SETSTYLE:
            w->style = (w->style & ~0xFFFFu) | static_cast<DWORD>(wParam & 0xFFFF);
            if (LOWORD(static_cast<std::uintptr_t>(lParam))) InvalidateRect(hwnd, nullptr, TRUE);
            NotifyChanged(hwnd);
            return 0;
        case BM_CLICK:
            if (!IsWindowEnabled(hwnd) || kind == BS_GROUPBOX) return 0;
            SendMessage(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, 0);
            SendMessage(hwnd, WM_LBUTTONUP, 0, 0);
            return 0;
        case WM_LBUTTONDOWN:
            if (kind == BS_GROUPBOX) return 0;
            SetFocus(hwnd);
            SetCapture(hwnd);
            SetPushed(hwnd, *w, true);
            return 0;
        case WM_LBUTTONUP: {
            if (GetCapture() != hwnd) return 0;
            ReleaseCapture();
            const bool wasPushed = state.pushed;
            SetPushed(hwnd, *w, false);
            CRect client;
            GetClientRect(hwnd, &client);
            const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
            if (wasPushed && x >= 0 && y >= 0 && x < client.right && y < client.bottom) Click(hwnd);
            return 0;
        }
        case WM_KEYDOWN:
            if (wParam == VK_SPACE && kind != BS_GROUPBOX) SetPushed(hwnd, *w, true);
            return 0;
        case WM_KEYUP:
            if (wParam == VK_SPACE && state.pushed) {
                SetPushed(hwnd, *w, false);
                Click(hwnd);
            }
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            if (w->style & BS_NOTIFY) NotifyParent(hwnd, message == WM_SETFOCUS ? BN_SETFOCUS : BN_KILLFOCUS);
            if (message == WM_KILLFOCUS) SetPushed(hwnd, *w, false);
            InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case WM_PAINT: return PaintControl(hwnd, PaintButton);
        default: return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

}  // namespace qx::wnd
