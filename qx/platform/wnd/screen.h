// The screen the window model lays windows out on: monitors with their work
// areas, dots per inch, system metrics, system colours and the default GUI
// font. The defaults are one 1920 x 1080 monitor at 96 dots per inch with a
// 40-pixel task bar at the bottom; hosts and tests replace them, so dialog
// geometry computed by the library is the same under every host.
#pragma once

#include <vector>

#include "qx/platform/base/export.h"
#include "qx/platform/wnd/window_types.h"

class CFont;

struct HMONITOR__;
using HMONITOR = HMONITOR__*;

struct MONITORINFO {
    DWORD cbSize = sizeof(MONITORINFO);
    CRect rcMonitor;
    CRect rcWork;
    DWORD dwFlags = 0;  // MONITORINFOF_PRIMARY
};

inline constexpr DWORD MONITORINFOF_PRIMARY = 1;
inline constexpr DWORD MONITOR_DEFAULTTONULL = 0;
inline constexpr DWORD MONITOR_DEFAULTTOPRIMARY = 1;
inline constexpr DWORD MONITOR_DEFAULTTONEAREST = 2;

QX_API int GetSystemMetrics(int index);
QX_API COLORREF GetSysColor(int index);
// The monitor that *rect* intersects most; with none, as *flags* says.
QX_API HMONITOR MonitorFromRect(const CRect* rect, DWORD flags);
QX_API HMONITOR MonitorFromWindow(HWND hwnd, DWORD flags);
QX_API BOOL GetMonitorInfo(HMONITOR monitor, MONITORINFO* info);

namespace qx {

struct Monitor {
    CRect bounds;
    CRect workArea;
};

// The first monitor is the primary one. An empty list restores the default.
QX_API void SetScreenLayout(const std::vector<Monitor>& monitors);
QX_API const std::vector<Monitor>& ScreenLayout();
// Dots per inch of the screen (96 by default); LOGPIXELSX of screen
// contexts and the dialog font's pixel size follow it.
QX_API void SetScreenDpi(int dpi);
QX_API int ScreenDpi();
// The default GUI font: "MS Shell Dlg" at 8 points, which the drawing layer
// maps to an installed face. Process-wide, made on first use.
QX_API CFont& DefaultGuiFont();

}  // namespace qx
