#include "qx/print/page_geometry.h"

#include "qx/print/internal/int_range.h"

namespace qx {

PageGeometry& SharedPageGeometry() {
    static PageGeometry geometry;
    return geometry;
}

int PageHeightFor(int width, bool landscape) {
    return detail::ClampToInt(landscape ? width / kPageRatio : width * kPageRatio);
}

void ResetPageGeometry() { SharedPageGeometry() = PageGeometry{}; }

}  // namespace qx
