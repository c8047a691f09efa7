#include "qx/platform/os/last_error.h"

namespace qx {

namespace {
thread_local unsigned t_lastError = kErrorSuccess;
}  // namespace

unsigned GetLastError() { return t_lastError; }

void SetLastError(unsigned code) { t_lastError = code; }

}  // namespace qx
