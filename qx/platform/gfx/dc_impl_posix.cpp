#include <cairo.h>

#include <algorithm>
#include <cmath>

#include "qx/platform/gfx/internal/dc_impl.h"

namespace qx::gfx {

DcImpl::DcImpl() = default;

DcImpl::~DcImpl() { SetTarget(nullptr, nullptr); }

void DcImpl::SetTarget(cairo_surface_t* newSurface, cairo_t* newCr) {
    if (cr) cairo_destroy(cr);
    if (surface) cairo_surface_destroy(surface);
    surface = newSurface;
    cr = newCr;
}

DeviceRect DcImpl::ToDevice(const CRect& rect) const {
    DevicePoint a = ToDevice(rect.left, rect.top);
    DevicePoint b = ToDevice(rect.right, rect.bottom);
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

double DcImpl::ScaleX() const { return std::fabs(state.mapping.ScaleX()); }

double DcImpl::ScaleY() const { return std::fabs(state.mapping.ScaleY()); }

void DcImpl::SetSourceColor(COLORREF color) const {
    cairo_set_source_rgb(cr, GetRValue(color) / 255.0, GetGValue(color) / 255.0, GetBValue(color) / 255.0);
}

}  // namespace qx::gfx
