#include "qx/platform/base/variant.h"

#include <cwchar>

BSTR SysAllocString(const wchar_t* text) {
    if (!text) return nullptr;
    const size_t length = std::wcslen(text);
    auto* copy = new wchar_t[length + 1];
    std::wmemcpy(copy, text, length + 1);
    return copy;
}

void SysFreeString(BSTR text) { delete[] text; }

void VariantInit(VARIANT* value) {
    value->vt = VT_EMPTY;
    value->dblVal = 0;
}

void VariantClear(VARIANT* value) {
    if (value->vt == VT_BSTR) SysFreeString(value->bstrVal);
    VariantInit(value);
}

void VariantCopy(VARIANT* target, const VARIANT* source) {
    if (target == source) return;
    VariantClear(target);
    if (source->vt == VT_BSTR) {
        target->bstrVal = SysAllocString(source->bstrVal);
    } else {
        target->dblVal = source->dblVal;  // the widest member carries every other kind
    }
    target->vt = source->vt;
}

COleVariant::COleVariant(const VARIANT& source) { VariantCopy(this, &source); }
COleVariant::COleVariant(const COleVariant& source) : VARIANT() { VariantCopy(this, &source); }

COleVariant& COleVariant::operator=(const COleVariant& source) {
    VariantCopy(this, &source);
    return *this;
}

COleVariant& COleVariant::operator=(const VARIANT& source) {
    VariantCopy(this, &source);
    return *this;
}

COleVariant::~COleVariant() { VariantClear(this); }

COleVariant::COleVariant(short value, VARTYPE type) {
    if (type == VT_BOOL) {
        vt = VT_BOOL;
        boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    } else {
        vt = VT_I2;
        iVal = value;
    }
}

COleVariant::COleVariant(std::int32_t value, VARTYPE type) {
    if (type == VT_BOOL) {
        vt = VT_BOOL;
        boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    } else if (type == VT_ERROR) {
        vt = VT_ERROR;
        scode = value;
    } else {
        vt = VT_I4;
        lVal = value;
    }
}

COleVariant::COleVariant(float value) {
    vt = VT_R4;
    fltVal = value;
}

COleVariant::COleVariant(double value) {
    vt = VT_R8;
    dblVal = value;
}

COleVariant::COleVariant(const wchar_t* text) {
    vt = VT_BSTR;
    bstrVal = SysAllocString(text ? text : L"");
}

COleVariant::COleVariant(const CString& text) : COleVariant(text.GetString()) {}

CString COleVariant::Text() const { return vt == VT_BSTR && bstrVal ? CString(bstrVal) : CString(); }
