#include "qx/image/image_wnd.h"

#include "qx/image/slide_image.h"
#include "qx/platform/gfx/dc.h"
#include "qx/platform/wnd/paint.h"
#include "qx/platform/wnd/screen.h"
#include "qx/platform/wnd/window.h"

namespace {

// Dialog templates may name the class; the window object is attached later.
[[maybe_unused]] const bool g_classRegistered = (RegisterWindowProc(CImageWnd::kClassName, DefWindowProc), true);

bool IsSlide(qx::ImageKind kind) { return kind == qx::ImageKind::Slide || kind == qx::ImageKind::SlideLibrary; }

// One pixel wide, inverting what is below it.
void InvertFrame(CDC& dc, const CRect& rect) {
    if (rect.IsRectEmpty()) return;
    dc.InvertRect(CRect(rect.left, rect.top, rect.right, rect.top + 1));
    if (rect.Height() > 1) dc.InvertRect(CRect(rect.left, rect.bottom - 1, rect.right, rect.bottom));
    if (rect.Height() > 2) {
        dc.InvertRect(CRect(rect.left, rect.top + 1, rect.left + 1, rect.bottom - 1));
        if (rect.Width() > 1) dc.InvertRect(CRect(rect.right - 1, rect.top + 1, rect.right, rect.bottom - 1));
    }
}

}  // namespace

CImageWnd::CImageWnd()
    : mapFrom_(GetSysColor(COLOR_BTNFACE)),
      mapTo_(GetSysColor(COLOR_BTNFACE)),
      background_(GetSysColor(COLOR_BTNFACE)),
      frameColor_(GetSysColor(COLOR_WINDOWFRAME)) {}

CImageWnd::~CImageWnd() = default;

BOOL CImageWnd::Create(DWORD style, const CRect& rect, CWnd* parent, UINT id) {
    return CreateEx(0, kClassName, L"", style, rect, parent, id);
}

void CImageWnd::SetStretchMode(unsigned short mode) { stretchMode_ = mode; }

void CImageWnd::SetMappingColors(COLORREF from, COLORREF to) {
    mapFrom_ = from;
    mapTo_ = to;
}

ImageErrors CImageWnd::ShowImageNow(const wchar_t* name) {
    const qx::ResolvedImage resolved = qx::ResolveImageName(name ? name : L"", kind_, &defaultFolder_);
    kind_ = resolved.kind;
    slideName_ = resolved.slideName;
    picture_.reset();
    slide_.reset();
    highlighted_ = -1;
    ImageErrors error = IMAGE_OK;
    if (IsSlide(kind_)) {
        slide_ = std::make_unique<CSlideImage>();
        const bool loaded = kind_ == qx::ImageKind::SlideLibrary
                                ? slide_->Load(resolved.path.c_str(), slideName_.c_str()) != 0
                                : slide_->Load(nullptr, resolved.path.c_str()) != 0;
        // A slide that cannot be read is reported, not passed off as shown.
        error = loaded ? IMAGE_OK : IMAGE_NO_MEMORY;
    } else {
        picture_ = std::make_unique<qx::RasterPicture>();
        error = picture_->Load(resolved.path, qx::StandInPicturePath(defaultFolder_));
        if (resolved.standIn && error == IMAGE_OK) error = IMAGE_DEFAULT_SHOWN;
    }
    if (m_hWnd) {
        Invalidate();
        UpdateWindow();
    }
    return error;
}

ImageErrors CImageWnd::ShowText(const wchar_t* text, int pointSize) {
    if (!text) return IMAGE_OK;
    text_ = text;
    if (pointSize > 0) font_.CreatePointFont(pointSize, L"Arial");
    kind_ = qx::ImageKind::Text;
    if (m_hWnd) Invalidate();
    return IMAGE_OK;
}

void CImageWnd::resetImage() {
    picture_.reset();
    highlighted_ = -1;
}

LRESULT CImageWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MOUSEMOVE) {
        OnMouseMove(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        return 0;
    }
    // The paint fills the background itself.
    if (message == WM_ERASEBKGND) return 1;
    return CWnd::WindowProc(message, wParam, lParam);
}

void CImageWnd::OnPaint() {
    PAINTSTRUCT paint;
    CDC* dc = BeginPaint(m_hWnd, &paint);
    if (dc) Paint(*dc);
    EndPaint(m_hWnd, &paint);
}

COLORREF CImageWnd::EraseColor() const {
    switch (eraseMode_) {
        case ERASE_BUTTON_FACE: return GetSysColor(COLOR_BTNFACE);
        case ERASE_PICTURE_COLOR: return picture_ && !picture_->IsEmpty() ? picture_->BackgroundColor() : background_;
        default: return background_;
    }
}

void CImageWnd::Paint(CDC& dc) {
    CRect client;
    GetClientRect(&client);
    const bool showsRaster = picture_ && kind_ != qx::ImageKind::Text && !IsSlide(kind_);
    // Transparent drawing lets what is below show through; erase mode 0
    // leaves the area as it is.
    const bool transparent = showsRaster && (stretchMode_ & STRETCH_TRANSPARENT);
    if (eraseMode_ != ERASE_NONE && !transparent) dc.FillSolidRect(client, EraseColor());

    placed_ = CRect();
    if (kind_ == qx::ImageKind::Text) {
        CFont* previous = font_.IsCreated() ? dc.SelectObject(&font_) : nullptr;
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(GetSysColor(COLOR_WINDOWTEXT));
        CRect area = client;
        dc.DrawText(text_, &area, DT_WORDBREAK | DT_NOPREFIX);
        if (previous) dc.SelectObject(previous);
    } else if (IsSlide(kind_) && slide_) {
        CRect area = client;
        area.DeflateRect(0, 0, 1, 1);
        slide_->Draw(&dc, area, stretchMode_ != 0);
    } else if (showsRaster) {
        CRect area = client;
        area.DeflateRect(1, 1, 1, 1);
        const qx::PictureLook look{stretchMode_, AlignmentFlags(alignment_), mapFrom_, mapTo_};
        placed_ = picture_->Draw(dc, area, look);
        if (highlighted_ >= 0 && !placed_.IsRectEmpty()) {
            const qx::ImageRegion& region = picture_->Regions()[static_cast<size_t>(highlighted_)];
            const CSize size = picture_->Size();
            const auto x = [&](int px) { return placed_.left + static_cast<int>(static_cast<long long>(px) * placed_.Width() / size.cx); };
            const auto y = [&](int py) { return placed_.top + static_cast<int>(static_cast<long long>(py) * placed_.Height() / size.cy); };
            CRect frame(x(region.left), y(region.top), x(region.right + 1), y(region.bottom + 1));
            CRect visible;
            if (visible.IntersectRect(frame, area)) InvertFrame(dc, visible);
        }
    }
    if (frameMode_ != 0) {
        CBrush brush(frameColor_);
        dc.FrameRect(client, &brush);
    }
}

void CImageWnd::OnMouseMove(CPoint point) {
    if (!picture_ || picture_->Regions().empty() || placed_.IsRectEmpty()) return;
    const CSize size = picture_->Size();
    int found = -1;
    if (placed_.PtInRect(point)) {
        const CPoint pixel(static_cast<int>(static_cast<long long>(point.x - placed_.left) * size.cx / placed_.Width()),
                           static_cast<int>(static_cast<long long>(point.y - placed_.top) * size.cy / placed_.Height()));
        found = picture_->RegionAt(pixel);
    }
    if (found != highlighted_) {
        highlighted_ = found;
        Invalidate();
    }
}
