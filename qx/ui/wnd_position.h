// Remembering where a window was: its screen rectangle as a registry string
// value ("top=40, bottom=440, left=100, right=600"), written when a dialog
// closes and read back when it opens again. A stored place is taken only
// while the window's title strip would be on a monitor, so a window saved
// on a screen that is gone does not come back out of reach.
#pragma once

#include "qx/install/reg_functions.h"
#include "qx/platform/base/export.h"
#include "qx/platform/wnd/window_types.h"

// Writes the window's rectangle under *subKey* of *rootKey* (the key is
// created when missing). 0 when the window is not valid or the key or the
// value cannot be written.
QX_API BOOL StoreWndPosition(HWND window, HKEY rootKey, const wchar_t* subKey, const wchar_t* valueName);

// Moves and sizes the window to the stored rectangle. Without a stored value
// a dialog whose parent is visible is centred. A dialog without a sizing
// border keeps its size and only moves. With *checkParent*, a rectangle that
// does not meet the parent window is not taken as a place: the window gets
// its size and is centred. Returns whether a stored position was applied.
QX_API BOOL RestoreWndPosition(HWND window, HKEY rootKey, const wchar_t* subKey, const wchar_t* valueName,
                               BOOL checkParent = FALSE);
