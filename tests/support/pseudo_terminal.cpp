#include "tests/support/pseudo_terminal.h"

#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

namespace qx::test {

TerminalChild::TerminalChild(const std::function<int()>& body) {
    pid_ = forkpty(&master_, nullptr, nullptr, nullptr);
    if (pid_ == 0) {
        setenv("TERM", "xterm", 1);
        _exit(body());
    }
}

TerminalChild::TerminalChild(const std::string& program, const std::vector<std::string>& args,
                             const std::vector<std::string>& env) {
    pid_ = forkpty(&master_, nullptr, nullptr, nullptr);
    if (pid_ == 0) {
        setenv("TERM", "xterm", 1);
        for (const std::string& assignment : env) putenv(const_cast<char*>(assignment.c_str()));
        std::vector<char*> argv = {const_cast<char*>(program.c_str())};
        for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
}

TerminalChild::~TerminalChild() {
    if (pid_ > 0 && !status_) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (master_ >= 0) close(master_);
}

bool TerminalChild::WaitFor(const std::string& text) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (seen_.find(text, consumed_) == std::string::npos) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        pollfd fd{master_, POLLIN, 0};
        if (poll(&fd, 1, 50) <= 0) continue;
        char buffer[512];
        const ssize_t n = read(master_, buffer, sizeof buffer);
        if (n <= 0) return false;
        seen_.append(buffer, static_cast<size_t>(n));
    }
    consumed_ = seen_.find(text, consumed_) + text.size();
    return true;
}

void TerminalChild::Type(const std::string& keys) {
    for (size_t done = 0; done < keys.size();) {
        const ssize_t n = write(master_, keys.data() + done, keys.size() - done);
        if (n <= 0) return;
        done += static_cast<size_t>(n);
    }
}

int TerminalChild::ExitCode() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            status_ = status;
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        // What it still writes is read so that it never blocks on a full
        // terminal; a closed one is waited on.
        char buffer[512];
        pollfd fd{master_, POLLIN, 0};
        if (poll(&fd, 1, 10) > 0) {
            const ssize_t n = read(master_, buffer, sizeof buffer);
            if (n > 0) {
                seen_.append(buffer, static_cast<size_t>(n));
                continue;
            }
        }
        usleep(5000);
    }
    return -1;
}

}  // namespace qx::test
