#include "qx/platform/sheet/internal/column_width.h"

#include <cmath>

namespace qx::sheet::detail {

namespace {

constexpr double kPadding = 5;

double Shown(double pixels, int digit) {
    if (pixels <= kPadding) return 0;
    return std::trunc((pixels - kPadding) / digit * 100 + 0.5) / 100;
}

}  // namespace

double DisplayWidth(double fileWidth, int digit) {
    const double pixels = std::trunc((256 * fileWidth + std::trunc(128.0 / digit)) / 256 * digit);
    return Shown(pixels, digit);
}

double FileWidth(double displayWidth, int digit) {
    if (displayWidth <= 0) return 0;
    return std::trunc((displayWidth * digit + kPadding) / digit * 256) / 256;
}

double StandardWidth(double baseWidth, int digit) {
    const double pixels = std::ceil((baseWidth * digit + kPadding) / 8) * 8;
    return Shown(pixels, digit);
}

}  // namespace qx::sheet::detail
