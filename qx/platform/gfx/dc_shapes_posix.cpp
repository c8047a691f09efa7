// Lines, rectangles and pixels. Device pixels are squares: pixel (i, j)
// covers [i, i + 1) x [j, j + 1), so a one-pixel outline is stroked through
// pixel centres and fills cover whole pixels, as GDI draws them. Outlines lie
// inside their rectangle.
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "qx/platform/gfx/dc.h"
#include "qx/platform/gfx/internal/dc_impl.h"

namespace {

using qx::gfx::DcImpl;
using qx::gfx::DevicePoint;
using qx::gfx::DeviceRect;

// The pen's width in device pixels: width 0 is one pixel, and no pen is
// thinner than a pixel.
double PenWidth(const DcImpl& impl) {
    const CPen& pen = *impl.state.pen;
    return pen.Width() == 0 ? 1.0 : std::max(1.0, pen.Width() * impl.ScaleX());
}

bool HasPen(const DcImpl& impl) { return impl.state.pen->Style() != PS_NULL; }

bool HasBrush(const DcImpl& impl) { return !impl.state.brush->IsNull(); }

// Sets colour, width and dashes of the selected pen on the context.
void UsePen(const DcImpl& impl, double width) {
    cairo_t* cr = impl.cr;
    impl.SetSourceColor(impl.state.pen->Color());
    cairo_set_line_width(cr, width);
    const double unit = width;
    switch (impl.state.pen->Style()) {
    case PS_DASH: {
        const double dashes[] = {6 * unit, 2 * unit};
        cairo_set_dash(cr, dashes, 2, 0);
        break;
    }
    case PS_DOT: {
        const double dots[] = {unit, unit};
        cairo_set_dash(cr, dots, 2, 0);
        break;
    }
    default:
        cairo_set_dash(cr, nullptr, 0, 0);
        break;
    }
}

void FillDeviceRect(const DcImpl& impl, const DeviceRect& rect, COLORREF color) {
    impl.SetSourceColor(color);
    cairo_rectangle(impl.cr, rect.x0, rect.y0, rect.x1 - rect.x0, rect.y1 - rect.y0);
    cairo_fill(impl.cr);
}

// A rectangle path with elliptic corners of radii rx, ry (0: square).
void RoundedRectPath(cairo_t* cr, double x0, double y0, double x1, double y1, double rx, double ry) {
    rx = std::min(rx, (x1 - x0) / 2);
    ry = std::min(ry, (y1 - y0) / 2);
    if (rx <= 0 || ry <= 0) {
        cairo_rectangle(cr, x0, y0, x1 - x0, y1 - y0);
        return;
    }
    struct Corner {
        double cx, cy, from;
    };
    const double half = std::numbers::pi / 2;
    const Corner corners[] = {{x1 - rx, y0 + ry, -half}, {x1 - rx, y1 - ry, 0},
                              {x0 + rx, y1 - ry, half}, {x0 + rx, y0 + ry, std::numbers::pi}};
    cairo_new_sub_path(cr);
    for (const Corner& corner : corners) {
        cairo_save(cr);
        cairo_translate(cr, corner.cx, corner.cy);
        cairo_scale(cr, rx, ry);
        cairo_arc(cr, 0, 0, 1, corner.from, corner.from + half);
        cairo_restore(cr);
    }
    cairo_close_path(cr);
}

// Brush inside, pen along the inside of the border.
void DrawBox(const DcImpl& impl, const CRect& rect, double ellipseWidth, double ellipseHeight) {
    cairo_t* cr = impl.cr;
    DeviceRect box = impl.ToDevice(rect);
    double rx = ellipseWidth * impl.ScaleX() / 2;
    double ry = ellipseHeight * impl.ScaleY() / 2;
    cairo_save(cr);
    if (HasBrush(impl)) {
        impl.SetSourceColor(impl.state.brush->Color());
        RoundedRectPath(cr, box.x0, box.y0, box.x1, box.y1, rx, ry);
        cairo_fill(cr);
    }
    double width = PenWidth(impl);
    if (HasPen(impl) && box.x1 - box.x0 >= width && box.y1 - box.y0 >= width) {
        UsePen(impl, width);
        const double inset = width / 2;
        RoundedRectPath(cr, box.x0 + inset, box.y0 + inset, box.x1 - inset, box.y1 - inset,
                        std::max(0.0, rx - inset), std::max(0.0, ry - inset));
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

}  // namespace

bool CDC::LineTo(int x, int y) {
    CPoint from = impl_->state.position;
    impl_->state.position = {x, y};
    if (!impl_->cr || !HasPen(*impl_)) return true;
    cairo_t* cr = impl_->cr;
    DevicePoint a = impl_->ToDevice(from.x, from.y);
    DevicePoint b = impl_->ToDevice(x, y);
    a.x += 0.5, a.y += 0.5, b.x += 0.5, b.y += 0.5;
    double width = PenWidth(*impl_);
    double length = std::hypot(b.x - a.x, b.y - a.y);
    if (length == 0) return true;
    cairo_save(cr);
    UsePen(*impl_, width);
    if (width <= 1) {
        // A one-pixel line covers its first pixel but not its last, as in GDI.
        double dx = (b.x - a.x) / length / 2;
        double dy = (b.y - a.y) / length / 2;
        a.x -= dx, a.y -= dy, b.x -= dx, b.y -= dy;
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    } else {
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    }
    cairo_move_to(cr, a.x, a.y);
    cairo_line_to(cr, b.x, b.y);
    cairo_stroke(cr);
    cairo_restore(cr);
    return true;
}

bool CDC::Rectangle(int left, int top, int right, int bottom) {
    return Rectangle(CRect(left, top, right, bottom));
}

bool CDC::Rectangle(const CRect& rect) {
    if (impl_->cr) DrawBox(*impl_, rect, 0, 0);
    return true;
}

bool CDC::RoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) {
    if (impl_->cr) {
        DrawBox(*impl_, CRect(left, top, right, bottom), std::abs(ellipseWidth), std::abs(ellipseHeight));
    }
    return true;
}

void CDC::FillSolidRect(const CRect& rect, COLORREF color) {
    if (impl_->cr) FillDeviceRect(*impl_, impl_->ToDevice(rect), color);
}

void CDC::FrameRect(const CRect& rect, CBrush* brush) {
    if (!impl_->cr || !brush || brush->IsNull() || rect.IsRectEmpty()) return;
    cairo_t* cr = impl_->cr;
    DeviceRect outer = impl_->ToDevice(rect);
    DevicePoint innerFrom = impl_->ToDevice(rect.left + 1.0, rect.top + 1.0);
    DevicePoint innerTo = impl_->ToDevice(rect.right - 1.0, rect.bottom - 1.0);
    DeviceRect inner{std::min(innerFrom.x, innerTo.x), std::min(innerFrom.y, innerTo.y),
                     std::max(innerFrom.x, innerTo.x), std::max(innerFrom.y, innerTo.y)};
    cairo_save(cr);
    impl_->SetSourceColor(brush->Color());
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_rectangle(cr, outer.x0, outer.y0, outer.x1 - outer.x0, outer.y1 - outer.y0);
    if (rect.right - 2.0 > rect.left && rect.bottom - 2.0 > rect.top) {
        cairo_rectangle(cr, inner.x0, inner.y0, inner.x1 - inner.x0, inner.y1 - inner.y0);
    }
    cairo_fill(cr);
    cairo_restore(cr);
}

void CDC::InvertRect(const CRect& rect) {
    if (!impl_->cr) return;
    cairo_t* cr = impl_->cr;
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_DIFFERENCE);
    FillDeviceRect(*impl_, impl_->ToDevice(rect), RGB(255, 255, 255));
    cairo_restore(cr);
}

COLORREF CDC::SetPixel(int x, int y, COLORREF color) {
    if (impl_->cr) {
        DevicePoint at = impl_->ToDevice(x, y);
        double px = std::floor(at.x);
        double py = std::floor(at.y);
        FillDeviceRect(*impl_, {px, py, px + 1, py + 1}, color);
    }
    return color;
}
