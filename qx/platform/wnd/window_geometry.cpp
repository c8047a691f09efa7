// Window and client rectangles, moving and sizing, coordinate conversion.
#include <algorithm>

#include "qx/platform/wnd/internal/window_table.h"
#include "qx/platform/wnd/screen.h"
#include "qx/platform/wnd/window.h"

using qx::wnd::Find;
using qx::wnd::Window;

namespace qx::wnd {

CRect FrameInsets(DWORD style, DWORD exStyle) {
    int border = 0;
    if (style & WS_THICKFRAME) {
        border = GetSystemMetrics(SM_CXFRAME);
    } else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME)) {
        border = GetSystemMetrics(SM_CXDLGFRAME);
    } else if (style & WS_BORDER) {
        border = GetSystemMetrics(SM_CXBORDER);
    }
    if (exStyle & WS_EX_CLIENTEDGE) border += 2;
    if (exStyle & WS_EX_STATICEDGE) border += 1;
    const int caption = (style & WS_CAPTION) == WS_CAPTION ? GetSystemMetrics(SM_CYCAPTION) : 0;
    return CRect(border, border + caption, border, border);
}

}  // namespace qx::wnd

namespace {

// The screen position of the window's client origin.
CPoint ClientOrigin(const Window& w) {
    const CRect insets = qx::wnd::FrameInsets(w.style, w.exStyle);
    CPoint origin(w.rect.left + insets.left, w.rect.top + insets.top);
    if (qx::wnd::IsChildWindow(w)) {
        if (Window* parent = Find(w.parent)) {
            const CPoint parentOrigin = ClientOrigin(*parent);
            origin.x += parentOrigin.x;
            origin.y += parentOrigin.y;
        }
    }
    return origin;
}

HWND DesktopHandle() {
    static HWND desktop = [] {
        auto window = std::make_unique<Window>();
        window->className = L"#32769";
        window->style = WS_POPUP | WS_VISIBLE;
        window->rect = qx::ScreenLayout().front().bounds;
        window->proc = DefWindowProc;
        return qx::wnd::WindowTable::Instance().Add(std::move(window));
    }();
    return desktop;
}

}  // namespace

HWND GetDesktopWindow() { return DesktopHandle(); }

BOOL GetWindowRect(HWND hwnd, CRect* rect) {
    Window* w = Find(hwnd);
    if (!w || !rect) return FALSE;
    *rect = w->rect;
    if (qx::wnd::IsChildWindow(*w)) {
        if (Window* parent = Find(w->parent)) {
            const CPoint origin = ClientOrigin(*parent);
            rect->OffsetRect(origin.x, origin.y);
        }
    }
    return TRUE;
}

BOOL GetClientRect(HWND hwnd, CRect* rect) {
    Window* w = Find(hwnd);
    if (!w || !rect) return FALSE;
    const CRect insets = qx::wnd::FrameInsets(w->style, w->exStyle);
    *rect = CRect(0, 0, std::max(0, w->rect.Width() - insets.left - insets.right),
                  std::max(0, w->rect.Height() - insets.top - insets.bottom));
    return TRUE;
}

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
    Window* w = Find(hwnd);
    if (!w) return FALSE;
    WINDOWPOS pos{hwnd, insertAfter, x, y, width, height, flags};
    if (flags & SWP_NOMOVE) {
        pos.x = w->rect.left;
        pos.y = w->rect.top;
    }
    if (flags & SWP_NOSIZE) {
        pos.cx = w->rect.Width();
        pos.cy = w->rect.Height();
    }
    SendMessage(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
    if ((w = Find(hwnd)) == nullptr) return FALSE;
    const CRect before = w->rect;
    w->rect = CRect(pos.x, pos.y, pos.x + std::max(pos.cx, 0), pos.y + std::max(pos.cy, 0));
    if (!(flags & SWP_NOZORDER) && qx::wnd::IsChildWindow(*w)) {
        if (Window* parent = Find(w->parent)) {
            auto& siblings = parent->children;
            std::erase(siblings, hwnd);
            auto at = siblings.begin();
            if (insertAfter && insertAfter != hwnd) {
                auto it = std::find(siblings.begin(), siblings.end(), insertAfter);
                at = it == siblings.end() ? siblings.end() : it + 1;
            }
            siblings.insert(at, hwnd);
        }
    }
    SendMessage(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
    if ((w = Find(hwnd)) == nullptr) return TRUE;
    if (before.TopLeft() != w->rect.TopLeft()) {
        const CPoint origin = ClientOrigin(*w);
        CPoint client = origin;
        if (qx::wnd::IsChildWindow(*w)) ScreenToClient(w->parent, &client);
        SendMessage(hwnd, WM_MOVE, 0, MAKELPARAM(static_cast<unsigned>(client.x), static_cast<unsigned>(client.y)));
    }
    if ((w = Find(hwnd)) != nullptr && (before.Width() != w->rect.Width() || before.Height() != w->rect.Height())) {
        CRect client;
        GetClientRect(hwnd, &client);
        SendMessage(hwnd, WM_SIZE, SIZE_RESTORED,
                    MAKELPARAM(static_cast<unsigned>(client.Width()), static_cast<unsigned>(client.Height())));
    }
    if (flags & SWP_SHOWWINDOW) ShowWindow(hwnd, SW_SHOWNA);
    if (flags & SWP_HIDEWINDOW) ShowWindow(hwnd, SW_HIDE);
    qx::wnd::NotifyChanged(hwnd);
    return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
    const BOOL moved = SetWindowPos(hwnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    if (moved && repaint) InvalidateRect(hwnd, nullptr, TRUE);
    return moved;
}

BOOL ClientToScreen(HWND hwnd, CPoint* point) {
    Window* w = Find(hwnd);
    if (!w || !point) return FALSE;
    const CPoint origin = ClientOrigin(*w);
    point->x += origin.x;
    point->y += origin.y;
    return TRUE;
}

BOOL ScreenToClient(HWND hwnd, CPoint* point) {
    Window* w = Find(hwnd);
    if (!w || !point) return FALSE;
    const CPoint origin = ClientOrigin(*w);
    point->x -= origin.x;
    point->y -= origin.y;
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, CPoint* points, UINT count) {
    CPoint fromOrigin, toOrigin;
    if (from && !ClientToScreen(from, &fromOrigin)) return 0;
    if (to && !ClientToScreen(to, &toOrigin)) return 0;
    const int dx = fromOrigin.x - toOrigin.x;
    const int dy = fromOrigin.y - toOrigin.y;
    for (UINT i = 0; points && i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    return MAKELONG(static_cast<unsigned>(dx), static_cast<unsigned>(dy));
}

HWND ChildWindowFromPoint(HWND parent, CPoint point) {
    Window* w = Find(parent);
    if (!w) return nullptr;
    for (HWND child : w->children) {
        Window* c = Find(child);
        if (!(c->style & WS_VISIBLE)) continue;
        if (point.x >= c->rect.left && point.x < c->rect.right && point.y >= c->rect.top && point.y < c->rect.bottom) {
            CPoint inner = point;
            MapWindowPoints(parent, child, &inner, 1);
            return ChildWindowFromPoint(child, inner);
        }
    }
    return parent;
}

BOOL AdjustWindowRectEx(CRect* rect, DWORD style, BOOL, DWORD exStyle) {
    if (!rect) return FALSE;
    const CRect insets = qx::wnd::FrameInsets(style, exStyle);
    rect->left -= insets.left;
    rect->top -= insets.top;
    rect->right += insets.right;
    rect->bottom += insets.bottom;
    return TRUE;
}

HMONITOR MonitorFromWindow(HWND hwnd, DWORD flags) {
    CRect rect;
    return GetWindowRect(hwnd, &rect) ? MonitorFromRect(&rect, flags) : MonitorFromRect(nullptr, flags);
}

BOOL GetCursorPos(CPoint* point) {
    if (!point) return FALSE;
    *point = qx::wnd::WindowTable::Instance().cursor;
    return TRUE;
}

BOOL SetCursorPos(int x, int y) {
    qx::wnd::WindowTable::Instance().cursor = CPoint(x, y);
    return TRUE;
}
