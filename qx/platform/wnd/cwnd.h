// The framework's window object: a C++ object attached to a window handle,
// whose virtual functions receive the window's messages. A CWnd made by the
// application (or attached with Attach/SubclassWindow) is permanent: it
// stays with its window until the window is destroyed, then it is detached
// and PostNcDestroy runs. CWnd::FromHandle gives a temporary object for a
// window nobody attached; it lives as long as its window.
#pragma once

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"
#include "qx/platform/wnd/window.h"

class CDataExchange;
class CFont;

class QX_API CWnd {
public:
    CWnd();
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    static CWnd* FromHandle(HWND hwnd);
    static CWnd* FromHandlePermanent(HWND hwnd);
    BOOL Attach(HWND hwnd);
    HWND Detach();
    // Attaches and routes the window's messages through this object first;
    // what it does not handle goes on to the window's own procedure.
    BOOL SubclassWindow(HWND hwnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();

    BOOL CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* windowName, DWORD style, const CRect& rect,
                  CWnd* parent, UINT id, void* param = nullptr);
    virtual BOOL DestroyWindow();

    // The tree.
    CWnd* GetParent() const;
    CWnd* SetParent(CWnd* parent);
    CWnd* GetDlgItem(int id) const;
    int GetDlgCtrlID() const;
    CWnd* GetTopLevelParent() const;

    // Text.
    void SetWindowText(const wchar_t* text);
    void GetWindowText(CString& text) const;
    int GetWindowTextLength() const;
    void SetDlgItemText(int id, const wchar_t* text);
    int GetDlgItemText(int id, CString& text) const;

    // State and style.
    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL ShowWindow(int command);
    BOOL IsWindowVisible() const;
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);
    CWnd* SetFocus();
    static CWnd* GetFocus();
    void SetFont(CFont* font, BOOL redraw = TRUE);
    CFont* GetFont() const;
    DWORD GetWindowContextHelpId() const;
    BOOL SetWindowContextHelpId(DWORD id);

    // Geometry.
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    void MoveWindow(const CRect& rect, BOOL repaint = TRUE);
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int width, int height, UINT flags);
    void GetWindowRect(CRect* rect) const;
    void GetClientRect(CRect* rect) const;
    void ClientToScreen(CPoint* point) const;
    void ClientToScreen(CRect* rect) const;
    void ScreenToClient(CPoint* point) const;
    void ScreenToClient(CRect* rect) const;
    // Centres the window over its owner (or *alternate*), else over the
    // work area, keeping it on the monitor.
    void CenterWindow(CWnd* alternate = nullptr);

    // Painting and timers.
    void Invalidate(BOOL erase = TRUE);
    void InvalidateRect(const CRect* rect, BOOL erase = TRUE);
    void UpdateWindow();
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc = nullptr);
    BOOL KillTimer(UINT_PTR id);

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    // Moves data between the controls and the members DoDataExchange names;
    // false when an exchange failed (the focus is then on its control).
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* exchange);
    // Sees a queued message before it is dispatched; true takes it.
    virtual BOOL PreTranslateMessage(MSG* msg);

protected:
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual void OnTimer(UINT_PTR id);
    virtual void OnPaint();
    virtual void OnDestroy();
    // After the window is gone and this object detached; the default does
    // nothing (an application that new'ed its window may delete it here).
    virtual void PostNcDestroy();

    WNDPROC m_pfnSuper = nullptr;

private:
    friend LRESULT FrameworkWindowProc(HWND, UINT, WPARAM, LPARAM);
};

// The procedure that routes a permanent CWnd's messages to it.
QX_API LRESULT FrameworkWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// The thread's main window (null when there is none) and the application's
// name (the program file's name without folder and extension unless set).
QX_API CWnd* AfxGetMainWnd();
QX_API void AfxSetMainWnd(CWnd* window);
QX_API const wchar_t* AfxGetAppName();
QX_API void AfxSetAppName(const wchar_t* name);
