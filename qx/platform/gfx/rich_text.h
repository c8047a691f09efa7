// The windowless stand-in for a rich-edit control that printing needs: it
// reads the part of RTF that reports use and lays characters out, word-wrapped,
// into a rectangle of a device context.
#pragma once

#include <memory>
#include <string_view>

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"
#include "qx/platform/gfx/gdi_types.h"

class CDC;

namespace qx::gfx {

class QX_API RichText {
public:
    RichText();
    ~RichText();
    RichText(const RichText&) = delete;
    RichText& operator=(const RichText&) = delete;

    // Replaces the content with an 8-bit RTF text. Reads the font table, the
    // colour table, \b \i \ul \fs \cf \f \par \line \tab \'hh \uN and groups;
    // other control words and destinations are skipped. Text that does not
    // start with "{\rtf" is taken as plain text. Never fails on bad input.
    void LoadRtf(std::string_view rtf);
    // Number of characters (a paragraph end counts as one, as in the control).
    long CharacterCount() const;
    CString PlainText() const;

    struct FormatResult {
        long nextCharacter = 0;  // first character that did not fit
        int heightUsed = 0;      // logical units
    };
    // Lays out characters first..last (last -1: to the end) into rect, whole
    // lines while they fit into its height, and draws them when `render` is
    // set. unitsPerInch is how many logical units of dc make an inch (font
    // sizes in points are converted with it).
    FormatResult FormatRange(CDC& dc, const CRect& rect, double unitsPerInch, long first,
                             long last, bool render) const;

private:
    struct Content;
    std::unique_ptr<Content> content_;
};

}  // namespace qx::gfx
