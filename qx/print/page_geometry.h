// The page width and the landscape flag, shared by every print engine of the
// process: a layout sets them when no device has, and every page file records
// them.
#pragma once

#include "qx/platform/base/export.h"

namespace qx {

// Composition and page files count in engine units of 1/1322 inch.
inline constexpr int kEngineUnitsPerInch = 1322;
// The ratio of page height to width (99/70).
inline constexpr double kPageRatio = 1.4142857142857144;

struct PageGeometry {
    int width = 0;  // engine units (1322 per inch); not positive: not yet known
    bool landscape = false;
};

// The process-wide values (one owner, kept to the end of the process).
QX_API PageGeometry& SharedPageGeometry();
// The height of a page *width* wide: width x kPageRatio, or width /
// kPageRatio in landscape, toward zero and kept within the int range.
QX_API int PageHeightFor(int width, bool landscape);
// Back to unknown width and portrait, for tests.
QX_API void ResetPageGeometry();

}  // namespace qx
