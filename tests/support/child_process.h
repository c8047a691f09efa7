// A program a test starts, signals and waits for, each wait within a time
// limit, so that a child that hangs fails the test instead of stalling it.
#pragma once

#include <sys/types.h>
#include <time.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace qx::test {

class ChildProcess {
public:
    // Starts *program* with *args* and the test's environment, where *env*
    // ("NAME=value" each) adds or replaces variables; its standard output and
    // error are collected, and it starts with the default action for every
    // signal that ends a process (whatever the test runner ignores).
    ChildProcess(const std::string& program, const std::vector<std::string>& args,
                 const std::vector<std::string>& env = {});
    // A child still running is killed and reaped.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // 0 when the program could not be started.
    pid_t Pid() const { return pid_; }
    // True once the child's output holds *text*; false when it ends or the
    // time is up first.
    bool WaitForOutput(const std::string& text, std::chrono::milliseconds limit);
    void Signal(int signal) const;
    // True once the child has ended (its status is kept for Wait).
    bool HasEnded();
    // The wait status once the child has ended; nullopt when the time ran
    // out, and the child is killed then.
    std::optional<int> Wait(std::chrono::milliseconds limit);
    const std::string& Output() const { return output_; }

private:
    // Reads what the child wrote within *timeout*; false at the end of its
    // output.
    bool ReadSome(std::chrono::milliseconds timeout);

    pid_t pid_ = 0;
    int outputFd_ = -1;
    std::optional<int> status_;
    std::string output_;
};

// Calls *done* until it gives true or *limit* has passed; its last answer.
template <typename Predicate>
bool WaitUntil(Predicate done, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        if (done()) return true;
        if (std::chrono::steady_clock::now() > deadline) return false;
        struct timespec pause {0, 5'000'000};
        nanosleep(&pause, nullptr);
    }
}

}  // namespace qx::test
