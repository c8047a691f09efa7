// The window model behind the handles: one object per window, owned by the
// process-wide window table. Not installed; the public face is window.h.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "qx/platform/wnd/window_constants.h"
#include "qx/platform/wnd/window_types.h"

class CFont;

namespace qx::wnd {

// State a control class keeps beside the common window fields (items of a
// list box, a button's check state, an edit's selection).
struct ControlState {
    virtual ~ControlState() = default;
};

struct Window {
    HWND handle = nullptr;
    std::wstring className;
    std::wstring text;
    DWORD style = 0;
    DWORD exStyle = 0;
    int id = 0;
    HWND parent = nullptr;  // for a child; the owner for a top-level window
    std::vector<HWND> children;  // in z-order, first on top
    CRect rect;  // window rectangle relative to the parent's client area (screen for top-level)
    CFont* font = nullptr;
    void* smallIcon = nullptr;
    void* bigIcon = nullptr;
    DWORD helpId = 0;
    WNDPROC proc = nullptr;
    LONG_PTR userData = 0;
    LONG_PTR dialogLongs[3] = {0, 0, 0};  // DWLP_MSGRESULT, DWLP_DLGPROC, DWLP_USER
    std::map<std::wstring, void*> properties;
    std::unique_ptr<ControlState> control;
    std::vector<UINT> systemMenu{SC_MOVE, SC_CLOSE};  // commands, in menu order
    bool destroying = false;
    bool needsPaint = false;
};

// The window of *hwnd*, or nullptr when the handle is not a live window.
Window* Find(HWND hwnd);

inline bool IsChildWindow(const Window& w) { return (w.style & WS_CHILD) != 0; }

// The procedure of a window class; nullptr for an unknown class. Names
// compare without regard to case.
WNDPROC ClassProc(const std::wstring& className);

// Tells the UI host that something a view of *hwnd* shows has changed.
void NotifyChanged(HWND hwnd);

// The frame (borders and caption) a window of these styles keeps around its
// client area, as insets from the window rectangle.
CRect FrameInsets(DWORD style, DWORD exStyle);

}  // namespace qx::wnd
