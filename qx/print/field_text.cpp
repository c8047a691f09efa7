#include "qx/print/field_text.h"

#include <algorithm>
#include <string>

#include "qx/platform/base/number_parse.h"

namespace qx {

CString FillPlaceholders(const CString& text, const CString& value) {
    const std::wstring& pattern = text.str();
    size_t marker = pattern.find(L"%s");
    if (marker == std::wstring::npos) return value;
    // Every character of the value goes in, zero characters too.
    std::wstring filled;
    size_t from = 0;
    for (; marker != std::wstring::npos; marker = pattern.find(L"%s", from)) {
        filled.append(pattern, from, marker - from);
        filled += value.str();
        from = marker + 2;
    }
    filled.append(pattern, from);
    return CString(std::move(filled));
}

CString SubstituteField(const CString& text, const CString& value, const CString& extra) {
    const int first = text.Find(L"%s");
    if (first < 0) return value;
    const int second = text.Find(L"%s", first + 2);
    if (second < 0 || extra.IsEmpty()) return FillPlaceholders(text, value);
    // The character right after the first marker separates the two values in
    // the layout and is left out, so "%s %s" joins them.
    const int between = std::min(first + 3, second);
    return text.Left(first) + value + text.Mid(between, second - between) + extra + text.Mid(second + 2);
}

CString FormatRunningTotal(double total, int decimals) {
    CString formatted;
    formatted.Format(L"%f", total);
    const std::wstring text = formatted.GetString();
    const size_t point = text.find(L'.');
    if (point == std::wstring::npos) return formatted;  // inf or nan

    const size_t digitsStart = (text[0] == L'-') ? 1 : 0;
    std::wstring result = text.substr(0, digitsStart);
    const size_t intDigits = point - digitsStart;
    for (size_t i = 0; i < intDigits; ++i) {
        if (i > 0 && (intDigits - i) % 3 == 0) result += L'.';
        result += text[digitsStart + i];
    }
    const size_t keep = std::min<size_t>(static_cast<size_t>(std::max(decimals, 0)), text.size() - point - 1);
    if (keep > 0) {
        result += L',';
        result.append(text, point + 1, keep);
    }
    return CString(result.c_str());
}

double ReadTotalAmount(const CString& text) {
    CString number = text;
    if (number.Find(L',') >= 0) {
        number.Remove(L'.');
        number.Replace(L',', L'.');
    }
    return ParseDouble(number.GetString());
}

}  // namespace qx
