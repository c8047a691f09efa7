// A print job as a PDF file. Device pixels are dots of the job's resolution
// and (0, 0) is the top-left of the printable area, as on a printer; the PDF
// page is the whole paper. A PDF is a vector device, so TECHNOLOGY reports
// DT_PLOTTER: the print engine then treats a monochrome job as black-on-white
// drawing, not as a raster printer that dithers colours itself.
#include <cairo-pdf.h>
#include <cairo.h>

#include <cmath>
#include <string>
#include <string_view>

#include "qx/platform/base/utf.h"
#include "qx/platform/gfx/internal/dc_impl.h"
#include "qx/platform/gfx/targets.h"
#include "qx/platform/os/file_stream.h"

namespace {

constexpr int kPrintError = -1;  // SP_ERROR
constexpr double kPointsPerInch = 72.0;
constexpr double kMmPerInch = 25.4;

enum class JobState { NotStarted, Printing, Ended };

struct PrinterImpl : qx::gfx::DcImpl {
    // The surface writes into the output as it goes: it is finished first.
    ~PrinterImpl() override { SetTarget(nullptr, nullptr); }

    PrinterSettings settings;
    double paperWidthMm = 0;
    double paperHeightMm = 0;
    JobState job = JobState::NotStarted;
    bool pageOpen = false;
    int pagesPrinted = 0;
    // The PDF is written beside its place and takes it at EndDoc.
    std::unique_ptr<qx::FileReplacer> output;
};

cairo_status_t WriteToOutput(void* output, const unsigned char* data, unsigned int length) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), length);
    return static_cast<qx::FileReplacer*>(output)->Write(bytes) ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
}

int ToDots(double mm, int dpi) { return static_cast<int>(std::lround(mm / kMmPerInch * dpi)); }

std::unique_ptr<qx::gfx::DcImpl> MakePrinterImpl(const PrinterSettings& settings) {
    auto impl = std::make_unique<PrinterImpl>();
    impl->settings = settings;
    const int dpi = settings.dpi > 0 ? settings.dpi : 600;
    impl->settings.dpi = dpi;
    impl->paperWidthMm = settings.landscape ? settings.paperHeightMm : settings.paperWidthMm;
    impl->paperHeightMm = settings.landscape ? settings.paperWidthMm : settings.paperHeightMm;
    qx::gfx::DeviceCaps& caps = impl->caps;
    caps.technology = DT_PLOTTER;
    caps.logPixelsX = caps.logPixelsY = dpi;
    caps.physicalWidth = ToDots(impl->paperWidthMm, dpi);
    caps.physicalHeight = ToDots(impl->paperHeightMm, dpi);
    caps.physicalOffsetX = caps.physicalOffsetY = ToDots(std::max(0.0, settings.marginMm), dpi);
    caps.horzRes = std::max(0, caps.physicalWidth - 2 * caps.physicalOffsetX);
    caps.vertRes = std::max(0, caps.physicalHeight - 2 * caps.physicalOffsetY);
    caps.numColors = settings.monochrome ? 2 : -1;
    caps.printing = true;
    return impl;
}

}  // namespace

CPrinterDC::CPrinterDC(const PrinterSettings& settings) : CDC(MakePrinterImpl(settings)) {}

CPrinterDC::~CPrinterDC() {
    if (static_cast<PrinterImpl&>(*impl_).job == JobState::Printing) AbortDoc();
}

int CPrinterDC::StartDoc(const CString& documentName) {
    auto& impl = static_cast<PrinterImpl&>(*impl_);
    if (impl.job != JobState::NotStarted) return kPrintError;
    impl.output = qx::FileReplacer::Create(impl.settings.outputPath.str());
    if (!impl.output) return kPrintError;
    const double pointsPerDot = kPointsPerInch / impl.settings.dpi;
    cairo_surface_t* surface =
        cairo_pdf_surface_create_for_stream(WriteToOutput, impl.output.get(), impl.paperWidthMm / kMmPerInch * kPointsPerInch,
                                            impl.paperHeightMm / kMmPerInch * kPointsPerInch);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        impl.output.reset();
        return kPrintError;
    }
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_TITLE, qx::WideToUtf8(documentName.str()).c_str());
    cairo_t* cr = cairo_create(surface);
    cairo_translate(cr, impl.caps.physicalOffsetX * pointsPerDot, impl.caps.physicalOffsetY * pointsPerDot);
    cairo_scale(cr, pointsPerDot, pointsPerDot);
    impl.SetTarget(surface, cr);
    impl.job = JobState::Printing;
    return 1;
}

int CPrinterDC::StartPage() {
    auto& impl = static_cast<PrinterImpl&>(*impl_);
    if (impl.job != JobState::Printing || impl.pageOpen) return kPrintError;
    impl.pageOpen = true;
    return 1;
}

int CPrinterDC::EndPage() {
    auto& impl = static_cast<PrinterImpl&>(*impl_);
    if (impl.job != JobState::Printing || !impl.pageOpen) return kPrintError;
    cairo_show_page(impl.cr);
    impl.pageOpen = false;
    ++impl.pagesPrinted;
    return 1;
}

int CPrinterDC::EndDoc() {
    auto& impl = static_cast<PrinterImpl&>(*impl_);
    if (impl.job != JobState::Printing) return kPrintError;
    if (impl.pageOpen) EndPage();
    cairo_surface_t* surface = cairo_surface_reference(impl.surface);
    impl.SetTarget(nullptr, nullptr);
    cairo_surface_finish(surface);
    const bool written = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    impl.job = JobState::Ended;
    impl.hasAttributeContext = false;
    // A job without pages prints nothing: a PDF would need a blank page
    // that nobody printed, so no file is written.
    const std::unique_ptr<qx::FileReplacer> output = std::move(impl.output);
    if (written && impl.pagesPrinted == 0) return 1;
    return written && output->Commit() ? 1 : kPrintError;
}

int CPrinterDC::AbortDoc() {
    auto& impl = static_cast<PrinterImpl&>(*impl_);
    if (impl.job != JobState::Printing) return kPrintError;
    impl.SetTarget(nullptr, nullptr);
    impl.output.reset();
    impl.job = JobState::Ended;
    impl.hasAttributeContext = false;
    impl.pageOpen = false;
    return 1;
}

int CPrinterDC::PagesPrinted() const { return static_cast<const PrinterImpl&>(*impl_).pagesPrinted; }
