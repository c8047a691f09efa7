// The family's image window: a child window that shows a PCX, BMP, TIFF,
// JPEG or DWG preview picture, or a vector slide, or a text, and reports
// what went wrong as an image error (image_types.h). It finds a file from a
// base name, falls back to "default.pcx" and then to a built-in picture,
// never shows a message, and marks the region of a TIFF picture that the
// mouse is over with an inverted frame.
//
// Create one with Create, or attach one to a dialog control of the class
// CImageWnd::kClassName with SubclassDlgItem.
#pragma once

#include <memory>
#include <string>

#include "qx/image/image_name.h"
#include "qx/image/image_types.h"
#include "qx/image/raster_picture.h"
#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"
#include "qx/platform/gfx/gdi_objects.h"
#include "qx/platform/wnd/cwnd.h"

class CSlideImage;

class QX_API CImageWnd : public CWnd {
public:
    static constexpr const wchar_t* kClassName = L"QxImageWnd";

    CImageWnd();
    ~CImageWnd() override;

    BOOL Create(DWORD style, const CRect& rect, CWnd* parent, UINT id);

    // Stored and handed to the current raster picture. For slides any mode
    // but 0 stretches.
    void SetStretchMode(unsigned short mode);
    void SetAlignment(Alignment alignment) { alignment_ = alignment; }
    void SetEraseMode(EraseMode mode) { eraseMode_ = mode; }
    void SetFrameColor(COLORREF color) { frameColor_ = color; }
    // 1 (the default) draws a one-pixel frame, 0 none.
    void SetFrameMode(int mode) { frameMode_ = mode; }
    void SetBackground(COLORREF color) { background_ = color; }
    // Pixels of the first colour are drawn in the second.
    void SetMappingColors(COLORREF from, COLORREF to);

    // Finds and loads the picture for *name*, repaints at once and returns
    // the image error. For a slide: 0 when it loaded, 1 when it did not.
    ImageErrors ShowImageNow(const wchar_t* name);
    // Shows *text* word-wrapped; a point size above 0 (tenths of a point)
    // makes the text font Arial of that size, 0 keeps the font. Null does
    // nothing. Always IMAGE_OK.
    ImageErrors ShowText(const wchar_t* text, int pointSize);
    // Removes the raster picture.
    void resetImage();

    // What the window holds, for callers that react to it.
    qx::ImageKind GetKind() const { return kind_; }
    const qx::RasterPicture* GetPicture() const { return picture_.get(); }
    const CSlideImage* GetSlide() const { return slide_.get(); }
    const std::wstring& GetDefaultFolder() const { return defaultFolder_; }
    // The region the mouse is over (-1 for none).
    int GetHighlightedRegion() const { return highlighted_; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint() override;

private:
    void OnMouseMove(CPoint point);
    void Paint(CDC& dc);
    COLORREF EraseColor() const;

    unsigned short stretchMode_ = 1;
    COLORREF mapFrom_;
    COLORREF mapTo_;
    COLORREF background_;
    COLORREF frameColor_;
    int frameMode_ = 1;
    qx::ImageKind kind_ = qx::ImageKind::Pcx;
    Alignment alignment_ = ALIGN_CENTER;
    EraseMode eraseMode_ = ERASE_BACKGROUND;
    std::unique_ptr<qx::RasterPicture> picture_;
    std::unique_ptr<CSlideImage> slide_;
    CString text_;
    CFont font_;
    std::wstring defaultFolder_;
    std::wstring slideName_;
    // Where the last paint put the whole picture, to map the mouse onto it.
    CRect placed_;
    int highlighted_ = -1;
};
