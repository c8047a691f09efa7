// A print job as a PDF: written into a file, streamed to a printer queue or
// drawn on the surface of a UI host's print dialog. Device pixels are dots of the job's resolution
// and (0, 0) is the top-left of the printable area, as on a printer; the PDF
// page is the whole paper. A PDF is a vector device, so TECHNOLOGY reports
// DT_PLOTTER: the print engine then treats a monochrome job as black-on-white
// drawing, not as a raster printer that dithers colours itself.
#include <cairo-pdf.h>
#include <cairo.h>

#include <cmath>
#include <utility>
#include <string>
#include <string_view>

#include "qx/platform/base/utf.h"
#include "qx/platform/gfx/internal/dc_impl.h"
#include "qx/platform/gfx/internal/print_target.h"
#include "qx/platform/gfx/targets.h"
#include "qx/platform/os/file_stream.h"
#include "qx/platform/os/print_queues.h"

namespace qx::gfx {
PrintTarget::~PrintTarget() = default;
}

namespace {

constexpr int kPrintError = -1;  // SP_ERROR
constexpr double kPointsPerInch = 72.0;
constexpr double kMmPerInch = 25.4;

// A PDF written by Cairo as a stream: into a file that takes its place at
// the end, or straight into a queue's job.
class PdfStreamTarget : public qx::gfx::PrintTarget {
public:
    ~PdfStreamTarget() override { DestroySurface(); }

    cairo_surface_t* Begin(const CString& title, double widthPoints, double heightPoints) override {
        if (!Open(title)) return nullptr;
        surface_ = cairo_pdf_surface_create_for_stream(WriteToStream, this, widthPoints, heightPoints);
        if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) {
            message_ = L"The PDF of the print job cannot be made.";
            Abort();
            return nullptr;
        }
        cairo_pdf_surface_set_metadata(surface_, CAIRO_PDF_METADATA_TITLE, qx::WideToUtf8(title.str()).c_str());
        return surface_;
    }

    bool Deliver(int pages) override {
        cairo_surface_finish(surface_);
        const bool written = cairo_surface_status(surface_) == CAIRO_STATUS_SUCCESS && !writeFailed_;
        DestroySurface();
        // A job without pages prints nothing: a PDF would need a blank page
        // that nobody printed.
        if (!written || pages == 0) {
            if (!written && message_.IsEmpty()) message_ = L"The PDF of the print job cannot be written.";
            Drop();
            return written;
        }
        return Commit();
    }

    void Abort() override {
        DestroySurface();
        Drop();
    }

    CString ErrorMessage() const override { return message_; }

protected:
    virtual bool Open(const CString& title) = 0;
    virtual bool Write(std::string_view bytes) = 0;
    virtual bool Commit() = 0;
    virtual void Drop() = 0;
    CString message_;

private:
    static cairo_status_t WriteToStream(void* target, const unsigned char* data, unsigned int length) {
        auto& self = *static_cast<PdfStreamTarget*>(target);
        if (self.writeFailed_) return CAIRO_STATUS_WRITE_ERROR;
        self.writeFailed_ = !self.Write(std::string_view(reinterpret_cast<const char*>(data), length));
        return self.writeFailed_ ? CAIRO_STATUS_WRITE_ERROR : CAIRO_STATUS_SUCCESS;
    }

    void DestroySurface() {
        if (surface_) cairo_surface_destroy(surface_);
        surface_ = nullptr;
    }

    cairo_surface_t* surface_ = nullptr;
    bool writeFailed_ = false;
};

class PdfFileTarget final : public PdfStreamTarget {
public:
    explicit PdfFileTarget(CString path) : path_(std::move(path)) {}

private:
    bool Open(const CString&) override {
        output_ = qx::FileReplacer::Create(path_.str());
        if (!output_) message_ = L"The file \"" + path_ + L"\" cannot be written.";
        return output_ != nullptr;
    }
    bool Write(std::string_view bytes) override {
        if (output_->Write(bytes)) return true;
        message_ = L"The file \"" + path_ + L"\" cannot be written.";
        return false;
    }
    bool Commit() override {
        const bool committed = std::exchange(output_, nullptr)->Commit();
        if (!committed) message_ = L"The file \"" + path_ + L"\" cannot be written.";
        return committed;
    }
    void Drop() override { output_.reset(); }

    CString path_;
    std::unique_ptr<qx::FileReplacer> output_;
};

class PrintQueueTarget final : public PdfStreamTarget {
public:
    explicit PrintQueueTarget(const PrinterSettings& settings) : settings_(settings) {}

private:
    bool Open(const CString& title) override {
        qx::PrintJobOptions options;
        options.title = title.str();
        options.copies = settings_.copies;
        options.media = settings_.paperName.str();
        options.duplex = settings_.duplex;
        std::wstring error;
        job_ = qx::StartPrintJob(settings_.queue.str(), options, &error);
        if (!job_) message_ = error.c_str();
        return job_ != nullptr;
    }
    bool Write(std::string_view bytes) override { return Kept(job_->Write(bytes)); }
    bool Commit() override { return Kept(job_->Finish()); }
    void Drop() override { job_.reset(); }  // an unfinished job cancels itself

    bool Kept(bool ok) {
        if (!ok) message_ = job_->ErrorMessage().c_str();
        return ok;
    }

    PrinterSettings settings_;
    std::unique_ptr<qx::PrintJob> job_;
};

enum class JobState { NotStarted, Printing, Ended };

struct PrinterImpl : qx::gfx::DcImpl {
    // The surface belongs to the target, which is dropped after it.
    ~PrinterImpl() override { SetTarget(nullptr, nullptr); }

    PrinterSettings settings;
    double paperWidthMm = 0;
    double paperHeightMm = 0;
    JobState job = JobState::NotStarted;
    bool pageOpen = false;
    int pagesPrinted = 0;
    std::unique_ptr<qx::gfx::PrintTarget> target;
    CString error;
};

int ToDots(double mm, int dpi) { return static_cast<int>(std::lround(std::max(0.0, mm) / kMmPerInch * dpi)); }

std::unique_ptr<qx::gfx::PrintTarget> TargetFor(const PrinterSettings& settings) {
    if (!settings.queue.IsEmpty()) return std::make_unique<PrintQueueTarget>(settings);
    return std::make_unique<PdfFileTarget>(settings.outputPath);
}

std::unique_ptr<qx::gfx::DcImpl> MakePrinterImpl(const PrinterSettings& settings,
                                                   std::unique_ptr<qx::gfx::PrintTarget> target) {
    auto impl = std::make_unique<PrinterImpl>();
    impl->settings = settings;
    impl->target = std::move(target);
    const int dpi = settings.dpi > 0 ? settings.dpi : 600;
    impl->settings.dpi = dpi;
    const bool landscape = settings.landscape;
    impl->paperWidthMm = landscape ? settings.paperHeightMm : settings.paperWidthMm;
    impl->paperHeightMm = landscape ? settings.paperWidthMm : settings.paperHeightMm;
    // Turned a quarter anticlockwise, the portrait's top border is on the
    // left and its right border at the top.
    const double left = landscape ? settings.marginTopMm : settings.marginLeftMm;
    const double top = landscape ? settings.marginRightMm : settings.marginTopMm;
    const double right = landscape ? settings.marginBottomMm : settings.marginRightMm;
    const double bottom = landscape ? settings.marginLeftMm : settings.marginBottomMm;
    qx::gfx::DeviceCaps& caps = impl->caps;
    caps.technology = DT_PLOTTER;
    caps.logPixelsX = caps.logPixelsY = dpi;
    caps.physicalWidth = ToDots(impl->paperWidthMm, dpi);
    caps.physicalHeight = ToDots(impl->paperHeightMm, dpi);
    caps.physicalOffsetX = ToDots(left, dpi);
    caps.physicalOffsetY = ToDots(top, dpi);
    caps.horzRes = std::max(0, caps.physicalWidth - caps.physicalOffsetX - ToDots(right, dpi));
    caps.vertRes = std::max(0, caps.physicalHeight - caps.physicalOffsetY - ToDots(bottom, dpi));
    caps.numColors = settings.monochrome ? 2 : -1;
    caps.printing = true;
    return impl;
}

}  // namespace

CPrinterDC::CPrinterDC(const PrinterSettings& settings) : CPrinterDC(settings, TargetFor(settings)) {}

CPrinterDC::CPrinterDC(const PrinterSettings& settings, std::unique_ptr<qx::gfx::PrintTarget> target)
    : CDC(MakePrinterImpl(settings, std::move(target))) {}

CPrinterDC::~CPrinterDC() {
    if (static_cast<PrinterImpl&>(*impl_).job == JobState::Printing) AbortDoc();
}

int CPrinterDC::StartDoc(const CString& documentName) {
    auto& impl = static_cast<PrinterImpl&>(*impl_);
    if (impl.job != JobState::NotStarted) return kPrintError;
    cairo_surface_t* surface = impl.target->Begin(documentName, impl.paperWidthMm / kMmPerInch * kPointsPerInch,
                                                  impl.paperHeightMm / kMmPerInch * kPointsPerInch);
    if (!surface) {
        impl.error = impl.target->ErrorMessage();
        return kPrintError;
    }
    // Device pixels are dots from the top-left of the printable area; the
    // surface's unit is the PDF point.
    const double pointsPerDot = kPointsPerInch / impl.settings.dpi;
    cairo_t* cr = cairo_create(surface);
    cairo_translate(cr, impl.caps.physicalOffsetX * pointsPerDot, impl.caps.physicalOffsetY * pointsPerDot);
    cairo_scale(cr, pointsPerDot, pointsPerDot);
    impl.SetTarget(cairo_surface_reference(surface), cr);
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
    impl.SetTarget(nullptr, nullptr);
    impl.job = JobState::Ended;
    impl.hasAttributeContext = false;
    if (impl.target->Deliver(impl.pagesPrinted)) return 1;
    impl.error = impl.target->ErrorMessage();
    return kPrintError;
}

int CPrinterDC::AbortDoc() {
    auto& impl = static_cast<PrinterImpl&>(*impl_);
    if (impl.job != JobState::Printing) return kPrintError;
    impl.SetTarget(nullptr, nullptr);
    impl.target->Abort();
    impl.job = JobState::Ended;
    impl.hasAttributeContext = false;
    impl.pageOpen = false;
    return 1;
}

int CPrinterDC::PagesPrinted() const { return static_cast<const PrinterImpl&>(*impl_).pagesPrinted; }

CString CPrinterDC::ErrorMessage() const { return static_cast<const PrinterImpl&>(*impl_).error; }
