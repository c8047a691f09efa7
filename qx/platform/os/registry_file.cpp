#include "qx/platform/os/registry_file.h"

#include <cstdint>
#include <cwchar>
#include <optional>

#include "qx/platform/base/codepage.h"
#include "qx/platform/base/utf.h"

namespace qx {

namespace {

constexpr std::wstring_view kHeader5 = L"Windows Registry Editor Version 5.00";
constexpr std::wstring_view kHeader4 = L"REGEDIT4";

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

std::wstring_view TrimBlanks(std::wstring_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool StartsWithNoCase(std::wstring_view s, std::wstring_view prefix) {
    if (s.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        const wchar_t c = s[i] >= L'A' && s[i] <= L'Z' ? s[i] + (L'a' - L'A') : s[i];
        if (c != prefix[i]) return false;
    }
    return true;
}

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

// 1 to *maxDigits* hex digits making up the whole of *s*.
std::optional<std::uint32_t> ParseHexNumber(std::wstring_view s, size_t maxDigits) {
    if (s.empty() || s.size() > maxDigits) return std::nullopt;
    std::uint32_t n = 0;
    for (wchar_t c : s) {
        const int d = HexDigit(c);
        if (d < 0) return std::nullopt;
        n = (n << 4) | static_cast<std::uint32_t>(d);
    }
    return n;
}

// "01,ff, 3" -> bytes; a trailing comma is allowed, as some writers leave one.
std::optional<std::string> ParseHexList(std::wstring_view s) {
    std::string bytes;
    s = TrimBlanks(s);
    while (!s.empty()) {
        const size_t comma = s.find(L',');
        const auto byte = ParseHexNumber(TrimBlanks(s.substr(0, comma)), 2);
        if (!byte) return std::nullopt;
        bytes.push_back(static_cast<char>(*byte));
        if (comma == s.npos) break;
        s = TrimBlanks(s.substr(comma + 1));
    }
    return bytes;
}

// A quoted string starting at s[0] == '"'; *end* receives the index after
// the closing quote. Only \\ and \" are escapes; a backslash before anything
// else stands for itself.
std::optional<std::wstring> ParseQuoted(std::wstring_view s, size_t& end) {
    std::wstring out;
    for (size_t i = 1; i < s.size(); ++i) {
        const wchar_t c = s[i];
        if (c == L'"') {
            end = i + 1;
            return out;
        }
        if (c == L'\\' && i + 1 < s.size() && (s[i + 1] == L'\\' || s[i + 1] == L'"')) ++i;
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

std::optional<RegValue> ParseData(std::wstring_view data, RegFileVersion version) {
    if (data.starts_with(L'"')) {
        size_t end = 0;
        auto text = ParseQuoted(data, end);
        if (!text || !TrimBlanks(data.substr(end)).empty()) return std::nullopt;
        return RegValue::Text(*text);
    }
    if (StartsWithNoCase(data, L"dword:")) {
        const auto n = ParseHexNumber(TrimBlanks(data.substr(6)), 8);
        if (!n) return std::nullopt;
        return RegValue::Number(*n);
    }
    if (StartsWithNoCase(data, L"hex:")) {
        auto bytes = ParseHexList(data.substr(4));
        if (!bytes) return std::nullopt;
        return RegValue::Bytes(std::move(*bytes));
    }
    if (StartsWithNoCase(data, L"hex(")) {
        const size_t close = data.find(L"):");
        if (close == data.npos) return std::nullopt;
        const auto type = ParseHexNumber(data.substr(4, close - 4), 8);
        auto bytes = ParseHexList(data.substr(close + 2));
        if (!type || !bytes) return std::nullopt;
        return HexValue(*type, std::move(*bytes), version);
    }
    return std::nullopt;
}

// Splits text into physical lines, each without its line end (LF, CR LF or
// a lone CR).
class LineReader {
public:
    explicit LineReader(std::wstring_view text) : text_(text) {}

    bool Next(std::wstring_view& line) {
        if (pos_ >= text_.size()) return false;
        // A plain loop: find_first_of calls wmemchr on the set once a character.
        size_t end = pos_;
        while (end < text_.size() && text_[end] != L'\n' && text_[end] != L'\r') ++end;
        line = text_.substr(pos_, end - pos_);
        pos_ = end;
        ended_ = pos_ < text_.size();
        if (pos_ < text_.size() && text_[pos_] == L'\r') ++pos_;
        if (pos_ < text_.size() && text_[pos_] == L'\n') ++pos_;  // LF alone or after CR
        ++number_;
        return true;
    }
    int number() const { return number_; }
    // Whether the text ends after the line last read, and whether that line
    // had its line end.
    bool AtEnd() const { return pos_ >= text_.size(); }
    bool LineEnded() const { return ended_; }

private:
    std::wstring_view text_;
    size_t pos_ = 0;
    int number_ = 0;
    bool ended_ = false;
};

// Whether a value's text, found at the very end of a file without a line
// end, may be the start of a longer one: a hex list or a dword can be cut
// anywhere, a quoted string only before its closing quote (and then it does
// not read at all).
bool CouldGoOn(std::wstring_view data) {
    if (StartsWithNoCase(data, L"hex")) return true;
    return StartsWithNoCase(data, L"dword:") && TrimBlanks(data.substr(6)).size() < 8;
}

// A value line "name"=data or @=data, with its continuation lines.
// *textCut*: the text ends in the middle of a character.
RegFileLine ParseValueLine(std::wstring_view first, LineReader& reader, RegFileVersion version, bool textCut) {
    using Flaw = RegFileLine::Flaw;
    RegFileLine line;
    line.lineNumber = reader.number();
    std::wstring continued;  // the physical lines of a continued hex list, for keeping
    auto kept = [&](Flaw flaw) {
        line.name.clear();
        line.text = continued.empty() ? std::wstring(first) : std::move(continued);
        line.flaw = flaw;
        return std::move(line);
    };
    // A line the file ends inside is not understood because it was cut.
    auto cut = [&] { return reader.AtEnd() && (textCut || !reader.LineEnded()); };
    auto notUnderstood = [&] { return kept(cut() ? Flaw::CutShort : Flaw::NotUnderstood); };

    const std::wstring_view s = TrimBlanks(first);
    size_t pos = 0;
    if (s.starts_with(L'@')) {
        pos = 1;
    } else if (s.starts_with(L'"')) {
        auto quoted = ParseQuoted(s, pos);
        if (!quoted) return notUnderstood();
        line.name = std::move(*quoted);
        if (!IsValidRegValueName(line.name)) return kept(Flaw::InvalidName);
    } else {
        return notUnderstood();
    }
    while (pos < s.size() && IsBlank(s[pos])) ++pos;
    if (pos >= s.size() || s[pos] != L'=') return notUnderstood();
    std::wstring_view data = TrimBlanks(s.substr(pos + 1));

    // Only hex lists continue on the next line: a string may well end with a
    // backslash ("C:\\").
    std::wstring joined;
    if (data.ends_with(L'\\') && StartsWithNoCase(data, L"hex")) {
        joined = data;
        continued = first;
        std::wstring_view next;
        while (!joined.empty() && joined.back() == L'\\' && reader.Next(next)) {
            joined.pop_back();
            joined += TrimBlanks(next);
            continued += L'\n';
            continued += next;
        }
        // The list promised a next line and the file ended.
        if (joined.ends_with(L'\\')) return kept(Flaw::CutShort);
        data = joined;
    }
    if (cut() && (textCut || CouldGoOn(data))) return kept(Flaw::CutShort);
    if (data == L"-") {
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

RegFileContent Parse(std::wstring_view text, bool textCut) {
    RegFileContent content;
    LineReader reader(text);
    std::wstring_view physical;
    bool headerSeen = false;
    while (reader.Next(physical)) {
        const std::wstring_view line = TrimBlanks(physical);
        if (line.empty()) continue;
        if (!headerSeen && content.sections.empty()) {
            headerSeen = true;
            if (line == kHeader5 || line == kHeader4) {
                content.version = line == kHeader5 ? RegFileVersion::Regedit5 : RegFileVersion::Regedit4;
                continue;
            }
        }
        if (line.starts_with(L'[')) {
            RegFileSection& section = content.sections.emplace_back();
            section.lineNumber = reader.number();
            section.header = physical;
            if (line.size() >= 2 && line.back() == L']') {
                std::wstring_view key = line.substr(1, line.size() - 2);
                section.remove = key.starts_with(L'-');
                if (section.remove) key.remove_prefix(1);
                section.key = key;
            } else {
                section.malformed = true;
            }
            continue;
        }
        RegFileLine parsed = ParseValueLine(physical, reader, content.version, textCut);
        if (content.sections.empty()) {
            // Before any section a value has no key to go to.
            if (parsed.kind != RegFileLine::Kind::Kept) {
                parsed.kind = RegFileLine::Kind::Kept;
                parsed.text = physical;
            }
            content.leading.push_back(std::move(parsed));
        } else {
            content.sections.back().lines.push_back(std::move(parsed));
        }
    }
    return content;
}

}  // namespace

std::wstring DecodeRegFileBytes(std::string_view bytes) { return Decode(bytes).text; }

RegFileContent ParseRegText(std::wstring_view text) { return Parse(text, false); }

RegFileContent ParseRegFile(std::string_view bytes) {
    const DecodedText decoded = Decode(bytes);
    return Parse(decoded.text, decoded.cut);
}

RegFileWriter::RegFileWriter() : text_(kHeader5) { text_ += L"\n"; }

void RegFileWriter::BeginSection(std::wstring_view key, bool remove) {
    text_ += remove ? L"\n[-" : L"\n[";
    text_ += key;
    text_ += L"]\n";
}

void RegFileWriter::WriteName(std::wstring_view name) {
    if (name.empty()) {
        text_ += L"@=";
        return;
    }
    text_ += L'"';
    for (wchar_t c : name) {
        if (c == L'\\' || c == L'"') text_ += L'\\';
        text_ += c;
    }
    text_ += L"\"=";
}

void RegFileWriter::WriteValue(std::wstring_view name, const RegValue& value) {
    WriteName(name);
    if (value.type == kRegSz) {
        if (const auto text = QuotableText(value.data)) {
            text_ += L'"';
            for (wchar_t c : *text) {
                if (c == L'\\' || c == L'"') text_ += L'\\';
                text_ += c;
            }
            text_ += L"\"\n";
            return;
        }
    }
    if (value.type == kRegDword && value.data.size() == 4) {
        wchar_t digits[16];
        swprintf(digits, 16, L"dword:%08x", static_cast<unsigned>(*value.AsNumber()));
        text_ += digits;
        text_ += L'\n';
        return;
    }
    size_t column = text_.size() - text_.rfind(L'\n');
    if (value.type == kRegBinary) {
        text_ += L"hex:";
    } else {
        wchar_t prefix[24];
        swprintf(prefix, 24, L"hex(%x):", static_cast<unsigned>(value.type));
        text_ += prefix;
    }
    column += 8;
    static constexpr wchar_t kDigits[] = L"0123456789abcdef";
    for (size_t i = 0; i < value.data.size(); ++i) {
        const auto b = static_cast<unsigned char>(value.data[i]);
        text_ += kDigits[b >> 4];
        text_ += kDigits[b & 0xF];
        column += 2;
        if (i + 1 == value.data.size()) break;
        text_ += L',';
        ++column;
        // Lines stay below 80 columns, as regedit keeps them.
        if (column > 75) {
            text_ += L"\\\n  ";
            column = 2;
        }
    }
    text_ += L'\n';
}

void RegFileWriter::WriteDeleteValue(std::wstring_view name) {
    WriteName(name);
    text_ += L"-\n";
}

void RegFileWriter::WriteKept(std::wstring_view text) {
    text_ += text;
    text_ += L'\n';
}

void RegFileWriter::WriteLine(const RegFileLine& line) {
    switch (line.kind) {
        case RegFileLine::Kind::SetValue: WriteValue(line.name, line.value); break;
        case RegFileLine::Kind::DeleteValue: WriteDeleteValue(line.name); break;
        case RegFileLine::Kind::Kept: WriteKept(line.text); break;
    }
}

std::string RegFileWriter::Finish(RegFileEncoding encoding) const {
    if (encoding == RegFileEncoding::Utf8) return WideToUtf8(text_);
    std::wstring crlf;
    crlf.reserve(text_.size() + text_.size() / 16);
    for (wchar_t c : text_) {
        if (c == L'\n') crlf += L'\r';
        crlf += c;
    }
    return "\xFF\xFE" + WideToUtf16Bytes(crlf, false);
}

}  // namespace qx
