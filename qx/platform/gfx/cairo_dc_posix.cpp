#include "qx/platform/gfx/cairo_dc.h"

#include <cairo.h>

#include <algorithm>

#include "qx/platform/gfx/internal/dc_impl.h"

namespace {

// Holds its own references to the context and its surface, and restores the
// context to what it was handed over as before letting it go.
struct BorrowedImpl : qx::gfx::DcImpl {
    ~BorrowedImpl() override {
        if (cr) cairo_restore(cr);
    }
};

std::unique_ptr<qx::gfx::DcImpl> MakeBorrowedImpl(cairo_t* cr, int width, int height, int dpi) {
    auto impl = std::make_unique<BorrowedImpl>();
    if (cr) {
        cairo_save(cr);
        impl->SetTarget(cairo_surface_reference(cairo_get_target(cr)), cairo_reference(cr));
    }
    qx::gfx::DeviceCaps& caps = impl->caps;
    caps.technology = DT_RASDISPLAY;
    caps.horzRes = caps.physicalWidth = std::max(width, 0);
    caps.vertRes = caps.physicalHeight = std::max(height, 0);
    caps.logPixelsX = caps.logPixelsY = dpi > 0 ? dpi : 96;
    return impl;
}

}  // namespace

CCairoDC::CCairoDC(cairo_t* cr, int widthPixels, int heightPixels, int dpi)
    : CDC(MakeBorrowedImpl(cr, widthPixels, heightPixels, dpi)) {}

CCairoDC::~CCairoDC() = default;
