#include "qx/platform/base/number_parse.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <string>

#include "qx/platform/base/ascii.h"
#include "qx/platform/base/unicode.h"

namespace qx {
namespace {

const wchar_t* SkipSpace(const wchar_t* p) {
    while (*p && IsSpace(*p)) ++p;
    return p;
}

// The integer at the start of *text*; *used* becomes the length read up to
// the last digit, 0 when there is no number.
long long ReadInteger(std::wstring_view text, size_t& used) {
    used = 0;
    size_t i = 0;
    // Fields and numbers mostly start with their digit: no space test then.
    while (i < text.size() && !IsAsciiDigit(text[i]) && text[i] != L'\0' && IsSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
    if (i >= text.size() || !IsAsciiDigit(text[i])) return 0;
    unsigned long long magnitude = 0;
    bool overflow = false;
    for (; i < text.size() && IsAsciiDigit(text[i]); ++i) {
        unsigned digit = static_cast<unsigned>(text[i] - L'0');
        if (magnitude > (ULLONG_MAX - digit) / 10) overflow = true;
        else magnitude = magnitude * 10 + digit;
    }
    used = i;
    if (negative) {
        if (overflow || magnitude > static_cast<unsigned long long>(LLONG_MAX) + 1) return LLONG_MIN;
        return magnitude == static_cast<unsigned long long>(LLONG_MAX) + 1 ? LLONG_MIN
                                                                           : -static_cast<long long>(magnitude);
    }
    if (overflow || magnitude > static_cast<unsigned long long>(LLONG_MAX)) return LLONG_MAX;
    return static_cast<long long>(magnitude);
}

}  // namespace

long long ParseInteger(const wchar_t* text, const wchar_t** end) {
    if (end) *end = text;
    if (!text) return 0;
    size_t used = 0;
    const long long value = ReadInteger(std::wstring_view(text), used);
    if (end && used > 0) *end = text + used;
    return value;
}

long long ParseInteger(std::wstring_view text) {
    size_t used = 0;
    return ReadInteger(text, used);
}

int ParseInt(const wchar_t* text) {
    long long v = ParseInteger(text);
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return static_cast<int>(v);
}

double ParseDouble(const wchar_t* text, const wchar_t** end) {
    if (end) *end = text;
    if (!text) return 0.0;
    const wchar_t* p = SkipSpace(text);
    bool negative = false;
    if (*p == L'+' || *p == L'-') negative = *p++ == L'-';

    std::string digits;
    const wchar_t* q = p;
    while (IsAsciiDigit(*q)) digits += static_cast<char>(*q++);
    bool anyDigit = !digits.empty();
    if (*q == L'.') {
        digits += '.';
        ++q;
        while (IsAsciiDigit(*q)) {
            digits += static_cast<char>(*q++);
            anyDigit = true;
        }
    }
    if (!anyDigit) return 0.0;
    // The exponent only counts when at least one digit follows its sign.
    if (*q == L'e' || *q == L'E') {
        const wchar_t* e = q + 1;
        std::string exponent = "e";
        if (*e == L'+' || *e == L'-') exponent += static_cast<char>(*e++);
        if (IsAsciiDigit(*e)) {
            while (IsAsciiDigit(*e)) exponent += static_cast<char>(*e++);
            digits += exponent;
            q = e;
        }
    }
    if (end) *end = q;
    double value = 0.0;
    auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) {
        // from_chars leaves the value untouched; tell overflow from underflow
        // by the size of the exponent the text asks for.
        bool tiny = digits.find("e-") != std::string::npos;
        value = tiny ? 0.0 : HUGE_VAL;
    }
    return negative ? -value : value;
}

}  // namespace qx
