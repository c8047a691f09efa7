#include "qx/platform/gfx/internal/font_face.h"

#include <cmath>

namespace qx::gfx {

int FontFace::Ascent() const { return static_cast<int>(std::lround(face->metrics.ascent * emHeight)); }

int FontFace::Descent() const { return static_cast<int>(std::lround(face->metrics.descent * emHeight)); }

double EmHeightFor(int logfontHeight, const FaceMetrics& metrics) {
    if (logfontHeight < 0) return -static_cast<double>(logfontHeight);
    if (logfontHeight == 0) return kDefaultEmHeight;
    double cellEms = metrics.ascent + metrics.descent;
    return cellEms > 0 ? logfontHeight / cellEms : logfontHeight;
}

}  // namespace qx::gfx
