#include "qx/platform/gfx/internal/text_lines.h"

#include "qx/platform/gfx/gdi_types.h"

namespace qx::gfx {
namespace {

bool IsLineEnd(wchar_t c) { return c == L'\r' || c == L'\n'; }

void AddLine(std::vector<TextLine>& lines, std::wstring_view text, const MeasureLine& measure) {
    lines.push_back({std::wstring(text), measure(text)});
}

// Greedy filling: words are added while the line stays within maxWidth; the
// spaces where a line is cut belong to no line.
void BreakParagraph(std::wstring_view paragraph, int maxWidth, const MeasureLine& measure,
                    std::vector<TextLine>& lines) {
    std::size_t lineStart = 0;
    std::size_t lineEnd = 0;  // end of the last word that fitted
    std::size_t pos = 0;
    while (true) {
        std::size_t wordStart = paragraph.find_first_not_of(L' ', pos);
        if (wordStart == std::wstring_view::npos) break;
        std::size_t wordEnd = paragraph.find(L' ', wordStart);
        if (wordEnd == std::wstring_view::npos) wordEnd = paragraph.size();
        if (lineEnd > lineStart &&
            measure(paragraph.substr(lineStart, wordEnd - lineStart)) > maxWidth) {
            AddLine(lines, paragraph.substr(lineStart, lineEnd - lineStart), measure);
            lineStart = wordStart;
        }
        lineEnd = wordEnd;
        pos = wordEnd;
    }
    AddLine(lines, paragraph.substr(lineStart, lineEnd - lineStart), measure);
}

}  // namespace

std::vector<TextLine> BreakTextLines(std::wstring_view text, unsigned format, int maxWidth,
                                     const MeasureLine& measure) {
    std::vector<TextLine> lines;
    if (format & DT_SINGLELINE) {
        std::wstring line;
        for (wchar_t c : text) {
            if (!IsLineEnd(c)) line += c;
        }
        AddLine(lines, line, measure);
        return lines;
    }
    std::size_t start = 0;
    while (true) {
        std::size_t end = start;
        while (end < text.size() && !IsLineEnd(text[end])) ++end;
        std::wstring_view paragraph = text.substr(start, end - start);
        if (format & DT_WORDBREAK) {
            BreakParagraph(paragraph, maxWidth, measure, lines);
        } else {
            AddLine(lines, paragraph, measure);
        }
        if (end >= text.size()) break;
        start = end + ((text[end] == L'\r' && end + 1 < text.size() && text[end + 1] == L'\n') ? 2 : 1);
    }
    return lines;
}

}  // namespace qx::gfx
