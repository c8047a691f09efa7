#include "qx/platform/wnd/system_menu.h"

#include <algorithm>
#include <vector>

#include "qx/platform/wnd/internal/window_object.h"

namespace {

// A system menu handle is its window's handle: the menu lives and dies with
// the window.
HMENU MenuOf(HWND hwnd) { return reinterpret_cast<HMENU>(hwnd); }
HWND WindowOf(HMENU menu) { return reinterpret_cast<HWND>(menu); }

std::vector<UINT>* EntriesOf(HMENU menu) {
    qx::wnd::Window* w = qx::wnd::Find(WindowOf(menu));
    return w ? &w->systemMenu : nullptr;
}

}  // namespace

HMENU GetSystemMenu(HWND hwnd, BOOL revert) {
    qx::wnd::Window* w = qx::wnd::Find(hwnd);
    if (!w) return nullptr;
    if (revert) {
        w->systemMenu = {SC_MOVE, SC_CLOSE};
        qx::wnd::NotifyChanged(hwnd);
        return nullptr;
    }
    return MenuOf(hwnd);
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) {
    std::vector<UINT>* entries = EntriesOf(menu);
    if (!entries) return FALSE;
    if (flags & MF_BYPOSITION) {
        if (position >= entries->size()) return FALSE;
        entries->erase(entries->begin() + position);
    } else {
        auto it = std::find(entries->begin(), entries->end(), position);
        if (it == entries->end()) return FALSE;
        entries->erase(it);
    }
    qx::wnd::NotifyChanged(WindowOf(menu));
    return TRUE;
}

int GetMenuItemCount(HMENU menu) {
    std::vector<UINT>* entries = EntriesOf(menu);
    return entries ? static_cast<int>(entries->size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
    std::vector<UINT>* entries = EntriesOf(menu);
    if (!entries || position < 0 || static_cast<size_t>(position) >= entries->size()) return static_cast<UINT>(-1);
    return (*entries)[static_cast<size_t>(position)];
}

namespace qx {

bool HasCloseCommand(HWND hwnd) {
    wnd::Window* w = wnd::Find(hwnd);
    return w && std::find(w->systemMenu.begin(), w->systemMenu.end(), static_cast<UINT>(SC_CLOSE)) != w->systemMenu.end();
}

}  // namespace qx
