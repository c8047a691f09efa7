// The automation layer's value type: VARIANT, a tagged union of the kinds the
// family's spreadsheet code passes (empty, 16- and 32-bit integers, float,
// double, text, boolean, error with a status code), and COleVariant, which
// owns its text and clears itself.
#pragma once

#include <cstdint>

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"

using VARTYPE = unsigned short;
using SCODE = std::int32_t;
using VARIANT_BOOL = short;
using BSTR = wchar_t*;

enum VARENUM : VARTYPE {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R4 = 4,
    VT_R8 = 5,
    VT_BSTR = 8,
    VT_ERROR = 10,
    VT_BOOL = 11,
};

inline constexpr VARIANT_BOOL VARIANT_TRUE = -1;
inline constexpr VARIANT_BOOL VARIANT_FALSE = 0;
// The status an optional argument that is left out carries.
inline constexpr SCODE DISP_E_PARAMNOTFOUND = static_cast<SCODE>(0x80020004u);
// The status of a value that cannot be turned into the kind asked for.
inline constexpr SCODE DISP_E_TYPEMISMATCH = static_cast<SCODE>(0x80020005u);

struct VARIANT {
    VARTYPE vt = VT_EMPTY;
    union {
        short iVal;
        std::int32_t lVal;
        float fltVal;
        double dblVal;
        VARIANT_BOOL boolVal;
        SCODE scode;
        BSTR bstrVal;  // owned: freed by VariantClear
    };
    VARIANT() : dblVal(0) {}
};

// A text the variant functions own; null for a null *text*.
QX_API BSTR SysAllocString(const wchar_t* text);
QX_API void SysFreeString(BSTR text);
QX_API void VariantInit(VARIANT* value);
// Frees what *value* owns and makes it empty.
QX_API void VariantClear(VARIANT* value);
// *target* becomes a copy of *source* (its own copy of a text).
QX_API void VariantCopy(VARIANT* target, const VARIANT* source);

class QX_API COleVariant : public VARIANT {
public:
    COleVariant() = default;
    COleVariant(const VARIANT& source);
    COleVariant(const COleVariant& source);
    COleVariant& operator=(const COleVariant& source);
    COleVariant& operator=(const VARIANT& source);
    ~COleVariant();

    // A 16-bit integer, or with VT_BOOL a boolean (non-zero is true).
    COleVariant(short value, VARTYPE type = VT_I2);
    // A 32-bit integer, or with VT_ERROR a status code, or with VT_BOOL a boolean.
    COleVariant(std::int32_t value, VARTYPE type = VT_I4);
    // The family writes these as long, which is 64 bits here: the value is
    // taken as the 32-bit integer it was written for.
    COleVariant(long value, VARTYPE type = VT_I4) : COleVariant(static_cast<std::int32_t>(value), type) {}
    COleVariant(float value);
    COleVariant(double value);
    COleVariant(const wchar_t* text);
    COleVariant(const CString& text);

    void Clear() { VariantClear(this); }
    // The text of a VT_BSTR value ("" for any other kind).
    CString Text() const;
};
