#include "qx/image/picture_placement.h"

#include <algorithm>
#include <cmath>

#include "qx/image/image_types.h"

namespace qx {
namespace {

int Scaled(int length, double factor) { return std::max(1, static_cast<int>(std::lround(length * factor))); }

// The start of a span of *length* inside [low, high) by the two flags.
int PlaceOnAxis(int low, int high, int length, bool atLow, bool atHigh) {
    if (atLow) return low;
    if (atHigh) return high - length;
    return low + (high - low - length) / 2;
}

}  // namespace

CRect PlacePicture(CSize picture, const CRect& area, unsigned stretchMode, unsigned alignFlags) {
    const int width = area.Width();
    const int height = area.Height();
    if (picture.cx <= 0 || picture.cy <= 0 || width <= 0 || height <= 0) return CRect(area.left, area.top, area.left, area.top);
    const bool fits = picture.cx <= width && picture.cy <= height;
    const bool keepSize = (stretchMode & STRETCH_NO_ENLARGE) && fits;
    CSize size = picture;
    if ((stretchMode & STRETCH_FILL) == STRETCH_FILL) {
        if (!keepSize) return area;
    } else if (stretchMode & STRETCH_FIT) {
        if (!keepSize) {
            const double factor = std::min(static_cast<double>(width) / picture.cx, static_cast<double>(height) / picture.cy);
            size = CSize(Scaled(picture.cx, factor), Scaled(picture.cy, factor));
        }
    } else if (stretchMode & STRETCH_FILL_WIDTH) {
        if (!(keepSize || ((stretchMode & STRETCH_NO_ENLARGE) && picture.cx <= width))) {
            size = CSize(width, Scaled(picture.cy, static_cast<double>(width) / picture.cx));
        }
    } else if (stretchMode & STRETCH_FILL_HEIGHT) {
        if (!(keepSize || ((stretchMode & STRETCH_NO_ENLARGE) && picture.cy <= height))) {
            size = CSize(Scaled(picture.cx, static_cast<double>(height) / picture.cy), height);
        }
    }
    const int left = PlaceOnAxis(area.left, area.right, size.cx, alignFlags & ALIGN_FLAG_LEFT, alignFlags & ALIGN_FLAG_RIGHT);
    const int top = PlaceOnAxis(area.top, area.bottom, size.cy, alignFlags & ALIGN_FLAG_TOP, alignFlags & ALIGN_FLAG_BOTTOM);
    return CRect(left, top, left + size.cx, top + size.cy);
}

bool ClipPlacement(CSize picture, const CRect& destination, const CRect& clip, CRect* visible, CRect* source) {
    CRect inside;
    if (!inside.IntersectRect(destination, clip) || picture.cx <= 0 || picture.cy <= 0) return false;
    const double sx = static_cast<double>(picture.cx) / destination.Width();
    const double sy = static_cast<double>(picture.cy) / destination.Height();
    // The whole source pixels that land inside the clip: the visible part
    // never reaches outside it, and a pixel cut by an edge is left out.
    const int srcLeft = static_cast<int>(std::ceil((inside.left - destination.left) * sx - 1e-9));
    const int srcTop = static_cast<int>(std::ceil((inside.top - destination.top) * sy - 1e-9));
    const int srcRight = std::min(picture.cx, static_cast<int>(std::floor((inside.right - destination.left) * sx + 1e-9)));
    const int srcBottom = std::min(picture.cy, static_cast<int>(std::floor((inside.bottom - destination.top) * sy + 1e-9)));
    *source = CRect(srcLeft, srcTop, srcRight, srcBottom);
    if (source->IsRectEmpty()) return false;
    *visible = CRect(destination.left + static_cast<int>(std::lround(srcLeft / sx)),
                     destination.top + static_cast<int>(std::lround(srcTop / sy)),
                     destination.left + static_cast<int>(std::lround(srcRight / sx)),
                     destination.top + static_cast<int>(std::lround(srcBottom / sy)));
    return true;
}

}  // namespace qx
