// Value types and constants of the drawing layer, in the shapes the family's
// drawing code was written against: colours as 0x00BBGGRR, integer points,
// sizes and rectangles, a LOGFONT-like font description, text metrics and the
// header of a device-independent bitmap.
#pragma once

#include <cstdint>

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"

using COLORREF = std::uint32_t;

constexpr COLORREF RGB(int r, int g, int b) {
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
// What colour queries give for a pixel that is not there.
inline constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;
constexpr int GetRValue(COLORREF c) { return static_cast<int>(c & 0xFF); }
constexpr int GetGValue(COLORREF c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int GetBValue(COLORREF c) { return static_cast<int>((c >> 16) & 0xFF); }

struct CPoint {
    int x = 0;
    int y = 0;
    constexpr CPoint() = default;
    constexpr CPoint(int px, int py) : x(px), y(py) {}
    friend constexpr bool operator==(const CPoint&, const CPoint&) = default;
};

struct CSize {
    int cx = 0;
    int cy = 0;
    constexpr CSize() = default;
    constexpr CSize(int w, int h) : cx(w), cy(h) {}
    friend constexpr bool operator==(const CSize&, const CSize&) = default;
};

// Right and bottom are exclusive, as in GDI.
struct CRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    constexpr CRect() = default;
    constexpr CRect(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}
    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr bool IsRectEmpty() const { return right <= left || bottom <= top; }
    constexpr CPoint TopLeft() const { return {left, top}; }
    constexpr void OffsetRect(int dx, int dy) { left += dx; right += dx; top += dy; bottom += dy; }
    constexpr void DeflateRect(int l, int t, int r, int b) { left += l; top += t; right -= r; bottom -= b; }
    constexpr bool PtInRect(CPoint p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    // The overlap of a and b; an empty rectangle (all 0) and false when they
    // do not overlap.
    constexpr bool IntersectRect(const CRect& a, const CRect& b) {
        const CRect overlap(a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
                            a.right < b.right ? a.right : b.right, a.bottom < b.bottom ? a.bottom : b.bottom);
        *this = overlap.IsRectEmpty() ? CRect() : overlap;
        return !IsRectEmpty();
    }
    friend constexpr bool operator==(const CRect&, const CRect&) = default;
};

// Device capability indexes of CDC::GetDeviceCaps.
enum DeviceCap : int {
    TECHNOLOGY = 2,
    HORZSIZE = 4,   // millimetres
    VERTSIZE = 6,
    HORZRES = 8,    // printable area in device pixels
    VERTRES = 10,
    NUMCOLORS = 24, // 2 for a monochrome target, -1 for true colour
    LOGPIXELSX = 88,
    LOGPIXELSY = 90,
    PHYSICALWIDTH = 110,  // whole paper in device pixels
    PHYSICALHEIGHT = 111,
    PHYSICALOFFSETX = 112,
    PHYSICALOFFSETY = 113,
};

// Values of GetDeviceCaps(TECHNOLOGY).
enum : int { DT_PLOTTER = 0, DT_RASDISPLAY = 1, DT_RASPRINTER = 2, DT_METAFILE = 5 };

enum MapMode : int { MM_TEXT = 1, MM_ANISOTROPIC = 8 };
enum BkMode : int { TRANSPARENT = 1, OPAQUE = 2 };
enum StretchMode : int { BLACKONWHITE = 1, COLORONCOLOR = 3, HALFTONE = 4 };

// Flags of CDC::DrawText.
enum : unsigned {
    DT_TOP = 0x0000,
    DT_LEFT = 0x0000,
    DT_CENTER = 0x0001,
    DT_RIGHT = 0x0002,
    DT_VCENTER = 0x0004,
    DT_BOTTOM = 0x0008,
    DT_WORDBREAK = 0x0010,
    DT_SINGLELINE = 0x0020,
    DT_CALCRECT = 0x0400,
    DT_NOPREFIX = 0x0800,
};

// Pen styles.
enum : int { PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_NULL = 5 };

// Stock objects of CDC::SelectStockObject.
enum StockObject : int {
    WHITE_BRUSH = 0,
    BLACK_BRUSH = 4,
    NULL_BRUSH = 5,
    WHITE_PEN = 6,
    BLACK_PEN = 7,
    NULL_PEN = 8,
    ANSI_FIXED_FONT = 11,
    ANSI_VAR_FONT = 12,
    DEFAULT_GUI_FONT = 17,
};

enum : int { FW_NORMAL = 400, FW_BOLD = 700 };
enum : unsigned char { ANSI_CHARSET = 0, DEFAULT_CHARSET = 1 };

// A font description. Height follows the Windows convention in logical units:
// negative is the character (em) height, positive the cell height (ascent plus
// descent), 0 a default height. Escapement is in tenths of a degree,
// counter-clockwise.
struct LOGFONT {
    int lfHeight = 0;
    int lfWidth = 0;
    int lfEscapement = 0;
    int lfOrientation = 0;
    int lfWeight = FW_NORMAL;
    unsigned char lfItalic = 0;
    unsigned char lfUnderline = 0;
    unsigned char lfStrikeOut = 0;
    unsigned char lfCharSet = DEFAULT_CHARSET;
    CString lfFaceName;
};

// Metrics of the selected font in logical units.
struct TEXTMETRIC {
    int tmHeight = 0;  // ascent + descent
    int tmAscent = 0;
    int tmDescent = 0;
    int tmInternalLeading = 0;  // tmHeight - character height
    int tmExternalLeading = 0;
    int tmAveCharWidth = 0;
    int tmMaxCharWidth = 0;
};

// Device-independent bitmap header. Rows are padded to 4 bytes and stored
// bottom-up when biHeight is positive, top-down when it is negative.
struct BITMAPINFOHEADER {
    std::uint32_t biSize = 40;
    std::int32_t biWidth = 0;
    std::int32_t biHeight = 0;
    std::uint16_t biPlanes = 1;
    std::uint16_t biBitCount = 24;  // 8 (palette), 24 (BGR) or 32 (BGRx)
    std::uint32_t biCompression = 0;
    std::uint32_t biSizeImage = 0;
    std::int32_t biXPelsPerMeter = 0;
    std::int32_t biYPelsPerMeter = 0;
    std::uint32_t biClrUsed = 0;  // palette entries for 8 bits; 0 means 256
    std::uint32_t biClrImportant = 0;
};

struct RGBQUAD {
    std::uint8_t rgbBlue = 0;
    std::uint8_t rgbGreen = 0;
    std::uint8_t rgbRed = 0;
    std::uint8_t rgbReserved = 0;
};
