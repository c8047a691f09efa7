// Text from files and archives as qxtool prints it on a terminal.
#pragma once

#include <string>
#include <string_view>

namespace qxtool {

// *text* with its control characters written as escapes, so that a name or
// value cannot move the cursor, clear the screen or retitle the window:
// "\0", "\t", "\n", "\r" and "\xHH" for the other C0 and C1 controls and DEL.
// Backslashes stay as they are (Windows paths are full of them).
std::wstring EscapeControls(std::wstring_view text);

}  // namespace qxtool
