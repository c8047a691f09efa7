#include "qx/platform/wnd/screen.h"

#include <algorithm>
#include <cmath>

#include "qx/platform/gfx/gdi_objects.h"
#include "qx/platform/wnd/window_constants.h"

namespace {

struct Screen {
    std::vector<qx::Monitor> monitors;
    int dpi = 96;
    std::unique_ptr<CFont> guiFont;
    int guiFontDpi = 0;
};

std::vector<qx::Monitor> DefaultMonitors() {
    return {{CRect(0, 0, 1920, 1080), CRect(0, 0, 1920, 1040)}};
}

Screen& TheScreen() {
    static Screen screen{DefaultMonitors(), 96, nullptr, 0};
    return screen;
}

int Overlap(const CRect& a, const CRect& b) {
    const int w = std::min(a.right, b.right) - std::max(a.left, b.left);
    const int h = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return w > 0 && h > 0 ? w * h : 0;
}

int DistanceSquared(const CRect& a, const CRect& b) {
    const int dx = std::max({0, b.left - a.right, a.left - b.right});
    const int dy = std::max({0, b.top - a.bottom, a.top - b.bottom});
    return dx * dx + dy * dy;
}

HMONITOR HandleOf(size_t index) { return reinterpret_cast<HMONITOR>(index + 1); }

}  // namespace

int GetSystemMetrics(int index) {
    const qx::Monitor& primary = qx::ScreenLayout().front();
    switch (index) {
        case SM_CXSCREEN: return primary.bounds.Width();
        case SM_CYSCREEN: return primary.bounds.Height();
        case SM_CXVSCROLL: case SM_CYHSCROLL: return 17;
        case SM_CYCAPTION: return 23;
        case SM_CXBORDER: case SM_CYBORDER: return 1;
        case SM_CXDLGFRAME: case SM_CYDLGFRAME: return 3;
        case SM_CXFRAME: case SM_CYFRAME: return 4;
        case SM_CXICON: case SM_CYICON: return 32;
        case SM_CXSMICON: case SM_CYSMICON: return 16;
        case SM_CXSIZE: case SM_CYSIZE: return 22;
        // The client area of a maximised window with a caption and no frame.
        case SM_CXFULLSCREEN: return primary.workArea.Width();
        case SM_CYFULLSCREEN: return primary.workArea.Height() - 23;
        case SM_CMONITORS: return static_cast<int>(qx::ScreenLayout().size());
        default: return 0;
    }
}

COLORREF GetSysColor(int index) {
    // A plain classic scheme: grey faces, white windows, black text.
    switch (index) {
        case COLOR_WINDOW: return RGB(255, 255, 255);
        case COLOR_WINDOWFRAME: return RGB(100, 100, 100);
        case COLOR_WINDOWTEXT: case COLOR_BTNTEXT: return RGB(0, 0, 0);
        case COLOR_ACTIVECAPTION: return RGB(0, 84, 166);
        case COLOR_CAPTIONTEXT: case COLOR_HIGHLIGHTTEXT: case COLOR_BTNHIGHLIGHT: return RGB(255, 255, 255);
        case COLOR_HIGHLIGHT: return RGB(0, 120, 215);
        case COLOR_BTNFACE: return RGB(240, 240, 240);
        case COLOR_BTNSHADOW: return RGB(160, 160, 160);
        case COLOR_GRAYTEXT: return RGB(109, 109, 109);
        case COLOR_3DDKSHADOW: return RGB(105, 105, 105);
        case COLOR_3DLIGHT: return RGB(227, 227, 227);
        default: return RGB(0, 0, 0);
    }
}

HMONITOR MonitorFromRect(const CRect* rect, DWORD flags) {
    const auto& monitors = qx::ScreenLayout();
    if (!rect) return flags == MONITOR_DEFAULTTONULL ? nullptr : HandleOf(0);
    size_t best = 0;
    int bestOverlap = 0;
    for (size_t i = 0; i < monitors.size(); ++i) {
        const int overlap = Overlap(*rect, monitors[i].bounds);
        if (overlap > bestOverlap) {
            bestOverlap = overlap;
            best = i;
        }
    }
    if (bestOverlap > 0) return HandleOf(best);
    if (flags == MONITOR_DEFAULTTONULL) return nullptr;
    if (flags == MONITOR_DEFAULTTOPRIMARY) return HandleOf(0);
    for (size_t i = 1; i < monitors.size(); ++i) {
        if (DistanceSquared(*rect, monitors[i].bounds) < DistanceSquared(*rect, monitors[best].bounds)) best = i;
    }
    return HandleOf(best);
}

BOOL GetMonitorInfo(HMONITOR monitor, MONITORINFO* info) {
    const auto& monitors = qx::ScreenLayout();
    const auto index = reinterpret_cast<std::uintptr_t>(monitor);
    if (!info || index == 0 || index > monitors.size()) return FALSE;
    info->rcMonitor = monitors[index - 1].bounds;
    info->rcWork = monitors[index - 1].workArea;
    info->dwFlags = index == 1 ? static_cast<DWORD>(MONITORINFOF_PRIMARY) : 0u;
    return TRUE;
}

namespace qx {

void SetScreenLayout(const std::vector<Monitor>& monitors) {
    TheScreen().monitors = monitors.empty() ? DefaultMonitors() : monitors;
}

const std::vector<Monitor>& ScreenLayout() { return TheScreen().monitors; }

void SetScreenDpi(int dpi) { TheScreen().dpi = dpi > 0 ? dpi : 96; }
int ScreenDpi() { return TheScreen().dpi; }

CFont& DefaultGuiFont() {
    Screen& screen = TheScreen();
    if (!screen.guiFont || screen.guiFontDpi != screen.dpi) {
        // Made anew when the dpi changes; windows that hold the old one keep
        // it until the process ends, so it is kept too.
        static std::vector<std::unique_ptr<CFont>> retired;
        if (screen.guiFont) retired.push_back(std::move(screen.guiFont));
        screen.guiFont = std::make_unique<CFont>();
        const int height = -static_cast<int>(std::lround(8.0 * screen.dpi / 72.0));
        screen.guiFont->CreateFont(height, 0, 0, 0, 400, false, false, false, 1, L"MS Shell Dlg");
        screen.guiFontDpi = screen.dpi;
    }
    return *screen.guiFont;
}

}  // namespace qx
