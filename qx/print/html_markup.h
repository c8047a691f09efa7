// The mark-up of formatted texts, read into a flat list of tokens: word
// pieces with their attributes, line breaks and paragraph starts. Reading
// needs no device context; the layout (formatted_text.h) measures the pieces
// and fills lines with them.
//
// The mark-up is a small HTML-like set: <b>/<strong>, <i>/<em>, <u>, <sup>,
// <sub>, <br>, <font face=.. size=.. color=#RRGGBB> ... </font>, <P> and
// <P align=left|center|right>, and the entities quot, lt, gt, amp, szlig,
// nbsp, auml, ouml, uuml (capital first letter: capital umlaut). Anything else
// is kept as text or ignored; no input makes reading fail, and reading takes
// time and memory in proportion to the text.
#pragma once

#include <vector>

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"
#include "qx/print/font_cache.h"

namespace qx {

// Paragraph alignment of formatted text lines (the text objects' alignment).
enum HtmlAlignment : int { kAlignLeft = 0, kAlignCenter = 1, kAlignRight = 2 };

struct HtmlToken {
    enum class Kind {
        Word,       // a word piece: ends after a space or hyphen, or at a line's end
        LineBreak,  // a line feed or <br>: the next piece starts a new line
        Paragraph,  // a <P>: the alignment of the lines that follow changes
    };
    Kind kind = Kind::Word;
    CString text;          // Word: the piece, entities replaced, no carriage returns
    DynamicFontInfo font;  // Word: its attributes
    int alignment = kAlignLeft;  // Paragraph: alignment from here on
    // Paragraph: the line in progress is ended if it holds anything and the
    // paragraph starts on a new line (an opening tag, or any tag with align=).
    bool startsLine = false;
};

// Reads `markup` starting from the attributes `initial` (the text object's
// look). Unclosed tags simply stay in effect to the end of the text; a
// closing tag without an opening one restores nothing.
QX_API std::vector<HtmlToken> ParseHtmlMarkup(const CString& markup, const DynamicFontInfo& initial);

}  // namespace qx
