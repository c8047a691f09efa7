#include "qx/platform/os/terminal.h"

#include <unistd.h>

namespace qx {

bool StandardErrorIsTerminal() { return isatty(STDERR_FILENO) == 1; }

}  // namespace qx
