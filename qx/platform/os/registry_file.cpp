#include "qx/platform/os/registry_file.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <utility>

#include "qx/platform/base/ascii.h"
#include "qx/platform/base/codepage.h"
#include "qx/platform/base/utf.h"

namespace qx {

namespace {

constexpr std::string_view kHeader5 = "Windows Registry Editor Version 5.00";
constexpr std::string_view kHeader4 = "REGEDIT4";

// The parser reads wide text, or UTF-8 bytes without widening the whole
// file first: every character the syntax looks at is ASCII, which UTF-8
// never uses inside a longer sequence, so the pieces it cuts decode to the
// same text as the whole would.
template <typename Char>
using View = std::basic_string_view<Char>;

std::wstring Wide(std::wstring_view text) { return std::wstring(text); }
std::wstring Wide(std::string_view text) { return Utf8ToWide(text); }

template <typename Char>
bool IsBlank(Char c) { return c == ' ' || c == '\t'; }

// The ASCII *prefix* at the start of *text*, ignoring case.
template <typename Char>
bool StartsWithAscii(View<Char> text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        Char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<Char>(c - 'A' + 'a');
        if (c != static_cast<Char>(prefix[i])) return false;
    }
    return true;
}

// 1 to *maxDigits* hex digits making up the whole of *s*.
template <typename Char>
std::optional<std::uint32_t> ParseHexNumber(View<Char> s, size_t maxDigits) {
    if (s.empty() || s.size() > maxDigits) return std::nullopt;
    std::uint32_t n = 0;
    for (Char c : s) {
        const int d = HexDigitValue(c);
        if (d < 0) return std::nullopt;
        n = (n << 4) | static_cast<std::uint32_t>(d);
    }
    return n;
}

// A hex list ("01,ff, 3") read piece by piece as the lines of a continued
// value come: the bytes of every complete item, the text after the last comma
// kept until the next piece or the end. Every item must be one or two hex
// digits between blanks; the last may be blank, as some writers leave a
// trailing comma.
template <typename Char>
class HexListReader {
public:
    void Add(View<Char> piece) {
        size_t from = 0;
        // Items of two digits each, as writers make them, are read without
        // searching for the comma.
        if (ok_ && pending_.empty()) {
            while (from + 2 < piece.size() && piece[from + 2] == ',') {
                const int high = HexDigitValue(piece[from]), low = HexDigitValue(piece[from + 1]);
                if (high < 0 || low < 0) break;
                bytes_.push_back(static_cast<char>(high << 4 | low));
                from += 3;
            }
        }
        for (size_t comma = piece.find(Char(','), from); comma != piece.npos; comma = piece.find(Char(','), from)) {
            if (ok_ && pending_.empty()) {
                Item(piece.substr(from, comma - from));
            } else if (ok_) {
                pending_.append(piece.substr(from, comma - from));
                Item(pending_);
            }
            pending_.clear();
            from = comma + 1;
        }
        pending_.append(piece.substr(from));
    }
    // The backslash that continues a line ends the text after the last comma.
    bool EndsWithBackslash() const { return !pending_.empty() && pending_.back() == '\\'; }
    void DropLast() { pending_.pop_back(); }

    std::optional<std::string> Finish() {
        if (ok_ && !TrimBlanks(View<Char>(pending_)).empty()) Item(pending_);
        if (!ok_) return std::nullopt;
        return std::move(bytes_);
    }

private:
    void Item(View<Char> item) {
        const auto byte = ParseHexNumber(TrimBlanks(item), 2);
        if (byte) bytes_.push_back(static_cast<char>(*byte));
        else ok_ = false;
    }

    std::string bytes_;
    std::basic_string<Char> pending_;
    bool ok_ = true;
};

template <typename Char>
std::optional<std::string> ParseHexList(View<Char> s) {
    HexListReader<Char> reader;
    reader.Add(s);
    return reader.Finish();
}

// A quoted string starting at s[0] == '"'; *end* receives the index after
// the closing quote. Only \\ and \" are escapes; a backslash before anything
// else stands for itself.
template <typename Char>
std::optional<std::wstring> ParseQuoted(View<Char> s, size_t& end) {
    std::basic_string<Char> out;
    for (size_t i = 1; i < s.size(); ++i) {
        const Char c = s[i];
        if (c == '"') {
            end = i + 1;
            return Wide(View<Char>(out));
        }
        if (c == '\\' && i + 1 < s.size() && (s[i + 1] == '\\' || s[i + 1] == '"')) ++i;
        out += s[i];
    }
    return std::nullopt;
}

// Text types carried as hex in a REGEDIT4 file hold 8-bit text.
RegValue HexValue(std::uint32_t type, std::string bytes, RegFileVersion version) {
    if (version == RegFileVersion::Regedit4 && (type == kRegSz || type == kRegExpandSz || type == kRegMultiSz))
        bytes = WideToUtf16Bytes(CodePageToWide(bytes, kCpAcp), false);
    return RegValue::Bytes(std::move(bytes), type);
}

// Where the list of a hex value begins ("hex:" or "hex(type):"), with its
// type (binary for "hex:"); nullopt when *data* does not begin so.
template <typename Char>
std::optional<std::pair<size_t, std::uint32_t>> HexListStart(View<Char> data) {
    if (StartsWithAscii(data, "hex:")) return std::pair<size_t, std::uint32_t>(4, kRegBinary);
    if (!StartsWithAscii(data, "hex(")) return std::nullopt;
    const Char close[] = {')', ':'};
    const size_t at = data.find(View<Char>(close, 2));
    if (at == data.npos) return std::nullopt;
    const auto type = ParseHexNumber(data.substr(4, at - 4), 8);
    if (!type) return std::nullopt;
    return std::pair<size_t, std::uint32_t>(at + 2, *type);
}

template <typename Char>
std::optional<RegValue> ParseData(View<Char> data, RegFileVersion version) {
    if (data.starts_with(Char('"'))) {
        size_t end = 0;
        auto text = ParseQuoted(data, end);
        if (!text || !TrimBlanks(data.substr(end)).empty()) return std::nullopt;
        return RegValue::Text(*text);
    }
    if (StartsWithAscii(data, "dword:")) {
        const auto n = ParseHexNumber(TrimBlanks(data.substr(6)), 8);
        if (!n) return std::nullopt;
        return RegValue::Number(*n);
    }
    const auto list = HexListStart(data);
    if (!list) return std::nullopt;
    auto bytes = ParseHexList(data.substr(list->first));
    if (!bytes) return std::nullopt;
    return HexValue(list->second, std::move(*bytes), version);
}

// Splits text into physical lines, each without its line end (LF, CR LF or
// a lone CR).
template <typename Char>
class LineReader {
public:
    explicit LineReader(View<Char> text) : text_(text) {}

    bool Next(View<Char>& line) {
        if (pos_ >= text_.size()) return false;
        // The next LF is remembered, so that a file of lone CRs is not
        // searched to its end for every line; a CR is looked for before it.
        if (nextLf_ < pos_ || nextLf_ == kUnknown) nextLf_ = std::min(text_.find(Char('\n'), pos_), text_.size());
        size_t end = nextLf_;
        if (const size_t cr = text_.substr(pos_, end - pos_).find(Char('\r')); cr != text_.npos) end = pos_ + cr;
        line = text_.substr(pos_, end - pos_);
        pos_ = end;
        ended_ = pos_ < text_.size();
        if (pos_ < text_.size() && text_[pos_] == '\r') ++pos_;
        if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;  // LF alone or after CR
        ++number_;
        return true;
    }
    int number() const { return number_; }
    // Whether the text ends after the line last read, and whether that line
    // had its line end.
    bool AtEnd() const { return pos_ >= text_.size(); }
    bool LineEnded() const { return ended_; }
    // Where the next line begins, and a reader that starts there.
    size_t position() const { return pos_; }
    LineReader From(size_t position) const {
        LineReader reader(text_);
        reader.pos_ = position;
        return reader;
    }

private:
    static constexpr size_t kUnknown = static_cast<size_t>(-1);
    View<Char> text_;
    size_t pos_ = 0;
    size_t nextLf_ = kUnknown;
    int number_ = 0;
    bool ended_ = false;
};

// Whether a value's text, found at the very end of a file without a line
// end, may be the start of a longer one: a hex list or a dword can be cut
// anywhere, a quoted string only before its closing quote (and then it does
// not read at all).
template <typename Char>
bool CouldGoOn(View<Char> data) {
    if (StartsWithAscii(data, "hex")) return true;
    return StartsWithAscii(data, "dword:") && TrimBlanks(data.substr(6)).size() < 8;
}

// A value line "name"=data or @=data, with its continuation lines.
// *textCut*: the text ends in the middle of a character.
template <typename Char>
RegFileLine ParseValueLine(View<Char> first, LineReader<Char>& reader, RegFileVersion version, bool textCut) {
    using Flaw = RegFileLine::Flaw;
    RegFileLine line;
    line.lineNumber = reader.number();
    // The physical lines of a continued hex list, joined by '\n', are
    // gathered only when the line is kept.
    std::optional<size_t> continuedFrom;
    int continuedLines = 0;
    auto kept = [&](Flaw flaw) {
        line.name.clear();
        line.text = Wide(first);
        if (continuedFrom) {
            LineReader<Char> again = reader.From(*continuedFrom);
            View<Char> next;
            for (int i = 0; i < continuedLines && again.Next(next); ++i) {
                line.text += L'\n';
                line.text += Wide(next);
            }
        }
        line.flaw = flaw;
        return std::move(line);
    };
    // A line the file ends inside is not understood because it was cut.
    auto cut = [&] { return reader.AtEnd() && (textCut || !reader.LineEnded()); };
    auto notUnderstood = [&] { return kept(cut() ? Flaw::CutShort : Flaw::NotUnderstood); };

    const View<Char> s = TrimBlanks(first);
    size_t pos = 0;
    if (s.starts_with(Char('@'))) {
        pos = 1;
    } else if (s.starts_with(Char('"'))) {
        auto quoted = ParseQuoted(s, pos);
        if (!quoted) return notUnderstood();
        line.name = std::move(*quoted);
        if (!IsValidRegValueName(line.name)) return kept(Flaw::InvalidName);
    } else {
        return notUnderstood();
    }
    while (pos < s.size() && IsBlank(s[pos])) ++pos;
    if (pos >= s.size() || s[pos] != '=') return notUnderstood();
    View<Char> data = TrimBlanks(s.substr(pos + 1));

    // Only hex lists continue on the next line: a string may well end with a
    // backslash ("C:\\"). The list is read line by line as if the lines
    // were joined (without their backslashes and outer blanks); when the
    // first line does not show the list's start, they are joined.
    if (data.ends_with(Char('\\')) && StartsWithAscii(data, "hex")) {
        continuedFrom = reader.position();
        const auto list = HexListStart(data.substr(0, data.size() - 1));
        HexListReader<Char> hex;
        std::basic_string<Char> joined;
        if (list) hex.Add(data.substr(list->first));
        else joined = data;
        auto open = [&] { return list ? hex.EndsWithBackslash() : joined.ends_with(Char('\\')); };
        View<Char> next;
        while (open() && reader.Next(next)) {
            ++continuedLines;
            if (list) {
                hex.DropLast();
                hex.Add(TrimBlanks(next));
            } else {
                joined.pop_back();
                joined += TrimBlanks(next);
            }
        }
        // The list promised a next line and the file ended.
        if (open()) return kept(Flaw::CutShort);
        // The joined text starts with "hex", so it could go on.
        if (cut()) return kept(Flaw::CutShort);
        std::optional<RegValue> value;
        if (list) {
            if (auto bytes = hex.Finish()) value = HexValue(list->second, std::move(*bytes), version);
        } else {
            value = ParseData(View<Char>(joined), version);
        }
        if (!value) return notUnderstood();
        line.kind = RegFileLine::Kind::SetValue;
        line.value = std::move(*value);
        return line;
    }
    if (cut() && (textCut || CouldGoOn(data))) return kept(Flaw::CutShort);
    if (data.size() == 1 && data[0] == '-') {
        line.kind = RegFileLine::Kind::DeleteValue;
        return line;
    }
    auto value = ParseData(data, version);
    if (!value) return notUnderstood();
    line.kind = RegFileLine::Kind::SetValue;
    line.value = std::move(*value);
    return line;
}

// The text of UTF-16LE bytes that a quoted string gives back exactly: a
// quoted string reads back as its characters plus one terminating zero, and
// must stay on its line. nullopt for anything else (no terminator, a zero or
// line break inside, a lone surrogate, an odd byte).
std::optional<std::wstring> QuotableText(std::string_view data) {
    if (data.size() < 2 || data.size() % 2 != 0 || data[data.size() - 2] != '\0' || data.back() != '\0')
        return std::nullopt;
    std::wstring text;
    text.reserve(data.size() / 2);
    auto unit = [&](size_t i) {
        return static_cast<unsigned>(static_cast<unsigned char>(data[i])) |
               static_cast<unsigned>(static_cast<unsigned char>(data[i + 1])) << 8;
    };
    const size_t end = data.size() - 2;
    for (size_t i = 0; i < end; i += 2) {
        const unsigned u = unit(i);
        if (u == 0 || u == '\r' || u == '\n' || (u >= 0xDC00 && u <= 0xDFFF)) return std::nullopt;
        if (u >= 0xD800 && u <= 0xDBFF) {
            const unsigned low = i + 2 < end ? unit(i + 2) : 0;
            if (low < 0xDC00 || low > 0xDFFF) return std::nullopt;
            if constexpr (sizeof(wchar_t) == 2) {
                text += static_cast<wchar_t>(u);
                text += static_cast<wchar_t>(low);
            } else {
                text += static_cast<wchar_t>(0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
            }
            i += 2;
            continue;
        }
        text += static_cast<wchar_t>(u);
    }
    return text;
}

bool IsValidUtf8(std::string_view bytes) {
    for (size_t i = 0; i < bytes.size();) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        size_t length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > bytes.size()) return false;
        for (size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(bytes[i + k]) >> 6) != 0x2) return false;
        i += length;
    }
    return true;
}

struct DecodedText {
    std::wstring text;
    bool cut = false;  // UTF-16 of odd length: the last character is half there
};

DecodedText Decode(std::string_view bytes) {
    auto utf16 = [](std::string_view units, bool bigEndian) {
        DecodedText decoded{Utf16BytesToWide(units, bigEndian), units.size() % 2 != 0};
        if (decoded.cut) decoded.text += L'\uFFFD';
        return decoded;
    };
    if (bytes.starts_with("\xFF\xFE")) return utf16(bytes.substr(2), false);
    if (bytes.starts_with("\xFE\xFF")) return utf16(bytes.substr(2), true);
    if (bytes.starts_with("\xEF\xBB\xBF")) return {Utf8ToWide(bytes.substr(3))};
    if (bytes.size() >= 2 && bytes[0] != '\0' && bytes[1] == '\0') return utf16(bytes, false);
    if (IsValidUtf8(bytes)) return {Utf8ToWide(bytes)};
    return {CodePageToWide(bytes, kCpAcp)};
}

template <typename Char>
bool IsHeader(View<Char> line, std::string_view header) {
    if (line.size() != header.size()) return false;
    for (size_t i = 0; i < header.size(); ++i)
        if (line[i] != static_cast<Char>(header[i])) return false;
    return true;
}

template <typename Char>
RegFileContent Parse(View<Char> text, bool textCut, const std::function<void(RegFileSection&)>& onSection) {
    RegFileContent content;
    LineReader<Char> reader(text);
    View<Char> physical;
    bool headerSeen = false;
    std::optional<RegFileSection> section;  // the one being read
    while (reader.Next(physical)) {
        const View<Char> line = TrimBlanks(physical);
        if (line.empty()) continue;
        if (!headerSeen && !section) {
            headerSeen = true;
            if (IsHeader(line, kHeader5) || IsHeader(line, kHeader4)) {
                content.version = IsHeader(line, kHeader5) ? RegFileVersion::Regedit5 : RegFileVersion::Regedit4;
                continue;
            }
        }
        if (line.starts_with(Char('['))) {
            if (section) onSection(*section);
            section.emplace();
            section->lineNumber = reader.number();
            section->header = Wide(physical);
            if (line.size() >= 2 && line.back() == ']') {
                View<Char> key = line.substr(1, line.size() - 2);
                section->remove = key.starts_with(Char('-'));
                if (section->remove) key.remove_prefix(1);
                section->key = Wide(key);
            } else {
                section->malformed = true;
            }
            continue;
        }
        RegFileLine parsed = ParseValueLine(physical, reader, content.version, textCut);
        if (!section) {
            // Before any section a value has no key to go to.
            if (parsed.kind != RegFileLine::Kind::Kept) {
                parsed.kind = RegFileLine::Kind::Kept;
                parsed.text = Wide(physical);
            }
            content.leading.push_back(std::move(parsed));
        } else {
            section->lines.push_back(std::move(parsed));
        }
    }
    if (section) onSection(*section);
    return content;
}

RegFileContent ParseBytes(std::string_view bytes, const std::function<void(RegFileSection&)>& onSection) {
    // UTF-8 is read as it stands; the other forms are widened first.
    if (bytes.starts_with("\xEF\xBB\xBF")) return Parse(bytes.substr(3), false, onSection);
    const bool utf16 = bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF") ||
                       (bytes.size() >= 2 && bytes[0] != '\0' && bytes[1] == '\0');
    if (!utf16 && IsValidUtf8(bytes)) return Parse(bytes, false, onSection);
    const DecodedText decoded = Decode(bytes);
    return Parse(std::wstring_view(decoded.text), decoded.cut, onSection);
}

RegFileContent Collect(const std::function<RegFileContent(const std::function<void(RegFileSection&)>&)>& parse) {
    std::vector<RegFileSection> sections;
    RegFileContent content = parse([&](RegFileSection& section) { sections.push_back(std::move(section)); });
    content.sections = std::move(sections);
    return content;
}

}  // namespace

std::wstring DecodeRegFileBytes(std::string_view bytes) { return Decode(bytes).text; }

RegFileContent ParseRegText(std::wstring_view text) {
    return Collect([&](const auto& onSection) { return Parse(text, false, onSection); });
}

RegFileContent ParseRegFile(std::string_view bytes) {
    return Collect([&](const auto& onSection) { return ParseBytes(bytes, onSection); });
}

RegFileContent ParseRegFile(std::string_view bytes, const std::function<void(RegFileSection&)>& onSection) {
    return ParseBytes(bytes, onSection);
}

RegFileWriter::RegFileWriter(size_t expectedBytes) {
    text_.reserve(std::max(expectedBytes, kHeader5.size() + 1));
    text_ = kHeader5;
    text_ += '\n';
}

void RegFileWriter::BeginSection(std::wstring_view key, bool remove) {
    text_ += remove ? "\n[-" : "\n[";
    AppendUtf8(key, text_);
    text_ += "]\n";
}

void RegFileWriter::WriteEscaped(std::wstring_view text) {
    size_t from = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'\\' && text[i] != L'"') continue;
        AppendUtf8(text.substr(from, i - from), text_);
        text_ += '\\';
        from = i;
    }
    AppendUtf8(text.substr(from), text_);
}

void RegFileWriter::WriteName(std::wstring_view name) {
    if (name.empty()) {
        text_ += "@=";
        return;
    }
    text_ += '"';
    WriteEscaped(name);
    text_ += "\"=";
}

void RegFileWriter::WriteValue(std::wstring_view name, const RegValue& value) {
    WriteName(name);
    if (value.type == kRegSz) {
        if (const auto text = QuotableText(value.data)) {
            text_ += '"';
            WriteEscaped(*text);
            text_ += "\"\n";
            return;
        }
    }
    if (value.type == kRegDword && value.data.size() == 4) {
        char digits[16];
        std::snprintf(digits, sizeof digits, "dword:%08x", static_cast<unsigned>(*value.AsNumber()));
        text_ += digits;
        text_ += '\n';
        return;
    }
    // The column counts characters: the bytes that begin one in UTF-8.
    size_t column = 1;
    for (size_t i = text_.size(); i > 0 && text_[i - 1] != '\n'; --i)
        column += (static_cast<unsigned char>(text_[i - 1]) & 0xC0) != 0x80;
    if (value.type == kRegBinary) {
        text_ += "hex:";
    } else {
        char prefix[24];
        std::snprintf(prefix, sizeof prefix, "hex(%x):", static_cast<unsigned>(value.type));
        text_ += prefix;
    }
    column += 8;
    static constexpr char kDigits[] = "0123456789abcdef";
    text_.reserve(text_.size() + value.data.size() * 3 + value.data.size() / 8);
    for (size_t i = 0; i < value.data.size(); ++i) {
        const auto b = static_cast<unsigned char>(value.data[i]);
        text_ += kDigits[b >> 4];
        text_ += kDigits[b & 0xF];
        column += 2;
        if (i + 1 == value.data.size()) break;
        text_ += ',';
        ++column;
        // Lines stay below 80 columns, as regedit keeps them.
        if (column > 75) {
            text_ += "\\\n  ";
            column = 2;
        }
    }
    text_ += '\n';
}

void RegFileWriter::WriteDeleteValue(std::wstring_view name) {
    WriteName(name);
    text_ += "-\n";
}

void RegFileWriter::WriteKept(std::wstring_view text) {
    AppendUtf8(text, text_);
    text_ += '\n';
}

void RegFileWriter::WriteLine(const RegFileLine& line) {
    switch (line.kind) {
        case RegFileLine::Kind::SetValue: WriteValue(line.name, line.value); break;
        case RegFileLine::Kind::DeleteValue: WriteDeleteValue(line.name); break;
        case RegFileLine::Kind::Kept: WriteKept(line.text); break;
    }
}

std::string RegFileWriter::Finish(RegFileEncoding encoding) const {
    if (encoding == RegFileEncoding::Utf8) return text_;
    const std::wstring text = Utf8ToWide(text_);
    std::wstring crlf;
    crlf.reserve(text.size() + text.size() / 16);
    for (wchar_t c : text) {
        if (c == L'\n') crlf += L'\r';
        crlf += c;
    }
    return "\xFF\xFE" + WideToUtf16Bytes(crlf, false);
}

}  // namespace qx
