// Whether the process talks to a person: command-line tools show progress
// only on a terminal.
#pragma once

#include "qx/platform/base/export.h"

namespace qx {

// True when standard error is a terminal.
QX_API bool StandardErrorIsTerminal();

}  // namespace qx
