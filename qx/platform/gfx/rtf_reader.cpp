#include "qx/platform/gfx/rtf_reader.h"

#include <algorithm>
#include <map>
#include <optional>

#include "qx/platform/base/ascii.h"
#include "qx/platform/base/codepage.h"

namespace qx::gfx {

long RtfDocument::CharacterCount() const {
    long count = 0;
    for (const RtfRun& run : runs) count += static_cast<long>(run.text.size());
    return count;
}

std::wstring RtfDocument::PlainText() const {
    std::wstring text;
    for (const RtfRun& run : runs) text += run.text;
    return text;
}

bool IsRtf(std::string_view text) { return text.starts_with("{\\rtf"); }

namespace {

// Groups deeper than this are skipped whole; the state stack stays small
// whatever the input.
constexpr size_t kMaxGroupDepth = 200;
constexpr size_t kMaxFonts = 4096;
constexpr size_t kMaxColors = 4096;
constexpr size_t kMaxFontNameBytes = 256;
// RTF control words have at most 32 letters; longer ones are read whole and
// compared by their first 32.
constexpr size_t kMaxControlWordLetters = 32;
constexpr int kMaxHalfPoints = 3276;
constexpr int kDefaultHalfPoints = 24;
constexpr int kMaxFallbackCharacters = 16;
constexpr unsigned kDefaultCodePage = 1252;
constexpr wchar_t kReplacementCharacter = 0xFFFD;

enum class Destination { Text, FontTable, ColorTable, Skip };

struct GroupState {
    Destination destination = Destination::Text;
    int font = -1;  // font number; -1 is the document's default font
    int halfPoints = kDefaultHalfPoints;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int colorIndex = -1;  // -1: no \cf, the automatic colour
    int fallbackCharacters = 1;  // \uc
    ParagraphAlignment alignment = ParagraphAlignment::Left;

    void ResetCharacterFormat() {
        font = -1;
        halfPoints = kDefaultHalfPoints;
        bold = italic = underline = false;
        colorIndex = -1;
    }
};

// Destinations whose content is not part of the text.
constexpr std::string_view kSkippedDestinations[] = {
    "info",      "stylesheet",  "pict",         "object",      "header",      "headerl",
    "headerr",   "headerf",     "footer",       "footerl",     "footerr",     "footerf",
    "footnote",  "annotation",  "fldinst",      "listtable",   "listoverridetable",
    "rsidtbl",   "generator",   "xmlnstbl",     "themedata",   "colorschememapping",
    "latentstyles", "datastore", "filetbl",     "revtbl",      "pntext",      "pntxta",
    "pntxtb",    "nonshppict",  "shppict",      "shp",         "template",    "bkmkstart",
    "bkmkend",   "xe",          "tc",           "txe",         "private",     "userprops",
};

struct NamedCharacter {
    std::string_view word;
    wchar_t character;
};
constexpr NamedCharacter kNamedCharacters[] = {
    {"tab", L'\t'},         {"line", L'\v'},         {"emdash", 0x2014},   {"endash", 0x2013},
    {"bullet", 0x2022},     {"lquote", 0x2018},      {"rquote", 0x2019},   {"ldblquote", 0x201C},
    {"rdblquote", 0x201D},  {"emspace", 0x2003},     {"enspace", 0x2002},  {"qmspace", 0x2005},
};

bool IsEightBitCodePage(long cp) {
    return cp > 1 && cp != kCpUtf8 && cp != kCpUtf16Le && cp != kCpUtf16Be &&
           cp <= 65535 && IsCodePageSupported(static_cast<unsigned>(cp));
}

class Reader {
public:
    explicit Reader(std::string_view rtf) : in_(rtf) { groups_.emplace_back(); }

    RtfDocument Read() {
        while (pos_ < in_.size() && !ended_) {
            const char c = in_[pos_++];
            if (c == '{') {
                OpenGroup();
            } else if (c == '}') {
                CloseGroup();
            } else if (c == '\\') {
                ReadControl();
            } else if (c != '\r' && c != '\n' && !ConsumeFallback() && overflowDepth_ == 0) {
                TextByte(c);
            }
        }
        FlushText();
        DropHighSurrogate();
        CloseParagraph(doc_.runs.empty() ? ParagraphAlignment::Left : doc_.runs.back().alignment);
        return std::move(doc_);
    }

private:
    GroupState& State() { return groups_.back(); }

    void OpenGroup() {
        FlushText();
        skipFallback_ = 0;
        if (overflowDepth_ > 0 || groups_.size() > kMaxGroupDepth) {
            ++overflowDepth_;
            return;
        }
        groups_.push_back(groups_.back());
    }

    void CloseGroup() {
        FlushText();
        skipFallback_ = 0;
        if (overflowDepth_ > 0) {
            --overflowDepth_;
            return;
        }
        if (groups_.size() == 1) return;  // a stray closing brace before the document's group
        if (State().destination == Destination::FontTable) CommitFont();
        groups_.pop_back();
        ended_ = groups_.size() == 1;  // the document's outer group closed
    }

    // Within the characters after \uN that stand in for it; takes one.
    bool ConsumeFallback() {
        if (skipFallback_ == 0) return false;
        --skipFallback_;
        return true;
    }

    void TextByte(char c) {
        switch (State().destination) {
            case Destination::Text:
                if (static_cast<unsigned char>(c) >= 0x20 || c == '\t') pendingBytes_ += c;
                break;
            case Destination::FontTable:
                if (c == ';') CommitFont();
                else if (fontName_.size() < kMaxFontNameBytes) fontName_ += c;
                break;
            case Destination::ColorTable:
                if (c == ';') CommitColor();
                break;
            case Destination::Skip:
                break;
        }
    }

    void ReadControl() {
        if (pos_ >= in_.size()) return;  // a backslash that ends the input
        const char first = in_[pos_];
        if (first == '\'') {
            ++pos_;
            int value = 0;
            int digits = 0;
            while (digits < 2 && pos_ < in_.size() && HexDigitValue(in_[pos_]) >= 0) {
                value = value * 16 + HexDigitValue(in_[pos_++]);
                ++digits;
            }
            if (digits > 0 && !ConsumeFallback() && overflowDepth_ == 0) TextByte(static_cast<char>(value));
            return;
        }
        FlushText();
        if (!IsAsciiLetter(first)) {
            ++pos_;
            if (!ConsumeFallback() && overflowDepth_ == 0) Symbol(first);
            return;
        }
        const size_t start = pos_;
        while (pos_ < in_.size() && IsAsciiLetter(in_[pos_])) ++pos_;
        const std::string_view word = in_.substr(start, std::min(pos_ - start, kMaxControlWordLetters));
        bool hasParameter = false;
        long parameter = 0;
        const bool negative = pos_ + 1 < in_.size() && in_[pos_] == '-' && IsAsciiDigit(in_[pos_ + 1]);
        if (negative) ++pos_;
        while (pos_ < in_.size() && IsAsciiDigit(in_[pos_])) {
            hasParameter = true;
            parameter = std::min(parameter * 10 + (in_[pos_++] - '0'), 1L << 31);
        }
        if (negative) parameter = -parameter;
        if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;
        parameter = std::clamp(parameter, -(1L << 31), (1L << 31) - 1);

        if (word == "bin") {  // binary data: skipped whatever the group
            pos_ += std::min(static_cast<size_t>(std::max(parameter, 0L)), in_.size() - pos_);
            return;
        }
        if (ConsumeFallback() || overflowDepth_ > 0) return;
        Word(word, hasParameter, static_cast<int>(parameter));
    }

    void Symbol(char c) {
        switch (c) {
            case '\\':
            case '{':
            case '}': TextByte(c); break;
            case '*': State().destination = Destination::Skip; break;
            case '~': AppendCharacter(0x00A0); break;
            case '_': AppendCharacter(0x2011); break;
            case '\r':
            case '\n': AppendCharacter(L'\n'); break;
            default: break;  // \- (optional hyphen), \| \: and others draw nothing
        }
    }

    void Word(std::string_view word, bool hasParameter, int parameter) {
        GroupState& s = State();
        if (s.destination == Destination::Skip) return;
        if (std::find(std::begin(kSkippedDestinations), std::end(kSkippedDestinations), word) !=
            std::end(kSkippedDestinations)) {
            s.destination = Destination::Skip;
        } else if (word == "fonttbl") {
            s.destination = Destination::FontTable;
        } else if (word == "colortbl") {
            s.destination = Destination::ColorTable;
        } else if (word == "uc") {
            s.fallbackCharacters = hasParameter ? std::clamp(parameter, 0, kMaxFallbackCharacters) : 1;
        } else if (word == "ansicpg") {
            if (IsEightBitCodePage(parameter)) codePage_ = static_cast<unsigned>(parameter);
        } else if (word == "deff") {
            defaultFont_ = parameter;
        } else if (s.destination == Destination::FontTable) {
            if (word == "f") fontNumber_ = parameter;
        } else if (s.destination == Destination::ColorTable) {
            ColorWord(word, parameter);
        } else {
            TextWord(word, hasParameter, parameter);
        }
    }

    void ColorWord(std::string_view word, int parameter) {
        const int value = std::clamp(parameter, 0, 255);
        if (word == "red") red_ = value;
        else if (word == "green") green_ = value;
        else if (word == "blue") blue_ = value;
        else return;
        colorGiven_ = true;
    }

    void TextWord(std::string_view word, bool hasParameter, int parameter) {
        GroupState& s = State();
        const bool on = !hasParameter || parameter != 0;
        if (word == "b") s.bold = on;
        else if (word == "i") s.italic = on;
        else if (word == "ul" || word == "uld" || word == "uldb" || word == "ulw") s.underline = on;
        else if (word == "ulnone") s.underline = false;
        else if (word == "fs") s.halfPoints = hasParameter && parameter > 0 ? std::min(parameter, kMaxHalfPoints) : kDefaultHalfPoints;
        else if (word == "cf") s.colorIndex = hasParameter ? std::max(parameter, -1) : -1;
        else if (word == "f") s.font = hasParameter ? parameter : -1;
        else if (word == "plain") s.ResetCharacterFormat();
        else if (word == "pard" || word == "ql") s.alignment = ParagraphAlignment::Left;
        else if (word == "qc") s.alignment = ParagraphAlignment::Center;
        else if (word == "qr") s.alignment = ParagraphAlignment::Right;
        else if (word == "qj") s.alignment = ParagraphAlignment::Justify;
        else if (word == "par") AppendCharacter(L'\n');
        else if (word == "u" && hasParameter) Unicode(parameter);
        else {
            for (const NamedCharacter& named : kNamedCharacters) {
                if (word == named.word) AppendCharacter(named.character);
            }
        }
    }

    // \uN: a signed 16-bit UTF-16 unit, followed by \ucN characters for
    // readers that do not know \u. Surrogate pairs come as two \u.
    void Unicode(int parameter) {
        const char32_t unit = static_cast<char32_t>(parameter < 0 ? parameter + 65536 : parameter) & 0xFFFF;
        skipFallback_ = State().fallbackCharacters;
        if (unit >= 0xD800 && unit < 0xDC00) {
            DropHighSurrogate();
            highSurrogate_ = unit;
        } else if (unit >= 0xDC00 && unit < 0xE000) {
            const char32_t high = highSurrogate_;
            highSurrogate_ = 0;
            AppendCharacter(high ? static_cast<wchar_t>(0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00))
                                 : kReplacementCharacter);
        } else if (unit >= 0x20 || unit == L'\t') {  // other control characters draw nothing
            AppendCharacter(static_cast<wchar_t>(unit));
        }
    }

    void FlushText() {
        if (pendingBytes_.empty()) return;
        const std::wstring text = CodePageToWide(pendingBytes_, codePage_);
        pendingBytes_.clear();
        AppendText(text);
    }

    // A high surrogate that no low one followed stands for nothing readable.
    void DropHighSurrogate() {
        if (!highSurrogate_) return;
        highSurrogate_ = 0;
        AppendCharacter(kReplacementCharacter);
    }

    void AppendCharacter(wchar_t c) { AppendText(std::wstring_view(&c, 1)); }

    void AppendText(std::wstring_view text) {
        if (State().destination != Destination::Text || text.empty()) return;
        DropHighSurrogate();
        const RtfCharFormat format = CurrentFormat();
        if (startNewRun_ || doc_.runs.empty() || doc_.runs.back().format != format) {
            doc_.runs.push_back(RtfRun{{}, format, State().alignment});
            startNewRun_ = false;
        }
        RtfRun& run = doc_.runs.back();
        run.text += text;
        run.alignment = State().alignment;
        if (text.back() == L'\n') CloseParagraph(State().alignment);
    }

    // A paragraph takes the alignment in effect at its end.
    void CloseParagraph(ParagraphAlignment alignment) {
        for (size_t k = paragraphFirstRun_; k < doc_.runs.size(); ++k) doc_.runs[k].alignment = alignment;
        paragraphFirstRun_ = doc_.runs.size();
        startNewRun_ = true;
    }

    RtfCharFormat CurrentFormat() const {
        const GroupState& s = groups_.back();
        RtfCharFormat format;
        const auto font = fonts_.find(s.font >= 0 ? s.font : defaultFont_);
        if (font != fonts_.end()) format.face = font->second;
        format.halfPoints = s.halfPoints;
        format.bold = s.bold;
        format.italic = s.italic;
        format.underline = s.underline;
        if (s.colorIndex >= 0 && static_cast<size_t>(s.colorIndex) < colors_.size() && colors_[s.colorIndex]) {
            format.autoColor = false;
            format.color = *colors_[s.colorIndex];
        }
        return format;
    }

    void CommitFont() {
        const size_t first = fontName_.find_first_not_of(' ');
        const size_t last = fontName_.find_last_not_of(' ');
        if (first != std::string::npos && (fonts_.size() < kMaxFonts || fonts_.count(fontNumber_))) {
            fonts_[fontNumber_] = CodePageToWide(std::string_view(fontName_).substr(first, last + 1 - first), codePage_);
        }
        fontName_.clear();
    }

    void CommitColor() {
        if (colors_.size() < kMaxColors) {
            colors_.push_back(colorGiven_ ? std::optional<COLORREF>(RGB(red_, green_, blue_)) : std::nullopt);
        }
        red_ = green_ = blue_ = 0;
        colorGiven_ = false;
    }

    std::string_view in_;
    size_t pos_ = 0;
    bool ended_ = false;
    std::vector<GroupState> groups_;  // [0] stands outside the document's group
    size_t overflowDepth_ = 0;        // groups opened beyond kMaxGroupDepth
    int skipFallback_ = 0;
    char32_t highSurrogate_ = 0;
    unsigned codePage_ = kDefaultCodePage;
    int defaultFont_ = 0;
    std::map<int, std::wstring> fonts_;
    int fontNumber_ = 0;
    std::string fontName_;
    std::vector<std::optional<COLORREF>> colors_;
    int red_ = 0;
    int green_ = 0;
    int blue_ = 0;
    bool colorGiven_ = false;
    std::string pendingBytes_;
    RtfDocument doc_;
    bool startNewRun_ = true;
    size_t paragraphFirstRun_ = 0;
};

}  // namespace

RtfDocument ReadRtf(std::string_view rtf) { return Reader(rtf).Read(); }

RtfDocument ReadPlainText(std::string_view text, unsigned codePage) {
    RtfDocument doc;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find_first_of("\r\n", start);
        std::string line(text.substr(start, end == std::string_view::npos ? end : end - start));
        std::erase_if(line, [](char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\t'; });
        RtfRun run;
        run.text = CodePageToWide(line, codePage);
        if (end == std::string_view::npos) {
            start = text.size();
        } else {
            run.text += L'\n';
            start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
        }
        if (!run.text.empty()) doc.runs.push_back(std::move(run));
    }
    return doc;
}

}  // namespace qx::gfx
