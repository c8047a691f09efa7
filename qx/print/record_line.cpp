#include "qx/print/record_line.h"

#include <cwchar>

#include "qx/platform/base/number_parse.h"

namespace qx {
namespace {

constexpr const wchar_t* kEmptyEscape = L"<*E*>";
constexpr const wchar_t* kCommaEscape = L"<*K*>";
constexpr const wchar_t* kReturnEscape = L"<*R*>";
constexpr const wchar_t* kLineFeedEscape = L"<*N*>";

bool StartsWithNoCase(const CString& text, const wchar_t* prefix) {
    const CString start = text.Left(static_cast<int>(std::wcslen(prefix)));
    return start.GetLength() == static_cast<int>(std::wcslen(prefix)) && start.CompareNoCase(prefix) == 0;
}

}  // namespace

std::optional<RecordLine> SplitRecordLine(const CString& line) {
    if (line.GetLength() < 4 || line[0] == L';') return std::nullopt;
    RecordLine record;
    record.keyword = line.Left(3);
    const std::wstring& text = line.str();
    const size_t end = text.size() - 1;  // the last character closes the arguments
    size_t start = 4;
    if (start >= end) return record;
    for (;;) {
        const size_t comma = text.find(L',', start);
        if (comma == std::wstring::npos || comma >= end) {
            record.fields.emplace_back(text.substr(start, end - start));
            return record;
        }
        record.fields.emplace_back(text.substr(start, comma - start));
        start = comma + 1;
    }
}

CString UnescapeEmpty(const CString& field) { return field == kEmptyEscape ? CString() : field; }

CString UnescapeComma(const CString& field) {
    CString text = field;
    text.Replace(kCommaEscape, L",");
    return text;
}

CString UnescapeText(const CString& field) {
    if (field == kEmptyEscape) return CString();
    CString text = field;
    text.Replace(kCommaEscape, L",");
    text.Replace(kReturnEscape, L"\r");
    text.Replace(kLineFeedEscape, L"\n");
    return text;
}

CString EscapeText(const CString& text) {
    if (text.IsEmpty()) return CString(kEmptyEscape);
    CString escaped = EscapeComma(text);
    escaped.Replace(L"\r", kReturnEscape);
    escaped.Replace(L"\n", kLineFeedEscape);
    return escaped;
}

CString EscapeComma(const CString& text) {
    CString escaped = text;
    escaped.Replace(L",", kCommaEscape);
    return escaped;
}

bool ReadBoolField(const CString& field) {
    if (StartsWithNoCase(field, L"TRUE")) return true;
    if (StartsWithNoCase(field, L"FALSE")) return false;
    return ParseInteger(field) != 0;
}

}  // namespace qx
