#include "qx/text/format_text.h"

#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "qx/platform/base/ascii.h"
#include "qx/platform/base/format.h"

namespace {

using qx::FmtVariant;

constexpr size_t kParameterCount = 8;

// A width or precision above this gives "": a few characters of a
// (translated, so outside) text must not turn into megabytes of padding.
constexpr unsigned kMaxFieldWidth = 4096;

// What a conversion hands to the formatter.
enum class Argument { kInteger, kReal, kText };

bool IsInteger(std::uint16_t type, bool eightBitToo) {
    switch (type) {
        case qx::kFmtInt16:
        case qx::kFmtInt32:
        case qx::kFmtUInt16:
        case qx::kFmtUInt32:
        case qx::kFmtInt:
        case qx::kFmtUInt: return true;
        case qx::kFmtInt8:
        case qx::kFmtUInt8: return eightBitToo;
        default: return false;
    }
}

bool IsReal(std::uint16_t type) { return type == qx::kFmtFloat || type == qx::kFmtDouble; }

double RealValue(const FmtVariant& v) { return v.type == qx::kFmtFloat ? v.value.single : v.value.real; }

// The 32-bit integer a parameter gives an integer conversion: integers as
// they are, reals cut toward zero (and kept in range), texts and none 0.
int IntegerValue(const FmtVariant& v) {
    if (IsInteger(v.type, true)) return static_cast<int>(static_cast<std::uint32_t>(v.value.integer));
    if (IsReal(v.type)) {
        double r = RealValue(v);
        if (std::isnan(r)) return 0;
        if (r <= std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
        if (r >= std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
        return static_cast<int>(r);
    }
    return 0;
}

// One printf conversion, split into its parts.
struct Conversion {
    std::wstring_view sizes;   // flags, width and precision
    std::wstring_view length;  // the length modifier as written
    wchar_t letter = 0;
    size_t end = 0;            // the index after the letter
};

// Reads a run of digits at *p*; false when its value exceeds kMaxFieldWidth.
bool ReadBoundedNumber(std::wstring_view text, size_t& p) {
    unsigned value = 0;
    for (; p < text.size() && qx::IsAsciiDigit(text[p]); ++p) {
        value = value * 10 + static_cast<unsigned>(text[p] - L'0');
        if (value > kMaxFieldWidth) return false;
    }
    return true;
}

// The conversion whose '%' stands at *at*: flags, width, precision, length
// modifier, letter. nullopt for a "*" width or precision (it would take an
// argument of its own), for sizes above kMaxFieldWidth and for a missing
// letter; the letter itself is checked by the caller.
std::optional<Conversion> ParseConversion(std::wstring_view format, size_t at) {
    size_t p = at + 1;
    while (p < format.size() && std::wstring_view(L"-+ #0").find(format[p]) != std::wstring_view::npos) ++p;
    if (!ReadBoundedNumber(format, p)) return std::nullopt;
    if (p < format.size() && format[p] == L'.') {
        ++p;
        if (!ReadBoundedNumber(format, p)) return std::nullopt;
    }
    Conversion c;
    c.sizes = format.substr(at + 1, p - at - 1);
    size_t lengthStart = p;
    for (std::wstring_view modifier : {L"I64", L"I32", L"hh", L"ll", L"h", L"l", L"L", L"I", L"q", L"j", L"z", L"t", L"w"}) {
        if (format.substr(p, modifier.size()) == modifier) {
            p += modifier.size();
            break;
        }
    }
    c.length = format.substr(lengthStart, p - lengthStart);
    if (p >= format.size()) return std::nullopt;
    c.letter = format[p];
    c.end = p + 1;
    return c;
}

// The argument a conversion letter takes, and the printf conversion that
// formats it: the given sizes with a length modifier of our own, so that
// exactly one int, double or wide text is read whatever modifier the text
// carried.
struct Plan {
    Argument argument;
    std::wstring spec;
};

std::optional<Plan> PlanConversion(const Conversion& c) {
    std::wstring spec = L"%" + std::wstring(c.sizes);
    switch (c.letter) {
        case L'd': case L'i': case L'o': case L'u': case L'x': case L'X':
            // Shorter integers are cut by the formatter; wider ones are
            // 32-bit values anyway.
            if (c.length == L"h" || c.length == L"hh") spec += c.length;
            spec += c.letter;
            return Plan{Argument::kInteger, spec};
        case L'c': case L'C': {
            bool narrow = c.length == L"h" || (c.letter == L'C' && c.length != L"l" && c.length != L"w");
            spec += narrow ? L"hc" : L"c";
            return Plan{Argument::kInteger, spec};
        }
        case L'e': case L'E': case L'f': case L'F': case L'g': case L'G': case L'a': case L'A':
            spec += c.letter;
            return Plan{Argument::kReal, spec};
        case L's': case L'S':
            // Parameters carry wide texts only; %S gets one as well, as the
            // family's texts meant it.
            if (c.length == L"h") return std::nullopt;
            spec += L's';
            return Plan{Argument::kText, spec};
        default: return std::nullopt;
    }
}

bool Suits(Argument argument, std::uint16_t type, bool eightBitIntegers) {
    switch (argument) {
        case Argument::kInteger: return IsInteger(type, eightBitIntegers);
        case Argument::kReal: return IsReal(type);
        case Argument::kText: return type == qx::kFmtText;
    }
    return false;
}

// *format* holds exactly one conversion, planned for *argument*.
std::wstring FormatOne(const std::wstring& format, Argument argument, const FmtVariant& v) {
    std::wstring out;
    switch (argument) {
        case Argument::kInteger: out = qx::Format(format.c_str(), IntegerValue(v)); break;
        case Argument::kReal: out = qx::Format(format.c_str(), RealValue(v)); break;
        case Argument::kText: out = qx::Format(format.c_str(), v.value.text); break;
    }
    // A zero character (from %c) ends the text, as it ends a C string.
    size_t zero = out.find(L'\0');
    if (zero != std::wstring::npos) out.resize(zero);
    return out;
}

// The value of a placeholder whose conversion is *conversion* ("%" up to the
// letter), or "" when the parameter does not suit the letter.
std::wstring FormatPlaceholder(std::wstring_view conversion, const FmtVariant& v) {
    std::optional<Conversion> c = ParseConversion(conversion, 0);
    if (!c || c->end != conversion.size()) return {};
    std::optional<Plan> plan = PlanConversion(*c);
    if (!plan) return {};
    // c, C, x and X take any parameter; the others want their own kind.
    bool anyType = c->letter == L'c' || c->letter == L'C' || c->letter == L'x' || c->letter == L'X';
    if (!anyType && !Suits(plan->argument, v.type, false)) return {};
    return FormatOne(plan->spec, plan->argument, v);
}

using Parameters = std::array<FmtPar*, kParameterCount>;

// Finds the placeholders of *format* in order, one per parameter as long as
// the parameters are not none, and stores the k-th placeholder's text and
// value in parameter k. Returns how many were found.
size_t FindPlaceholders(std::wstring_view format, const Parameters& params) {
    static constexpr std::wstring_view kLetters = L"cCdfgisSuxX";
    size_t found = 0;
    size_t from = 0;
    for (; found < kParameterCount && params[found]->m_value.type != qx::kFmtNone; ++found) {
        size_t bang = format.find(L"!%", from);
        if (bang == std::wstring_view::npos || bang == 0) break;
        wchar_t number = format[bang - 1];
        if (number < L'1' || number > L'8') break;
        size_t p = bang + 2;
        while (p < format.size() && (qx::IsAsciiDigit(format[p]) || format[p] == L'.')) ++p;
        if (p >= format.size() || kLetters.find(format[p]) == std::wstring_view::npos) break;
        const FmtPar& named = *params[static_cast<size_t>(number - L'1')];
        FmtPar& slot = *params[found];
        slot.m_placeholder = std::wstring(format.substr(bang - 1, p + 2 - bang));
        slot.m_formatted = FormatPlaceholder(format.substr(bang + 1, p - bang), named.m_value);
        from = p + 1;
    }
    return found;
}

// *format* with every occurrence of each found placeholder replaced by its
// value, in one pass: a value is not searched again, so a parameter text
// that looks like a placeholder stays as it is.
std::wstring ReplacePlaceholders(std::wstring_view format, const Parameters& params, size_t found) {
    std::wstring out;
    for (size_t i = 0; i < format.size();) {
        const FmtPar* hit = nullptr;
        for (size_t k = 0; k < found && !hit; ++k) {
            const std::wstring& placeholder = params[k]->m_placeholder.str();
            if (format.substr(i, placeholder.size()) == placeholder) hit = params[k];
        }
        if (hit) {
            out += hit->m_formatted.str();
            i += static_cast<size_t>(hit->m_placeholder.GetLength());
        } else {
            out += format[i++];
        }
    }
    return out;
}

// *format* as an ordinary printf format with *param* as its one argument:
// only when the format has exactly one conversion and it suits the
// parameter; "%%" is the only other use of '%'. Anything else would read
// arguments that are not there, or write through one (%n), so it gives "".
std::wstring FormatPlain(std::wstring_view format, const FmtVariant& param) {
    std::optional<Conversion> found;
    size_t foundAt = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != L'%') continue;
        if (i + 1 < format.size() && format[i + 1] == L'%') {
            ++i;
            continue;
        }
        std::optional<Conversion> c = ParseConversion(format, i);
        if (!c || found) return {};
        found = c;
        foundAt = i;
        i = c->end - 1;
    }
    if (!found) return {};
    std::optional<Plan> plan = PlanConversion(*found);
    if (!plan || !Suits(plan->argument, param.type, true)) return {};
    std::wstring rewritten(format.substr(0, foundAt));
    rewritten += plan->spec;
    rewritten += format.substr(found->end);
    return FormatOne(rewritten, plan->argument, param);
}

}  // namespace

FmtPar::FmtPar(float value) {
    m_value.type = qx::kFmtFloat;
    m_value.value.single = value;
}

FmtPar::FmtPar(double value) {
    m_value.type = qx::kFmtDouble;
    m_value.value.real = value;
}

FmtPar::FmtPar(const wchar_t* text) {
    m_value.type = qx::kFmtText;
    m_value.value.text = text;
}

CString FormatText(const wchar_t* format, FmtPar p1, FmtPar p2, FmtPar p3, FmtPar p4, FmtPar p5, FmtPar p6, FmtPar p7,
                   FmtPar p8) {
    if (!format) return CString();
    const std::wstring_view text = format;
    const Parameters params = {&p1, &p2, &p3, &p4, &p5, &p6, &p7, &p8};
    size_t found = FindPlaceholders(text, params);
    if (found == 0) return CString(FormatPlain(text, p1.m_value));
    return CString(ReplacePlaceholders(text, params, found));
}
