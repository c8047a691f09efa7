#include "qx/platform/base/utf.h"

namespace qx {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// Code points a wchar_t may hold that UTF cannot carry become U+FFFD.
char32_t Sanitized(wchar_t ch) {
    auto c = static_cast<char32_t>(ch);
    return (c > 0x10FFFF || IsSurrogate(c)) ? kReplacement : c;
}

void PushUtf16(std::u16string& out, char32_t c) {
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
    } else {
        c -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (c >> 10));
        out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    }
}

template <typename Unit>
std::wstring DecodeUtf16(size_t count, Unit unitAt) {
    // Written in place (a pair only shortens the text), then cut to size.
    std::wstring out(count, L'\0');
    wchar_t* o = out.data();
    for (size_t i = 0; i < count; ++i) {
        char32_t u = unitAt(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < count) {
            char32_t low = unitAt(i + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                *o++ = static_cast<wchar_t>(0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        *o++ = static_cast<wchar_t>(IsSurrogate(u) ? kReplacement : u);
    }
    out.resize(static_cast<size_t>(o - out.data()));
    return out;
}

}  // namespace

void AppendUtf8(std::wstring_view text, std::string& out) {
    // Measure first, then write into room of exactly that size.
    size_t bytes = 0;
    for (wchar_t ch : text) {
        const char32_t c = Sanitized(ch);
        bytes += c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
    }
    const size_t start = out.size();
    out.resize(start + bytes);
    char* o = out.data() + start;
    for (wchar_t ch : text) {
        const char32_t c = Sanitized(ch);
        if (c < 0x80) {
            *o++ = static_cast<char>(c);
        } else if (c < 0x800) {
            *o++ = static_cast<char>(0xC0 | (c >> 6));
            *o++ = static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            *o++ = static_cast<char>(0xE0 | (c >> 12));
            *o++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *o++ = static_cast<char>(0x80 | (c & 0x3F));
        } else {
            *o++ = static_cast<char>(0xF0 | (c >> 18));
            *o++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            *o++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *o++ = static_cast<char>(0x80 | (c & 0x3F));
        }
    }
}

std::string WideToUtf8(std::wstring_view text) {
    std::string out;
    AppendUtf8(text, out);
    return out;
}

char32_t DecodeUtf8Char(std::string_view bytes, size_t& length) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t size = bytes.size();
    const unsigned char lead = p[0];
    length = 1;
    if (lead < 0x80) return lead;
    size_t extra;
    char32_t c;
    char32_t min;
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1; c = lead & 0x1F; min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2; c = lead & 0x0F; min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3; c = lead & 0x07; min = 0x10000;
    } else {
        return kReplacement;
    }
    size_t taken = 0;
    while (taken < extra && 1 + taken < size && (p[1 + taken] & 0xC0) == 0x80) {
        c = (c << 6) | (p[1 + taken] & 0x3F);
        ++taken;
    }
    // A broken sequence costs one replacement character; its continuation
    // bytes go with it.
    length = 1 + taken;
    if (taken < extra || c < min || c > 0x10FFFF || IsSurrogate(c)) return kReplacement;
    return c;
}

void Utf8ToWide(std::string_view bytes, std::wstring& out) {
    // Never more characters than bytes: write into a string of that size and
    // cut it to what was written.
    out.resize(bytes.size());
    wchar_t* o = out.data();
    size_t i = 0;
    while (i < bytes.size()) {
        // ASCII runs are by far the most common; copy them without decoding.
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            *o++ = static_cast<wchar_t>(b);
            ++i;
            continue;
        }
        // Two-byte letters (Latin accents, umlauts) are the next most common.
        if (b >= 0xC2 && b <= 0xDF && i + 1 < bytes.size() && (static_cast<unsigned char>(bytes[i + 1]) & 0xC0) == 0x80) {
            *o++ = static_cast<wchar_t>(((b & 0x1F) << 6) | (static_cast<unsigned char>(bytes[i + 1]) & 0x3F));
            i += 2;
            continue;
        }
        size_t length = 0;
        *o++ = static_cast<wchar_t>(DecodeUtf8Char(bytes.substr(i), length));
        i += length;
    }
    out.resize(static_cast<size_t>(o - out.data()));
}

std::wstring Utf8ToWide(std::string_view bytes) {
    std::wstring out;
    Utf8ToWide(bytes, out);
    return out;
}

std::u16string WideToUtf16(std::wstring_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (wchar_t ch : text) PushUtf16(out, Sanitized(ch));
    return out;
}

std::wstring Utf16ToWide(std::u16string_view text) {
    return DecodeUtf16(text.size(), [&](size_t i) { return static_cast<char32_t>(text[i]); });
}

std::string WideToUtf16Bytes(std::wstring_view text, bool bigEndian) {
    // Sized first and written in place: page files and documents of many
    // kilobytes go through here.
    size_t units = text.size();
    for (wchar_t ch : text) units += Sanitized(ch) >= 0x10000 ? 1 : 0;
    std::string out(units * 2, '\0');
    unsigned char* o = reinterpret_cast<unsigned char*>(out.data());
    const int high = bigEndian ? 0 : 1;
    for (wchar_t ch : text) {
        char32_t c = Sanitized(ch);
        if (c >= 0x10000) {
            c -= 0x10000;
            const char32_t lead = 0xD800 + (c >> 10);
            o[high] = static_cast<unsigned char>(lead >> 8);
            o[1 - high] = static_cast<unsigned char>(lead & 0xFF);
            o += 2;
            c = 0xDC00 + (c & 0x3FF);
        }
        o[high] = static_cast<unsigned char>(c >> 8);
        o[1 - high] = static_cast<unsigned char>(c & 0xFF);
        o += 2;
    }
    return out;
}

std::wstring Utf16BytesToWide(std::string_view bytes, bool bigEndian) {
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
    return DecodeUtf16(bytes.size() / 2, [&](size_t i) {
        unsigned first = b[2 * i];
        unsigned second = b[2 * i + 1];
        return static_cast<char32_t>(bigEndian ? (first << 8 | second) : (second << 8 | first));
    });
}

}  // namespace qx
