// Formatted-text mark-up read, measured, laid out, drawn and flattened.
//
// Input: byte 0 picks the angle (bits 0-1: 0, 90, 180, 270), single-line
// centring (bit 2) and the alignment (bits 3-4); byte 1 the box width in
// steps of 16 units; the rest is the mark-up as UTF-8, up to its first zero
// character.
//
// What holds: no fault under the sanitizers; every word piece the reader
// gives is non-empty and free of carriage returns and becomes exactly one
// atom; flattening everything returns each atom once and leaves no line.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cwchar>
#include <string>
#include <string_view>

#include "qx/platform/base/utf.h"
#include "qx/platform/gfx/targets.h"
#include "qx/print/formatted_text.h"
#include "qx/print/html_markup.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    std::wstring text = qx::Utf8ToWide(std::string_view(reinterpret_cast<const char*>(data) + 2, size - 2));
    text.resize(std::wcslen(text.c_str()));
    const CString markup(std::move(text));

    DynamicFontInfo font;
    font.angle = 90 * (data[0] & 3);
    const bool singleLine = (data[0] & 4) != 0;
    const int alignment = (data[0] >> 3) & 3;
    const CRect box(50, 70, 50 + 16 * data[1], 70 + 700);

    size_t words = 0;
    for (const qx::HtmlToken& token : qx::ParseHtmlMarkup(markup, font)) {
        if (token.kind != qx::HtmlToken::Kind::Word) continue;
        if (token.text.IsEmpty() || token.text.Find(L'\r') >= 0) __builtin_trap();
        ++words;
    }

    {
        CMemoryDC dc;
        CHtmlLayout layout(dc, markup, font, alignment, box);
        size_t atoms = 0;
        for (const CHtmlLine& line : layout.Lines()) atoms += line.atoms.size();
        if (atoms != words) __builtin_trap();
        layout.Arrange(1, singleLine);
        if (layout.Height() < 0) __builtin_trap();
        layout.Draw(dc, false);
        if (layout.TakeLines(INT_MAX).size() != words || !layout.Lines().empty()) __builtin_trap();
    }
    qx::ClearFontCache();
    return 0;
}
