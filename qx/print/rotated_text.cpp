#include "qx/print/rotated_text.h"

namespace qx {

int QuarterTurn(int angle) {
    const int normal = ((angle % 360) + 360) % 360;
    return (normal == 90 || normal == 180 || normal == 270) ? normal : 0;
}

CPoint RotatedTextOrigin(int angle, const CSize& extent, const CRect& box, int alignment,
                         bool singleLine, int framedHalfW) {
    const int w = extent.cx;
    const int h = extent.cy;
    const int across = singleLine ? (box.Width() - h) / 2 : 0;
    switch (QuarterTurn(angle)) {
        case 90: {
            const int y = alignment == 1 ? box.top + (box.Height() - w) / 2
                        : alignment == 2 ? box.bottom - w
                                         : box.top;
            return {box.left + h + across, y};
        }
        case 180: {
            const int x = alignment == 1 ? box.right - (box.Width() - w) / 2
                        : alignment == 2 ? box.right
                                         : box.left + w;
            return {x, box.top + h + (singleLine ? (box.Height() - h) / 2 : 0)};
        }
        case 270: {
            const int y = alignment == 1 ? box.top + w + (box.Height() - w) / 2
                        : alignment == 2 ? box.top + w
                                         : box.bottom - framedHalfW;
            return {box.right - h - across, y};
        }
        default:
            return box.TopLeft();
    }
}

}  // namespace qx
