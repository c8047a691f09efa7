// A device context: the GDI drawing contract of the family on Cairo and Pango.
// Coordinates are logical units, mapped to the target's device pixels by the
// mapping mode (MM_TEXT: one unit is one pixel; MM_ANISOTROPIC: window
// origin/extent onto viewport origin/extent). Text is measured without hinting
// and without rounding glyph positions, so an extent measured on one context
// scales exactly to another.
//
// Concrete targets (targets.h): CImageDC (PNG, screen-like), CPrinterDC (a PDF
// print job), CMemoryDC (measuring, compatible with the screen) and
// CMetaFileDC (a recording played back into another context).
#pragma once

#include <memory>

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"
#include "qx/platform/gfx/gdi_objects.h"
#include "qx/platform/gfx/gdi_types.h"

class CEnhMetaFile;

namespace qx::gfx {
struct DcImpl;  // internal/dc_impl.h
}

class QX_API CDC {
public:
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // Capabilities of the target (the attribute context), by DeviceCap index.
    int GetDeviceCaps(int index) const;
    bool IsPrinting() const;
    // Every target here has an attribute context; a context whose target is
    // gone (an ended print job) has none.
    bool HasAttributeContext() const;

    // SaveDC returns a positive number; RestoreDC(n) returns to that state,
    // RestoreDC(-1) to the last saved one. Saved: mapping, selected objects,
    // colours, modes, current position.
    int SaveDC();
    bool RestoreDC(int saved);

    int SetMapMode(int mode);  // returns the previous mode
    int GetMapMode() const;
    CPoint SetWindowOrg(int x, int y);
    CSize SetWindowExt(int cx, int cy);  // ignored in MM_TEXT, as in GDI
    CPoint SetViewportOrg(int x, int y);
    CSize SetViewportExt(int cx, int cy);
    CPoint GetWindowOrg() const;
    CSize GetWindowExt() const;
    CPoint GetViewportOrg() const;
    CSize GetViewportExt() const;
    void DPtoLP(CPoint* points, int count = 1) const;
    void DPtoLP(CRect* rect) const;
    void DPtoLP(CSize* size) const;  // extents: no origins, absolute values
    void LPtoDP(CPoint* points, int count = 1) const;
    void LPtoDP(CRect* rect) const;
    void LPtoDP(CSize* size) const;

    // Selection returns the previously selected object (never null: a new
    // context has the stock black pen, white brush and default GUI font).
    CFont* SelectObject(CFont* font);
    CPen* SelectObject(CPen* pen);
    CBrush* SelectObject(CBrush* brush);
    CGdiObject* SelectStockObject(int index);
    CFont* GetCurrentFont() const;
    CPen* GetCurrentPen() const;
    CBrush* GetCurrentBrush() const;

    COLORREF SetTextColor(COLORREF color);
    COLORREF GetTextColor() const;
    COLORREF SetBkColor(COLORREF color);
    COLORREF GetBkColor() const;
    int SetBkMode(int mode);  // TRANSPARENT or OPAQUE (fills behind text)
    int GetBkMode() const;
    int SetStretchBltMode(int mode);

    // Text with the selected font; the reference point is the top-left of the
    // text cell, and a font's escapement turns the text around it.
    bool TextOut(int x, int y, const CString& text);
    bool TextOut(int x, int y, const wchar_t* text, int count);
    // Draws (or with DT_CALCRECT measures and widens/heightens rect) the text
    // in rect; returns the height of the text drawn. Line feeds break lines
    // unless DT_SINGLELINE; DT_WORDBREAK breaks at spaces and a word wider than
    // the rectangle stands alone on its line; '&' is drawn as it stands (the
    // family always passes DT_NOPREFIX).
    int DrawText(const CString& text, CRect* rect, unsigned format);
    // Extent of one line of text (line feeds are not interpreted), unturned.
    CSize GetTextExtent(const CString& text) const;
    CSize GetTextExtent(const wchar_t* text, int count) const;
    bool GetTextMetrics(TEXTMETRIC* metrics) const;

    CPoint MoveTo(int x, int y);
    bool LineTo(int x, int y);
    CPoint GetCurrentPosition() const;
    // Outline with the pen, inside with the brush; right and bottom exclusive.
    bool Rectangle(int left, int top, int right, int bottom);
    bool Rectangle(const CRect& rect);
    bool RoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
    void FillSolidRect(const CRect& rect, COLORREF color);
    void FrameRect(const CRect& rect, CBrush* brush);  // one logical unit wide
    void InvertRect(const CRect& rect);
    COLORREF SetPixel(int x, int y, COLORREF color);

    // Draws a device-independent bitmap (8-bit with palette, 24 or 32 bits;
    // header.biHeight > 0 bottom-up, < 0 top-down; rows padded to 4 bytes)
    // from the source rectangle into the destination rectangle. Returns the
    // number of rows drawn, 0 for a bitmap it cannot read. The palette holds
    // header.biClrUsed entries (256 when 0) and is read for 8 bits only.
    int StretchDIBits(int x, int y, int width, int height, int srcX, int srcY, int srcWidth,
                      int srcHeight, const void* bits, const BITMAPINFOHEADER& header,
                      const RGBQUAD* palette);
    // The same, leaving out every pixel of the colour `transparent`.
    bool TransparentDIBits(int x, int y, int width, int height, int srcX, int srcY,
                           int srcWidth, int srcHeight, const void* bits,
                           const BITMAPINFOHEADER& header, const RGBQUAD* palette,
                           COLORREF transparent);

    // Plays a recording back, scaled so that its frame fills `rect` (logical
    // units of this context).
    bool PlayMetaFile(const CEnhMetaFile& metafile, const CRect& rect);

    // For the layer's own drawing code (pictures, rich text).
    qx::gfx::DcImpl& Impl() const { return *impl_; }

protected:
    explicit CDC(std::unique_ptr<qx::gfx::DcImpl> impl);
    std::unique_ptr<qx::gfx::DcImpl> impl_;
};
