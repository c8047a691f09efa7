// The layout model of the print engine: print objects (PRINTOBJ), the page
// parts (frames) that hold them (CPagePart) and running totals (SUM).
//
// Coordinates are engine units (1322 per inch) once loaded. A box is held as
// left, top, right and bottom; records carry width and height instead.
// Colours are 32-bit RGB values with red in the low byte.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"

class CHtmlLayout;
class CWImage;

namespace qx {

enum PrintObjectKind : int {
    kPrintText = 0,
    kPrintLine = 1,
    kPrintRectangle = 2,
    kPrintImage = 3,
};

// Colour channels as the records carry them; out-of-range channel values
// keep their low byte, as the platform's RGB does.
constexpr std::uint32_t PackRgb(int red, int green, int blue) {
    return (static_cast<std::uint32_t>(red) & 0xFFu) | ((static_cast<std::uint32_t>(green) & 0xFFu) << 8) |
           ((static_cast<std::uint32_t>(blue) & 0xFFu) << 16);
}
constexpr int RedOf(std::uint32_t color) { return static_cast<int>(color & 0xFFu); }
constexpr int GreenOf(std::uint32_t color) { return static_cast<int>((color >> 8) & 0xFFu); }
constexpr int BlueOf(std::uint32_t color) { return static_cast<int>((color >> 16) & 0xFFu); }

inline constexpr std::uint32_t kWhite = PackRgb(255, 255, 255);

// The laid-out form of a formatted text, owned by one print object; a copy
// of the object gets a copy of it.
class QX_API OwnedHtmlLayout {
public:
    OwnedHtmlLayout();
    ~OwnedHtmlLayout();
    OwnedHtmlLayout(const OwnedHtmlLayout& other);
    OwnedHtmlLayout& operator=(const OwnedHtmlLayout& other);
    OwnedHtmlLayout(OwnedHtmlLayout&&) noexcept;
    OwnedHtmlLayout& operator=(OwnedHtmlLayout&&) noexcept;
    OwnedHtmlLayout& operator=(std::unique_ptr<CHtmlLayout> layout);

    explicit operator bool() const { return layout_ != nullptr; }
    CHtmlLayout* operator->() const { return layout_.get(); }

private:
    std::unique_ptr<CHtmlLayout> layout_;
};

}  // namespace qx

// One print object. Members are listed in the order of the fields of an
// object record (field numbers in brackets).
struct QX_API PRINTOBJ {
    int kind = qx::kPrintText;       // [0] qx::PrintObjectKind
    CString text;                    // [1] text or mark-up; image: the file path
    CString fontFace;                // [2]
    int size = 0;                    // [3] text: font size; line: pen width
    int left = 0;                    // [4]
    int x1 = 0;                      // [5] line start and end
    int x2 = 0;                      // [6]
    int top = 0;                     // [7]
    int y1 = 0;                      // [8]
    int y2 = 0;                      // [9]
    int right = 0;                   // [10] left + width
    int bottom = 0;                  // [11] top + height
    int alignment = 0;               // [12] 0 left, 1 centre, 2 right
    bool single = false;             // [13] text: one line; image: keep the aspect ratio
    int verticalAnchor = 0;          // [14] 0 to the part's top, 1 with its bottom, else stays
    bool grow = false;               // [15] text grows to fit; image takes its own height
    bool bold = false;               // [16]
    bool italic = false;             // [17]
    bool underline = false;          // [18]
    bool frame = false;              // [19] draw the box outline
    int angle = 0;                   // [20] text: rotation in degrees; rectangle: rounded when > 0
    CString name;                    // [21] data field or reserved name
    std::uint32_t color = 0;         // [22-24] text, line and outline colour
    std::uint32_t fillColor = 0;     // [25-27] white means no fill
    bool formatted = false;          // [28] the text is mark-up
    int richTextBlock = 0;           // [29] 1-based rich-text block of the engine, 0 none
    int firstChar = -1;              // [30] first character of the block shown
    int lastChar = -1;               // [31] last character shown, -1 all
    int outlineWidth = 0;            // [32] pen width of the frame outline
    int cornerSize = 0;              // [33] corner ellipse of a rounded rectangle

    // What drawing attaches: the picture of an image object, shared by
    // copies (it does not change once loaded), and the laid-out form of a
    // formatted text, which each copy has for itself (flattening takes lines
    // out of it).
    std::shared_ptr<const CWImage> image;
    qx::OwnedHtmlLayout layout;
};

// A frame of a page section: the page header and footer, the group headers
// and footers of each data level. Owns its objects; copies copy them.
class QX_API CPagePart {
public:
    CPagePart() = default;
    CPagePart(const CPagePart& other);
    CPagePart& operator=(const CPagePart& other);
    CPagePart(CPagePart&&) noexcept = default;
    CPagePart& operator=(CPagePart&&) noexcept = default;
    ~CPagePart();

    // Orders the objects by top coordinate; objects of equal top keep their
    // order.
    void SortObjectsByTop();

    CString name;
    int height = 0;        // engine units; once filled, the largest bottom of the objects
    int repeat = 0;        // 1: a group header repeated on continuation pages
    int splittable = 0;    // may be cut across a page break
    int breakAfter = 0;    // a page break follows (it held a "PAGE_WRAP" object)
    int lastSibling = 0;   // a copy made for the last child of a data node
    int hasPageWrap = 0;   // holds a "PAGE_WRAP" object
    int registered = 0;    // copied into the list of repeated headers
    int level = 0;         // 0 page header and footer, 1.. data levels
    std::vector<std::unique_ptr<PRINTOBJ>> objects;
};

// A running total shown by objects named "SUM(key;decimals)".
struct QX_API SUM {
    CString key;
    double total = 0.0;
    int decimals = 0;
};
