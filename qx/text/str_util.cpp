// The string members of qxStrUtil; the text-file members live in
// text_files.cpp.
#include "qx/text/str_util.h"

#include <cwchar>
#include <string_view>

#include "qx/platform/base/codepage.h"
#include "qx/text/sub_str.h"
#include "qx/text/wildcard.h"

namespace {

// Reads value *n* (from 1) with the process-wide packed reader, which the
// caller has just started on *text*.
CString ReadPackedValue(const wchar_t* text, bool started, long n) {
    // A list of L characters holds at most L + 1 values. Asking for more
    // must not walk on: a reader parked at a line end keeps answering "a
    // further value follows".
    if (!started || n < 1 || static_cast<unsigned long>(n) > std::wcslen(text) + 1) return CString();
    CString value;
    for (long i = 1;; ++i) {
        bool more = qxSubStrUtil::Get(value);
        if (i == n) return value;
        if (!more) return CString();
    }
}

}  // namespace

CString qxStrUtil::SubStrLeftFromFirstOccurence(const CString& text, wchar_t ch) {
    int at = text.Find(ch);
    return at < 0 ? CString() : text.Left(at);
}

CString qxStrUtil::SubStrLeftFromLastOccurence(const CString& text, wchar_t ch) {
    int at = text.ReverseFind(ch);
    return at < 0 ? CString() : text.Left(at);
}

CString qxStrUtil::SubStrRightFromFirstOccurence(const CString& text, wchar_t ch) {
    int at = text.Find(ch);
    return at < 0 ? text : text.Mid(at + 1);
}

CString qxStrUtil::SubStrRightFromLastOccurence(const CString& text, wchar_t ch) {
    int at = text.ReverseFind(ch);
    return at < 0 ? text : text.Mid(at + 1);
}

CString qxStrUtil::GetSubStr(const wchar_t* text, long n, wchar_t separator) {
    bool started = qxSubStrUtil::GetInit(text, separator);
    return ReadPackedValue(text, started, n);
}

CString qxStrUtil::GetSubStr(const wchar_t* text, long n, wchar_t* separatorText) {
    bool started = qxSubStrUtil::GetInit(text, separatorText);
    return ReadPackedValue(text, started, n);
}

CString qxStrUtil::removeAllNonNumeric(const CString& text) {
    std::wstring kept;
    for (wchar_t ch : text.str()) {
        if ((ch >= L'0' && ch <= L'9') || ch == L'.' || ch == L'-') {
            kept += ch;
        } else if (ch == L',') {
            kept += L'.';
        }
    }
    return CString(std::move(kept));
}

void qxStrUtil::FindAndReplace(CString& text, const CString& find, const CString& replace) {
    const std::wstring& s = text.str();
    const std::wstring& f = find.str();
    if (f.empty()) return;
    size_t hit = s.find(f);
    if (hit == std::wstring::npos) return;
    std::wstring out;
    size_t from = 0;
    for (; hit != std::wstring::npos; hit = s.find(f, from)) {
        out.append(s, from, hit - from);
        out += replace.str();
        from = hit + f.size();
    }
    out.append(s, from);
    text = std::move(out);
}

bool qxStrUtil::MatchesWildcardPattern(const wchar_t* text, const wchar_t* pattern, int caseSensitive) {
    return qx::MatchesWildcard(text ? text : L"", pattern ? pattern : L"", caseSensitive != 0);
}

std::string qxStrUtil::translateDecoratedName(const CString& name) {
    // The 8-bit build's names carry D (char) where the wide build's carry _W
    // (wchar_t). Applied in this order, each to the result of the one before.
    static constexpr const wchar_t* kRenames[][2] = {
        {L"@D", L"@_W"},
        {L"$StrTraitMFC@", L"$StrTraitMFC_DLL@"},
        {L"PBD", L"PB_W"},
        {L"PAD", L"PA_W"},
        {L"QBD", L"QB_W"},
    };
    CString result = name;
    for (const auto& rename : kRenames) FindAndReplace(result, rename[0], rename[1]);
    return qx::WideToCodePage(result.str(), qx::kCpAcp);
}

void qxStrUtil::bstrcpy(unsigned char* target, const wchar_t* source) {
    if (!target) return;
    if (source) {
        for (; *source; ++source) *target++ = static_cast<unsigned char>(*source & 0xFF);
    }
    *target = 0;
}

void qxStrUtil::bstrncpy(unsigned char* target, const wchar_t* source, unsigned n) {
    if (!target || !source) return;
    for (unsigned i = 0; source[i] && (n == 0 || i < n); ++i) target[i] = static_cast<unsigned char>(source[i] & 0xFF);
}
