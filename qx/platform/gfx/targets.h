// The targets a device context draws on.
#pragma once

#include <memory>

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"
#include "qx/platform/gfx/dc.h"

// A raster target: a screen-like context by default. Tests and previews use
// it; its capabilities can be set to stand for a raster printer.
struct ImageTargetOptions {
    int dpi = 96;
    COLORREF background = RGB(255, 255, 255);
    bool printing = false;              // IsPrinting
    int numColors = -1;                 // GetDeviceCaps(NUMCOLORS): -1 true colour, 2 monochrome
    int technology = DT_RASDISPLAY;     // GetDeviceCaps(TECHNOLOGY)
};

class QX_API CImageDC : public CDC {
public:
    CImageDC(int widthPixels, int heightPixels, const ImageTargetOptions& options = {});
    ~CImageDC() override;
    bool SavePng(const CString& path) const;
    COLORREF GetPixel(int x, int y) const;  // device pixels; 0xFFFFFFFF outside
    int WidthPixels() const;
    int HeightPixels() const;
};

// A print job: a PDF file, or a job on one of the system's printer queues
// that gets the same PDF. Device pixels are dots of `dpi`; the printable
// area leaves the paper's unprintable borders (PHYSICALOFFSETX/Y are the
// left and top ones), as printers do. A landscape job turns the paper a
// quarter anticlockwise: the portrait's top border is on the left.
struct PrinterSettings {
    CString outputPath;              // a file job: the PDF file
    CString queue;                   // a queue job when not empty (qx::PrinterSettingsForQueue fills these settings)
    double paperWidthMm = 210.0;     // A4 portrait; Letter is 215.9 x 279.4
    double paperHeightMm = 297.0;
    bool landscape = false;          // swaps width and height
    int dpi = 600;
    bool monochrome = false;         // NUMCOLORS 2
    double marginLeftMm = 4.0;       // the unprintable borders of the portrait paper
    double marginTopMm = 4.0;
    double marginRightMm = 4.0;
    double marginBottomMm = 4.0;
    // What a queue job asks its queue for; a file job has no use for them.
    int copies = 1;
    bool duplex = false;             // both sides, bound on the long edge
    CString paperName;               // the queue's name of the paper; empty: its default
};

namespace qx {
// Fills *settings* for a job on the queue *name* (empty: the default
// queue): the queue's name, its paper (the one settings->paperName names
// when the queue has it, else its default) with the printable area, its
// default resolution and whether it prints in colour. Orientation and
// copies stay as given; duplex is kept only where the queue prints on both
// sides. False with the scheduler's message in *error*.
QX_API bool PrinterSettingsForQueue(const CString& name, PrinterSettings* settings, CString* error);
namespace gfx {
class PrintTarget;
}
}  // namespace qx

class QX_API CPrinterDC : public CDC {
public:
    // A file job, or a queue job when settings.queue is set.
    explicit CPrinterDC(const PrinterSettings& settings);
    // A job on a target a UI host supplies (the desktop's print dialog);
    // the settings describe what it prints on.
    CPrinterDC(const PrinterSettings& settings, std::unique_ptr<qx::gfx::PrintTarget> target);
    ~CPrinterDC() override;
    // Return a positive value on success, as the platform's print calls do.
    // A file is written by EndDoc (a temporary file renamed into place); a
    // queue job is created by StartDoc, so that a queue that refuses it says
    // so at once, and prints when EndDoc delivers it.
    int StartDoc(const CString& documentName);
    int StartPage();
    int EndPage();
    int EndDoc();
    int AbortDoc();
    int PagesPrinted() const;
    // Why the last failed call failed: the queue's or the file system's
    // own message.
    CString ErrorMessage() const;
};

// A context compatible with the screen (96 dots per inch) for measuring;
// drawing on it goes nowhere.
class QX_API CMemoryDC : public CDC {
public:
    CMemoryDC();
    ~CMemoryDC() override;
};

// A recorded picture: what a CMetaFileDC drew, in the recording's logical
// units. Its frame is the rectangle given at recording time, or else the
// bounds of everything drawn.
class QX_API CEnhMetaFile {
public:
    ~CEnhMetaFile();
    CEnhMetaFile(const CEnhMetaFile&) = delete;
    CEnhMetaFile& operator=(const CEnhMetaFile&) = delete;
    CRect Frame() const;
    struct Recording;  // internal
    explicit CEnhMetaFile(std::unique_ptr<Recording> recording);
    const Recording& Data() const { return *recording_; }

private:
    std::unique_ptr<Recording> recording_;
};

// Records drawing for later playback. The reference context (null: the
// screen) gives the capabilities and text measuring. Given a frame (in the
// new context's units, which map one to one onto its device), the recording
// keeps only what falls inside it; give one where it is known: such a
// recording also plays onto PDF pages as vectors.
class QX_API CMetaFileDC : public CDC {
public:
    explicit CMetaFileDC(const CDC* reference = nullptr, const CRect* frame = nullptr);
    ~CMetaFileDC() override;
    // Ends the recording; the context draws nowhere afterwards.
    std::unique_ptr<CEnhMetaFile> CloseEnhanced();
};
