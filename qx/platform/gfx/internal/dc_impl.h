// The state behind a CDC: the Cairo context it draws on (null when drawing
// goes nowhere), the capabilities of its target, the mapping from logical to
// device units and the selected objects. The layer's own drawing code
// (pictures, rich text) draws through it.
//
// Device units are the target's pixels: Cairo user space of `cr` before any
// drawing transform is one device pixel, with (0, 0) at the top-left of the
// printable area. A target whose surface uses another unit (PDF points) sets
// that scale on `cr` once, when it makes it.
#pragma once

#include <vector>

#include "qx/platform/gfx/gdi_objects.h"
#include "qx/platform/gfx/gdi_types.h"

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

namespace qx::gfx {

struct DeviceCaps {
    int technology = DT_RASDISPLAY;
    int horzRes = 0;  // printable area, device pixels
    int vertRes = 0;
    int physicalWidth = 0;  // whole page, device pixels
    int physicalHeight = 0;
    int physicalOffsetX = 0;
    int physicalOffsetY = 0;
    int logPixelsX = 96;
    int logPixelsY = 96;
    int numColors = -1;
    bool printing = false;
};

// Logical to device: d = (l - windowOrg) * viewportExt / windowExt + viewportOrg.
// In MM_TEXT both extents are (1, 1).
struct Mapping {
    int mode = MM_TEXT;
    CPoint windowOrg;
    CPoint viewportOrg;
    CSize windowExt{1, 1};
    CSize viewportExt{1, 1};

    double ScaleX() const { return static_cast<double>(viewportExt.cx) / windowExt.cx; }
    double ScaleY() const { return static_cast<double>(viewportExt.cy) / windowExt.cy; }
    double ToDeviceX(double x) const { return (x - windowOrg.x) * ScaleX() + viewportOrg.x; }
    double ToDeviceY(double y) const { return (y - windowOrg.y) * ScaleY() + viewportOrg.y; }
    double ToLogicalX(double x) const { return (x - viewportOrg.x) / ScaleX() + windowOrg.x; }
    double ToLogicalY(double y) const { return (y - viewportOrg.y) / ScaleY() + windowOrg.y; }
};

// What SaveDC keeps.
struct DcState {
    Mapping mapping;
    CFont* font = nullptr;
    CPen* pen = nullptr;
    CBrush* brush = nullptr;
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF bkColor = RGB(255, 255, 255);
    int bkMode = OPAQUE;
    int stretchMode = BLACKONWHITE;
    CPoint position;
};

struct DevicePoint {
    double x = 0;
    double y = 0;
};

// A rectangle in device pixels, normalised so that x0 <= x1 and y0 <= y1.
struct DeviceRect {
    double x0 = 0;
    double y0 = 0;
    double x1 = 0;
    double y1 = 0;
};

struct DcImpl {
    DcImpl();
    virtual ~DcImpl();  // targets keep their own data in a derived impl
    DcImpl(const DcImpl&) = delete;
    DcImpl& operator=(const DcImpl&) = delete;

    // Replaces the surface and the context drawn on (both may be null); the
    // impl owns what it holds.
    void SetTarget(cairo_surface_t* newSurface, cairo_t* newCr);

    DevicePoint ToDevice(double x, double y) const {
        return {state.mapping.ToDeviceX(x), state.mapping.ToDeviceY(y)};
    }
    DeviceRect ToDevice(const CRect& rect) const;
    // Device pixels per logical unit, as absolute values.
    double ScaleX() const;
    double ScaleY() const;
    // Sets the Cairo source to an opaque colour.
    void SetSourceColor(COLORREF color) const;

    cairo_surface_t* surface = nullptr;
    cairo_t* cr = nullptr;
    DeviceCaps caps;
    bool hasAttributeContext = true;
    DcState state;
    std::vector<DcState> saved;
};

}  // namespace qx::gfx
