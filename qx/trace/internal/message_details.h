// What the message tracer writes after a message's name: its parameters
// read the way the message defines them.
#pragma once

#include <string>

namespace qx {

// The description of one message: its name, ", " and its details. Pointers
// in lParam (texts, WINDOWPOS, NMHDR) are read only when not null; a
// WM_GETTEXT buffer is read no further than its length in wParam.
// WM_COMMAND asks the control at lParam for its dialog code to name the
// notification, so it sends WM_GETDLGCODE to that window.
std::wstring DescribeMessage(unsigned message, unsigned wParam, long lParam, long result);

}  // namespace qx
