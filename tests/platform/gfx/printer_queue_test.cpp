// Print jobs on printer queues of a private scheduler: the queues'
// capabilities as the os layer reads them and as a printer context reports
// them, jobs arriving at the queue's backend, and the failures with the
// scheduler's messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <string>
#include <vector>

#include "qx/platform/gfx/targets.h"
#include "qx/platform/os/print_queues.h"
#include "tests/support/print_scheduler.h"

namespace {

using qx::test::PrintScheduler;
using std::chrono::seconds;

constexpr double kMmPerPoint = 25.4 / 72;

class PrinterQueueTest : public qx::test::PrintSchedulerTest {
protected:
    // Prints *pages* pages with a line of text each on *dc*.
    static void PrintPages(CPrinterDC& dc, int pages) {
        ASSERT_GT(dc.StartDoc(L"queue test"), 0) << dc.ErrorMessage().str();
        for (int page = 1; page <= pages; ++page) {
            ASSERT_GT(dc.StartPage(), 0);
            dc.TextOut(100, 100, CString(L"page ") + std::to_wstring(page).c_str());
            ASSERT_GT(dc.EndPage(), 0);
        }
        ASSERT_GT(dc.EndDoc(), 0) << dc.ErrorMessage().str();
    }

    static PrinterSettings SettingsFor(const wchar_t* queue) {
        PrinterSettings settings;
        CString error;
        EXPECT_TRUE(qx::PrinterSettingsForQueue(queue, &settings, &error)) << error.str();
        return settings;
    }
};

TEST_F(PrinterQueueTest, QueuesAreListedWithTheirCapabilities) {
    std::vector<qx::PrintQueue> queues;
    std::wstring error;
    ASSERT_TRUE(qx::ListPrintQueues(&queues, &error)) << error;
    struct Expected {
        const wchar_t* name;
        bool isDefault, accepting, color, duplex;
        int dpi;
        size_t papers;
        double left, top;  // mm
    };
    const Expected expected[] = {
        {L"QxClosed", false, false, true, true, 600, 2, 12 * kMmPerPoint, 12 * kMmPerPoint},
        {L"QxColour", true, true, true, true, 600, 2, 12 * kMmPerPoint, 12 * kMmPerPoint},
        {L"QxMono", false, true, false, false, 300, 1, 18 * kMmPerPoint, 24 * kMmPerPoint},
    };
    ASSERT_EQ(queues.size(), std::size(expected));
    for (const Expected& e : expected) {
        SCOPED_TRACE(std::string(e.name, e.name + wcslen(e.name)));
        const auto queue = std::find_if(queues.begin(), queues.end(), [&](const auto& q) { return q.name == e.name; });
        ASSERT_NE(queue, queues.end());
        EXPECT_EQ(queue->isDefault, e.isDefault);
        EXPECT_EQ(queue->accepting, e.accepting);
        EXPECT_EQ(queue->color, e.color);
        EXPECT_EQ(queue->duplex, e.duplex);
        EXPECT_EQ(queue->dpiX, e.dpi);
        EXPECT_EQ(queue->dpiY, e.dpi);
        EXPECT_EQ(queue->state, L"idle");
        ASSERT_EQ(queue->media.size(), e.papers);
        const qx::PrintMedia& a4 = queue->media.front();  // the default comes first
        EXPECT_EQ(a4.name, L"iso_a4_210x297mm");
        EXPECT_NEAR(a4.widthMm, 210, 0.1);
        EXPECT_NEAR(a4.lengthMm, 297, 0.1);
        EXPECT_NEAR(a4.leftMm, e.left, 0.05);
        EXPECT_NEAR(a4.rightMm, e.left, 0.05);
        EXPECT_NEAR(a4.topMm, e.top, 0.05);
        EXPECT_NEAR(a4.bottomMm, e.top, 0.05);
    }
}

TEST_F(PrinterQueueTest, PrinterContextReportsWhatTheQueuePrints) {
    struct Case {
        const wchar_t* queue;  // empty: the default queue
        const wchar_t* paper;  // asked for by name
        bool landscape;
        int dpi, numColors;
        double widthPt, heightPt, leftPt, topPt, rightPt, bottomPt;  // as the queue's driver gives them
    };
    const Case cases[] = {
        {L"", L"", false, 600, -1, 595, 842, 12, 12, 12, 12},
        {L"QxColour", L"na_letter_8.5x11in", false, 600, -1, 612, 792, 12, 12, 12, 12},
        {L"QxMono", L"", false, 300, 2, 595, 842, 18, 24, 18, 24},
        // Turned a quarter anticlockwise: the portrait's top border is left.
        {L"QxMono", L"", true, 300, 2, 842, 595, 24, 18, 24, 18},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.queue, c.queue + wcslen(c.queue)) + (c.landscape ? " landscape" : ""));
        PrinterSettings settings;
        settings.paperName = c.paper;
        settings.landscape = c.landscape;
        CString error;
        ASSERT_TRUE(qx::PrinterSettingsForQueue(c.queue, &settings, &error)) << error.str();
        EXPECT_EQ(settings.queue.str(), *c.queue ? c.queue : L"QxColour");
        CPrinterDC dc(settings);
        auto dots = [&](double points) { return static_cast<int>(std::lround(points / 72 * c.dpi)); };
        EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSX), c.dpi);
        EXPECT_EQ(dc.GetDeviceCaps(NUMCOLORS), c.numColors);
        EXPECT_EQ(dc.GetDeviceCaps(TECHNOLOGY), DT_PLOTTER);
        EXPECT_NEAR(dc.GetDeviceCaps(PHYSICALWIDTH), dots(c.widthPt), 1);
        EXPECT_NEAR(dc.GetDeviceCaps(PHYSICALHEIGHT), dots(c.heightPt), 1);
        EXPECT_NEAR(dc.GetDeviceCaps(PHYSICALOFFSETX), dots(c.leftPt), 1);
        EXPECT_NEAR(dc.GetDeviceCaps(PHYSICALOFFSETY), dots(c.topPt), 1);
        EXPECT_NEAR(dc.GetDeviceCaps(HORZRES), dots(c.widthPt) - dots(c.leftPt) - dots(c.rightPt), 2);
        EXPECT_NEAR(dc.GetDeviceCaps(VERTRES), dots(c.heightPt) - dots(c.topPt) - dots(c.bottomPt), 2);
    }
}

TEST_F(PrinterQueueTest, JobsArriveAsPdfWithTheirPagesAndOptions) {
    PrinterSettings mono = SettingsFor(L"QxMono");
    CPrinterDC monoDc(mono);
    PrintPages(monoDc, 3);
    PrinterSettings colour = SettingsFor(L"QxColour");
    colour.copies = 2;
    colour.duplex = true;
    CPrinterDC colourDc(colour);
    PrintPages(colourDc, 1);

    const auto jobs = Scheduler().WaitForJobs(2, seconds(20));
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_EQ(jobs[0].queue, "QxMono");
    EXPECT_EQ(jobs[0].title, "queue test");
    EXPECT_EQ(jobs[0].document.rfind("%PDF-", 0), 0u);
    EXPECT_EQ(qx::test::PdfPageCount(jobs[0].document), 3);
    EXPECT_EQ(jobs[0].copies, "1");
    EXPECT_NE(jobs[0].options.find("sides=one-sided"), std::string::npos) << jobs[0].options;
    EXPECT_EQ(jobs[1].queue, "QxColour");
    EXPECT_EQ(qx::test::PdfPageCount(jobs[1].document), 1);
    EXPECT_EQ(jobs[1].copies, "2");
    EXPECT_NE(jobs[1].options.find("sides=two-sided-long-edge"), std::string::npos) << jobs[1].options;
    EXPECT_NE(jobs[1].options.find("media=iso_a4_210x297mm"), std::string::npos) << jobs[1].options;
}

TEST_F(PrinterQueueTest, DuplexIsAskedOnlyOfAQueueThatHasIt) {
    PrinterSettings settings;
    settings.duplex = true;
    CString error;
    ASSERT_TRUE(qx::PrinterSettingsForQueue(L"QxMono", &settings, &error)) << error.str();
    EXPECT_FALSE(settings.duplex);
}

TEST_F(PrinterQueueTest, AbortedAndEmptyJobsPrintNothing) {
    const PrinterSettings settings = SettingsFor(L"QxColour");
    {
        CPrinterDC dc(settings);
        ASSERT_GT(dc.StartDoc(L"aborted"), 0) << dc.ErrorMessage().str();
        dc.StartPage();
        dc.TextOut(10, 10, L"never printed");
        dc.EndPage();
        EXPECT_GT(dc.AbortDoc(), 0);
    }
    {
        CPrinterDC dc(settings);
        ASSERT_GT(dc.StartDoc(L"empty"), 0) << dc.ErrorMessage().str();
        EXPECT_GT(dc.EndDoc(), 0);
    }
    {
        CPrinterDC dc(settings);  // dropped while printing
        ASSERT_GT(dc.StartDoc(L"dropped"), 0) << dc.ErrorMessage().str();
        dc.StartPage();
    }
    CPrinterDC last(settings);
    PrintPages(last, 1);
    // Only the last job arrives; the others were cancelled.
    const auto jobs = Scheduler().WaitForJobs(2, seconds(3));
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].title, "queue test");
}

TEST_F(PrinterQueueTest, FailuresGiveTheSchedulersMessages) {
    PrinterSettings settings;
    CString error;
    EXPECT_FALSE(qx::PrinterSettingsForQueue(L"NoSuchQueue", &settings, &error));
    EXPECT_NE(error.Find(L"NoSuchQueue"), -1) << error.str();
    EXPECT_NE(error.Find(L"does not exist"), -1) << error.str();

    // A queue that takes no jobs refuses at StartDoc.
    CPrinterDC closed(SettingsFor(L"QxClosed"));
    EXPECT_LE(closed.StartDoc(L"refused"), 0);
    EXPECT_NE(closed.ErrorMessage().Find(L"not accepting jobs"), -1) << closed.ErrorMessage().str();

    // A queue removed after the settings were made.
    PrinterSettings gone = SettingsFor(L"QxColour");
    gone.queue = L"QxGone";
    CPrinterDC dc(gone);
    EXPECT_LE(dc.StartDoc(L"gone"), 0);
    EXPECT_NE(dc.ErrorMessage().Find(L"QxGone"), -1) << dc.ErrorMessage().str();
}

TEST(PrinterQueueSchedulerTest, AStoppedSchedulerIsNamedInTheMessage) {
    if (const auto why = PrintScheduler::Unavailable()) GTEST_SKIP() << *why;
    PrintScheduler scheduler;
    ASSERT_TRUE(scheduler.Running()) << scheduler.Why();
    const PrinterSettings settings = [] {
        PrinterSettings s;
        CString error;
        EXPECT_TRUE(qx::PrinterSettingsForQueue(L"QxColour", &s, &error)) << error.str();
        return s;
    }();
    scheduler.Stop();

    std::vector<qx::PrintQueue> queues;
    std::wstring error;
    EXPECT_FALSE(qx::ListPrintQueues(&queues, &error));
    const std::string path = scheduler.Socket();
    const std::wstring socket(path.begin(), path.end());
    EXPECT_NE(error.find(L"cannot be reached"), std::wstring::npos) << error;
    EXPECT_NE(error.find(socket), std::wstring::npos) << error;

    CPrinterDC dc(settings);
    EXPECT_LE(dc.StartDoc(L"nobody listens"), 0);
    EXPECT_NE(dc.ErrorMessage().Find(L"cannot be reached"), -1) << dc.ErrorMessage().str();
}

}  // namespace
