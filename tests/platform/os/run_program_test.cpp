// Running a program to its end: its exit code and output, its environment,
// and the time limit, which ends the program and what it started.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "qx/platform/base/utf.h"
#include "qx/platform/os/native_path.h"
#include "qx/platform/os/run_program.h"
#include "tests/support/fixtures.h"

namespace {

using Clock = std::chrono::steady_clock;

std::wstring Shell() {
    const auto sh = qx::FindProgramOnPath(L"sh");
    EXPECT_TRUE(sh);
    return sh ? *sh : L"";
}

TEST(RunProgram, GivesTheExitCodeAndTheOutput) {
    const qx::ProgramRun run = qx::RunProgram(Shell(), {L"-c", L"echo out; echo err >&2; read x; echo \"[$x]\"; exit 3"}, {},
                                              std::chrono::seconds(20));
    EXPECT_TRUE(run.started);
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitCode, 3);
    // The program's input is empty.
    EXPECT_EQ(run.output, "out\nerr\n[]\n");
}

TEST(RunProgram, ChangesOnlyTheVariablesItIsGiven) {
    qx::test::ScopedEnv kept("QX_RUN_KEPT", "kept");
    qx::test::ScopedEnv replaced("QX_RUN_REPLACED", "old");
    const qx::ProgramRun run = qx::RunProgram(Shell(), {L"-c", L"echo $QX_RUN_KEPT $QX_RUN_REPLACED $QX_RUN_ADDED"},
                                              {{"QX_RUN_REPLACED", "new"}, {"QX_RUN_ADDED", "added"}}, std::chrono::seconds(20));
    EXPECT_EQ(run.output, "kept new added\n");
}

TEST(RunProgram, AProgramThatTakesTooLongIsEndedWithItsHelpers) {
    qx::test::TempDir dir;
    const std::string marker = dir.Native("late");
    const auto start = Clock::now();
    // The helper in the background would write the marker after a second.
    const qx::ProgramRun run = qx::RunProgram(
        Shell(), {L"-c", qx::Utf8ToWide("(sleep 1; touch '" + marker + "') & sleep 30")}, {}, std::chrono::milliseconds(300));
    EXPECT_TRUE(run.started);
    EXPECT_TRUE(run.timedOut);
    EXPECT_EQ(run.exitCode, -1);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    EXPECT_FALSE(std::filesystem::exists(marker));
}

TEST(RunProgram, OutputIsKeptUpToItsLimit) {
    const qx::ProgramRun run =
        qx::RunProgram(Shell(), {L"-c", L"head -c 200000 /dev/zero | tr '\\0' x"}, {}, std::chrono::seconds(20));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, std::string(qx::kProgramOutputLimit, 'x'));
}

TEST(RunProgram, AProgramThatIsNotThereDoesNotStart) {
    qx::test::TempDir dir;
    const qx::ProgramRun run = qx::RunProgram(qx::FromNativePath(dir.Native("none")), {}, {}, std::chrono::seconds(5));
    EXPECT_FALSE(run.started);
    EXPECT_FALSE(qx::FindProgramOnPath(L"qx-no-such-program"));
    EXPECT_FALSE(qx::FindProgramOnPath(L"bin/sh"));
}

}  // namespace
