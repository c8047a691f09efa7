// A timer identifier of its own for code that shares a window with others:
// the window's timers already running are not taken over.
#pragma once

#include "qx/platform/base/export.h"
#include "qx/platform/wnd/window_types.h"

// Starts a timer of *elapse* milliseconds on the window with the first
// identifier from 31 to 99 that no timer of the window uses, and returns it;
// 0 when the window is not valid or every one of them is in use.
QX_API UINT_PTR GetSafeTimerID(HWND window, UINT elapse);
