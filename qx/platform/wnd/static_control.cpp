// Static texts, icons and frames.
#include "qx/platform/wnd/internal/classic_look.h"
#include "qx/platform/wnd/internal/controls.h"
#include "qx/platform/wnd/window.h"

namespace qx::wnd {

LRESULT StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = Find(hwnd);
    if (!w) return 0;
    switch (message) {
        case WM_GETDLGCODE: return DLGC_STATIC;
        case STM_SETICON: {
            void* previous = w->bigIcon;
            w->bigIcon = reinterpret_cast<void*>(wParam);
            InvalidateRect(hwnd, nullptr, TRUE);
            NotifyChanged(hwnd);
            return reinterpret_cast<LRESULT>(previous);
        }
        case STM_GETICON: return reinterpret_cast<LRESULT>(w->bigIcon);
        case WM_LBUTTONDOWN:
            if (w->style & SS_NOTIFY) NotifyParent(hwnd, STN_CLICKED);
            return 0;
        case WM_SETTEXT: {
            const LRESULT result = DefWindowProc(hwnd, message, wParam, lParam);
            InvalidateRect(hwnd, nullptr, TRUE);
            return result;
        }
        case WM_PAINT: return PaintControl(hwnd, PaintStatic);
        default: return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

}  // namespace qx::wnd
