// Where a picture of a given size lands in a rectangle under the stretch-mode
// and alignment flags of the image windows.
#pragma once

#include "qx/platform/base/export.h"
#include "qx/platform/gfx/gdi_types.h"

namespace qx {

// The destination rectangle of a picture of *picture* pixels drawn into
// *area*. It may be larger than the area (a picture at its own size, or one
// scaled to the width or height only); the caller clips.
//   STRETCH_FILL (16 and 32): the whole area.
//   STRETCH_FIT (4): scaled to fit, aspect kept, the free space placed by
//     the alignment flags.
//   16 alone: the width fills the area's width, aspect kept; 32 alone: the
//     height fills the area's height. The other axis is placed by the
//     alignment flags and cut at the area's edges.
//   none of these: the picture's own size, placed by the alignment flags.
//   STRETCH_NO_ENLARGE (8): a picture that fits in both directions is
//     never scaled up (the scaling modes then place it at its own size).
// Alignment flags: ALIGN_FLAG_LEFT/RIGHT/TOP/BOTTOM press against that
// edge; without one the axis is centred (integer halves).
QX_API CRect PlacePicture(CSize picture, const CRect& area, unsigned stretchMode, unsigned alignFlags);

// The part of a destination rectangle that lies inside *clip*, and the
// source rectangle of a picture of *picture* pixels that maps onto it.
// False when nothing is visible.
QX_API bool ClipPlacement(CSize picture, const CRect& destination, const CRect& clip, CRect* visible,
                          CRect* source);

}  // namespace qx
