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

// A print job written as a PDF file, one PDF page per printed page. Device
// pixels are dots of `dpi`; the printable area leaves `marginMm` on each side
// (PHYSICALOFFSETX/Y), as printers do.
struct PrinterSettings {
    CString outputPath;              // the PDF file
    double paperWidthMm = 210.0;     // A4 portrait; Letter is 215.9 x 279.4
    double paperHeightMm = 297.0;
    bool landscape = false;          // swaps width and height
    int dpi = 600;
    bool monochrome = false;         // NUMCOLORS 2
    double marginMm = 4.0;
};

class QX_API CPrinterDC : public CDC {
public:
    explicit CPrinterDC(const PrinterSettings& settings);
    ~CPrinterDC() override;
    // Return a positive value on success, as the platform's print calls do.
    // The file is written by EndDoc (a temporary file renamed into place).
    int StartDoc(const CString& documentName);
    int StartPage();
    int EndPage();
    int EndDoc();
    int AbortDoc();
    int PagesPrinted() const;
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
