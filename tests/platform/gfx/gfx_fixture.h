// Helpers of the drawing tests: where an image holds ink, and fonts by height.
#pragma once

#include <algorithm>
#include <memory>

#include "qx/platform/gfx/targets.h"

namespace qx::test {

// The smallest rectangle holding every pixel that is not `background`
// (right and bottom exclusive); empty when there is none.
inline CRect InkBox(const CImageDC& dc, COLORREF background = RGB(255, 255, 255)) {
    CRect box(dc.WidthPixels(), dc.HeightPixels(), 0, 0);
    for (int y = 0; y < dc.HeightPixels(); ++y) {
        for (int x = 0; x < dc.WidthPixels(); ++x) {
            if (dc.GetPixel(x, y) == background) continue;
            box.left = std::min(box.left, x);
            box.top = std::min(box.top, y);
            box.right = std::max(box.right, x + 1);
            box.bottom = std::max(box.bottom, y + 1);
        }
    }
    return box.IsRectEmpty() ? CRect() : box;
}

inline std::unique_ptr<CFont> MakeFont(int height, const wchar_t* face = L"Arial", int escapement = 0) {
    auto font = std::make_unique<CFont>();
    font->CreateFont(height, 0, escapement, 0, FW_NORMAL, false, false, false, DEFAULT_CHARSET, face);
    return font;
}

}  // namespace qx::test
