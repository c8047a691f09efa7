#include "tests/support/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

extern char** environ;

namespace qx::test {

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args,
                           const std::vector<std::string>& env) {
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 2);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);

    std::vector<std::string> argStrings{program};
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argStrings) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> envStrings;
    for (char** e = environ; *e; ++e) {
        const std::string inherited = *e;
        const std::string name = inherited.substr(0, inherited.find('=') + 1);
        const bool replaced = std::any_of(env.begin(), env.end(), [&](const std::string& v) { return v.starts_with(name); });
        if (!replaced) envStrings.push_back(inherited);
    }
    envStrings.insert(envStrings.end(), env.begin(), env.end());
    std::vector<char*> envp;
    for (std::string& e : envStrings) envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t signals;
    sigemptyset(&signals);
    for (const int signal : {SIGHUP, SIGINT, SIGQUIT, SIGPIPE, SIGTERM}) sigaddset(&signals, signal);
    posix_spawnattr_setsigdefault(&attributes, &signals);
    sigemptyset(&signals);
    posix_spawnattr_setsigmask(&attributes, &signals);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), envp.data()) == 0) pid_ = pid;
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    outputFd_ = pipeFds[0];
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0 && !status_) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    if (outputFd_ >= 0) ::close(outputFd_);
}

bool ChildProcess::ReadSome(std::chrono::milliseconds timeout) {
    if (outputFd_ < 0) return false;
    pollfd ready{outputFd_, POLLIN, 0};
    if (::poll(&ready, 1, static_cast<int>(timeout.count())) <= 0) return true;
    char buffer[4096];
    const ssize_t count = ::read(outputFd_, buffer, sizeof buffer);
    if (count <= 0) {
        ::close(outputFd_);
        outputFd_ = -1;
        return false;
    }
    output_.append(buffer, static_cast<size_t>(count));
    return true;
}

bool ChildProcess::WaitForOutput(const std::string& text, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (output_.find(text) == std::string::npos) {
        if (std::chrono::steady_clock::now() > deadline || !ReadSome(std::chrono::milliseconds(20))) return false;
    }
    return true;
}

bool ChildProcess::HasEnded() {
    int status = 0;
    if (!status_ && pid_ > 0 && ::waitpid(pid_, &status, WNOHANG) == pid_) status_ = status;
    return status_.has_value();
}

void ChildProcess::Signal(int signal) const {
    if (pid_ > 0 && !status_) ::kill(pid_, signal);
}

std::optional<int> ChildProcess::Wait(std::chrono::milliseconds limit) {
    if (pid_ <= 0) return std::nullopt;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!HasEnded()) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
            status_ = -1;
            return std::nullopt;
        }
        // Reading keeps a talkative child from blocking on a full pipe.
        if (!ReadSome(std::chrono::milliseconds(20))) {
            struct timespec pause {0, 5'000'000};
            nanosleep(&pause, nullptr);
        }
    }
    // What the child wrote before it ended is in the pipe already.
    while (outputFd_ >= 0) {
        pollfd ready{outputFd_, POLLIN, 0};
        if (::poll(&ready, 1, 0) <= 0) break;
        ReadSome(std::chrono::milliseconds(0));
    }
    return status_;
}

}  // namespace qx::test
