// The device context's state: capabilities, mapping, saved states, selected
// objects, colours and modes. Drawing is in the dc_*_posix.cpp files.
#include "qx/platform/gfx/dc.h"

#include <cmath>
#include <cstdlib>

#include "qx/platform/gfx/internal/dc_impl.h"

using qx::gfx::DcImpl;

namespace {

int RoundToInt(double value) { return static_cast<int>(std::lround(value)); }

}  // namespace

CDC::CDC(std::unique_ptr<DcImpl> impl) : impl_(std::move(impl)) {
    impl_->state.pen = static_cast<CPen*>(qx::gfx::StockObject(BLACK_PEN));
    impl_->state.brush = static_cast<CBrush*>(qx::gfx::StockObject(WHITE_BRUSH));
    impl_->state.font = static_cast<CFont*>(qx::gfx::StockObject(DEFAULT_GUI_FONT));
}

CDC::~CDC() = default;

int CDC::GetDeviceCaps(int index) const {
    const qx::gfx::DeviceCaps& caps = impl_->caps;
    switch (index) {
    case TECHNOLOGY: return caps.technology;
    case HORZSIZE: return RoundToInt(caps.horzRes * 25.4 / caps.logPixelsX);
    case VERTSIZE: return RoundToInt(caps.vertRes * 25.4 / caps.logPixelsY);
    case HORZRES: return caps.horzRes;
    case VERTRES: return caps.vertRes;
    case NUMCOLORS: return caps.numColors;
    case LOGPIXELSX: return caps.logPixelsX;
    case LOGPIXELSY: return caps.logPixelsY;
    case PHYSICALWIDTH: return caps.physicalWidth;
    case PHYSICALHEIGHT: return caps.physicalHeight;
    case PHYSICALOFFSETX: return caps.physicalOffsetX;
    case PHYSICALOFFSETY: return caps.physicalOffsetY;
    default: return 0;
    }
}

bool CDC::IsPrinting() const { return impl_->caps.printing; }

bool CDC::HasAttributeContext() const { return impl_->hasAttributeContext; }

int CDC::SaveDC() {
    impl_->saved.push_back(impl_->state);
    return static_cast<int>(impl_->saved.size());
}

bool CDC::RestoreDC(int saved) {
    auto& stack = impl_->saved;
    const int depth = static_cast<int>(stack.size());
    // Positive: the number SaveDC gave; negative: counted back from the last.
    int index = saved > 0 ? saved : depth + saved + 1;
    if (saved == 0 || index < 1 || index > depth) return false;
    impl_->state = stack[static_cast<std::size_t>(index - 1)];
    stack.resize(static_cast<std::size_t>(index - 1));
    return true;
}

int CDC::SetMapMode(int mode) {
    qx::gfx::Mapping& mapping = impl_->state.mapping;
    int previous = mapping.mode;
    if (mode != MM_TEXT && mode != MM_ANISOTROPIC) return 0;
    mapping.mode = mode;
    if (mode == MM_TEXT) {
        mapping.windowExt = {1, 1};
        mapping.viewportExt = {1, 1};
    }
    return previous;
}

int CDC::GetMapMode() const { return impl_->state.mapping.mode; }

CPoint CDC::SetWindowOrg(int x, int y) {
    CPoint previous = impl_->state.mapping.windowOrg;
    impl_->state.mapping.windowOrg = {x, y};
    return previous;
}

// A zero extent would divide by zero when mapping; it is refused and the
// extent stays as it was.
CSize CDC::SetWindowExt(int cx, int cy) {
    qx::gfx::Mapping& mapping = impl_->state.mapping;
    CSize previous = mapping.windowExt;
    if (mapping.mode != MM_TEXT && cx != 0 && cy != 0) mapping.windowExt = {cx, cy};
    return previous;
}

CPoint CDC::SetViewportOrg(int x, int y) {
    CPoint previous = impl_->state.mapping.viewportOrg;
    impl_->state.mapping.viewportOrg = {x, y};
    return previous;
}

CSize CDC::SetViewportExt(int cx, int cy) {
    qx::gfx::Mapping& mapping = impl_->state.mapping;
    CSize previous = mapping.viewportExt;
    if (mapping.mode != MM_TEXT && cx != 0 && cy != 0) mapping.viewportExt = {cx, cy};
    return previous;
}

CPoint CDC::GetWindowOrg() const { return impl_->state.mapping.windowOrg; }
CSize CDC::GetWindowExt() const { return impl_->state.mapping.windowExt; }
CPoint CDC::GetViewportOrg() const { return impl_->state.mapping.viewportOrg; }
CSize CDC::GetViewportExt() const { return impl_->state.mapping.viewportExt; }

void CDC::DPtoLP(CPoint* points, int count) const {
    const qx::gfx::Mapping& mapping = impl_->state.mapping;
    for (int i = 0; points && i < count; ++i) {
        points[i] = {RoundToInt(mapping.ToLogicalX(points[i].x)), RoundToInt(mapping.ToLogicalY(points[i].y))};
    }
}

void CDC::DPtoLP(CRect* rect) const {
    if (!rect) return;
    CPoint corners[2] = {{rect->left, rect->top}, {rect->right, rect->bottom}};
    DPtoLP(corners, 2);
    *rect = CRect(corners[0].x, corners[0].y, corners[1].x, corners[1].y);
}

void CDC::DPtoLP(CSize* size) const {
    if (!size) return;
    const qx::gfx::Mapping& mapping = impl_->state.mapping;
    size->cx = RoundToInt(std::fabs(size->cx / mapping.ScaleX()));
    size->cy = RoundToInt(std::fabs(size->cy / mapping.ScaleY()));
}

void CDC::LPtoDP(CPoint* points, int count) const {
    const qx::gfx::Mapping& mapping = impl_->state.mapping;
    for (int i = 0; points && i < count; ++i) {
        points[i] = {RoundToInt(mapping.ToDeviceX(points[i].x)), RoundToInt(mapping.ToDeviceY(points[i].y))};
    }
}

void CDC::LPtoDP(CRect* rect) const {
    if (!rect) return;
    CPoint corners[2] = {{rect->left, rect->top}, {rect->right, rect->bottom}};
    LPtoDP(corners, 2);
    *rect = CRect(corners[0].x, corners[0].y, corners[1].x, corners[1].y);
}

void CDC::LPtoDP(CSize* size) const {
    if (!size) return;
    const qx::gfx::Mapping& mapping = impl_->state.mapping;
    size->cx = RoundToInt(std::fabs(size->cx * mapping.ScaleX()));
    size->cy = RoundToInt(std::fabs(size->cy * mapping.ScaleY()));
}

CFont* CDC::SelectObject(CFont* font) {
    if (!font) return nullptr;
    CFont* previous = impl_->state.font;
    impl_->state.font = font;
    return previous;
}

CPen* CDC::SelectObject(CPen* pen) {
    if (!pen) return nullptr;
    CPen* previous = impl_->state.pen;
    impl_->state.pen = pen;
    return previous;
}

CBrush* CDC::SelectObject(CBrush* brush) {
    if (!brush) return nullptr;
    CBrush* previous = impl_->state.brush;
    impl_->state.brush = brush;
    return previous;
}

CGdiObject* CDC::SelectStockObject(int index) {
    CGdiObject* object = qx::gfx::StockObject(index);
    if (!object) return nullptr;
    switch (object->GetKind()) {
    case CGdiObject::Kind::Font: return SelectObject(static_cast<CFont*>(object));
    case CGdiObject::Kind::Pen: return SelectObject(static_cast<CPen*>(object));
    case CGdiObject::Kind::Brush: return SelectObject(static_cast<CBrush*>(object));
    }
    return nullptr;
}

CFont* CDC::GetCurrentFont() const { return impl_->state.font; }
CPen* CDC::GetCurrentPen() const { return impl_->state.pen; }
CBrush* CDC::GetCurrentBrush() const { return impl_->state.brush; }

COLORREF CDC::SetTextColor(COLORREF color) {
    COLORREF previous = impl_->state.textColor;
    impl_->state.textColor = color;
    return previous;
}

COLORREF CDC::GetTextColor() const { return impl_->state.textColor; }

COLORREF CDC::SetBkColor(COLORREF color) {
    COLORREF previous = impl_->state.bkColor;
    impl_->state.bkColor = color;
    return previous;
}

COLORREF CDC::GetBkColor() const { return impl_->state.bkColor; }

int CDC::SetBkMode(int mode) {
    int previous = impl_->state.bkMode;
    if (mode != TRANSPARENT && mode != OPAQUE) return 0;
    impl_->state.bkMode = mode;
    return previous;
}

int CDC::GetBkMode() const { return impl_->state.bkMode; }

int CDC::SetStretchBltMode(int mode) {
    int previous = impl_->state.stretchMode;
    impl_->state.stretchMode = mode;
    return previous;
}

CPoint CDC::MoveTo(int x, int y) {
    CPoint previous = impl_->state.position;
    impl_->state.position = {x, y};
    return previous;
}

CPoint CDC::GetCurrentPosition() const { return impl_->state.position; }
