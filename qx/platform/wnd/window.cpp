// Creating and destroying windows, and their tree of parents and children.
#include "qx/platform/wnd/window.h"

#include <algorithm>

#include "qx/platform/wnd/internal/message_pump.h"
#include "qx/platform/wnd/internal/window_table.h"
#include "qx/platform/wnd/ui_host.h"

using qx::wnd::Find;
using qx::wnd::Window;
using qx::wnd::WindowTable;

namespace {

void Unlink(Window& window) {
    if (Window* parent = Find(window.parent)) {
        std::erase(parent->children, window.handle);
    }
}

// Destroys the windows that *owner* owns (top-level windows whose parent
// field names it), as the platform does before the owner goes.
void DestroyOwned(HWND owner) {
    for (HWND top : WindowTable::Instance().TopLevelWindows()) {
        Window* w = Find(top);
        if (w && w->parent == owner && !w->destroying) DestroyWindow(top);
    }
}

void SendDestroy(HWND hwnd) {
    SendMessage(hwnd, WM_DESTROY);
    Window* w = Find(hwnd);
    if (!w) return;
    const std::vector<HWND> children = w->children;
    for (HWND child : children) {
        if (Window* c = Find(child)) c->destroying = true;
        SendDestroy(child);
    }
}

void SendNcDestroyAndRemove(HWND hwnd) {
    Window* w = Find(hwnd);
    if (!w) return;
    const std::vector<HWND> children = w->children;
    for (HWND child : children) SendNcDestroyAndRemove(child);
    SendMessage(hwnd, WM_NCDESTROY);
    if ((w = Find(hwnd)) != nullptr) {
        Unlink(*w);
        WindowTable::Instance().Remove(hwnd);
    }
}

}  // namespace

HWND CreateWindowEx(DWORD exStyle, const wchar_t* className, const wchar_t* text, DWORD style, int x, int y,
                    int width, int height, HWND parent, int id, void* createParam) {
    const std::wstring name = className ? className : L"";
    WNDPROC proc = qx::wnd::ClassProc(name);
    if (!proc) return nullptr;
    if ((style & WS_CHILD) && !Find(parent)) return nullptr;
    if (parent && !Find(parent)) return nullptr;

    auto window = std::make_unique<Window>();
    window->className = name;
    window->text = text ? text : L"";
    window->style = style & ~WS_VISIBLE;
    window->exStyle = exStyle;
    window->id = (style & WS_CHILD) ? id : 0;
    window->parent = parent;
    window->rect = CRect(x, y, x + std::max(width, 0), y + std::max(height, 0));
    window->proc = proc;
    qx::wnd::MessageScope scope;
    HWND hwnd = WindowTable::Instance().Add(std::move(window));
    if (style & WS_CHILD) Find(parent)->children.push_back(hwnd);

    CREATESTRUCT create;
    create.lpCreateParams = createParam;
    create.hwndParent = parent;
    create.id = id;
    create.x = x;
    create.y = y;
    create.cx = width;
    create.cy = height;
    create.style = style;
    create.lpszName = text;
    create.lpszClass = className;
    create.dwExStyle = exStyle;
    if (!SendMessage(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create)) ||
        SendMessage(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    if (!IsWindow(hwnd)) return nullptr;
    if ((style & WS_CHILD) && !(exStyle & WS_EX_NOPARENTNOTIFY)) {
        SendMessage(parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_CREATE, static_cast<unsigned>(id)),
                    reinterpret_cast<LPARAM>(hwnd));
    }
    if (style & WS_CHILD) qx::wnd::NotifyChanged(hwnd);
    if (style & WS_VISIBLE) ShowWindow(hwnd, SW_SHOW);
    return hwnd;
}

BOOL DestroyWindow(HWND hwnd) {
    Window* w = Find(hwnd);
    if (!w || w->destroying) return FALSE;
    qx::wnd::MessageScope scope;
    w->destroying = true;
    const bool child = qx::wnd::IsChildWindow(*w);
    if (!child) DestroyOwned(hwnd);
    if ((w = Find(hwnd)) == nullptr) return TRUE;
    if (child && !(w->exStyle & WS_EX_NOPARENTNOTIFY)) {
        SendMessage(w->parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_DESTROY, static_cast<unsigned>(w->id)),
                    reinterpret_cast<LPARAM>(hwnd));
    }
    // Timers and the focus go with the window, before its procedures hear
    // of the end.
    WindowTable& table = WindowTable::Instance();
    if (table.focus && (table.focus == hwnd || IsChild(hwnd, table.focus))) table.focus = nullptr;
    qx::wnd::KillTimersOf(hwnd);
    qx::CurrentUiHost().WindowDestroyed(hwnd);
    SendDestroy(hwnd);
    SendNcDestroyAndRemove(hwnd);
    return TRUE;
}

BOOL IsWindow(HWND hwnd) { return Find(hwnd) != nullptr ? TRUE : FALSE; }

HWND GetParent(HWND hwnd) {
    Window* w = Find(hwnd);
    return w ? w->parent : nullptr;
}

HWND SetParent(HWND hwnd, HWND newParent) {
    Window* w = Find(hwnd);
    if (!w || (newParent && !Find(newParent)) || newParent == hwnd || IsChild(hwnd, newParent)) return nullptr;
    HWND previous = w->parent;
    if (qx::wnd::IsChildWindow(*w)) {
        if (!newParent) return nullptr;
        Unlink(*w);
        Find(newParent)->children.push_back(hwnd);
    }
    w->parent = newParent;
    qx::wnd::NotifyChanged(hwnd);
    return previous;
}

HWND GetWindow(HWND hwnd, UINT relation) {
    Window* w = Find(hwnd);
    if (!w) return nullptr;
    if (relation == GW_CHILD) return w->children.empty() ? nullptr : w->children.front();
    if (relation == GW_OWNER) return qx::wnd::IsChildWindow(*w) ? nullptr : w->parent;
    std::vector<HWND> siblings;
    if (Window* parent = qx::wnd::IsChildWindow(*w) ? Find(w->parent) : nullptr) {
        siblings = parent->children;
    } else {
        siblings = WindowTable::Instance().TopLevelWindows();
    }
    auto it = std::find(siblings.begin(), siblings.end(), hwnd);
    switch (relation) {
        case GW_HWNDFIRST: return siblings.front();
        case GW_HWNDLAST: return siblings.back();
        case GW_HWNDNEXT: return (it == siblings.end() || it + 1 == siblings.end()) ? nullptr : *(it + 1);
        case GW_HWNDPREV: return (it == siblings.begin() || it == siblings.end()) ? nullptr : *(it - 1);
        default: return nullptr;
    }
}

HWND GetDlgItem(HWND dialog, int id) {
    Window* w = Find(dialog);
    if (!w) return nullptr;
    for (HWND child : w->children) {
        if (Find(child)->id == id) return child;
    }
    return nullptr;
}

int GetDlgCtrlID(HWND hwnd) {
    Window* w = Find(hwnd);
    return w ? w->id : 0;
}

BOOL IsChild(HWND parent, HWND hwnd) {
    for (Window* w = Find(hwnd); w && qx::wnd::IsChildWindow(*w); w = Find(w->parent)) {
        if (w->parent == parent) return TRUE;
    }
    return FALSE;
}

namespace {
bool EnumDescendants(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
    Window* w = Find(parent);
    if (!w) return true;
    const std::vector<HWND> children = w->children;
    for (HWND child : children) {
        if (!IsWindow(child)) continue;
        if (!proc(child, lParam)) return false;
        if (!EnumDescendants(child, proc, lParam)) return false;
    }
    return true;
}
}  // namespace

BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
    if (!proc) return FALSE;
    return EnumDescendants(parent, proc, lParam) ? TRUE : FALSE;
}

HWND GetTopLevelWindow(HWND hwnd) {
    Window* w = Find(hwnd);
    while (w && qx::wnd::IsChildWindow(*w)) {
        Window* parent = Find(w->parent);
        if (!parent) break;
        w = parent;
    }
    return w ? w->handle : nullptr;
}
