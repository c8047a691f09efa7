// The print dialog of hosts without a desktop: answered as its default
// button would, with a job on the default queue of a private scheduler.
#include <gtest/gtest.h>

#include <memory>

#include "qx/platform/wnd/print_dialog.h"
#include "qx/platform/wnd/ui_host.h"
#include "tests/support/print_scheduler.h"

namespace {

using qx::test::PrintScheduler;

TEST(PrintDialogTest, HostsWithoutADesktopDialogChooseTheDefaultQueue) {
    if (const auto why = PrintScheduler::Unavailable()) GTEST_SKIP() << *why;
    std::optional<PrintScheduler> scheduler;
    scheduler.emplace();
    ASSERT_TRUE(scheduler->Running()) << scheduler->Why();
    for (const char* hostName : {"batch", "script"}) {
        SCOPED_TRACE(hostName);
        std::unique_ptr<qx::UiHost> previous = qx::SetUiHost(qx::MakeUiHost(hostName));
        qx::PrintDialogResult chosen = qx::ShowPrintDialog(nullptr, L"report");
        qx::SetUiHost(std::move(previous));
        ASSERT_TRUE(chosen.printer) << chosen.error.str();
        EXPECT_TRUE(chosen.error.IsEmpty());
        // QxColour: 600 dpi, colour, A4 of 595 points.
        EXPECT_EQ(chosen.printer->GetDeviceCaps(LOGPIXELSX), 600);
        EXPECT_EQ(chosen.printer->GetDeviceCaps(NUMCOLORS), -1);
        EXPECT_NEAR(chosen.printer->GetDeviceCaps(PHYSICALWIDTH), 595 * 600 / 72, 1);
    }
    // Without a scheduler there is no printer, and the message says why.
    scheduler->Stop();
    const qx::PrintDialogResult none = qx::ShowPrintDialog(nullptr, L"report");
    EXPECT_FALSE(none.printer);
    EXPECT_NE(none.error.Find(L"cannot be reached"), -1) << none.error.str();
}

}  // namespace
