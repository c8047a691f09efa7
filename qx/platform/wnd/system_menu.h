// A window's system menu ("window menu") as far as dialogs use it: its
// entries can be removed, and a window without the Close entry has no
// working close box (WM_SYSCOMMAND SC_CLOSE does nothing, hosts show no
// close button). Every window starts with Move and Close, in that order.
#pragma once

#include "qx/platform/base/export.h"
#include "qx/platform/wnd/window_types.h"

struct HMENU__;
using HMENU = HMENU__*;

inline constexpr UINT MF_BYCOMMAND = 0x0000;
inline constexpr UINT MF_BYPOSITION = 0x0400;

// The window's system menu; *revert* restores the full one (and returns
// nullptr, as the platform does).
QX_API HMENU GetSystemMenu(HWND hwnd, BOOL revert);
QX_API BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
QX_API int GetMenuItemCount(HMENU menu);
// The command of the entry at *position*; (UINT)-1 for none.
QX_API UINT GetMenuItemID(HMENU menu, int position);

namespace qx {

// Whether the window's system menu still has its Close entry.
QX_API bool HasCloseCommand(HWND hwnd);

}  // namespace qx
