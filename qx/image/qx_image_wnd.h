// The family's simpler picture window: loads any picture the graphics
// layer's loader reads (PNG, JPEG, BMP, GIF, TIFF, ...) and draws it by its
// stretch mode, including two tiling modes:
//   0                 the picture at its own size, centred
//   STRETCH_FIT       scaled to fit, aspect kept, centred
//   STRETCH_FILL      stretched over the whole area
//   STRETCH_TILE_ACROSS  copies side by side, each as high as the area
//   STRETCH_TILE      copies at their own size from the top-left corner
//   STRETCH_TILE_DOWN copies one below the other, each as wide as the area
// Other modes place the picture as PlacePicture says, centred. The picture
// stays inside a one-pixel margin; the frame is off unless SetFrameMode
// turns it on. The alignment is stored for the caller and not used here.
#pragma once

#include "qx/image/image_types.h"
#include "qx/platform/base/export.h"
#include "qx/platform/gfx/picture.h"
#include "qx/platform/wnd/cwnd.h"

class QX_API CqxImageWnd : public CWnd {
public:
    static constexpr const wchar_t* kClassName = L"QxPictureWnd";

    CqxImageWnd();
    ~CqxImageWnd() override;

    BOOL Create(DWORD style, const CRect& rect, CWnd* parent, UINT id);

    // Replaces the picture with the file at *path*; 1 when it loaded, 0
    // (and no picture) when it could not be read.
    int Load(const wchar_t* path);

    void SetStretchMode(unsigned short mode) { stretchMode_ = mode; }
    void SetAlignment(Alignment alignment) { alignment_ = alignment; }
    void SetEraseMode(EraseMode mode) { eraseMode_ = mode; }
    void SetFrameColor(COLORREF color) { frameColor_ = color; }
    void SetFrameMode(int mode) { frameMode_ = mode; }
    void SetBackground(COLORREF color) { background_ = color; }

    const qx::gfx::Picture& GetPicture() const { return picture_; }
    Alignment GetAlignment() const { return alignment_; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint() override;

private:
    void Paint(CDC& dc);

    qx::gfx::Picture picture_;
    unsigned short stretchMode_ = STRETCH_FIT;
    Alignment alignment_ = ALIGN_CENTER;
    EraseMode eraseMode_ = ERASE_BACKGROUND;
    COLORREF background_;
    COLORREF frameColor_;
    int frameMode_ = 0;
};
