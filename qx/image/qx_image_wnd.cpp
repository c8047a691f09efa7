#include "qx/image/qx_image_wnd.h"

#include <algorithm>

#include "qx/image/picture_placement.h"
#include "qx/platform/gfx/dc.h"
#include "qx/platform/wnd/paint.h"
#include "qx/platform/wnd/screen.h"
#include "qx/platform/wnd/window.h"

namespace {

[[maybe_unused]] const bool g_classRegistered = (RegisterWindowProc(CqxImageWnd::kClassName, DefWindowProc), true);

// Copies of *picture* along one axis of *area*, each scaled so that its
// other side fills the area, until the area is covered; clipped to it.
void DrawRepeated(CDC& dc, const qx::gfx::Picture& picture, const CRect& area, bool across) {
    const CSize size = picture.SizePixels();
    if (across) {
        const int width = std::max(1, static_cast<int>(static_cast<long long>(size.cx) * area.Height() / size.cy));
        for (int x = area.left; x < area.right; x += width) {
            picture.Draw(dc, CRect(x, area.top, x + width, area.bottom), &area);
        }
    } else {
        const int height = std::max(1, static_cast<int>(static_cast<long long>(size.cy) * area.Width() / size.cx));
        for (int y = area.top; y < area.bottom; y += height) {
            picture.Draw(dc, CRect(area.left, y, area.right, y + height), &area);
        }
    }
}

}  // namespace

CqxImageWnd::CqxImageWnd() : background_(GetSysColor(COLOR_BTNFACE)), frameColor_(GetSysColor(COLOR_WINDOWFRAME)) {}

CqxImageWnd::~CqxImageWnd() = default;

BOOL CqxImageWnd::Create(DWORD style, const CRect& rect, CWnd* parent, UINT id) {
    return CreateEx(0, kClassName, L"", style, rect, parent, id);
}

int CqxImageWnd::Load(const wchar_t* path) {
    const bool loaded = path && picture_.Load(CString(path));
    if (m_hWnd) Invalidate();
    return loaded ? 1 : 0;
}

LRESULT CqxImageWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) return 1;  // the paint fills the background
    return CWnd::WindowProc(message, wParam, lParam);
}

void CqxImageWnd::OnPaint() {
    PAINTSTRUCT paint;
    CDC* dc = BeginPaint(m_hWnd, &paint);
    if (dc) Paint(*dc);
    EndPaint(m_hWnd, &paint);
}

void CqxImageWnd::Paint(CDC& dc) {
    CRect client;
    GetClientRect(&client);
    if (!picture_.IsLoaded()) {
        dc.FillSolidRect(client, GetSysColor(COLOR_BTNFACE));
        return;
    }
    const CSize size = picture_.SizePixels();
    COLORREF background = background_;
    if (eraseMode_ == ERASE_BUTTON_FACE) background = GetSysColor(COLOR_BTNFACE);
    if (eraseMode_ == ERASE_PICTURE_COLOR) background = picture_.PixelColor(0, size.cy - 1);
    dc.FillSolidRect(client, background);

    CRect area = client;
    area.DeflateRect(1, 1, 1, 1);
    const int previousMode = dc.SetStretchBltMode(COLORONCOLOR);
    if (!area.IsRectEmpty()) {
        if ((stretchMode_ & STRETCH_TILE_ACROSS) == STRETCH_TILE_ACROSS) {
            DrawRepeated(dc, picture_, area, true);
        } else if ((stretchMode_ & STRETCH_TILE_DOWN) == STRETCH_TILE_DOWN) {
            DrawRepeated(dc, picture_, area, false);
        } else if ((stretchMode_ & STRETCH_TILE) == STRETCH_TILE) {
            for (int y = area.top; y < area.bottom; y += size.cy) {
                for (int x = area.left; x < area.right; x += size.cx) {
                    picture_.Draw(dc, CRect(x, y, x + size.cx, y + size.cy), &area);
                }
            }
        } else {
            picture_.Draw(dc, qx::PlacePicture(size, area, stretchMode_, 0), &area);
        }
    }
    dc.SetStretchBltMode(previousMode);
    if (frameMode_ != 0) {
        CBrush brush(frameColor_);
        dc.FrameRect(client, &brush);
    }
}
