// Text of the drawing layer is laid out without kerning and ligatures, so
// that a line is as wide as the sum of its characters' advances wherever it
// is measured or drawn (GDI does not kern by default either).
#pragma once

#include <pango/pango.h>

namespace qx::gfx {

// A new attribute over the whole text that turns kerning and ligatures off;
// the caller inserts it into a list, which takes it over.
PangoAttribute* NewNoKerningAttribute();

}  // namespace qx::gfx
