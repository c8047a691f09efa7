// Text, class, window longs, properties, enabled and visible state, focus.
#include <algorithm>
#include <cwchar>

#include "qx/platform/base/checked_length.h"
#include "qx/platform/wnd/internal/window_table.h"
#include "qx/platform/wnd/ui_host.h"
#include "qx/platform/wnd/window.h"

using qx::wnd::Find;
using qx::wnd::Window;
using qx::wnd::WindowTable;

namespace {

int CopyOut(const std::wstring& text, wchar_t* buffer, int maxCount) {
    if (!buffer || maxCount <= 0) return 0;
    const size_t n = std::min(text.size(), static_cast<size_t>(maxCount - 1));
    std::wmemcpy(buffer, text.data(), n);
    buffer[n] = L'\0';
    return static_cast<int>(n);
}

}  // namespace

BOOL SetWindowText(HWND hwnd, const wchar_t* text) {
    return IsWindow(hwnd) && SendMessage(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : L"")) ? TRUE
                                                                                                          : FALSE;
}

int GetWindowText(HWND hwnd, wchar_t* buffer, int maxCount) {
    if (!buffer || maxCount <= 0) return 0;
    buffer[0] = L'\0';
    return static_cast<int>(SendMessage(hwnd, WM_GETTEXT, static_cast<WPARAM>(maxCount), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLength(HWND hwnd) { return static_cast<int>(SendMessage(hwnd, WM_GETTEXTLENGTH)); }

int GetClassName(HWND hwnd, wchar_t* buffer, int maxCount) {
    Window* w = Find(hwnd);
    return w ? CopyOut(w->className, buffer, maxCount) : 0;
}

BOOL SetDlgItemText(HWND dialog, int id, const wchar_t* text) { return SetWindowText(GetDlgItem(dialog, id), text); }

UINT GetDlgItemText(HWND dialog, int id, wchar_t* buffer, int maxCount) {
    return static_cast<UINT>(GetWindowText(GetDlgItem(dialog, id), buffer, maxCount));
}

LONG_PTR GetWindowLongPtr(HWND hwnd, int index) {
    Window* w = Find(hwnd);
    if (!w) return 0;
    switch (index) {
        case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(w->proc);
        case GWLP_HWNDPARENT: return reinterpret_cast<LONG_PTR>(w->parent);
        case GWLP_ID: return w->id;
        case GWL_STYLE: return static_cast<LONG_PTR>(w->style);
        case GWL_EXSTYLE: return static_cast<LONG_PTR>(w->exStyle);
        case GWLP_USERDATA: return w->userData;
        case DWLP_MSGRESULT: case DWLP_DLGPROC: case DWLP_USER: return w->dialogLongs[index / 8];
        default: return 0;
    }
}

LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value) {
    Window* w = Find(hwnd);
    if (!w) return 0;
    LONG_PTR previous = GetWindowLongPtr(hwnd, index);
    switch (index) {
        case GWLP_WNDPROC:
            if (value) w->proc = reinterpret_cast<WNDPROC>(value);
            break;
        case GWLP_HWNDPARENT: w->parent = reinterpret_cast<HWND>(value); break;
        case GWLP_ID: w->id = static_cast<int>(value); break;
        case GWL_STYLE: w->style = static_cast<DWORD>(value); break;
        case GWL_EXSTYLE: w->exStyle = static_cast<DWORD>(value); break;
        case GWLP_USERDATA: w->userData = value; break;
        case DWLP_MSGRESULT: case DWLP_DLGPROC: case DWLP_USER: w->dialogLongs[index / 8] = value; break;
        default: return 0;
    }
    if (index == GWL_STYLE || index == GWL_EXSTYLE) qx::wnd::NotifyChanged(hwnd);
    return previous;
}

BOOL SetProp(HWND hwnd, const wchar_t* name, void* data) {
    Window* w = Find(hwnd);
    if (!w || !name) return FALSE;
    w->properties[name] = data;
    return TRUE;
}

void* GetProp(HWND hwnd, const wchar_t* name) {
    Window* w = Find(hwnd);
    if (!w || !name) return nullptr;
    auto it = w->properties.find(name);
    return it == w->properties.end() ? nullptr : it->second;
}

void* RemoveProp(HWND hwnd, const wchar_t* name) {
    Window* w = Find(hwnd);
    if (!w || !name) return nullptr;
    auto it = w->properties.find(name);
    if (it == w->properties.end()) return nullptr;
    void* data = it->second;
    w->properties.erase(it);
    return data;
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
    Window* w = Find(hwnd);
    if (!w) return FALSE;
    const BOOL wasDisabled = (w->style & WS_DISABLED) ? TRUE : FALSE;
    if (enable == !wasDisabled) return wasDisabled;
    if (enable) {
        w->style &= ~WS_DISABLED;
    } else {
        w->style |= WS_DISABLED;
        WindowTable& table = WindowTable::Instance();
        if (table.focus == hwnd || IsChild(hwnd, table.focus)) SetFocus(nullptr);
        if (table.capture == hwnd) ReleaseCapture();
    }
    SendMessage(hwnd, WM_ENABLE, enable ? TRUE : FALSE);
    qx::wnd::NotifyChanged(hwnd);
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND hwnd) {
    Window* w = Find(hwnd);
    return w && !(w->style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL ShowWindow(HWND hwnd, int command) {
    Window* w = Find(hwnd);
    if (!w) return FALSE;
    const BOOL wasVisible = (w->style & WS_VISIBLE) ? TRUE : FALSE;
    const bool show = command != SW_HIDE;
    if (show == static_cast<bool>(wasVisible)) return wasVisible;
    SendMessage(hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    if ((w = Find(hwnd)) == nullptr) return wasVisible;
    if (show) {
        w->style |= WS_VISIBLE;
    } else {
        w->style &= ~WS_VISIBLE;
        WindowTable& table = WindowTable::Instance();
        if (table.focus == hwnd || IsChild(hwnd, table.focus)) table.focus = nullptr;
    }
    if (qx::wnd::IsChildWindow(*w)) {
        qx::wnd::NotifyChanged(hwnd);
    } else if (show) {
        qx::CurrentUiHost().WindowShown(hwnd);
        if (command != SW_SHOWNA && command != SW_SHOWNOACTIVATE && command != SW_SHOWMINNOACTIVE) {
            SetActiveWindow(hwnd);
        }
    } else {
        qx::CurrentUiHost().WindowHidden(hwnd);
    }
    return wasVisible;
}

BOOL IsWindowVisible(HWND hwnd) {
    for (Window* w = Find(hwnd); w; w = qx::wnd::IsChildWindow(*w) ? Find(w->parent) : nullptr) {
        if (!(w->style & WS_VISIBLE)) return FALSE;
        if (!qx::wnd::IsChildWindow(*w)) return TRUE;
    }
    return FALSE;
}

HWND GetFocus() { return WindowTable::Instance().focus; }

HWND SetFocus(HWND hwnd) {
    WindowTable& table = WindowTable::Instance();
    HWND previous = table.focus;
    if (hwnd && !IsWindow(hwnd)) return nullptr;
    if (hwnd == previous) return previous;
    table.focus = hwnd;
    if (previous && IsWindow(previous)) SendMessage(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd));
    if (hwnd && table.focus == hwnd) {
        HWND top = GetTopLevelWindow(hwnd);
        if (table.active != top) table.active = top;
        SendMessage(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous));
    }
    if (previous) qx::wnd::NotifyChanged(previous);
    if (hwnd) qx::wnd::NotifyChanged(hwnd);
    return previous;
}

HWND GetActiveWindow() { return WindowTable::Instance().active; }

HWND SetActiveWindow(HWND hwnd) {
    WindowTable& table = WindowTable::Instance();
    HWND previous = table.active;
    if (!IsWindow(hwnd) || previous == hwnd) return previous;
    table.active = hwnd;
    if (previous && IsWindow(previous)) SendMessage(previous, WM_ACTIVATE, 0, reinterpret_cast<LPARAM>(hwnd));
    SendMessage(hwnd, WM_ACTIVATE, 1, reinterpret_cast<LPARAM>(previous));
    return previous;
}

BOOL SetForegroundWindow(HWND hwnd) { return IsWindow(hwnd) && (SetActiveWindow(hwnd), TRUE); }
HWND GetForegroundWindow() { return GetActiveWindow(); }

HWND SetCapture(HWND hwnd) {
    WindowTable& table = WindowTable::Instance();
    HWND previous = table.capture;
    table.capture = IsWindow(hwnd) ? hwnd : nullptr;
    if (previous && previous != table.capture) SendMessage(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(table.capture));
    return previous;
}

BOOL ReleaseCapture() {
    SetCapture(nullptr);
    return TRUE;
}

HWND GetCapture() { return WindowTable::Instance().capture; }

BOOL SetWindowContextHelpId(HWND hwnd, DWORD id) {
    Window* w = Find(hwnd);
    if (!w) return FALSE;
    w->helpId = id;
    return TRUE;
}

DWORD GetWindowContextHelpId(HWND hwnd) {
    Window* w = Find(hwnd);
    return w ? w->helpId : 0;
}

void SetWindowFont(HWND hwnd, CFont* font, BOOL redraw) {
    SendMessage(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
}

CFont* GetWindowFont(HWND hwnd) { return reinterpret_cast<CFont*>(SendMessage(hwnd, WM_GETFONT)); }
