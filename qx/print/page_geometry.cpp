#include "qx/print/page_geometry.h"

namespace qx {

PageGeometry& SharedPageGeometry() {
    static PageGeometry geometry;
    return geometry;
}

void ResetPageGeometry() { SharedPageGeometry() = PageGeometry{}; }

}  // namespace qx
