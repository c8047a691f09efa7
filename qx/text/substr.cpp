#include "qx/text/substr.h"

#include <algorithm>
#include <cwchar>
#include <string_view>

namespace {

// Drops everything up to and including the (n-1)-th whole occurrence of
// *separator* from *rest*; false when there are fewer. Whole separators are
// stepped over: stepping over only the first character would leave the rest
// of a longer separator at the start of the field.
bool SkipToField(std::wstring_view& rest, std::wstring_view separator, int n) {
    for (int i = 1; i < n; ++i) {
        size_t at = separator.empty() ? std::wstring_view::npos : rest.find(separator);
        if (at == std::wstring_view::npos) return false;
        rest.remove_prefix(at + separator.size());
    }
    return true;
}

}  // namespace

int substr(const wchar_t* text, int n, wchar_t separator, wchar_t* field, size_t fieldSize) {
    if (!text || n < 1 || !field || fieldSize == 0) return 0;
    const wchar_t* p = text;
    for (int i = 1; i < n; ++i) {
        p = std::wcschr(p, separator);
        // wcschr finds the terminating zero too when the separator is zero.
        if (!p || !*p) return 0;
        ++p;
    }
    size_t length = 0;
    while (p[length] && p[length] != separator && p[length] != L'\n') ++length;
    length = std::min(length, fieldSize - 1);
    std::wmemcpy(field, p, length);
    field[length] = L'\0';
    return 1;
}

CString substr(const CString& text, int n, wchar_t* const separators) {
    std::wstring_view rest = text.str();
    const std::wstring_view separator = separators ? separators : L"";
    if (n < 1 || !SkipToField(rest, separator, n)) return CString();
    rest = rest.substr(0, rest.find_first_of(separator));
    rest = rest.substr(0, rest.find(L'\r'));
    rest = rest.substr(0, rest.find(L'\n'));
    return CString(std::wstring(rest));
}

CString substr(const CString& text, int n, const CString& separatorText) {
    std::wstring_view rest = text.str();
    const std::wstring_view separator = separatorText.str();
    if (n < 1 || !SkipToField(rest, separator, n)) return CString();
    size_t end = separator.empty() ? std::wstring_view::npos : rest.find(separator);
    if (end != std::wstring_view::npos) return CString(std::wstring(rest.substr(0, end)));
    if (!rest.empty() && rest.back() == L'\n') rest.remove_suffix(1);
    return CString(std::wstring(rest));
}
