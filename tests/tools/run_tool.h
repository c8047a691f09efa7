// Runs the built qxtool program as a user would.
#pragma once

#include <string>
#include <vector>

namespace qx::test {

struct ToolResult {
    int exitCode;     // -1 when the program did not exit normally
    std::string out;  // stdout and stderr together
};

ToolResult RunTool(const std::vector<std::string>& args);

// For outputs too large to keep: the program's standard output is counted,
// not kept (its standard error is dropped), and its peak memory measured.
struct CountedToolResult {
    int exitCode;                 // -1 when the program did not exit normally
    unsigned long long outBytes;  // bytes written to standard output
    long maxResidentKb;           // the program's peak resident memory
};

CountedToolResult RunToolCountingOutput(const std::vector<std::string>& args);

}  // namespace qx::test
