// Where a plain text turned by a quarter turn starts, so that it lies in its
// box like an unturned text drawn with the same alignment.
#pragma once

#include "qx/platform/base/export.h"
#include "qx/platform/gfx/gdi_types.h"

namespace qx {

// 90, 180 or 270 for an angle that is that quarter turn (counted modulo 360,
// so -90 is 270), else 0: other angles are placed as unturned text.
QX_API int QuarterTurn(int angle);

// The reference point for TextOut of a one-line text whose font turns it by
// `angle` degrees clockwise (escapement -10 x angle). `extent` is the
// unturned extent of the text (w, h); `alignment` 0 left, 1 centre, 2 right;
// `singleLine` centres the text across its direction; `framedHalfW` is half
// the width of "W" for a framed text, else 0 (the margin a framed text keeps
// from the bottom when turned by 270 degrees and aligned left).
//
//   angle  x                                y
//   90     left + h (+ (width - h) / 2)      0: top   1: top + (height - w) / 2   2: bottom - w
//   180    0: left + w   1: right - (width - w) / 2   2: right     top + h (+ (height - h) / 2)
//   270    right - h (- (width - h) / 2)     0: bottom - framedHalfW   1: top + w + (height - w) / 2
//                                           2: top + w
//   other  left                             top
//
// The parenthesised terms apply with `singleLine`. The angle is taken as its
// QuarterTurn.
QX_API CPoint RotatedTextOrigin(int angle, const CSize& extent, const CRect& box, int alignment,
                                bool singleLine, int framedHalfW);

}  // namespace qx
