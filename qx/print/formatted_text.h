// The layout of a formatted text: its mark-up (html_markup.h) read into word
// pieces (CHtmlAtom), measured with the cached fonts on a device context,
// filled into lines (CHtmlLine) that fit the text's box, and placed. The
// engine grows a text object to the layout's height, draws it, or flattens
// it into plain runs for the page file.
//
// Positions and run boxes are relative to the box's top-left corner, in the
// units of the measuring context times the multiplier given to Arrange.
//
// Turned texts (90, 180, 270 degrees clockwise) are laid out in the turned
// frame: lines run along the box's height for 90 and 270, and the finished
// block looks like the unturned layout of the turned box, turned as a whole.
// Each atom's position is the reference point its font's escapement turns
// around (the top-left corner of its unturned text cell).
#pragma once

#include <vector>

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"
#include "qx/platform/gfx/gdi_types.h"
#include "qx/print/font_cache.h"

class CDC;

// One word piece with the same attributes throughout. The font is kept as
// its description and fetched from the cache when needed, so a layout stays
// valid when the cache is emptied between composing and drawing.
class QX_API CHtmlAtom {
public:
    CString text;  // never empty
    DynamicFontInfo font;
    int x = 0;  // reference point, relative to the box
    int y = 0;
    int width = 0;  // extent measured with the font at multiplier 1
    int height = 0;
    int descent = 0;  // of the font, at multiplier 1
    // A superscript U+25CF following other atoms on its line: drawn above the
    // middle of the atom before it and taking no room in the line.
    bool raisedBullet = false;
};

class QX_API CHtmlLine {
public:
    std::vector<CHtmlAtom> atoms;
    int alignment = 0;  // qx::HtmlAlignment, from the paragraph when the line began
    int top = 0;        // along the turned frame's vertical axis
    int height = 0;     // times the multiplier
};

// A flattened atom: what one plain text object of the page file needs.
struct HtmlTextRun {
    CString text;
    CRect box;  // relative to the layout's box, the turned text's cell
    DynamicFontInfo font;
};

class QX_API CHtmlLayout {
public:
    // Reads `markup` starting with the attributes `font` and paragraph
    // `alignment`, measures each piece on `dc` and fills lines into `box`
    // (its width; its height for texts turned by 90 or 270 degrees).
    // Positions are those of Arrange(1, false).
    CHtmlLayout(CDC& dc, const CString& markup, const DynamicFontInfo& font, int alignment,
                const CRect& box);

    // Places lines and atoms for a target with `multiplier` units per unit of
    // the measuring context (extents, the box and positions all scale by it);
    // with `singleLine` the block is centred vertically in the box when it is
    // smaller, never moved up. Returns Height().
    int Arrange(int multiplier, bool singleLine);
    // The sum of the line heights; an empty line counts as the height of the
    // mark-up's font size 3 (134 times the multiplier).
    int Height() const;

    // Draws every atom at its position with its font and
    // colour (black with `monochrome`), restoring the context's font and text
    // colour afterwards.
    void Draw(CDC& dc, bool monochrome) const;

    // Takes the leading lines while the sum of their heights stays within
    // `heightLimit`, returns their atoms as runs and removes them; the lines
    // left are placed again from the box's top, so that a later call carries
    // on where this one stopped.
    std::vector<HtmlTextRun> TakeLines(int heightLimit);

    const std::vector<CHtmlLine>& Lines() const { return lines_; }
    const CRect& Box() const { return box_; }
    int Angle() const { return angle_; }  // 0, 90, 180 or 270

private:
    void AddAtom(CHtmlAtom atom);
    void NewLine();
    CRect CellOf(const CHtmlAtom& atom) const;

    CRect box_;
    int angle_ = 0;
    int alignment_ = 0;
    int multiplier_ = 1;
    bool singleLine_ = false;
    int height_ = 0;
    long long lastLineWidth_ = 0;  // of the atoms that take room, at multiplier 1
    std::vector<CHtmlLine> lines_;
};
