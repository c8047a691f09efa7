// WndUtil: a dialog's height fitted to its controls, a group box's contents
// shown or hidden together, and sizes scaled to the screen's resolution.
// The resolution is read once and kept, as the family's dialogs expect it
// not to change while they run; tests forget it with qx::ResetDPIMult.
#pragma once

#include "qx/platform/base/export.h"
#include "qx/platform/wnd/window_types.h"

class QX_API WndUtil {
public:
    // Makes the dialog's client area end 5 pixels below the control
    // *controlId*; the width stays. Nothing happens without that control.
    static void ResizeDialog(HWND dialog, int controlId);
    // Shows or hides every child of the dialog that lies entirely inside the
    // group box *groupBoxId* (the box itself stays as it is).
    static void ShowGroupBoxContents(HWND dialog, int groupBoxId, BOOL show);
    // The screen's horizontal dots per inch divided by 96.
    static double GetDPIMult();
    // *value* scaled by GetDPIMult, cut toward zero (10 at 120 dots per inch
    // gives 12).
    static int ConsiderDPI(int value);
};

namespace qx {

// Forgets the resolution WndUtil read, so that the next call reads the
// screen again.
QX_API void ResetDPIMult();

}  // namespace qx
