// What the hosts may ask of a dialog's modal state.
#pragma once

#include "qx/platform/wnd/window_types.h"

namespace qx::wnd {

// Whether *hwnd* is a dialog run by DialogBoxIndirectParam.
bool IsModalDialog(HWND hwnd);
// The value EndDialog was given (IDCANCEL when the loop ended otherwise).
LRESULT DialogResult(HWND hwnd);

}  // namespace qx::wnd
