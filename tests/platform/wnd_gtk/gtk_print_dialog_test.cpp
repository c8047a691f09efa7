// The desktop's print dialog under the GTK host, on the queues of a private
// print scheduler: the dialog is answered as a user would (once it shows the
// default printer), and the printer context it gives draws a job that
// arrives at the queue.
#include <gtk/gtk.h>
#include <gtk/gtkunixprint.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>

#include "qx/platform/base/utf.h"
#include "qx/platform/wnd/print_dialog.h"
#include "qx/platform/wnd/ui_host.h"
#include "tests/support/print_scheduler.h"
#include "tests/support/test_support.h"

namespace {

constexpr guint kPollMs = 50;
constexpr int kGiveUpPolls = 400;  // twenty seconds

// GTK's print backend connects to the scheduler it finds first: the suite
// shares one.
class GtkPrintDialogTest : public qx::test::PrintSchedulerTest {
protected:
    void SetUp() override {
        if (const char* reason = std::getenv("QX_TEST_GTK_SKIP"); reason && *reason) GTEST_SKIP() << reason;
        const char* display = std::getenv("DISPLAY");
        if (!display || !*display) GTEST_SKIP() << "no X display: CTest runs this suite under xvfb-run";
        PrintSchedulerTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        std::string why;
        std::unique_ptr<qx::UiHost> host = qx::MakeUiHost("gtk", &why);
        ASSERT_TRUE(host) << why;
        previous_ = qx::SetUiHost(std::move(host));
        installed_ = true;
    }
    void TearDown() override {
        if (installed_) qx::SetUiHost(std::move(previous_));
    }

    // Answers the print dialog with *response* once it has chosen the
    // default printer (GTK finds the printers while the dialog shows).
    static void AnswerWhenReady(gint response) {
        static gint answer;
        static int polls;
        answer = response;
        polls = 0;
        g_timeout_add(kPollMs, [](gpointer) -> gboolean {
            GList* windows = gtk_window_list_toplevels();
            GtkPrintUnixDialog* dialog = nullptr;
            for (GList* w = windows; w; w = w->next) {
                if (GTK_IS_PRINT_UNIX_DIALOG(w->data) && gtk_widget_get_visible(GTK_WIDGET(w->data)))
                    dialog = GTK_PRINT_UNIX_DIALOG(w->data);
            }
            g_list_free(windows);
            if (!dialog) return ++polls < kGiveUpPolls;
            GtkPrinter* printer = gtk_print_unix_dialog_get_selected_printer(dialog);
            const bool ready = printer && std::string(gtk_printer_get_name(printer)) == "QxColour";
            if (!ready && ++polls < kGiveUpPolls) return G_SOURCE_CONTINUE;
            gtk_dialog_response(GTK_DIALOG(dialog), ready ? answer : GTK_RESPONSE_CANCEL);
            return G_SOURCE_REMOVE;
        }, nullptr);
    }

    std::unique_ptr<qx::UiHost> previous_;
    bool installed_ = false;
};

TEST_F(GtkPrintDialogTest, TheChosenPrinterGetsTheJobDrawnOnGtksSurface) {
    AnswerWhenReady(GTK_RESPONSE_OK);
    qx::PrintDialogResult chosen = qx::ShowPrintDialog(nullptr, L"dialog job");
    ASSERT_TRUE(chosen.printer) << "the dialog did not show the default printer QxColour in time; "
                                << qx::WideToUtf8(chosen.error.str());
    CPrinterDC& dc = *chosen.printer;
    // The paper and printable area of the queue's default paper, A4 with
    // borders of 12 points, as GTK's page setup gives them.
    const int dpi = dc.GetDeviceCaps(LOGPIXELSX);
    ASSERT_GT(dpi, 0);
    auto dots = [&](double points) { return static_cast<int>(std::lround(points / 72 * dpi)); };
    EXPECT_NEAR(dc.GetDeviceCaps(PHYSICALWIDTH), dots(595), 2);
    EXPECT_NEAR(dc.GetDeviceCaps(PHYSICALHEIGHT), dots(842), 2);
    EXPECT_NEAR(dc.GetDeviceCaps(PHYSICALOFFSETX), dots(12), 2);
    EXPECT_NEAR(dc.GetDeviceCaps(PHYSICALOFFSETY), dots(12), 2);
    EXPECT_NEAR(dc.GetDeviceCaps(HORZRES), dots(595 - 24), 3);

    ASSERT_GT(dc.StartDoc(L"dialog job"), 0) << qx::WideToUtf8(dc.ErrorMessage().str());
    for (int page = 0; page < 2; ++page) {
        dc.StartPage();
        dc.TextOut(dots(72), dots(72), L"printed through the desktop's dialog");
        dc.EndPage();
    }
    ASSERT_GT(dc.EndDoc(), 0) << qx::WideToUtf8(dc.ErrorMessage().str());

    const auto jobs = Scheduler().WaitForJobs(1, std::chrono::seconds(20));
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].queue, "QxColour");
    EXPECT_EQ(jobs[0].title, "dialog job");
    EXPECT_EQ(jobs[0].document.rfind("%PDF-", 0), 0u) << jobs[0].document.substr(0, 40);
    EXPECT_EQ(qx::test::PdfPageCount(jobs[0].document), 2);
}

TEST_F(GtkPrintDialogTest, CancellingGivesNoPrinterAndNoError) {
    AnswerWhenReady(GTK_RESPONSE_CANCEL);
    const qx::PrintDialogResult chosen = qx::ShowPrintDialog(nullptr, L"cancelled");
    EXPECT_FALSE(chosen.printer);
    EXPECT_TRUE(chosen.error.IsEmpty()) << qx::WideToUtf8(chosen.error.str());
}

}  // namespace
