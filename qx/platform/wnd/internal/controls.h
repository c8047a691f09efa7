// The procedures of the standard controls and the dialog class, and what
// they share.
#pragma once

#include <string>

#include "qx/platform/wnd/internal/window_object.h"

class CDC;

namespace qx::wnd {

LRESULT ButtonProc(HWND, UINT, WPARAM, LPARAM);
LRESULT EditProc(HWND, UINT, WPARAM, LPARAM);
LRESULT StaticProc(HWND, UINT, WPARAM, LPARAM);
LRESULT ListBoxProc(HWND, UINT, WPARAM, LPARAM);
LRESULT ComboBoxProc(HWND, UINT, WPARAM, LPARAM);
LRESULT ListViewProc(HWND, UINT, WPARAM, LPARAM);
LRESULT ProgressProc(HWND, UINT, WPARAM, LPARAM);
LRESULT DialogClassProc(HWND, UINT, WPARAM, LPARAM);

// Sends WM_COMMAND with *code* from control *hwnd* to its parent.
void NotifyParent(HWND hwnd, WORD code);

// Answers WM_PAINT with *paint* on the paint context.
LRESULT PaintControl(HWND hwnd, void (*paint)(CDC&, HWND));

// The control state of *hwnd*, made on first use.
template <typename State>
State& StateOf(Window& window) {
    if (!window.control) window.control = std::make_unique<State>();
    return static_cast<State&>(*window.control);
}

// The text of a caller's buffer, empty for null.
inline std::wstring TextAt(LPARAM lParam) {
    const auto* text = reinterpret_cast<const wchar_t*>(lParam);
    return text ? std::wstring(text) : std::wstring();
}

// Copies *text* and a terminator to the caller's buffer, which the platform
// expects to be large enough (the length messages tell how large); returns
// the length.
LRESULT CopyToCallerBuffer(const std::wstring& text, LPARAM buffer);

}  // namespace qx::wnd
