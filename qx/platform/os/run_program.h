// Running another program to its end: a converter the library hands a file
// to. The program gets no input, its output is collected (up to a limit),
// and it runs in a process group of its own, so that a program that takes
// longer than it is allowed is ended together with the helpers it started.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "qx/platform/base/export.h"

namespace qx {

struct ProgramRun {
    bool started = false;   // false: the program could not be started (last error set)
    bool timedOut = false;  // it was killed for taking too long
    // Its exit code; -1 when a signal ended it, when it was killed, or when
    // its end could not be waited for (a process that ignores SIGCHLD).
    int exitCode = -1;
    std::string output;  // standard output and error together, the first kProgramOutputLimit bytes
};

inline constexpr size_t kProgramOutputLimit = 64 * 1024;

// Runs *program* (a library path) with *args* and the process's environment,
// where each of *environment* ("NAME", "value") adds or replaces a variable,
// and waits for it at most *timeout*.
QX_API ProgramRun RunProgram(std::wstring_view program, const std::vector<std::wstring>& args,
                             const std::vector<std::pair<std::string, std::string>>& environment,
                             std::chrono::milliseconds timeout);

// The first executable file *name* in the folders of PATH; nullopt when there
// is none.
QX_API std::optional<std::wstring> FindProgramOnPath(std::wstring_view name);

}  // namespace qx
