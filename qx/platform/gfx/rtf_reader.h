// Reading the part of RTF that reports use into runs of text with one
// character format each. RichText lays these runs out; the reader itself
// draws nothing and knows no device context.
//
// The text of a document counts its characters the way a rich-edit control
// does: every character is one, a paragraph end is one ('\n' here), a line
// break inside a paragraph is one ('\v'), a tab is one ('\t').
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "qx/platform/base/export.h"
#include "qx/platform/gfx/gdi_types.h"

namespace qx::gfx {

enum class ParagraphAlignment { Left, Center, Right, Justify };

struct RtfCharFormat {
    std::wstring face;    // from the font table; "" when the document names none
    int halfPoints = 24;  // font size in half points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool autoColor = true;  // colour 0 of the colour table: the context's text colour
    COLORREF color = 0;     // when not autoColor
    friend bool operator==(const RtfCharFormat&, const RtfCharFormat&) = default;
};

// A run never crosses a paragraph end: the end is the last character of its
// run, so that every run belongs to one paragraph and carries its alignment.
struct RtfRun {
    std::wstring text;
    RtfCharFormat format;
    ParagraphAlignment alignment = ParagraphAlignment::Left;
};

struct QX_API RtfDocument {
    std::vector<RtfRun> runs;

    long CharacterCount() const;
    std::wstring PlainText() const;
};

// True when *text* starts with "{\rtf".
QX_API bool IsRtf(std::string_view text);

// Reads RTF. Never fails and never reads past *rtf*: unknown control words
// and destinations are skipped, groups nested deeper than the reader keeps
// state for are skipped whole, text after the document's outer group is
// ignored and a missing closing brace ends the document where the input
// ends. 8-bit text is in code page 1252 unless \ansicpgN names another
// 8-bit page of codepage.h.
QX_API RtfDocument ReadRtf(std::string_view rtf);

// Plain 8-bit text in code page *codePage*: each line end (CR LF, LF or CR)
// becomes a paragraph end, other control characters but the tab are left
// out; every run has the default format.
QX_API RtfDocument ReadPlainText(std::string_view text, unsigned codePage);

}  // namespace qx::gfx
