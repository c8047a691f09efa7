// What every window does with a message its own procedure passes on, and
// painting.
#include <algorithm>
#include <cwchar>
#include <memory>

#include "qx/platform/gfx/targets.h"
#include "qx/platform/wnd/internal/message_pump.h"
#include "qx/platform/wnd/internal/window_table.h"
#include "qx/platform/wnd/paint.h"
#include "qx/platform/wnd/system_menu.h"
#include "qx/platform/wnd/ui_host.h"
#include "qx/platform/wnd/window.h"

using qx::wnd::Find;
using qx::wnd::Window;

namespace {

// The context of the paint in progress: the host's, or a measuring one.
struct PaintTarget {
    CDC* hostDc = nullptr;
    std::unique_ptr<CMemoryDC> measuring;
};

PaintTarget& CurrentPaint() {
    static PaintTarget target;
    return target;
}

}  // namespace

LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = Find(hwnd);
    if (!w) return 0;
    switch (message) {
        case WM_NCCREATE: return TRUE;
        case WM_SETTEXT:
            w->text = lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"";
            qx::wnd::NotifyChanged(hwnd);
            return TRUE;
        case WM_GETTEXT: {
            auto* buffer = reinterpret_cast<wchar_t*>(lParam);
            if (!buffer || wParam == 0) return 0;
            const size_t n = std::min(w->text.size(), static_cast<size_t>(wParam - 1));
            std::wmemcpy(buffer, w->text.data(), n);
            buffer[n] = L'\0';
            return static_cast<LRESULT>(n);
        }
        case WM_GETTEXTLENGTH: return static_cast<LRESULT>(w->text.size());
        case WM_SETFONT:
            w->font = reinterpret_cast<CFont*>(wParam);
            if (LOWORD(static_cast<std::uintptr_t>(lParam))) InvalidateRect(hwnd, nullptr, TRUE);
            qx::wnd::NotifyChanged(hwnd);
            return 0;
        case WM_GETFONT: return reinterpret_cast<LRESULT>(w->font);
        case WM_SETICON: {
            void*& slot = wParam ? w->bigIcon : w->smallIcon;
            void* previous = slot;
            slot = reinterpret_cast<void*>(lParam);
            return reinterpret_cast<LRESULT>(previous);
        }
        case WM_GETICON: return reinterpret_cast<LRESULT>(wParam ? w->bigIcon : w->smallIcon);
        case WM_CLOSE: DestroyWindow(hwnd); return 0;
        case WM_SYSCOMMAND:
            // A window whose menu lost its Close entry cannot be closed so.
            if ((wParam & 0xFFF0) == SC_CLOSE && qx::HasCloseCommand(hwnd)) SendMessage(hwnd, WM_CLOSE);
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            BeginPaint(hwnd, &paint);
            EndPaint(hwnd, &paint);
            return 0;
        }
        case WM_ERASEBKGND: return 1;
        case WM_HELP:
        case WM_CONTEXTMENU:
            // Passed up to the parent, as the platform does.
            if (qx::wnd::IsChildWindow(*w)) return SendMessage(w->parent, message, wParam, lParam);
            return 0;
        default: return 0;
    }
}

BOOL InvalidateRect(HWND hwnd, const CRect*, BOOL) {
    Window* w = Find(hwnd);
    if (!w) return FALSE;
    w->needsPaint = true;
    return TRUE;
}

BOOL UpdateWindow(HWND hwnd) {
    Window* w = Find(hwnd);
    if (!w) return FALSE;
    if (w->needsPaint) qx::CurrentUiHost().RepaintRequested(hwnd);
    return TRUE;
}

BOOL RedrawWindow(HWND hwnd) {
    if (!InvalidateRect(hwnd, nullptr, TRUE)) return FALSE;
    return UpdateWindow(hwnd);
}

CDC* BeginPaint(HWND hwnd, PAINTSTRUCT* paint) {
    Window* w = Find(hwnd);
    if (!w || !paint) return nullptr;
    PaintTarget& target = CurrentPaint();
    CDC* dc = target.hostDc;
    if (!dc) {
        if (!target.measuring) target.measuring = std::make_unique<CMemoryDC>();
        dc = target.measuring.get();
    }
    paint->hdc = dc;
    paint->fErase = TRUE;
    GetClientRect(hwnd, &paint->rcPaint);
    return dc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT*) {
    Window* w = Find(hwnd);
    if (!w) return FALSE;
    w->needsPaint = false;
    return TRUE;
}

namespace qx {

void PaintWindow(HWND hwnd, CDC& dc) {
    PaintTarget& target = CurrentPaint();
    CDC* outer = target.hostDc;
    target.hostDc = &dc;
    SendMessage(hwnd, WM_PAINT);
    target.hostDc = outer;
}

UiHost::~UiHost() = default;
void UiHost::WindowShown(HWND) {}
void UiHost::WindowHidden(HWND) {}
void UiHost::WindowDestroyed(HWND) {}
void UiHost::WindowChanged(HWND) {}
void UiHost::Flush() {}

void UiHost::Wait(DWORD milliseconds) {
    wnd::AdvanceClock(milliseconds);
    PumpMessages();
}

void WaitFor(DWORD milliseconds) { CurrentUiHost().Wait(milliseconds); }

void UiHost::RepaintRequested(HWND hwnd) {
    // Nobody draws: the paint code runs on a measuring context, so that what
    // it computes (and the window's valid state) is as under a drawing host.
    SendMessage(hwnd, WM_PAINT);
}

}  // namespace qx

namespace qx::wnd {

void NotifyChanged(HWND hwnd) {
    Window* w = Find(hwnd);
    if (!w || w->destroying) return;
    qx::CurrentUiHost().WindowChanged(hwnd);
}

}  // namespace qx::wnd
