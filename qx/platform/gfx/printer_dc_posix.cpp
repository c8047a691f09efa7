// A print job as a PDF file. Device pixels are dots of the job's resolution
// and (0, 0) is the top-left of the printable area, as on a printer; the PDF
// page is the whole paper. A PDF is a vector device, so TECHNOLOGY reports
// DT_PLOTTER: the print engine then treats a monochrome job as black-on-white
// drawing, not as a raster printer that dithers colours itself.
#include <cairo-pdf.h>
#include <cairo.h>
#include <unistd.h>

#include <cmath>
#include <string>

#include "qx/platform/base/utf.h"
#include "qx/platform/gfx/internal/dc_impl.h"
#include "qx/platform/gfx/targets.h"
#include "qx/platform/os/file_system.h"
#include "qx/platform/os/native_path.h"

namespace {

constexpr int kPrintError = -1;  // SP_ERROR
constexpr double kPointsPerInch = 72.0;
constexpr double kMmPerInch = 25.4;

enum class JobState { NotStarted, Printing, Ended };

struct PrinterImpl : qx::gfx::DcImpl {
    PrinterSettings settings;
    double paperWidthMm = 0;
    double paperHeightMm = 0;
    JobState job = JobState::NotStarted;
    bool pageOpen = false;
    int pagesPrinted = 0;
    std::wstring temporaryPath;
};

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
    impl.temporaryPath = impl.settings.outputPath.str() + L".qx-" + std::to_wstring(getpid()) + L".tmp";
    std::optional<std::string> native = qx::ToNativePath(impl.temporaryPath, false);
    if (!native) return kPrintError;
    const double pointsPerDot = kPointsPerInch / impl.settings.dpi;
    cairo_surface_t* surface = cairo_pdf_surface_create(native->c_str(), impl.paperWidthMm / kMmPerInch * kPointsPerInch,
                                                        impl.paperHeightMm / kMmPerInch * kPointsPerInch);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
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
    if (written && impl.pagesPrinted == 0) {
        qx::RemoveFile(impl.temporaryPath);
        return 1;
    }
    if (!written || !qx::RenameFile(impl.temporaryPath, impl.settings.outputPath.str(), true)) {
        qx::RemoveFile(impl.temporaryPath);
        return kPrintError;
    }
    return 1;
}

int CPrinterDC::AbortDoc() {
    auto& impl = static_cast<PrinterImpl&>(*impl_);
    if (impl.job != JobState::Printing) return kPrintError;
    impl.SetTarget(nullptr, nullptr);
    qx::RemoveFile(impl.temporaryPath);
    impl.job = JobState::Ended;
    impl.hasAttributeContext = false;
    impl.pageOpen = false;
    return 1;
}

int CPrinterDC::PagesPrinted() const { return static_cast<const PrinterImpl&>(*impl_).pagesPrinted; }
