// A raster picture of an image window: read from its file with the image
// window's fallbacks, decoded, and drawn by the stretch-mode and alignment
// flags.
#pragma once

#include <string>
#include <vector>

#include "qx/image/raster_decoder.h"
#include "qx/platform/base/export.h"
#include "qx/platform/gfx/gdi_types.h"

class CDC;

namespace qx {

// How a picture is drawn: the stretch-mode flags (image_types.h), the
// alignment flags, and a colour mapping (pixels of *mapFrom* are drawn in
// *mapTo*; equal colours map nothing).
struct PictureLook {
    unsigned short stretchMode = 1;
    unsigned alignFlags = 0;
    COLORREF mapFrom = 0;
    COLORREF mapTo = 0;
};

// Files larger than this are not read (no picture the decoders accept needs
// more).
inline constexpr std::uint64_t kMaxPictureFileBytes = std::uint64_t{256} << 20;

class QX_API RasterPicture {
public:
    // Reads and decodes *path*. A file that is missing or cannot be opened
    // gives way to *standIn* ("default.pcx"): IMAGE_DEFAULT_SHOWN when that
    // loads, else the built-in picture with IMAGE_BUILTIN_SHOWN (both
    // missing) or IMAGE_OPEN_FAILED. A file another program holds locked
    // shows the built-in picture (IMAGE_FILE_LOCKED). A file that is read
    // but not decoded leaves the picture empty and gives the decoder's error.
    ImageErrors Load(const std::wstring& path, const std::wstring& standIn);
    // Takes decoded pixels as they are.
    void Assign(RasterPixels pixels) { pixels_ = std::move(pixels); }

    bool IsEmpty() const { return pixels_.bits.empty(); }
    CSize Size() const;
    // The picture's own background colour: its bottom-left pixel (black
    // for an empty picture). Erase mode 3 fills with it, and transparent
    // drawing leaves it out.
    COLORREF BackgroundColor() const;

    // Draws into *area*, never outside it; returns the rectangle the whole
    // picture maps onto (which may reach beyond the area), empty when
    // nothing was drawn.
    CRect Draw(CDC& dc, const CRect& area, const PictureLook& look) const;

    const std::vector<ImageRegion>& Regions() const { return pixels_.regions; }
    // The region holding *point* (picture pixels): the smallest one, the
    // first of equal ones; -1 when no region holds it.
    int RegionAt(CPoint point) const;
    const RasterPixels& Pixels() const { return pixels_; }

private:
    RasterPixels pixels_;
};

}  // namespace qx
