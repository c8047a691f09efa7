// Process-wide font state of the drawing layer: the font map, the faces
// resolved through fontconfig and the measuring caches, all made on first use
// and kept for the process.
#pragma once

#include "qx/platform/base/export.h"

namespace qx::gfx {

// Drops the font map, the resolved faces and the measuring caches; fonts
// created before resolve their face again when next used. For tests.
QX_API void ResetFontState();

}  // namespace qx::gfx
