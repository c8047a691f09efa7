#include "qx/print/object_font.h"

namespace qx {

DynamicFontInfo FontOf(const PRINTOBJ& object) {
    DynamicFontInfo font;
    font.face = object.fontFace;
    font.size = object.size;
    font.colour = object.color;
    font.angle = object.angle;
    font.bold = object.bold;
    font.italic = object.italic;
    font.underline = object.underline;
    return font;
}

}  // namespace qx
