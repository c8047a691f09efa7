// The thread's message queue, its timers and the layer's clock.
#pragma once

#include "qx/platform/wnd/window_types.h"

namespace qx::wnd {

void KillTimersOf(HWND hwnd);
// Moves the layer's clock forward by *milliseconds* without waiting (the
// scripted host's waits); GetTickCount and due timers follow it.
void AdvanceClock(DWORD milliseconds);
// The dialog-manager handling of a queued message for the dialogs being
// run modally or shown modeless: keys that move the focus, press the
// default button or cancel. True when the message was taken.
bool IsDialogMessageForAny(const MSG& msg);
// Offers a queued message to the framework objects of its window and that
// window's parents (CWnd::PreTranslateMessage); true when one took it.
bool PreTranslateForFramework(MSG& msg);

}  // namespace qx::wnd
