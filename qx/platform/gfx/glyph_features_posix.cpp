#include "qx/platform/gfx/internal/glyph_features.h"

namespace qx::gfx {

PangoAttribute* NewNoKerningAttribute() { return pango_attr_font_features_new("kern 0, liga 0, clig 0"); }

}  // namespace qx::gfx
