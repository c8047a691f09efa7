#include "qx/print/record_line.h"

#include "qx/platform/base/number_parse.h"

namespace qx {
namespace {

constexpr const wchar_t* kCommaEscape = L"<*K*>";
constexpr const wchar_t* kReturnEscape = L"<*R*>";
constexpr const wchar_t* kLineFeedEscape = L"<*N*>";
constexpr size_t kEscapeLength = 5;

bool StartsWithNoCase(std::wstring_view text, const wchar_t* prefix) {
    const std::wstring_view wanted(prefix);
    if (text.size() < wanted.size()) return false;
    return CString(std::wstring(text.substr(0, wanted.size()))).CompareNoCase(prefix) == 0;
}

// Digits, signs and spaces fold to no letter, so a field that starts with
// one of them (the usual "0" and "1") needs no word comparison.
bool StartsLikeNumber(std::wstring_view field) {
    if (field.empty()) return true;
    const wchar_t c = field.front();
    return (c >= L'0' && c <= L'9') || c == L'-' || c == L'+' || c == L' ';
}

// "<*K*>" as a comma and, with *lineEnds*, "<*R*>" and "<*N*>" as a carriage
// return and a line feed. The escapes cannot overlap one another, so one
// pass from the left reads them as replacing each in turn would.
CString Unescape(std::wstring_view field, bool lineEnds) {
    std::wstring text;
    text.reserve(field.size());
    size_t pos = 0;
    for (;;) {
        const size_t mark = field.find(L"<*", pos);
        if (mark == std::wstring_view::npos) break;
        const std::wstring_view rest = field.substr(mark);
        wchar_t replacement = 0;
        if (rest.starts_with(kCommaEscape)) {
            replacement = L',';
        } else if (lineEnds && rest.starts_with(kReturnEscape)) {
            replacement = L'\r';
        } else if (lineEnds && rest.starts_with(kLineFeedEscape)) {
            replacement = L'\n';
        }
        if (replacement == 0) {
            text.append(field.substr(pos, mark + 2 - pos));
            pos = mark + 2;
            continue;
        }
        text.append(field.substr(pos, mark - pos));
        text += replacement;
        pos = mark + kEscapeLength;
    }
    text.append(field.substr(pos));
    return CString(std::move(text));
}

}  // namespace

std::optional<RecordLine> SplitRecordLine(const CString& line) {
    std::wstring_view keyword;
    std::vector<std::wstring_view> fields;
    if (!SplitRecordFields(line.str(), keyword, fields)) return std::nullopt;
    RecordLine record;
    record.keyword = CString(std::wstring(keyword));
    record.fields.reserve(fields.size());
    for (const std::wstring_view field : fields) record.fields.emplace_back(std::wstring(field));
    return record;
}

bool SplitRecordFields(std::wstring_view line, std::wstring_view& keyword, std::vector<std::wstring_view>& fields) {
    fields.clear();
    if (line.size() < 4 || line[0] == L';') return false;
    keyword = line.substr(0, 3);
    const size_t end = line.size() - 1;  // the last character closes the arguments
    size_t start = 4;
    if (start >= end) return true;
    for (;;) {
        const size_t comma = line.find(L',', start);
        if (comma == std::wstring_view::npos || comma >= end) {
            fields.push_back(line.substr(start, end - start));
            return true;
        }
        fields.push_back(line.substr(start, comma - start));
        start = comma + 1;
    }
}

CString UnescapeEmpty(std::wstring_view field) {
    return field == kEmptyTextEscape ? CString() : CString(std::wstring(field));
}

CString UnescapeComma(std::wstring_view field) { return Unescape(field, false); }

CString UnescapeText(std::wstring_view field) {
    if (field == kEmptyTextEscape) return CString();
    return Unescape(field, true);
}

CString EscapeText(const CString& text) {
    if (text.IsEmpty()) return CString(kEmptyTextEscape);
    std::wstring escaped;
    AppendEscaped(escaped, text.str(), true);
    return CString(std::move(escaped));
}

CString EscapeComma(const CString& text) {
    std::wstring escaped;
    AppendEscaped(escaped, text.str(), false);
    return CString(std::move(escaped));
}

void AppendEscaped(std::wstring& out, std::wstring_view text, bool lineEnds) {
    out.reserve(out.size() + text.size());
    for (const wchar_t c : text) {
        if (c == L',') {
            out += kCommaEscape;
        } else if (lineEnds && c == L'\r') {
            out += kReturnEscape;
        } else if (lineEnds && c == L'\n') {
            out += kLineFeedEscape;
        } else {
            out += c;
        }
    }
}

bool ReadBoolField(std::wstring_view field) {
    if (StartsLikeNumber(field)) return ParseInteger(field) != 0;
    if (StartsWithNoCase(field, L"TRUE")) return true;
    if (StartsWithNoCase(field, L"FALSE")) return false;
    return ParseInteger(field) != 0;
}

}  // namespace qx
