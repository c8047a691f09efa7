// CSlideImage: loading a slide (slide_file.cpp reads the file) and drawing
// its points scaled into a rectangle.
#include "qx/image/slide_image.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <utility>

#include "qx/image/internal/slide_file.h"
#include "qx/platform/gfx/dc.h"
#include "qx/platform/gfx/gdi_objects.h"

namespace {

// *name* with *upper* appended unless it holds the extension in either case
// anywhere.
std::wstring WithExtension(const wchar_t* name, const wchar_t* lower, const wchar_t* upper) {
    std::wstring path = name;
    if (path.find(lower) == std::wstring::npos && path.find(upper) == std::wstring::npos) path += upper;
    return path;
}

// Rounding to the nearest whole number, halves going up; held to the range
// of int, where far-off points of a damaged slide end up.
int Round(double value) {
    constexpr double kLow = std::numeric_limits<int>::min();
    constexpr double kHigh = std::numeric_limits<int>::max();
    return static_cast<int>(std::clamp(std::floor(value + 0.5), kLow, kHigh));
}

COLORREF IndexColor(int index, COLORREF color7) {
    switch (index) {
        case 1: return RGB(255, 0, 0);
        case 2: return RGB(255, 255, 0);
        case 3: return RGB(0, 255, 0);
        case 4: return RGB(0, 255, 255);
        case 5: return RGB(0, 0, 255);
        case 6: return RGB(255, 0, 255);
        case 7: return color7;
        case 255: return RGB(255, 255, 255);
        default: return RGB(0, 0, 0);
    }
}

}  // namespace

CSlideImage::CSlideImage() = default;
CSlideImage::~CSlideImage() = default;

int CSlideImage::Load(const wchar_t* library, const wchar_t* slideName) {
    points_.clear();
    maxX_ = maxY_ = 0;
    loaded_ = false;
    if (!slideName || !*slideName) return 0;
    qx::detail::SlideContents contents;
    const bool read = library && *library
                          ? qx::detail::ReadSlide(WithExtension(library, L".slb", L".SLB"), slideName, &contents)
                          : qx::detail::ReadSlide(WithExtension(slideName, L".sld", L".SLD"), nullptr, &contents);
    if (!read) return 0;
    maxX_ = contents.maxX;
    maxY_ = contents.maxY;
    points_ = std::move(contents.points);
    loaded_ = true;
    return 1;
}

int CSlideImage::Draw(CDC* dc, const CRect& rect, BOOL stretch) {
    if (!dc) return 0;
    if (maxX_ == 0 || maxY_ == 0) return 1;
    const int width = rect.Width();
    const int height = rect.Height();
    double sx = static_cast<double>(width) / maxX_;
    double sy = static_cast<double>(height) / maxY_;
    double originX = rect.left;
    double originY = rect.top;
    if (!stretch) {
        sx = sy = std::min(sx, sy);
        originX += (width - Round(maxX_ * sx)) / 2;
        originY += (height - Round(maxY_ * sy)) / 2;
    }

    CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
    CPen* previous = dc->SelectObject(&pen);
    for (const SlidePoint& point : points_) {
        const int px = Round(originX + point.x * sx);
        const int py = Round(originY + (static_cast<double>(maxY_) - point.y) * sy);
        if (point.color == 0) {
            dc->MoveTo(px, py);
            continue;
        }
        const COLORREF color = IndexColor(point.color, color7_);
        if (color != pen.Color()) {
            dc->SelectObject(previous);
            pen.CreatePen(PS_SOLID, 1, color);
            dc->SelectObject(&pen);
        }
        dc->LineTo(px, py);
    }
    dc->SelectObject(previous);
    return 1;
}
