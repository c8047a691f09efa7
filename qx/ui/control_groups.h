// Groups of a dialog's controls, named by their identifiers, enabled, shown
// or locked at once, and check boxes sized to their text. The family writes
// the lists ended by 0:
//
//   EnableWindows(dialog, FALSE, IDC_NAME, IDC_VALUE, 0);
//
// The lists are checked when the call is compiled: every identifier is an
// integer, and a list whose closing 0 is missing ends with its last
// argument, so nothing is ever read beyond what the caller passed. (A call
// of EnableWindows with a window and one number is the enumeration
// callback.) A CWnd converts to its window handle.
#pragma once

#include <concepts>
#include <span>

#include "qx/platform/base/export.h"
#include "qx/platform/wnd/window_types.h"

namespace qx {

// The forms behind the lists: the identifiers before the first 0 count.
// Identifiers the window has no child for are passed over.
QX_API void EnableControls(HWND window, BOOL enable, std::span<const int> ids);
QX_API void ShowControls(HWND window, int showCommand, std::span<const int> ids);
// Only controls with a text selection (edits, editable combo boxes) are
// touched; other controls have no read-only state.
QX_API void SetControlsReadOnly(HWND window, BOOL readOnly, std::span<const int> ids);
// Check boxes and radio buttons get the width of their text in the
// window's font plus room for the box (18 pixels, 21 above 96 dots per
// inch); other controls are left as they are.
QX_API void AdjustControlWidths(HWND window, std::span<const int> ids);

}  // namespace qx

template <std::convertible_to<int> First, std::convertible_to<int>... Ids>
void EnableWindows(HWND window, BOOL enable, First first, Ids... ids) {
    const int list[] = {static_cast<int>(first), static_cast<int>(ids)..., 0};
    qx::EnableControls(window, enable, list);
}

// *show* is a show command (SW_SHOW, SW_HIDE, ...).
template <std::convertible_to<int> First, std::convertible_to<int>... Ids>
void ShowWindows(HWND window, int show, First first, Ids... ids) {
    const int list[] = {static_cast<int>(first), static_cast<int>(ids)..., 0};
    qx::ShowControls(window, show, list);
}

template <std::convertible_to<int> First, std::convertible_to<int>... Ids>
void SetReadOnly(HWND window, BOOL readOnly, First first, Ids... ids) {
    const int list[] = {static_cast<int>(first), static_cast<int>(ids)..., 0};
    qx::SetControlsReadOnly(window, readOnly, list);
}

template <std::convertible_to<int> First, std::convertible_to<int>... Ids>
void AdjustControlWidths(HWND window, First first, Ids... ids) {
    const int list[] = {static_cast<int>(first), static_cast<int>(ids)..., 0};
    qx::AdjustControlWidths(window, list);
}

// Callbacks for EnumChildWindows that enable or disable each window they are
// given; they always go on to the next one.
QX_API BOOL EnableWindows(HWND hwnd, LPARAM lParam);
QX_API BOOL DisableWindows(HWND hwnd, LPARAM lParam);

// Gives the window the context-help identifier *baseId* and each window
// below it *baseId* plus its control identifier.
QX_API void SetChildsHelpIds(HWND window, DWORD baseId);
