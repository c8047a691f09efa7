// A picture file (PNG, JPEG, BMP, GIF, TIFF and what else the platform's
// loader reads), drawn stretched into a rectangle of a device context.
#pragma once

#include <memory>

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"
#include "qx/platform/gfx/gdi_types.h"

class CDC;

namespace qx::gfx {

class QX_API Picture {
public:
    Picture();
    ~Picture();
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    // Loads a file named by a library path (mapped like every other path).
    // A failed load leaves the picture empty and returns false.
    bool Load(const CString& path);
    bool IsLoaded() const;
    CSize SizePixels() const;
    // The size in 0.01 mm, from the resolution the file records, else 96
    // pixels per inch.
    CSize SizeHiMetric() const;
    // The colour of one pixel (0,0 is the top left), CLR_INVALID outside.
    COLORREF PixelColor(int x, int y) const;
    // Draws the whole picture stretched into rect (logical units of dc);
    // with *clip*, only what falls inside that rectangle. Scaling smooths,
    // except under the COLORONCOLOR stretch mode, which keeps the picture's
    // colours (each pixel drawn as a block).
    bool Draw(CDC& dc, const CRect& rect, const CRect* clip = nullptr) const;

private:
    struct Data;
    std::unique_ptr<Data> data_;
};

}  // namespace qx::gfx
