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

}  // namespace qx::test
