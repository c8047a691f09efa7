// A device context on a Cairo context handed over by someone else (a
// toolkit's draw callback): it draws where that context's origin is, says
// the size and resolution it was given, and leaves the context as it was.
#include <gtest/gtest.h>

#include <cairo.h>

#include <cstdint>
#include <cstring>

#include "qx/platform/gfx/cairo_dc.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);

struct Surface {
    Surface() : surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, 40, 30)), cr(cairo_create(surface)) {
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_paint(cr);
    }
    ~Surface() {
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
    }
    // 0xRRGGBB of the device pixel.
    std::uint32_t Pixel(int x, int y) const {
        cairo_surface_flush(surface);
        std::uint32_t pixel;
        std::memcpy(&pixel, cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface) + x * 4, 4);
        return pixel & 0xFFFFFF;
    }
    cairo_surface_t* surface;
    cairo_t* cr;
};

TEST(CairoDC, DrawsAtTheContextsOriginWithTheCapabilitiesItWasGiven) {
    Surface target;
    // As a toolkit hands a widget's drawing over: the origin at its corner.
    cairo_translate(target.cr, 10, 5);
    {
        CCairoDC dc(target.cr, 20, 10, 120);
        EXPECT_EQ(dc.GetDeviceCaps(HORZRES), 20);
        EXPECT_EQ(dc.GetDeviceCaps(VERTRES), 10);
        EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSX), 120);
        EXPECT_EQ(dc.GetDeviceCaps(TECHNOLOGY), DT_RASDISPLAY);
        EXPECT_FALSE(dc.IsPrinting());
        dc.FillSolidRect(CRect(0, 0, 4, 3), kRed);
    }
    EXPECT_EQ(target.Pixel(10, 5), 0xFF0000u);
    EXPECT_EQ(target.Pixel(13, 7), 0xFF0000u);
    EXPECT_EQ(target.Pixel(9, 5), 0xFFFFFFu);
    EXPECT_EQ(target.Pixel(14, 5), 0xFFFFFFu);
    EXPECT_EQ(target.Pixel(10, 8), 0xFFFFFFu);
}

TEST(CairoDC, LeavesTheContextAsItWasHandedOver) {
    Surface target;
    cairo_translate(target.cr, 3, 4);
    cairo_set_source_rgb(target.cr, 0, 0, 1);
    cairo_set_line_width(target.cr, 7);
    cairo_matrix_t before;
    cairo_get_matrix(target.cr, &before);
    {
        CCairoDC dc(target.cr, 30, 20);
        // Clipped text, a moved origin and a pen leave their marks on the
        // context while they draw.
        dc.SetViewportOrg(5, 5);
        CRect box(0, 0, 8, 6);
        dc.DrawText(CString(L"Wärme"), &box, DT_LEFT | DT_SINGLELINE);
        dc.Rectangle(0, 0, 6, 6);
        dc.FillSolidRect(CRect(1, 1, 2, 2), kRed);
    }
    cairo_matrix_t after;
    cairo_get_matrix(target.cr, &after);
    EXPECT_EQ(std::memcmp(&before, &after, sizeof before), 0);
    double r = -1, g = -1, b = -1, a = -1;
    EXPECT_EQ(cairo_pattern_get_rgba(cairo_get_source(target.cr), &r, &g, &b, &a), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(b, 1.0);
    EXPECT_EQ(r, 0.0);
    EXPECT_EQ(cairo_get_line_width(target.cr), 7.0);
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    cairo_clip_extents(target.cr, &x0, &y0, &x1, &y1);
    EXPECT_EQ(x1 - x0, 40.0);
    // The context's own reference is the only one left.
    EXPECT_EQ(cairo_get_reference_count(target.cr), 1u);
    EXPECT_EQ(cairo_status(target.cr), CAIRO_STATUS_SUCCESS);
}

}  // namespace
