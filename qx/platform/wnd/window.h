// The window functions of the family's platform: windows behind HWND
// handles, their tree of parents and children, text, styles, rectangles,
// focus, timers and messages. Everything runs on the caller's thread; the
// window model is process-wide and single-threaded, as the family's window
// code assumes. A destroyed window's handle stays invalid: IsWindow is false
// and messages to it return 0 without effect.
//
// Rectangles are in screen pixels (window rectangles) or relative to the
// window's client area (client rectangles, child positions given to
// CreateWindowEx and MoveWindow). The UI host shows top-level windows; the
// model is the same under every host.
#pragma once

#include "qx/platform/base/export.h"
#include "qx/platform/wnd/window_constants.h"
#include "qx/platform/wnd/window_types.h"

class CFont;

// Creating and destroying. *className* is one of the layer's classes
// ("Button", "Edit", "Static", "ComboBox", "ListBox", "SysListView32",
// "msctls_progress32", "#32770" for dialogs) or one registered with
// RegisterWindowProc; other names give nullptr. A child's position is
// relative to its parent's client area.
QX_API HWND CreateWindowEx(DWORD exStyle, const wchar_t* className, const wchar_t* text, DWORD style, int x,
                           int y, int width, int height, HWND parent, int id, void* createParam = nullptr);
QX_API BOOL DestroyWindow(HWND hwnd);
QX_API BOOL IsWindow(HWND hwnd);
// Registers a window class served by *proc* (a window class of the family:
// image windows, custom controls). A second registration of a name
// replaces the procedure for windows created afterwards.
QX_API void RegisterWindowProc(const wchar_t* className, WNDPROC proc);

// The tree.
QX_API HWND GetParent(HWND hwnd);
QX_API HWND SetParent(HWND hwnd, HWND newParent);
QX_API HWND GetWindow(HWND hwnd, UINT relation);
QX_API HWND GetDlgItem(HWND dialog, int id);
QX_API int GetDlgCtrlID(HWND hwnd);
QX_API BOOL IsChild(HWND parent, HWND hwnd);
// Calls *proc* for every descendant of *parent*, depth first, until it
// returns FALSE.
QX_API BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam);
// The top-level window (no WS_CHILD) that holds *hwnd*, or hwnd itself.
QX_API HWND GetTopLevelWindow(HWND hwnd);
QX_API HWND GetDesktopWindow();

// Text and class.
QX_API BOOL SetWindowText(HWND hwnd, const wchar_t* text);
// Copies at most maxCount - 1 characters and a terminator; returns the
// number copied.
QX_API int GetWindowText(HWND hwnd, wchar_t* buffer, int maxCount);
QX_API int GetWindowTextLength(HWND hwnd);
QX_API int GetClassName(HWND hwnd, wchar_t* buffer, int maxCount);
QX_API BOOL SetDlgItemText(HWND dialog, int id, const wchar_t* text);
QX_API UINT GetDlgItemText(HWND dialog, int id, wchar_t* buffer, int maxCount);

// Styles, window longs and properties.
QX_API LONG_PTR GetWindowLongPtr(HWND hwnd, int index);
QX_API LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value);
QX_API BOOL SetProp(HWND hwnd, const wchar_t* name, void* data);
QX_API void* GetProp(HWND hwnd, const wchar_t* name);
QX_API void* RemoveProp(HWND hwnd, const wchar_t* name);

// State.
QX_API BOOL EnableWindow(HWND hwnd, BOOL enable);  // returns whether it was disabled
QX_API BOOL IsWindowEnabled(HWND hwnd);
QX_API BOOL ShowWindow(HWND hwnd, int command);  // returns whether it was visible
// Visible itself and every ancestor visible.
QX_API BOOL IsWindowVisible(HWND hwnd);
QX_API HWND SetFocus(HWND hwnd);
QX_API HWND GetFocus();
QX_API HWND GetActiveWindow();
QX_API HWND SetActiveWindow(HWND hwnd);
QX_API BOOL SetForegroundWindow(HWND hwnd);
QX_API HWND GetForegroundWindow();
QX_API HWND SetCapture(HWND hwnd);
QX_API BOOL ReleaseCapture();
QX_API HWND GetCapture();

// Geometry.
QX_API BOOL GetWindowRect(HWND hwnd, CRect* rect);
QX_API BOOL GetClientRect(HWND hwnd, CRect* rect);
QX_API BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint = TRUE);
QX_API BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int width, int height, UINT flags);
QX_API BOOL ClientToScreen(HWND hwnd, CPoint* point);
QX_API BOOL ScreenToClient(HWND hwnd, CPoint* point);
// Maps *count* points from one window's client coordinates to another's
// (nullptr: the screen).
QX_API int MapWindowPoints(HWND from, HWND to, CPoint* points, UINT count);
// The deepest visible, enabled-or-not child of *parent* under the client
// point, or parent itself.
QX_API HWND ChildWindowFromPoint(HWND parent, CPoint point);
// The frame a window of these styles keeps around its client area:
// caption, borders. Dialog geometry is computed with it.
QX_API BOOL AdjustWindowRectEx(CRect* rect, DWORD style, BOOL menu, DWORD exStyle);

// Painting: invalidation is remembered and painted by UpdateWindow or the
// host; BeginPaint hands a device context onto the host's surface (or a
// measuring one when the host does not draw).
QX_API BOOL InvalidateRect(HWND hwnd, const CRect* rect, BOOL erase);
QX_API BOOL UpdateWindow(HWND hwnd);
QX_API BOOL RedrawWindow(HWND hwnd);

// The context-help identifier of a window (0 without one).
QX_API BOOL SetWindowContextHelpId(HWND hwnd, DWORD id);
QX_API DWORD GetWindowContextHelpId(HWND hwnd);

// Fonts and icons.
QX_API void SetWindowFont(HWND hwnd, CFont* font, BOOL redraw = TRUE);
QX_API CFont* GetWindowFont(HWND hwnd);

// Messages. SendMessage calls the window procedure at once; PostMessage
// appends to the thread's queue, which the modal loops and PumpMessages
// deliver. Both return 0 for an invalid window.
QX_API LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
QX_API BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
QX_API void PostQuitMessage(int exitCode);
QX_API LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
QX_API LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
QX_API LRESULT SendDlgItemMessage(HWND dialog, int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// Takes the next queued message (and due timers) without waiting; FALSE when
// none is there.
QX_API BOOL PeekMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags);
QX_API LRESULT DispatchMessage(const MSG* msg);
inline constexpr UINT PM_NOREMOVE = 0;
inline constexpr UINT PM_REMOVE = 1;

// Timers: due on the layer's clock (GetTickCount), delivered as WM_TIMER by
// the message pump. An id already set on the window is restarted.
QX_API UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc = nullptr);
QX_API BOOL KillTimer(HWND hwnd, UINT_PTR id);
// Milliseconds on the layer's clock: the process clock (qx::TickCount, which
// tests replace) plus the time scripted waits have passed.
QX_API DWORD GetTickCount();

namespace qx {

// Whether a timer of *id* runs on the window. SetTimer itself accepts every
// id, restarting a timer that already runs; code that picks an id of its own
// asks first so as not to take over another part's timer.
QX_API bool IsTimerSet(HWND hwnd, UINT_PTR id);

}  // namespace qx

// The mouse position in screen coordinates as the host last reported it.
QX_API BOOL GetCursorPos(CPoint* point);
QX_API BOOL SetCursorPos(int x, int y);
