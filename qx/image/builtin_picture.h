// The picture an image window shows when neither the file it was asked for
// nor "default.pcx" can be read: a small neutral placeholder made in code.
#pragma once

#include "qx/image/raster_decoder.h"

namespace qx {

// 32 x 32 pixels of 8 bits with a grey palette (1024 bytes of pixels and
// 1024 of palette): a light field in a dark frame, crossed by its diagonals,
// the usual sign for a picture that is missing.
QX_API RasterPixels BuiltinPicture();

}  // namespace qx
