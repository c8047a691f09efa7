// qxtool print --printer and qxtool printers on the queues of a private
// print scheduler.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/print_scheduler.h"
#include "tests/support/test_support.h"
#include "tests/tools/run_tool.h"

namespace {

using qx::test::PdfPageCount;
using qx::test::PrintScheduler;
using qx::test::RunTool;
using std::chrono::seconds;

const std::string kReport = std::string(QX_EXAMPLES_DIR) + "/report/";

class PrinterCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const auto why = PrintScheduler::Unavailable()) GTEST_SKIP() << *why;
        scheduler_.emplace();
        ASSERT_TRUE(scheduler_->Running()) << scheduler_->Why();
    }
    std::optional<PrintScheduler> scheduler_;
};

TEST_F(PrinterCommandsTest, PrintsTheExampleReportOnAQueue) {
    struct Case {
        const char* name;
        std::vector<std::string> printer;
        const char* queue;
        const char* copies;
    };
    const Case cases[] = {
        {"named queue, two copies", {"--printer", "QxMono", "--copies", "2"}, "QxMono", "2"},
        {"the default queue", {"--printer"}, "QxColour", "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        scheduler_->ForgetJobs();
        std::vector<std::string> args = {"print", kReport + "parts_list.msk", kReport + "parts_list_data.txt"};
        args.insert(args.end(), c.printer.begin(), c.printer.end());
        const auto r = RunTool(args, 60);
        ASSERT_EQ(r.exitCode, 0) << r.out;
        EXPECT_EQ(r.out, "6 pages\n");
        const auto jobs = scheduler_->WaitForJobs(1, seconds(20));
        ASSERT_EQ(jobs.size(), 1u);
        EXPECT_EQ(jobs[0].queue, c.queue);
        EXPECT_EQ(jobs[0].copies, c.copies);
        EXPECT_EQ(PdfPageCount(jobs[0].document), 6);
    }
}

TEST_F(PrinterCommandsTest, ListsTheQueuesWithTheirCapabilities) {
    const auto all = RunTool({"printers"});
    ASSERT_EQ(all.exitCode, 0) << all.out;
    EXPECT_NE(all.out.find("QxColour (default): QxColour queue of the printer tests\n"), std::string::npos) << all.out;
    EXPECT_NE(all.out.find("QxClosed"), std::string::npos) << all.out;
    const auto mono = RunTool({"printers", "QxMono"});
    ASSERT_EQ(mono.exitCode, 0) << mono.out;
    // The driver's A4 is 595 x 842 points with borders of 18 and 24 points.
    EXPECT_EQ(mono.out,
              "QxMono: QxMono queue of the printer tests\n"
              "  paper      iso_a4_210x297mm 209.9 x 297.0 mm, printable 197.2 x 280.1 mm from 6.3, 8.5 mm\n"
              "  resolution 300 x 300 dpi\n"
              "  colour     no (monochrome)\n"
              "  two-sided  no\n"
              "  state      idle, accepting jobs\n");
}

TEST_F(PrinterCommandsTest, FailuresCarryTheSchedulersMessage) {
    const auto unknown = RunTool({"printers", "NoSuchQueue"});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_NE(unknown.out.find("NoSuchQueue"), std::string::npos) << unknown.out;
    const auto refused =
        RunTool({"print", kReport + "parts_list.msk", kReport + "parts_list_data.txt", "--printer", "QxClosed"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.out.find("not accepting jobs"), std::string::npos) << refused.out;
    scheduler_->Stop();
    const auto stopped = RunTool({"printers"});
    EXPECT_EQ(stopped.exitCode, 1);
    EXPECT_NE(stopped.out.find("cannot be reached"), std::string::npos) << stopped.out;
}

}  // namespace
