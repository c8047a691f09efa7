// Device-independent bitmaps drawn stretched: the source rectangle is decoded
// into an image the drawing surface owns and painted through a scale, with
// nearest-pixel sampling (colours stay exact) or, in HALFTONE mode, a
// smoothing filter.
#include <cairo.h>

#include <algorithm>
#include <cstdint>

#include "qx/platform/gfx/dc.h"
#include "qx/platform/gfx/internal/dc_impl.h"
#include "qx/platform/gfx/internal/dib_decoder.h"

namespace {

// Wide enough that callers' sums and negations cannot overflow.
struct DibCall {
    std::int64_t x, y, width, height;
    std::int64_t srcX, srcY, srcWidth, srcHeight;
};

// Draws and returns the number of source rows drawn. A negative width or
// height on either side mirrors the picture, as in GDI.
int DrawDib(const qx::gfx::DcImpl& impl, DibCall call, const void* bits, const BITMAPINFOHEADER& header,
            const RGBQUAD* palette, std::optional<COLORREF> transparent) {
    std::optional<qx::gfx::DibLayout> layout = qx::gfx::CheckDib(header, palette);
    if (!layout || !bits) return 0;
    if (call.srcWidth < 0) {
        call.srcX += call.srcWidth, call.srcWidth = -call.srcWidth;
        call.x += call.width, call.width = -call.width;
    }
    if (call.srcHeight < 0) {
        call.srcY += call.srcHeight, call.srcHeight = -call.srcHeight;
        call.y += call.height, call.height = -call.height;
    }
    if (call.srcWidth == 0 || call.srcHeight == 0 || call.width == 0 || call.height == 0) return 0;
    // Only the part of the source rectangle inside the bitmap is read.
    const std::int64_t left = std::max<std::int64_t>(call.srcX, 0);
    const std::int64_t top = std::max<std::int64_t>(call.srcY, 0);
    const std::int64_t right = std::min<std::int64_t>(call.srcX + call.srcWidth, layout->width);
    const std::int64_t bottom = std::min<std::int64_t>(call.srcY + call.srcHeight, layout->height);
    if (right <= left || bottom <= top) return 0;
    const CRect area(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right), static_cast<int>(bottom));
    qx::gfx::DevicePoint from = impl.ToDevice(static_cast<double>(call.x), static_cast<double>(call.y));
    qx::gfx::DevicePoint to =
        impl.ToDevice(static_cast<double>(call.x + call.width), static_cast<double>(call.y + call.height));
    if (!impl.cr || from.x == to.x || from.y == to.y) return area.Height();

    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, area.Width(), area.Height());
    if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(image);
        return 0;
    }
    cairo_surface_flush(image);
    qx::gfx::DecodeDibArea(*layout, static_cast<const std::uint8_t*>(bits), palette, area, transparent,
                           cairo_image_surface_get_data(image),
                           static_cast<std::size_t>(cairo_image_surface_get_stride(image)));
    cairo_surface_mark_dirty(image);

    cairo_t* cr = impl.cr;
    cairo_save(cr);
    cairo_translate(cr, from.x, from.y);
    cairo_scale(cr, (to.x - from.x) / static_cast<double>(call.srcWidth),
                (to.y - from.y) / static_cast<double>(call.srcHeight));
    cairo_translate(cr, static_cast<double>(area.left - call.srcX), static_cast<double>(area.top - call.srcY));
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(image);
    cairo_pattern_set_filter(pattern, impl.state.stretchMode == HALFTONE ? CAIRO_FILTER_GOOD : CAIRO_FILTER_NEAREST);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    cairo_set_source(cr, pattern);
    cairo_rectangle(cr, 0, 0, area.Width(), area.Height());
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_pattern_destroy(pattern);
    cairo_surface_destroy(image);
    return area.Height();
}

}  // namespace

int CDC::StretchDIBits(int x, int y, int width, int height, int srcX, int srcY, int srcWidth, int srcHeight,
                       const void* bits, const BITMAPINFOHEADER& header, const RGBQUAD* palette) {
    return DrawDib(*impl_, {x, y, width, height, srcX, srcY, srcWidth, srcHeight}, bits, header, palette,
                   std::nullopt);
}

bool CDC::TransparentDIBits(int x, int y, int width, int height, int srcX, int srcY, int srcWidth,
                            int srcHeight, const void* bits, const BITMAPINFOHEADER& header,
                            const RGBQUAD* palette, COLORREF transparent) {
    return DrawDib(*impl_, {x, y, width, height, srcX, srcY, srcWidth, srcHeight}, bits, header, palette,
                   transparent) > 0;
}
