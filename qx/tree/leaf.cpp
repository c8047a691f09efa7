#include "qx/tree/leaf.h"

#include <cwchar>

#include "qx/platform/base/format.h"
#include "qx/platform/base/utf.h"
#include "qx/tree/internal/packed_leaf.h"
#include "qx/text/sub_str.h"

namespace qx {
namespace {

// Drops trailing zeros of a number's fraction. Only a fraction is trimmed:
// a text without a decimal point ("100" from "%g") or one with an exponent
// keeps its digits, since trimming there would change the value.
void TrimFractionZeros(CString& text) {
    int point = text.Find(L'.');
    if (point < 0 || text.FindOneOf(L"eE") >= 0) return;
    text.TrimRight(L'0');
}

}  // namespace

CString FormatTreeInt(int value, const wchar_t* format) { return CString(Format(format ? format : L"%d", value)); }

CString FormatTreeDouble(double value, const wchar_t* format) {
    if (!format) format = L"%f";
    CString text(Format(format, value));
    if (std::wcscmp(format, L"%.0f") != 0) TrimFractionZeros(text);
    return text;
}

CString FormatTreeDouble(double value) {
    CString text(Format(L"%f", value));
    TrimFractionZeros(text);
    text.TrimRight(L'.');
    return text;
}

}  // namespace qx

CLeaf::CLeaf(const wchar_t* name, const wchar_t* value, bool raw) {
    SetName(name);
    if (value && *value) {
        if (raw) {
            MutableValue() = value;
        } else {
            SetOnlyValue(value);
        }
    }
}

CLeaf::~CLeaf() = default;

void CLeaf::WidenPacked() const {
    const std::string_view bytes = qx::detail::PackedLeaf::Bytes(*this);
    std::wstring& wide = m_value.str();
    if (m_widening) {
        wide.resize(bytes.size());
        for (size_t i = 0; i < bytes.size(); ++i) wide[i] = m_widening[static_cast<unsigned char>(bytes[i])];
    } else {
        qx::Utf8ToWide(bytes, wide);
    }
    m_packedBytes = 0;
}

CString CLeaf::GetOnlyValue(wchar_t separator) {
    CString out;
    GetFirstValue(out, separator);
    return out;
}

int CLeaf::GetOnlyValueI(wchar_t separator, bool force) {
    int out = 0;
    GetFirstValue(out, separator, force);
    return out;
}

void CLeaf::SetOnlyValue(const wchar_t* value, wchar_t separator) {
    CQxSubStr builder;
    builder.AddInit(separator);
    builder.Add(value);
    builder.AddEnd(MutableValue());
}

bool CLeaf::GetValue(int index, CString& out, wchar_t separator) {
    out.Empty();
    qxSubStrUtil::GetInit(Value(), separator);
    if (index < 1 || Value().IsEmpty()) return false;
    bool more = true;
    for (int i = 1; i < index && more; ++i) more = qxSubStrUtil::Get(out);
    if (more) {
        qxSubStrUtil::Get(out);
    } else {
        out.Empty();
    }
    return !out.IsEmpty();
}

CString CLeaf::GetStrLeafValue(int index, wchar_t separator, const wchar_t* defaultValue) {
    CString value;
    return ReadValueAt(index, separator, value) ? value : CString(defaultValue);
}

bool CLeaf::ReadValueAt(int index, wchar_t separator, CString& out) {
    qxSubStrUtil::GetInit(Value(), separator);
    if (Value().IsEmpty()) return false;
    for (int i = 1; i < index; ++i) {
        if (!qxSubStrUtil::Get(out)) return false;
    }
    qxSubStrUtil::Get(out);
    return true;
}

bool CLeaf::InitGetValues(wchar_t separator) {
    qxSubStrUtil::GetInit(Value(), separator);
    return !Value().IsEmpty();
}

void CLeaf::GetValueInit(wchar_t separator) { InitGetValues(separator); }

bool CLeaf::GetFirstValue(CString& out, wchar_t separator) {
    InitGetValues(separator);
    return qxSubStrUtil::Get(out);
}

bool CLeaf::GetFirstValue(double& out, wchar_t separator, bool force) {
    InitGetValues(separator);
    return qxSubStrUtil::Get(out, force);
}

bool CLeaf::GetFirstValue(int& out, wchar_t separator, bool force) {
    InitGetValues(separator);
    return qxSubStrUtil::Get(out, force);
}

bool CLeaf::GetNextValue(CString& out) { return qxSubStrUtil::Get(out); }
bool CLeaf::GetNextValue(double& out, bool force) { return qxSubStrUtil::Get(out, force); }
bool CLeaf::GetNextValue(int& out, bool force) { return qxSubStrUtil::Get(out, force); }
bool CLeaf::GetNextValue(bool& out, bool flag) { return qxSubStrUtil::Get(out, flag); }

void CLeaf::InitSetValues(wchar_t separator) { qxSubStrUtil::AddInit(separator); }

void CLeaf::SetFirstValue(const wchar_t* value, wchar_t separator) {
    qxSubStrUtil::AddInit(separator);
    qxSubStrUtil::Add(value);
}

void CLeaf::SetFirstValue(int value, const wchar_t* format, wchar_t separator) {
    SetFirstValue(qx::FormatTreeInt(value, format), separator);
}

void CLeaf::SetFirstValue(double value, const wchar_t* format, wchar_t separator) {
    SetFirstValue(qx::FormatTreeDouble(value, format), separator);
}

void CLeaf::SetNextValue(const wchar_t* value) { qxSubStrUtil::Add(value); }
void CLeaf::SetNextValue(int value, const wchar_t* format) { SetNextValue(qx::FormatTreeInt(value, format)); }
void CLeaf::SetNextValue(double value, const wchar_t* format) { SetNextValue(qx::FormatTreeDouble(value, format)); }

void CLeaf::SetLastValue(const wchar_t* value) {
    SetNextValue(value);
    ExitSetValues();
}

void CLeaf::ExitSetValues() { qxSubStrUtil::AddEnd(MutableValue()); }
void CLeaf::SetAccumulatedValue() { ExitSetValues(); }
