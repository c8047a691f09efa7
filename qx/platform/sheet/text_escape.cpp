#include "qx/platform/sheet/internal/text_escape.h"

#include <cstdint>

#include "qx/platform/base/ascii.h"
#include "qx/platform/sheet/internal/xml.h"

namespace qx::sheet::detail {

namespace {

// The code of "_xHHHH" at *at* (an escape when a '_' follows), or -1.
int EscapeStartAt(std::string_view text, size_t at) {
    if (at + 6 > text.size() || text[at] != '_' || (text[at + 1] != 'x' && text[at + 1] != 'X')) return -1;
    int code = 0;
    for (size_t i = at + 2; i < at + 6; ++i) {
        const int digit = HexDigitValue(text[i]);
        if (digit < 0) return -1;
        code = code * 16 + digit;
    }
    return code;
}

// The code of an escape "_xHHHH_" at *at*, or -1.
int EscapeAt(std::string_view text, size_t at) {
    return at + 7 <= text.size() && text[at + 6] == '_' ? EscapeStartAt(text, at) : -1;
}

void AppendUtf8(std::string& out, int code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

bool NeedsEscape(unsigned char c) { return c < 0x20 && c != '\t' && c != '\n'; }

}  // namespace

std::string DecodeEscapes(std::string_view utf8) {
    if (utf8.find('_') == std::string_view::npos) return std::string(utf8);
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i) {
        const int code = EscapeAt(utf8, i);
        // Surrogate codes stand for nothing on their own; they stay as text.
        if (code < 0 || (code >= 0xD800 && code <= 0xDFFF) || code == 0) {
            out += utf8[i];
            continue;
        }
        AppendUtf8(out, code);
        i += 6;
    }
    return out;
}

void AppendCellText(std::string& out, std::string_view utf8) {
    std::string escaped;
    size_t plain = 0;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        // A '_' that starts "_xHHHH" is written as an escape of its own even
        // when no '_' follows: the next character may be escaped, and its
        // escape's '_' would complete this one.
        const bool literal = c == '_' && EscapeStartAt(utf8, i) >= 0;
        if (!literal && !NeedsEscape(c)) continue;
        escaped.append(utf8.data() + plain, i - plain);
        static const char kHex[] = "0123456789ABCDEF";
        const unsigned code = literal ? 0x5F : c;
        escaped += "_x00";
        escaped += kHex[code >> 4];
        escaped += kHex[code & 0xF];
        escaped += '_';
        plain = i + 1;
    }
    if (escaped.empty()) {
        AppendEscaped(out, utf8, false);
        return;
    }
    escaped.append(utf8.data() + plain, utf8.size() - plain);
    AppendEscaped(out, escaped, false);
}

bool NeedsPreserve(std::string_view utf8) {
    if (utf8.empty()) return false;
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    return blank(utf8.front()) || blank(utf8.back()) || utf8.find('\n') != std::string_view::npos;
}

size_t Utf16Length(std::wstring_view text) {
    size_t length = 0;
    for (wchar_t c : text) length += static_cast<std::uint32_t>(c) > 0xFFFF ? 2 : 1;
    return length;
}

}  // namespace qx::sheet::detail
