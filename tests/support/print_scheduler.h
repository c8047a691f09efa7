// A private print scheduler for the printer tests: the system's cupsd, run
// from a temporary folder with its own configuration, socket, spool and
// queues, so that no system folder or queue is touched. CUPS_SERVER points
// at its socket while the object lives.
//
// The queues, each with a backend that writes every job into the folder:
//   QxColour  the default; A4 (borders 12 pt) and Letter, 600 dpi, colour,
//             two-sided
//   QxMono    A4 only (borders 18 pt left and right, 24 pt top and bottom),
//             300 dpi, monochrome, one side
//   QxClosed  like QxColour, but it accepts no jobs
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/child_process.h"
#include "tests/support/fixtures.h"
#include "tests/support/test_support.h"

namespace qx::test {

// A job as the backend received it.
struct ArrivedJob {
    std::string queue;
    std::string title;
    std::string copies;
    std::string options;  // the job's options as the backend got them ("sides=... media=...")
    std::string document;  // the bytes printed
};

class PrintScheduler {
public:
    // Why no scheduler can be run here (cupsd is not installed); nullopt
    // when it can.
    static std::optional<std::string> Unavailable();

    // Starts the scheduler and waits until it answers; Why() tells what
    // went wrong when it does not (its error log included).
    PrintScheduler();
    ~PrintScheduler();
    PrintScheduler(const PrintScheduler&) = delete;
    PrintScheduler& operator=(const PrintScheduler&) = delete;

    bool Running() const { return running_; }
    const std::string& Why() const { return why_; }
    std::string Socket() const { return dir_.Native("cups.sock"); }
    // Ends the scheduler; CUPS_SERVER still names its socket.
    void Stop();
    // The jobs that arrived, oldest first, once there are *count* of them;
    // fewer when the time is up first.
    std::vector<ArrivedJob> WaitForJobs(size_t count, std::chrono::milliseconds limit) const;
    // Removes the jobs that arrived so far.
    void ForgetJobs() const;

private:
    std::vector<ArrivedJob> Jobs() const;

    TempDir dir_;
    ScopedEnv server_;
    ScopedEnv printer_;  // PRINTER and LPDEST would choose another default queue
    ScopedEnv lpdest_;
    std::unique_ptr<ChildProcess> cupsd_;
    bool running_ = false;
    std::string why_;
};

// A fixture whose suite shares one scheduler, started before its first test
// and stopped after its last. SetUp skips where cupsd is missing and drops
// the jobs of earlier tests.
class PrintSchedulerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    static PrintScheduler& Scheduler() { return *scheduler_; }

private:
    static PrintScheduler* scheduler_;
};

}  // namespace qx::test
