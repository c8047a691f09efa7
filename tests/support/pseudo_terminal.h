// A child process on a pseudo-terminal, for the tests of what talks to a
// person at a terminal: the test reads what the child shows and types the
// answers. Every wait has a time limit, so a child that hangs fails the test
// instead of stalling it; a child still running at the end is killed.
#pragma once

#include <sys/types.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qx::test {

class TerminalChild {
public:
    // Runs *body* in the child (TERM=xterm) and exits with what it returns.
    explicit TerminalChild(const std::function<int()>& body);
    // Runs *program* with *args*; *env* ("NAME=value") adds to the test's
    // environment.
    TerminalChild(const std::string& program, const std::vector<std::string>& args, const std::vector<std::string>& env);
    ~TerminalChild();
    TerminalChild(const TerminalChild&) = delete;
    TerminalChild& operator=(const TerminalChild&) = delete;

    bool Started() const { return pid_ > 0; }
    // True once the terminal has shown *text* after what earlier waits
    // found (within ten seconds).
    bool WaitFor(const std::string& text);
    void Type(const std::string& keys);
    // The child's exit code, -1 when it did not exit within ten seconds or
    // was ended by a signal.
    int ExitCode();
    const std::string& Seen() const { return seen_; }

private:
    pid_t pid_ = -1;
    int master_ = -1;
    std::string seen_;
    size_t consumed_ = 0;
    std::optional<int> status_;
};

}  // namespace qx::test
