// The window-message tracer, a debugging aid: a window procedure hands it
// each message it handles and it writes one numbered, readable line per
// message to the debug output (qx::SetDebugOutputSink, QX_DEBUG_OUTPUT). A
// dashed line marks a pause of more than a second between two messages.
//
// The one thing to know: lParam is read as the message defines it (a text,
// a WINDOWPOS, an NMHDR), so pass the real parameters of a real message;
// null pointers are safe.
#pragma once

#include "qx/platform/base/export.h"

// Writes the line of *message* unless DontTraceMessages silenced it.
// *prefix* (nullptr: none) is written before the description, e.g. the
// window's name; *result* is what the window procedure returned, for the
// messages that are read by their result (WM_GETDLGCODE, WM_GETTEXTLENGTH,
// WM_QUERYUISTATE).
QX_API void TraceMessage(const wchar_t* prefix, unsigned message, unsigned wParam, long lParam, long result);

// Silences the listed messages, a list ended by 0 (so WM_NULL cannot be
// listed). Only messages the tracer names can be silenced; any other is
// always traced.
QX_API void DontTraceMessages(unsigned message, ...);

namespace qx {

// Traces every message again, numbers the next line 0 and forgets the time
// of the last message, so the next line follows no dashed line.
QX_API void ResetMessageTracerForTesting();

}  // namespace qx
