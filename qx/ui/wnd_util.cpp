#include "qx/ui/wnd_util.h"

#include <algorithm>
#include <climits>

#include "qx/platform/wnd/screen.h"
#include "qx/platform/wnd/window.h"

namespace {

constexpr int kBaseDpi = 96;

// The screen's dots per inch as first read; 0 until then.
int g_dpi = 0;

int Dpi() {
    // The desktop window's context reports the screen's resolution.
    if (g_dpi == 0) g_dpi = qx::ScreenDpi();
    return g_dpi;
}

bool Inside(const CRect& inner, const CRect& outer) {
    return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top && inner.bottom <= outer.bottom;
}

}  // namespace

void WndUtil::ResizeDialog(HWND dialog, int controlId) {
    HWND control = GetDlgItem(dialog, controlId);
    if (!control) return;
    CRect frame, client, item;
    GetWindowRect(dialog, &frame);
    GetClientRect(dialog, &client);
    GetWindowRect(control, &item);
    CPoint bottom(item.left, item.bottom);
    ScreenToClient(dialog, &bottom);
    // The frame around the client area (caption, borders) comes on top of
    // the height the controls need.
    const int height = frame.Height() - client.Height() + bottom.y + 5;
    SetWindowPos(dialog, nullptr, 0, 0, frame.Width(), std::max(height, 0), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void WndUtil::ShowGroupBoxContents(HWND dialog, int groupBoxId, BOOL show) {
    HWND box = GetDlgItem(dialog, groupBoxId);
    if (!box) return;
    CRect area;
    GetWindowRect(box, &area);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        CRect rect;
        if (child == box || !GetWindowRect(child, &rect)) continue;
        if (Inside(rect, area)) ShowWindow(child, show ? SW_SHOW : SW_HIDE);
    }
}

double WndUtil::GetDPIMult() { return static_cast<double>(Dpi()) / kBaseDpi; }

int WndUtil::ConsiderDPI(int value) {
    // In integers, so that the factor's rounding cannot take a whole pixel
    // off (110 dots per inch: 96 gives 110, not 109).
    const long long scaled = static_cast<long long>(value) * Dpi() / kBaseDpi;
    return static_cast<int>(std::clamp<long long>(scaled, INT_MIN, INT_MAX));
}

namespace qx {

void ResetDPIMult() { g_dpi = 0; }

}  // namespace qx
