// Temporary files: their names, the sweep for leftovers, and what remains
// when a writer is killed or ended by a signal. The writers are copies of
// this test program, started with QX_TEMPORARY_ROLE set (see PlayRole).
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "qx/platform/os/file_stream.h"
#include "qx/platform/os/file_system.h"
#include "qx/platform/os/last_error.h"
#include "qx/platform/os/private_folder.h"
#include "qx/platform/os/temporary_files.h"
#include "tests/support/child_process.h"
#include "tests/support/test_support.h"

namespace qx {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The time any one step of a child may take on a busy machine.
constexpr auto kLimit = 30s;

// What a copy of this program does when started as a writer: each of the
// comma-separated kinds of QX_TEMPORARY_ROLE makes its temporary file in
// folder QX_TEMPORARY_FOLDER ("copy" in its subfolder "cache"). With
// QX_TEMPORARY_HOLD set it then prints "ready" and waits to be ended, else
// it finishes its work and exits with 0. "atomic" replaces a file in one
// call, as the registry store does, and cannot be held.
int PlayRole(const std::string& role, const std::string& folder) {
    // An orphaned writer does not outlive the test for long.
    alarm(120);
    if (std::getenv("QX_TEMPORARY_IGNORE_SIGINT")) signal(SIGINT, SIG_IGN);
    if (std::getenv("QX_TEMPORARY_ON_SIGNAL")) RemoveTemporaryFilesOnTermination();
    const bool hold = std::getenv("QX_TEMPORARY_HOLD") != nullptr;
    const std::wstring wideFolder = fs::path(folder).wstring();

    std::unique_ptr<FileReplacer> replacer;
    std::unique_ptr<TemporaryFile> page;
    std::unique_ptr<PrivateFolder> cache;
    std::unique_ptr<PrivateFileWriter> copy;
    bool ok = true;
    if (role.find("atomic") != std::string::npos) ok = WriteFileAtomically(wideFolder + L"/target.txt", "written");
    if (role.find("replace") != std::string::npos) {
        replacer = FileReplacer::Create(wideFolder + L"/target.txt");
        ok = ok && replacer && replacer->Write("replaced");
    }
    if (role.find("page") != std::string::npos) {
        page = TemporaryFile::Create(wideFolder + L"/");
        ok = ok && page && page->Write("page");
        if (page) page->Close();
    }
    if (role.find("copy") != std::string::npos) {
        cache = PrivateFolder::Open(wideFolder + L"/cache");
        copy = cache ? cache->CreateFile(L"a.txt") : nullptr;
        ok = ok && copy && copy->Write("copy");
    }
    if (!ok) return 3;
    if (hold) {
        std::puts("ready");
        std::fflush(stdout);
        for (;;) pause();
    }
    if (replacer && !replacer->Commit()) return 4;
    if (copy && !copy->Commit(std::nullopt, std::nullopt)) return 5;
    return 0;
}

// Runs before the tests are even listed, so that a writer never runs them.
[[maybe_unused]] const bool kPlaysRole = [] {
    const char* role = std::getenv("QX_TEMPORARY_ROLE");
    const char* folder = std::getenv("QX_TEMPORARY_FOLDER");
    if (role && folder) std::_Exit(PlayRole(role, folder));
    return false;
}();

std::string ThisProgram() { return fs::read_symlink("/proc/self/exe").string(); }

// Starts a writer playing *role* in *folder*.
std::unique_ptr<test::ChildProcess> StartWriter(const std::string& role, const fs::path& folder,
                                                std::vector<std::string> env = {}) {
    env.push_back("QX_TEMPORARY_ROLE=" + role);
    env.push_back("QX_TEMPORARY_FOLDER=" + folder.string());
    // Should the role not be taken, the program only lists its tests.
    return std::make_unique<test::ChildProcess>(ThisProgram(), std::vector<std::string>{"--gtest_list_tests"}, env);
}

// Starts a writer that keeps its temporary files until it is ended.
std::unique_ptr<test::ChildProcess> StartHoldingWriter(const std::string& role, const fs::path& folder,
                                                       std::vector<std::string> env = {}) {
    env.push_back("QX_TEMPORARY_HOLD=1");
    auto writer = StartWriter(role, folder, env);
    EXPECT_TRUE(writer->WaitForOutput("ready", kLimit)) << writer->Output();
    return writer;
}

// Runs a writer that finishes its work; true when it did.
bool RunWriter(const std::string& role, const fs::path& folder) {
    auto writer = StartWriter(role, folder);
    const auto status = writer->Wait(kLimit);
    EXPECT_TRUE(status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << writer->Output();
    return status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0;
}

// The names of the temporary files in *folder*, sorted.
std::vector<std::string> Temporaries(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(".qx-")) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string NamePrefixOf(pid_t pid) { return ".qx-" + std::to_string(pid) + "-"; }

// A process id that no process has: a child that has already ended.
pid_t EndedProcessId() {
    const pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

TEST(TemporaryFileTest, NamesCarryTheProcessIdAndNeverReplaceAnEntry) {
    test::TempDir dir;
    const std::wstring folder = dir.path().wstring() + L"/";
    auto first = TemporaryFile::Create(folder);
    ASSERT_TRUE(first);
    const std::string name = fs::path(first->Path()).filename().string();
    ASSERT_TRUE(name.starts_with(NamePrefixOf(getpid())) && name.ends_with(".tmp")) << name;
    EXPECT_EQ(fs::status(dir.path() / name).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);

    // The next names are taken: by a link, a folder and a file of someone's.
    const std::uint64_t number = std::stoull(name.substr(NamePrefixOf(getpid()).size()));
    const auto nameOf = [](std::uint64_t n) { return NamePrefixOf(getpid()) + std::to_string(n) + ".tmp"; };
    fs::create_symlink(dir.path() / "elsewhere", dir.path() / nameOf(number + 1));
    fs::create_directory(dir.path() / nameOf(number + 2));
    test::WriteBytes(dir.path() / nameOf(number + 3), "someone else's");
    auto second = TemporaryFile::Create(folder);
    ASSERT_TRUE(second);
    EXPECT_GT(std::stoull(fs::path(second->Path()).filename().string().substr(NamePrefixOf(getpid()).size())),
              number + 3);
    ASSERT_TRUE(second->Write("page"));
    second->Close();
    EXPECT_EQ(test::ReadBytes(second->Path()), "page") << "a closed file stays";
    EXPECT_EQ(test::ReadBytes(dir.path() / nameOf(number + 3)), "someone else's");
    EXPECT_FALSE(fs::exists(dir.path() / "elsewhere")) << "a link is not followed";

    const std::wstring path = second->Path();
    second.reset();
    EXPECT_FALSE(fs::exists(path)) << "the file goes with its owner";

    EXPECT_FALSE(TemporaryFile::Create(folder + L"missing/"));
    EXPECT_EQ(GetLastError(), kErrorPathNotFound);
}

TEST(TemporaryFileTest, ASweepRemovesOnlyTheLeftoversOfWritersThatAreGone) {
    test::TempDir dir;
    const std::string gone = NamePrefixOf(EndedProcessId());
    const std::string running = NamePrefixOf(getppid());
    const std::string own = NamePrefixOf(getpid());
    auto listed = TemporaryFile::Create(dir.path().wstring() + L"/");
    ASSERT_TRUE(listed);
    listed->Close();
    const std::string listedName = fs::path(listed->Path()).filename().string();

    enum class Kind { File, Folder, Link, LockedFile, OtherUsersFile };
    struct Case {
        std::string name;
        Kind kind;
        bool removed;
    };
    std::vector<Case> cases = {
        {gone + "7.tmp", Kind::File, true},
        {running + "7.tmp", Kind::File, false},
        {own + "18446744073709551615.tmp", Kind::File, true},  // never given out: a process before this one
        {listedName, Kind::File, false},
        {gone + "8.tmp", Kind::LockedFile, false},  // a writer of another pid namespace
        {gone + "9.tmp", Kind::Folder, false},
        {gone + "10.tmp", Kind::Link, false},
        {gone + "011.tmp", Kind::File, false},  // not a name the library makes
        {gone + "12.tmpx", Kind::File, false},
        {"x" + gone + "13.tmp", Kind::File, false},
        {".qx--14.tmp", Kind::File, false},
        {"QX15.tmp", Kind::File, false},
    };
    // Only root can give a file to someone else; no sweep may take it.
    if (geteuid() == 0) cases.push_back({gone + "16.tmp", Kind::OtherUsersFile, false});

    std::vector<int> locks;
    for (const Case& c : cases) {
        const fs::path path = dir.path() / c.name;
        if (c.name == listedName) continue;
        switch (c.kind) {
            case Kind::Folder:
                fs::create_directory(path);
                break;
            case Kind::Link:
                test::WriteBytes(dir.path() / "target", "target");
                fs::create_symlink(dir.path() / "target", path);
                break;
            default:
                test::WriteBytes(path, "left");
                if (c.kind == Kind::LockedFile) {
                    locks.push_back(open(path.c_str(), O_RDONLY | O_CLOEXEC));
                    ASSERT_EQ(flock(locks.back(), LOCK_EX), 0);
                }
                if (c.kind == Kind::OtherUsersFile) {
                    ASSERT_EQ(chown(path.c_str(), 65534, 65534), 0);
                }
        }
    }

    ASSERT_TRUE(SweepTemporaryFiles(dir.path().wstring()));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(!fs::exists(fs::symlink_status(dir.path() / c.name)), c.removed);
    }
    EXPECT_EQ(test::ReadBytes(dir.path() / "target"), "target");
    for (const int fd : locks) close(fd);

    EXPECT_FALSE(SweepTemporaryFiles(dir.path().wstring() + L"/missing"));
}

// Each kind of temporary file, in the folder where its writer makes it, and
// a writer that comes after it.
struct WriterKind {
    const char* role;
    const char* next;  // the role of the writer that comes after
    const char* subfolder;
    const char* result;  // what a writer that finishes leaves there
};
constexpr WriterKind kWriterKinds[] = {
    {"replace", "replace", "", "target.txt"},
    {"replace", "atomic", "", "target.txt"},
    {"page", "page", "", nullptr},
    {"copy", "copy", "cache", "a.txt"},
};

TEST(TemporaryFileKillTest, TheNextWriterRemovesWhatAKilledWriterLeft) {
    for (const WriterKind& kind : kWriterKinds) {
        SCOPED_TRACE(std::string(kind.role) + " followed by " + kind.next);
        test::TempDir dir;
        const fs::path folder = dir.path() / kind.subfolder;
        auto killed = StartHoldingWriter(kind.role, dir.path());
        const std::vector<std::string> left = Temporaries(folder);
        ASSERT_EQ(left.size(), 1u);
        EXPECT_TRUE(left[0].starts_with(NamePrefixOf(killed->Pid()))) << left[0];

        // A writer that is still at work keeps its file.
        ASSERT_TRUE(RunWriter(kind.next, dir.path()));
        EXPECT_EQ(Temporaries(folder), left);

        killed->Signal(SIGKILL);
        const auto status = killed->Wait(kLimit);
        ASSERT_TRUE(status && WIFSIGNALED(*status) && WTERMSIG(*status) == SIGKILL);
        EXPECT_EQ(Temporaries(folder), left) << "a killed writer cannot clean up";

        ASSERT_TRUE(RunWriter(kind.next, dir.path()));
        EXPECT_TRUE(Temporaries(folder).empty());
        if (kind.result) {
            EXPECT_TRUE(fs::is_regular_file(folder / kind.result));
        }
    }
}

TEST(TemporaryFileSignalTest, AnEndingSignalRemovesTheTemporaryFiles) {
    struct Case {
        const char* name;
        int signal;
        bool ignoresSigint;
    };
    const Case cases[] = {
        {"SIGTERM", SIGTERM, false},
        {"SIGINT", SIGINT, false},
        {"SIGHUP", SIGHUP, false},
        {"SIGINT, which the program ignores, then SIGTERM", SIGINT, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        std::vector<std::string> env{"QX_TEMPORARY_ON_SIGNAL=1"};
        if (c.ignoresSigint) env.push_back("QX_TEMPORARY_IGNORE_SIGINT=1");
        auto writer = StartHoldingWriter("replace,page,copy", dir.path(), env);
        ASSERT_EQ(Temporaries(dir.path()).size(), 2u);
        ASSERT_EQ(Temporaries(dir.path() / "cache").size(), 1u);

        writer->Signal(c.signal);
        // An ignored signal is dropped as it is sent: the next one ends it.
        if (c.ignoresSigint) writer->Signal(SIGTERM);
        const auto status = writer->Wait(kLimit);
        ASSERT_TRUE(status && WIFSIGNALED(*status)) << writer->Output();
        EXPECT_EQ(WTERMSIG(*status), c.ignoresSigint ? SIGTERM : c.signal) << "it still ends by the signal";
        EXPECT_TRUE(Temporaries(dir.path()).empty());
        EXPECT_TRUE(Temporaries(dir.path() / "cache").empty());
        EXPECT_FALSE(fs::exists(dir.path() / "target.txt"));
    }
}

TEST(TemporaryFileSignalTest, AForkedChildLeavesItsParentsFilesAlone) {
    test::TempDir dir;
    auto page = TemporaryFile::Create(dir.path().wstring() + L"/");
    ASSERT_TRUE(page);
    const pid_t child = fork();
    if (child == 0) {
        // The child has the parent's table, but the files are not its own.
        RemoveTemporaryFiles();
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(fs::exists(page->Path()));
}

}  // namespace
}  // namespace qx
