#include "qx/platform/gfx/rich_text.h"

#include <algorithm>
#include <cmath>

#include "qx/platform/base/codepage.h"
#include "qx/platform/gfx/internal/rich_text_layout.h"
#include "qx/platform/gfx/rtf_reader.h"

namespace qx::gfx {

struct RichText::Content {
    RtfDocument document;
};

RichText::RichText() : content_(std::make_unique<Content>()) {}
RichText::~RichText() = default;

void RichText::LoadRtf(std::string_view rtf) {
    content_->document = IsRtf(rtf) ? ReadRtf(rtf) : ReadPlainText(rtf, AnsiCodePage());
}

long RichText::CharacterCount() const { return content_->document.CharacterCount(); }

CString RichText::PlainText() const { return CString(content_->document.PlainText()); }

RichText::FormatResult RichText::FormatRange(CDC& dc, const CRect& rect, double unitsPerInch, long first,
                                             long last, bool render) const {
    const long count = CharacterCount();
    first = std::clamp(first, 0L, count);
    last = last < 0 ? count : std::clamp(last, first, count);
    if (first == last || !(unitsPerInch > 0) || !std::isfinite(unitsPerInch) || rect.Width() <= 0) {
        return {first, 0};
    }
    const RichTextFrame frame{rect, unitsPerInch, first, last};
    const LaidOutRange laidOut = LayOutRange(content_->document, frame, render ? &dc : nullptr);
    return {laidOut.nextCharacter, laidOut.heightUsed};
}

}  // namespace qx::gfx
