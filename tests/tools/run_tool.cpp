#include "tests/tools/run_tool.h"

#include <sys/wait.h>

#include <cstdio>

namespace qx::test {
namespace {

std::string Quote(const std::string& arg) {
    std::string q = "'";
    for (char c : arg) {
        if (c == '\'') q += "'\\''";
        else q += c;
    }
    return q + "'";
}

}  // namespace

ToolResult RunTool(const std::vector<std::string>& args) {
    std::string command = Quote(QXTOOL_PATH);
    for (const std::string& a : args) command += " " + Quote(a);
    command += " 2>&1 </dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return {-1, ""};
    std::string out;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

}  // namespace qx::test
