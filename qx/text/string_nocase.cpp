#include "qx/text/string_nocase.h"

#include <cwchar>
#include <string>
#include <string_view>

namespace {

wchar_t FoldCapital(wchar_t ch) {
    if ((ch >= 0x41 && ch <= 0x5A) || (ch >= 0xC0 && ch <= 0xDE) || (ch >= 0x410 && ch <= 0x42F)) {
        return static_cast<wchar_t>(ch + 32);
    }
    return ch;
}

// Index of the first folded occurrence of *pattern* at or after *from*, or
// npos. *pattern* is not empty.
size_t FindFolded(std::wstring_view text, std::wstring_view pattern, size_t from) {
    if (pattern.size() > text.size()) return std::wstring_view::npos;
    const wchar_t first = FoldCapital(pattern[0]);
    for (size_t at = from; at + pattern.size() <= text.size(); ++at) {
        if (FoldCapital(text[at]) != first) continue;
        size_t i = 1;
        while (i < pattern.size() && FoldCapital(text[at + i]) == FoldCapital(pattern[i])) ++i;
        if (i == pattern.size()) return at;
    }
    return std::wstring_view::npos;
}

}  // namespace

namespace String {

const wchar_t* FindNoCase(const wchar_t* text, const wchar_t* pattern) {
    if (!text || !pattern) return nullptr;
    if (!*pattern) return text;
    size_t at = FindFolded(text, pattern, 0);
    return at == std::wstring_view::npos ? nullptr : text + at;
}

// Each occurrence is replaced where it stands and the search goes on behind
// the inserted text. (Replacing every copy of an occurrence's exact text
// throughout the string, and searching on from the occurrence plus the
// length of the replacement, lands inside earlier replacements again when
// *replace* contains *find*, and the text then grows without end.)
int ReplaceNoCase(CString& text, const wchar_t* find, const wchar_t* replace) {
    if (!find || !*find || !replace) return 0;
    const std::wstring_view f = find;
    const std::wstring& s = text.str();
    size_t hit = FindFolded(s, f, 0);
    if (hit == std::wstring_view::npos) return 0;
    std::wstring out;
    size_t from = 0;
    int count = 0;
    for (; hit != std::wstring_view::npos; hit = FindFolded(s, f, from)) {
        out.append(s, from, hit - from);
        out += replace;
        from = hit + f.size();
        ++count;
    }
    out.append(s, from);
    text = std::move(out);
    return count;
}

}  // namespace String
