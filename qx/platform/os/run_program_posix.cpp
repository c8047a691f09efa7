#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "qx/platform/base/utf.h"
#include "qx/platform/os/internal/fd_io.h"
#include "qx/platform/os/last_error.h"
#include "qx/platform/os/native_path.h"
#include "qx/platform/os/run_program.h"
#include "qx/platform/os/system_folders.h"

extern char** environ;

namespace qx {

namespace {

using Clock = std::chrono::steady_clock;

// The process's environment with *changes* applied, as "NAME=value" texts.
std::vector<std::string> ChildEnvironment(const std::vector<std::pair<std::string, std::string>>& changes) {
    std::vector<std::string> result;
    for (char** entry = environ; entry && *entry; ++entry) {
        const std::string_view text = *entry;
        const std::string_view name = text.substr(0, text.find('='));
        bool replaced = false;
        for (const auto& change : changes) replaced |= change.first == name;
        if (!replaced) result.emplace_back(text);
    }
    for (const auto& change : changes) result.push_back(change.first + "=" + change.second);
    return result;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

// Waits for *pid* without blocking past *deadline*; true once it was reaped.
bool Reap(pid_t pid, Clock::time_point deadline, int& status) {
    for (;;) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) return true;
        if (done < 0 && errno != EINTR) {
            status = -1;
            return true;  // not ours to wait for (SIGCHLD ignored): it is gone
        }
        if (Clock::now() >= deadline) return false;
        struct timespec pause {0, 10'000'000};
        nanosleep(&pause, nullptr);
    }
}

}  // namespace

ProgramRun RunProgram(std::wstring_view program, const std::vector<std::wstring>& args,
                      const std::vector<std::pair<std::string, std::string>>& environment,
                      std::chrono::milliseconds timeout) {
    ProgramRun run;
    const auto native = ToNativePath(program);
    if (!native) return run;
    std::vector<std::string> argTexts{*native};
    for (const std::wstring& arg : args) argTexts.push_back(WideToUtf8(arg));
    std::vector<std::string> envTexts = ChildEnvironment(environment);
    std::vector<char*> argv = Pointers(argTexts), envp = Pointers(envTexts);

    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        SetLastError(ErrorFromErrno(errno));
        return run;
    }
    detail::Fd readEnd(pipeFds[0]), writeEnd(pipeFds[1]);

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, writeEnd.get(), 1);
    posix_spawn_file_actions_adddup2(&actions, writeEnd.get(), 2);
    // Its own process group, and the default action for the signals that
    // end a process, whatever the calling program has set.
    sigset_t defaults;
    sigemptyset(&defaults);
    for (int signal : {SIGHUP, SIGINT, SIGTERM, SIGPIPE, SIGQUIT}) sigaddset(&defaults, signal);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    pid_t pid = 0;
    const int error = ::posix_spawn(&pid, native->c_str(), &actions, &attributes, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    writeEnd = detail::Fd();
    if (error != 0) {
        SetLastError(ErrorFromErrno(error));
        return run;
    }
    run.started = true;

    // Output is read until the pipe closes or the program has ended (a
    // helper it left behind may hold the pipe open), within the time allowed.
    const auto deadline = Clock::now() + timeout;
    int status = 0;
    bool reaped = false;
    char buffer[4096];
    while (!reaped) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) break;
        struct pollfd poller {readEnd.get(), POLLIN, 0};
        const int ready = ::poll(&poller, 1, static_cast<int>(std::min<long long>(left, 100)));
        if (ready > 0) {
            const ssize_t got = ::read(readEnd.get(), buffer, sizeof buffer);
            if (got < 0 && errno == EINTR) continue;
            if (got > 0) {
                const size_t room = kProgramOutputLimit - std::min(kProgramOutputLimit, run.output.size());
                run.output.append(buffer, std::min(room, static_cast<size_t>(got)));
                continue;
            }
            reaped = Reap(pid, deadline, status);  // the pipe is closed: wait for the end
        } else if (ready == 0 || errno == EINTR) {
            reaped = Reap(pid, Clock::now(), status);
        } else {
            reaped = Reap(pid, deadline, status);
        }
    }
    if (!reaped) {
        run.timedOut = true;
        ::kill(-pid, SIGKILL);
        Reap(pid, Clock::now() + std::chrono::seconds(10), status);
        return run;
    }
    if (status != -1 && WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
    return run;
}

std::optional<std::wstring> FindProgramOnPath(std::wstring_view name) {
    if (name.empty() || name.find_first_of(L"/\\") != std::wstring_view::npos) return std::nullopt;
    for (const std::wstring& folder : PathVariableFolders()) {
        const std::wstring candidate = folder + L"\\" + std::wstring(name);
        const auto native = ToNativePath(candidate, false);
        struct stat info {};
        if (native && ::stat(native->c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(native->c_str(), X_OK) == 0)
            return candidate;
    }
    return std::nullopt;
}

}  // namespace qx
