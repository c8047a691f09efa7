// The font description of a text object, as composition measures it and
// drawing selects it.
#pragma once

#include "qx/print/font_cache.h"
#include "qx/print/print_object.h"

namespace qx {

// Face, size, colour, angle, bold, italic and underline of *object*; the
// default character set, no super- or subscript.
DynamicFontInfo FontOf(const PRINTOBJ& object);

}  // namespace qx
