// FormatText: formatting with positional placeholders, so that a translated
// message may put its parameters in any order.
//
// A placeholder is a parameter number 1-8, "!", and a printf conversion of
// digits, points and one of the letters c C d f g i s S u x X:
//
//   FormatText(L"Wert 2!%.1f von 1!%d", 5, 2.5)   -> L"Wert 2.5 von 5"
//   FormatText(L"Datei %s fehlt", L"a.txt")       -> L"Datei a.txt fehlt"
//
// Each parameter must suit its letter (d, i, u: an integer of 16 or 32 bits;
// f, g: a real; s, S: a wide text; c, C, x, X: anything), else its
// placeholder gives "". A text without placeholders is an ordinary printf
// format for parameter 1, used only when it has exactly one conversion and
// that suits parameter 1 (no "*", no %n); anything else gives "".
#pragma once

#include <cstdint>

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"

namespace qx {

// The type codes of FmtPar values (the numbering of the platform's variants).
enum FmtType : std::uint16_t {
    kFmtNone = 1,
    kFmtInt16 = 2,
    kFmtInt32 = 3,
    kFmtFloat = 4,
    kFmtDouble = 5,
    kFmtInt8 = 16,
    kFmtUInt8 = 17,
    kFmtUInt16 = 18,
    kFmtUInt32 = 19,
    kFmtInt = 22,
    kFmtUInt = 23,
    kFmtText = 31,
};

// A typed value: 16-bit type code and 8 bytes of value. Integers are kept
// widened to 64 bits in *integer* (their type code says how wide they were).
struct FmtVariant {
    std::uint16_t type = kFmtNone;
    union {
        std::int64_t integer;
        float single;
        double real;
        const wchar_t* text;
    } value{};
};

}  // namespace qx

// One parameter of FormatText. Built implicitly from the argument; a text
// parameter keeps a pointer, so the text must outlive the FmtPar (as the
// arguments of a call do).
class QX_API FmtPar {
public:
    FmtPar() = default;  // type none
    FmtPar(char value) { SetInteger(qx::kFmtInt8, value); }
    FmtPar(signed char value) { SetInteger(qx::kFmtInt8, value); }
    FmtPar(unsigned char value) { SetInteger(qx::kFmtUInt8, value); }
    FmtPar(short value) { SetInteger(qx::kFmtInt16, value); }
    FmtPar(unsigned short value) { SetInteger(qx::kFmtUInt16, value); }
    FmtPar(int value) { SetInteger(qx::kFmtInt, value); }
    FmtPar(unsigned value) { SetInteger(qx::kFmtUInt, value); }
    // long is the family's 32-bit integer, as on Windows: wider values are
    // cut to their low 32 bits.
    FmtPar(long value) { SetInteger(qx::kFmtInt32, static_cast<std::int32_t>(value)); }
    FmtPar(unsigned long value) { SetInteger(qx::kFmtUInt32, static_cast<std::uint32_t>(value)); }
    FmtPar(float value);
    FmtPar(double value);
    FmtPar(const wchar_t* text);
    FmtPar(const CString& text) : FmtPar(text.GetString()) {}

    qx::FmtVariant m_value;
    // FormatText keeps the k-th placeholder it found, and its value, in its
    // own copy of parameter k.
    CString m_placeholder;
    CString m_formatted;

private:
    void SetInteger(qx::FmtType type, std::int64_t value) {
        m_value.type = type;
        m_value.value.integer = value;
    }
};

// Parameters left out are of type none; the placeholders are looked for
// only as long as the parameters, in order, are not none.
QX_API CString FormatText(const wchar_t* format, FmtPar p1, FmtPar p2 = FmtPar(), FmtPar p3 = FmtPar(),
                          FmtPar p4 = FmtPar(), FmtPar p5 = FmtPar(), FmtPar p6 = FmtPar(), FmtPar p7 = FmtPar(),
                          FmtPar p8 = FmtPar());
