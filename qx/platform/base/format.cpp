#include "qx/platform/base/format.h"

#include <clocale>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string_view>

#include "qx/platform/base/codepage.h"

namespace qx {
namespace {

enum class Length { kNone, kChar, kShort, kLong, kLongLong, kLongDouble, kSize, kIntMax, kPtrDiff, kInt32, kWide };

struct Spec {
    std::string flags;  // any of "-+ #0", in the order given
    int width = 0;
    bool leftAlign = false;
    int precision = -1;  // -1: none given
    Length length = Length::kNone;
    wchar_t conversion = 0;
};

// Numbers are formatted by the C library in the narrow "C" form; only the
// decimal point may differ under another LC_NUMERIC, and it is put back to
// '.' here so that output never depends on the process locale.
void AppendNumber(std::wstring& out, const std::string& narrowFormat, auto value) {
    char small[128];
    int n = std::snprintf(small, sizeof small, narrowFormat.c_str(), value);
    if (n < 0) return;
    std::string text;
    if (static_cast<size_t>(n) < sizeof small) {
        text.assign(small, static_cast<size_t>(n));
    } else {
        text.resize(static_cast<size_t>(n) + 1);
        std::snprintf(text.data(), text.size(), narrowFormat.c_str(), value);
        text.resize(static_cast<size_t>(n));
    }
    const char* point = std::localeconv()->decimal_point;
    if (point && std::strcmp(point, ".") != 0 && *point) {
        size_t at = text.find(point);
        if (at != std::string::npos) text.replace(at, std::strlen(point), ".");
    }
    for (char c : text) out += static_cast<wchar_t>(static_cast<unsigned char>(c));
}

std::string NarrowSpec(const Spec& spec, const char* lengthModifier, char conversion) {
    std::string f = "%";
    f += spec.flags;
    if (spec.leftAlign && spec.flags.find('-') == std::string::npos) f += '-';
    if (spec.width > 0) f += std::to_string(spec.width);
    if (spec.precision >= 0) {
        f += '.';
        f += std::to_string(spec.precision);
    }
    f += lengthModifier;
    f += conversion;
    return f;
}

void AppendPadded(std::wstring& out, std::wstring_view text, const Spec& spec) {
    size_t len = text.size();
    if (spec.precision >= 0 && static_cast<size_t>(spec.precision) < len) len = static_cast<size_t>(spec.precision);
    size_t pad = spec.width > 0 && static_cast<size_t>(spec.width) > len ? static_cast<size_t>(spec.width) - len : 0;
    bool left = spec.leftAlign || spec.flags.find('-') != std::string::npos;
    if (!left) out.append(pad, L' ');
    out.append(text.substr(0, len));
    if (left) out.append(pad, L' ');
}

std::wstring NarrowToWide(const char* text, int precision) {
    size_t len = std::strlen(text);
    if (precision >= 0 && static_cast<size_t>(precision) < len) len = static_cast<size_t>(precision);
    return CodePageToWide(std::string_view(text, len), kCpAcp);
}

// Reads the length modifier at *p* and advances past it.
Length ParseLength(const wchar_t*& p) {
    switch (*p) {
        case L'h':
            ++p;
            if (*p == L'h') { ++p; return Length::kChar; }
            return Length::kShort;
        case L'l':
            ++p;
            if (*p == L'l') { ++p; return Length::kLongLong; }
            return Length::kLong;
        case L'L': ++p; return Length::kLongDouble;
        case L'q': ++p; return Length::kLongLong;
        case L'j': ++p; return Length::kIntMax;
        case L'z': ++p; return Length::kSize;
        case L't': ++p; return Length::kPtrDiff;
        case L'w': ++p; return Length::kWide;
        case L'I':
            if (p[1] == L'6' && p[2] == L'4') { p += 3; return Length::kLongLong; }
            if (p[1] == L'3' && p[2] == L'2') { p += 3; return Length::kInt32; }
            ++p;
            return Length::kSize;
        default: return Length::kNone;
    }
}

}  // namespace

void AppendFormatV(std::wstring& out, const wchar_t* format, va_list args) {
    if (!format) return;
    va_list ap;
    va_copy(ap, args);
    const wchar_t* p = format;
    while (*p) {
        if (*p != L'%') {
            const wchar_t* run = p;
            while (*p && *p != L'%') ++p;
            out.append(run, static_cast<size_t>(p - run));
            continue;
        }
        const wchar_t* specStart = p++;
        if (*p == L'%') {
            out += L'%';
            ++p;
            continue;
        }
        Spec spec;
        for (;; ++p) {
            if (*p == L'-' || *p == L'+' || *p == L' ' || *p == L'#' || *p == L'0') {
                spec.flags += static_cast<char>(*p);
            } else {
                break;
            }
        }
        if (*p == L'*') {
            int w = va_arg(ap, int);
            if (w < 0) {
                spec.leftAlign = true;
                w = w == INT32_MIN ? INT32_MAX : -w;
            }
            spec.width = w;
            ++p;
        } else {
            while (*p >= L'0' && *p <= L'9') {
                if (spec.width < 100000000) spec.width = spec.width * 10 + (*p - L'0');
                ++p;
            }
        }
        if (*p == L'.') {
            ++p;
            spec.precision = 0;
            if (*p == L'*') {
                int prec = va_arg(ap, int);
                spec.precision = prec < 0 ? -1 : prec;
                ++p;
            } else {
                while (*p >= L'0' && *p <= L'9') {
                    if (spec.precision < 100000000) spec.precision = spec.precision * 10 + (*p - L'0');
                    ++p;
                }
            }
        }
        spec.length = ParseLength(p);
        spec.conversion = *p;
        if (!spec.conversion) break;  // a format ending inside a specification prints nothing more
        ++p;

        switch (spec.conversion) {
            case L'd':
            case L'i': {
                long long v;
                switch (spec.length) {
                    case Length::kChar: v = static_cast<signed char>(va_arg(ap, int)); break;
                    case Length::kShort: v = static_cast<short>(va_arg(ap, int)); break;
                    case Length::kLong: v = va_arg(ap, long); break;
                    case Length::kLongLong: v = va_arg(ap, long long); break;
                    case Length::kIntMax: v = va_arg(ap, intmax_t); break;
                    case Length::kSize:
                    case Length::kPtrDiff: v = va_arg(ap, ptrdiff_t); break;
                    default: v = va_arg(ap, int); break;
                }
                AppendNumber(out, NarrowSpec(spec, "ll", 'd'), v);
                break;
            }
            case L'u':
            case L'o':
            case L'x':
            case L'X': {
                unsigned long long v;
                switch (spec.length) {
                    case Length::kChar: v = static_cast<unsigned char>(va_arg(ap, unsigned)); break;
                    case Length::kShort: v = static_cast<unsigned short>(va_arg(ap, unsigned)); break;
                    case Length::kLong: v = va_arg(ap, unsigned long); break;
                    case Length::kLongLong: v = va_arg(ap, unsigned long long); break;
                    case Length::kIntMax: v = va_arg(ap, uintmax_t); break;
                    case Length::kSize:
                    case Length::kPtrDiff: v = va_arg(ap, size_t); break;
                    default: v = va_arg(ap, unsigned); break;
                }
                AppendNumber(out, NarrowSpec(spec, "ll", static_cast<char>(spec.conversion)), v);
                break;
            }
            case L'e': case L'E': case L'f': case L'F':
            case L'g': case L'G': case L'a': case L'A': {
                char conv = static_cast<char>(spec.conversion);
                if (spec.length == Length::kLongDouble) {
                    AppendNumber(out, NarrowSpec(spec, "L", conv), va_arg(ap, long double));
                } else {
                    AppendNumber(out, NarrowSpec(spec, "", conv), va_arg(ap, double));
                }
                break;
            }
            case L'c':
            case L'C': {
                int v = va_arg(ap, int);
                bool narrow = spec.length == Length::kShort ||
                              (spec.conversion == L'C' && spec.length != Length::kLong && spec.length != Length::kWide);
                wchar_t ch;
                if (narrow) {
                    char b = static_cast<char>(v);
                    std::wstring w = CodePageToWide(std::string_view(&b, 1), kCpAcp);
                    ch = w.empty() ? L'?' : w[0];
                } else {
                    ch = static_cast<wchar_t>(v);
                }
                Spec charSpec = spec;
                charSpec.precision = -1;
                AppendPadded(out, std::wstring_view(&ch, 1), charSpec);
                break;
            }
            case L's':
            case L'S': {
                bool narrow = spec.length == Length::kShort ||
                              (spec.conversion == L'S' && spec.length != Length::kLong && spec.length != Length::kWide);
                if (narrow) {
                    const char* s = va_arg(ap, const char*);
                    AppendPadded(out, s ? NarrowToWide(s, spec.precision) : std::wstring(L"(null)"), spec);
                } else {
                    const wchar_t* s = va_arg(ap, const wchar_t*);
                    if (!s) s = L"(null)";
                    // Only the characters the precision allows are looked at,
                    // so an unterminated buffer with a precision is safe.
                    size_t len = spec.precision >= 0 ? wcsnlen(s, static_cast<size_t>(spec.precision)) : std::wcslen(s);
                    AppendPadded(out, std::wstring_view(s, len), spec);
                }
                break;
            }
            case L'p': {
                Spec hex = spec;
                hex.flags.clear();
                hex.precision = static_cast<int>(2 * sizeof(void*));
                AppendNumber(out, NarrowSpec(hex, "ll", 'X'),
                             static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(va_arg(ap, void*))));
                break;
            }
            case L'n':
                (void)va_arg(ap, void*);
                break;
            default:
                // Not a conversion: the text is printed as it stands.
                out.append(specStart, static_cast<size_t>(p - specStart));
                break;
        }
    }
    va_end(ap);
}

std::wstring FormatV(const wchar_t* format, va_list args) {
    std::wstring out;
    AppendFormatV(out, format, args);
    return out;
}

std::wstring Format(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    std::wstring out = FormatV(format, args);
    va_end(args);
    return out;
}

}  // namespace qx
