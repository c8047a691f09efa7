// The print dialog: the user chooses a printer and its settings, and the
// program gets a printer context for them, ready for StartDoc. The UI host
// shows it: the GTK host the desktop's print dialog, whose job the context
// then draws on; hosts without a desktop answer as the dialog's default
// button would, with a job on the default printer queue.
#pragma once

#include <memory>

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"
#include "qx/platform/gfx/targets.h"
#include "qx/platform/wnd/window_types.h"

namespace qx {

struct PrintDialogResult {
    std::unique_ptr<CPrinterDC> printer;  // null: cancelled, or no printer to print on
    CString error;                        // why there is no printer; empty when the user cancelled
};

// Shows the host's print dialog over *owner* (may be null) for a job named
// *documentName*.
QX_API PrintDialogResult ShowPrintDialog(HWND owner, const CString& documentName);

// What hosts without a print dialog of their own answer: a job on the
// default printer queue with its paper, resolution and colour.
QX_API PrintDialogResult DefaultPrinterChoice();

}  // namespace qx
