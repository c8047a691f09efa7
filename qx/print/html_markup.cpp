#include "qx/print/html_markup.h"

#include <climits>
#include <string>
#include <string_view>

#include "qx/platform/base/ascii.h"
#include "qx/platform/base/number_parse.h"

namespace qx {
namespace {

using View = std::wstring_view;

constexpr wchar_t kParagraphFace[] = L"Times New Roman";
constexpr int kParagraphSize = -3;

bool EqualsNoCase(View text, View name) { return EqualsIgnoringAsciiCase(text, name); }

bool StartsWithNoCase(View text, View prefix) { return StartsWithIgnoringAsciiCase(text, prefix); }

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

View Trimmed(View text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// The character an entity name stands for, or 0 for a name it does not know.
// The umlauts are capital when the name starts with a capital letter.
wchar_t EntityCharacter(View name) {
    struct Entity {
        const wchar_t* name;
        wchar_t small;
        wchar_t capital;
    };
    static constexpr Entity kEntities[] = {
        {L"quot", L'\'', L'\''}, {L"lt", L'<', L'<'},     {L"gt", L'>', L'>'},
        {L"amp", L'&', L'&'},    {L"szlig", L'\u00DF', L'\u00DF'}, {L"nbsp", L' ', L' '},
        {L"auml", L'\u00E4', L'\u00C4'}, {L"ouml", L'\u00F6', L'\u00D6'},
        {L"uuml", L'\u00FC', L'\u00DC'},
    };
    for (const Entity& entity : kEntities) {
        if (EqualsNoCase(name, entity.name)) {
            return (name.front() >= L'A' && name.front() <= L'Z') ? entity.capital : entity.small;
        }
    }
    return 0;
}

// A word piece as it is shown: carriage returns removed, each known entity
// ("&name;") replaced by its character. Replacement is one pass, so "&amp;lt;"
// gives "&lt;".
CString ShownText(View piece) {
    std::wstring shown;
    shown.reserve(piece.size());
    size_t k = 0;
    while (k < piece.size()) {
        const wchar_t c = piece[k];
        if (c == L'&') {
            size_t end = k + 1;
            while (end < piece.size() && IsAsciiLetter(piece[end])) ++end;
            if (end > k + 1 && end < piece.size() && piece[end] == L';') {
                if (const wchar_t replaced = EntityCharacter(piece.substr(k + 1, end - k - 1))) {
                    shown += replaced;
                    k = end + 1;
                    continue;
                }
            }
        }
        if (c != L'\r') shown += c;
        ++k;
    }
    return CString(std::move(shown));
}

// The value of a "font" attribute starting at `start` (after "=" and any
// spaces): quoted with double quotes, else up to the next space, else up to
// the next "," or ";", else to the end. `next` receives where the following
// attribute may start.
View AttributeValue(View tag, size_t start, size_t& next) {
    if (start < tag.size() && tag[start] == L'"') {
        const size_t close = tag.find(L'"', start + 1);
        const size_t end = close == View::npos ? tag.size() : close;
        next = end == tag.size() ? end : end + 1;
        return tag.substr(start + 1, end - start - 1);
    }
    size_t end = tag.find(L' ', start);
    if (end == View::npos) end = tag.find_first_of(L",;", start);
    if (end == View::npos) end = tag.size();
    next = end == tag.size() ? end : end + 1;
    return tag.substr(start, end - start);
}

// "#RRGGBB" exactly; anything else leaves the colour.
void ReadColour(View value, COLORREF& colour) {
    if (value.size() != 7 || value[0] != L'#') return;
    int channel[3];
    for (int k = 0; k < 3; ++k) {
        const int high = HexDigitValue(value[1 + 2 * k]);
        const int low = HexDigitValue(value[2 + 2 * k]);
        if (high < 0 || low < 0) return;
        channel[k] = high * 16 + low;
    }
    colour = RGB(channel[0], channel[1], channel[2]);
}

// The size attribute: the mark-up's sizes 1..6 become -1..-6, the fixed
// heights. A value without a number leaves the size.
void ReadSize(View value, int& size) {
    const std::wstring text(value);
    const wchar_t* end = nullptr;
    const long long number = ParseInteger(text.c_str(), &end);
    if (end == text.c_str()) return;
    size = number <= -static_cast<long long>(INT_MAX) ? INT_MAX
         : number >= INT_MAX                          ? -INT_MAX
                                                      : -static_cast<int>(number);
}

class Parser {
public:
    explicit Parser(const DynamicFontInfo& initial) : font_(initial) {}

    std::vector<HtmlToken> Run(View markup) {
        size_t pos = 0;
        while (pos < markup.size()) {
            const size_t open = markup.find(L'<', pos);
            const size_t close = open == View::npos ? View::npos : markup.find(L'>', open + 1);
            if (close == View::npos) {
                AddText(markup.substr(pos));
                break;
            }
            AddText(markup.substr(pos, open - pos));
            Tag(Trimmed(markup.substr(open + 1, close - open - 1)));
            pos = close + 1;
        }
        return std::move(tokens_);
    }

private:
    void AddText(View text) {
        size_t start = 0;
        while (true) {
            const size_t feed = text.find(L'\n', start);
            AddLinePiece(text.substr(start, feed == View::npos ? View::npos : feed - start));
            if (feed == View::npos) break;
            Push(HtmlToken::Kind::LineBreak);
            start = feed + 1;
        }
    }

    // One piece of text between line feeds, cut into word pieces: each ends
    // just after the first space or hyphen past its first character (a hyphen
    // followed by a space ends after the space).
    void AddLinePiece(View piece) {
        if (piece.find_first_not_of(L' ') == View::npos) return;
        size_t start = 0;
        while (start < piece.size()) {
            const size_t cut = piece.find_first_of(L" -", start + 1);
            size_t end = piece.size();
            if (cut != View::npos) {
                end = (piece[cut] == L'-' && cut + 1 < piece.size() && piece[cut + 1] == L' ') ? cut + 2 : cut + 1;
            }
            CString shown = ShownText(piece.substr(start, end - start));
            if (!shown.IsEmpty()) {
                HtmlToken& token = Push(HtmlToken::Kind::Word);
                token.text = std::move(shown);
                token.font = font_;
            }
            start = end;
        }
    }

    void Tag(View tag) {
        const bool closing = !tag.empty() && tag.front() == L'/';
        if (closing) tag = Trimmed(tag.substr(1));
        if (EqualsNoCase(tag, L"b") || EqualsNoCase(tag, L"strong")) {
            font_.bold = !closing;
        } else if (EqualsNoCase(tag, L"i") || EqualsNoCase(tag, L"em")) {
            font_.italic = !closing;
        } else if (EqualsNoCase(tag, L"u")) {
            font_.underline = !closing;
        } else if (EqualsNoCase(tag, L"sup")) {
            font_.superscript = !closing;
        } else if (EqualsNoCase(tag, L"sub")) {
            font_.subscript = !closing;
        } else if (EqualsNoCase(tag, L"br")) {
            Push(HtmlToken::Kind::LineBreak);
        } else if (StartsWithNoCase(tag, L"font")) {
            closing ? RestoreFont() : OpenFont(tag.substr(4));
        } else if (EqualsNoCase(tag, L"P")) {
            Paragraph(!closing, kAlignLeft);
        } else if (tag.size() > 2 && AsciiLower(tag[0]) == L'p' && tag[1] == L' ') {
            Paragraph(true, AlignmentOf(Trimmed(tag.substr(2))));
        }
    }

    void OpenFont(View attributes) {
        saved_.push_back(font_);
        size_t pos = 0;
        while (true) {
            const size_t equals = attributes.find(L'=', pos);
            if (equals == View::npos) break;
            View name = attributes.substr(pos, equals - pos);
            while (!name.empty() && (IsBlank(name.front()) || name.front() == L',' || name.front() == L';')) {
                name.remove_prefix(1);
            }
            name = Trimmed(name);
            size_t start = equals + 1;
            while (start < attributes.size() && attributes[start] == L' ') ++start;
            const View value = AttributeValue(attributes, start, pos);
            if (EqualsNoCase(name, L"face")) {
                font_.face = CString(std::wstring(value));
            } else if (EqualsNoCase(name, L"size")) {
                ReadSize(value, font_.size);
            } else if (EqualsNoCase(name, L"color")) {
                ReadColour(value, font_.colour);
            }
        }
    }

    void RestoreFont() {
        if (saved_.empty()) return;
        font_ = std::move(saved_.back());
        saved_.pop_back();
    }

    // "align=left", "align=center" or "align=right" as the whole rest of the
    // tag; anything else is left.
    static int AlignmentOf(View rest) {
        if (EqualsNoCase(rest, L"align=center")) return kAlignCenter;
        if (EqualsNoCase(rest, L"align=right")) return kAlignRight;
        return kAlignLeft;
    }

    void Paragraph(bool startsLine, int alignment) {
        font_.face = kParagraphFace;
        font_.size = kParagraphSize;
        font_.superscript = false;
        font_.subscript = false;
        HtmlToken& token = Push(HtmlToken::Kind::Paragraph);
        token.startsLine = startsLine;
        token.alignment = alignment;
    }

    HtmlToken& Push(HtmlToken::Kind kind) {
        tokens_.emplace_back();
        tokens_.back().kind = kind;
        return tokens_.back();
    }

    DynamicFontInfo font_;
    // One entry per opening font tag of this text. Kept per text: a font tag
    // left open in one text must not hand its attributes to another text's
    // closing tag.
    std::vector<DynamicFontInfo> saved_;
    std::vector<HtmlToken> tokens_;
};

}  // namespace

std::vector<HtmlToken> ParseHtmlMarkup(const CString& markup, const DynamicFontInfo& initial) {
    return Parser(initial).Run(markup.str());
}

}  // namespace qx
