// The desktop's print dialog: GtkPrintUnixDialog chooses the printer, the
// paper and the job's settings; the printer context then draws its pages on
// the surface of a GtkPrintJob, which GTK's print backends deliver (a queue
// of the print scheduler, a file).
#include <gtk/gtkunixprint.h>

#include <memory>
#include <string>

#include "qx/platform/gfx/internal/print_target.h"
#include "qx/platform/wnd/gtk/internal/gtk_host.h"

namespace qx::gtk {
namespace {

class GtkJobTarget final : public gfx::PrintTarget {
public:
    explicit GtkJobTarget(GtkPrintJob* job) : job_(job) {}
    ~GtkJobTarget() override { Abort(); }

    cairo_surface_t* Begin(const CString&, double, double) override {
        // The job's surface has the paper and orientation of its page setup,
        // which the context's settings were made from.
        GError* error = nullptr;
        cairo_surface_t* surface = job_ ? gtk_print_job_get_surface(job_, &error) : nullptr;
        if (!surface) message_ = Failure(error, L"The print job cannot begin.");
        return surface;
    }

    bool Deliver(int pages) override {
        if (pages == 0) {
            Abort();  // nothing to print; the job's spool file goes with it
            return true;
        }
        Sent sent;
        gtk_print_job_send(job_, OnSent, &sent, nullptr);
        while (!sent.done) g_main_context_iteration(nullptr, TRUE);
        Abort();
        message_ = sent.error.c_str();
        return sent.error.empty();
    }

    void Abort() override { g_clear_object(&job_); }
    CString ErrorMessage() const override { return message_; }

private:
    struct Sent {
        bool done = false;
        std::wstring error;
    };

    static std::wstring Failure(const GError* error, const wchar_t* fallback) {
        return error && error->message ? Wide(error->message) : std::wstring(fallback);
    }

    static void OnSent(GtkPrintJob*, gpointer data, const GError* error) {
        auto& sent = *static_cast<Sent*>(data);
        if (error) sent.error = Failure(error, L"The print job was not delivered.");
        sent.done = true;
    }

    GtkPrintJob* job_;
    CString message_;
};

// The context's settings from the dialog's choice. GTK gives the borders
// of the oriented page; the settings hold those of the portrait paper.
PrinterSettings SettingsOf(GtkPrinter* printer, GtkPrintSettings* settings, GtkPageSetup* setup) {
    PrinterSettings result;
    result.queue = Wide(gtk_printer_get_name(printer)).c_str();
    GtkPaperSize* paper = gtk_page_setup_get_paper_size(setup);
    result.paperName = Wide(gtk_paper_size_get_name(paper)).c_str();
    result.paperWidthMm = gtk_paper_size_get_width(paper, GTK_UNIT_MM);
    result.paperHeightMm = gtk_paper_size_get_height(paper, GTK_UNIT_MM);
    const GtkPageOrientation orientation = gtk_page_setup_get_orientation(setup);
    result.landscape = orientation == GTK_PAGE_ORIENTATION_LANDSCAPE ||
                       orientation == GTK_PAGE_ORIENTATION_REVERSE_LANDSCAPE;
    const double left = gtk_page_setup_get_left_margin(setup, GTK_UNIT_MM);
    const double top = gtk_page_setup_get_top_margin(setup, GTK_UNIT_MM);
    const double right = gtk_page_setup_get_right_margin(setup, GTK_UNIT_MM);
    const double bottom = gtk_page_setup_get_bottom_margin(setup, GTK_UNIT_MM);
    // Turned back a quarter clockwise: the landscape page's left border was
    // the portrait's top.
    result.marginLeftMm = result.landscape ? bottom : left;
    result.marginTopMm = result.landscape ? left : top;
    result.marginRightMm = result.landscape ? top : right;
    result.marginBottomMm = result.landscape ? right : bottom;
    const int dpi = gtk_print_settings_get_resolution(settings);
    if (dpi > 0) result.dpi = dpi;
    result.monochrome = !gtk_print_settings_get_use_color(settings);
    result.copies = gtk_print_settings_get_n_copies(settings);
    result.duplex = gtk_print_settings_get_duplex(settings) != GTK_PRINT_DUPLEX_SIMPLEX;
    return result;
}

}  // namespace

PrintDialogResult GtkHost::RunPrintDialog(HWND owner, const CString& documentName) {
    GtkWindow* parent = nullptr;
    if (View* view = owner ? Find(owner) : nullptr) {
        if (View* top = Find(view->top ? view->top : owner)) parent = GTK_WINDOW(top->outer);
    }
    GtkWidget* dialog = gtk_print_unix_dialog_new(nullptr, parent);
    auto* unixDialog = GTK_PRINT_UNIX_DIALOG(dialog);
    // The job's surface is a PDF where the printer takes one: print to a
    // PDF file is offered, copies and the rest are the print system's.
    gtk_print_unix_dialog_set_manual_capabilities(unixDialog, GTK_PRINT_CAPABILITY_GENERATE_PDF);
    const gint response = gtk_dialog_run(GTK_DIALOG(dialog));
    PrintDialogResult result;
    GtkPrinter* printer = gtk_print_unix_dialog_get_selected_printer(unixDialog);
    if (response == GTK_RESPONSE_OK && printer) {
        GtkPrintSettings* settings = gtk_print_unix_dialog_get_settings(unixDialog);
        GtkPageSetup* setup = gtk_print_unix_dialog_get_page_setup(unixDialog);
        const std::string title = Utf8(documentName.str());
        GtkPrintJob* job = gtk_print_job_new(title.c_str(), printer, settings, setup);
        result.printer =
            std::make_unique<CPrinterDC>(SettingsOf(printer, settings, setup), std::make_unique<GtkJobTarget>(job));
        g_object_unref(settings);
    }
    gtk_widget_destroy(dialog);
    return result;
}

}  // namespace qx::gtk
