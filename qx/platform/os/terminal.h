// Whether the process talks to a person, and talking to one: command-line
// tools show progress only on a terminal, and the terminal UI host asks its
// questions on standard error and reads the answers from standard input.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "qx/platform/base/export.h"

namespace qx {

// True when standard error (standard input) is a terminal.
QX_API bool StandardErrorIsTerminal();
QX_API bool StandardInputIsTerminal();
// True when the terminal cannot move the cursor back over a line: TERM is
// unset or "dumb", or standard error is no terminal.
QX_API bool TerminalIsDumb();

// Writes *text* to standard error as UTF-8.
QX_API void WriteToTerminal(std::wstring_view text);

// Writes *prompt* and reads one line from standard input. On a terminal the
// line starts as *preset* and is edited in place (typing, Backspace, Ctrl-U
// clears it); Enter ends it. Elsewhere the line is read as it comes and the
// preset is kept when the line is empty. nullopt at the end of the input, on
// Escape or Ctrl-D, and for a line longer than 64 KiB. Ctrl-C restores the
// terminal and interrupts the process as usual.
QX_API std::optional<std::wstring> ReadTerminalLine(std::wstring_view prompt, std::wstring_view preset);

}  // namespace qx
