// The platform's debug output (OutputDebugString on Windows): one
// process-wide sink for diagnostic text such as the window-message tracer's.
//
// The default sink writes the text as UTF-8 to stderr when the environment
// variable QX_DEBUG_OUTPUT is set and not empty, and drops it otherwise. The
// text is written as given; callers end their lines themselves.
#pragma once

#include <functional>
#include <string_view>

#include "qx/platform/base/export.h"

namespace qx {

using DebugOutputSink = std::function<void(std::wstring_view text)>;

QX_API void OutputDebugText(std::wstring_view text);

// Sends all debug output to *sink* (nullptr: the default sink) and returns
// the sink that was installed before (nullptr for the default).
QX_API DebugOutputSink SetDebugOutputSink(DebugOutputSink sink);

}  // namespace qx
