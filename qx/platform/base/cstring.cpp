#include "qx/platform/base/cstring.h"

#include <algorithm>
#include <cwchar>

#include "qx/platform/base/checked_length.h"
#include "qx/platform/base/codepage.h"
#include "qx/platform/base/format.h"
#include "qx/platform/base/unicode.h"

namespace {

constexpr const wchar_t* kTrimSpace = L" \t\n\v\f\r";

size_t Clamp(int value, size_t high) {
    if (value < 0) return 0;
    return std::min(static_cast<size_t>(value), high);
}

}  // namespace

CString::CString(const wchar_t* text) : s_(text ? text : L"") {}

CString::CString(const wchar_t* text, int length) {
    if (text && length > 0) s_.assign(text, static_cast<size_t>(length));
}

CString::CString(wchar_t ch, int repeat) {
    if (repeat > 0) s_.assign(static_cast<size_t>(repeat), ch);
}

CString::CString(const char* text) {
    if (text) s_ = qx::CodePageToWide(text, qx::kCpAcp);
}

CString& CString::operator=(const wchar_t* text) {
    if (text) {
        s_.assign(text);  // assign copes with text pointing into s_
    } else {
        s_.clear();
    }
    return *this;
}

CString& CString::operator=(wchar_t ch) {
    s_.assign(1, ch);
    return *this;
}

CString& CString::operator+=(const wchar_t* text) {
    if (text) s_.append(text);
    return *this;
}

void CString::Append(const wchar_t* text, int length) {
    if (text && length > 0) s_.append(text, static_cast<size_t>(length));
}

int CString::Compare(const wchar_t* text) const {
    int r = std::wcscmp(s_.c_str(), text ? text : L"");
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int CString::CompareNoCase(const wchar_t* text) const {
    if (!text) text = L"";
    const wchar_t* a = s_.c_str();
    for (;; ++a, ++text) {
        wchar_t fa = qx::FoldCase(*a);
        wchar_t fb = qx::FoldCase(*text);
        if (fa != fb) return fa < fb ? -1 : 1;
        if (!*a) return 0;
    }
}

CString CString::Left(int count) const { return CString(s_.substr(0, Clamp(count, s_.size()))); }

CString CString::Mid(int first) const { return Mid(first, GetLength()); }

CString CString::Mid(int first, int count) const {
    size_t start = Clamp(first, s_.size());
    return CString(s_.substr(start, Clamp(count, s_.size() - start)));
}

CString CString::Right(int count) const {
    size_t n = Clamp(count, s_.size());
    return CString(s_.substr(s_.size() - n));
}

CString CString::SpanIncluding(const wchar_t* chars) const {
    size_t n = s_.find_first_not_of(chars ? chars : L"");
    return CString(s_.substr(0, n));
}

CString CString::SpanExcluding(const wchar_t* chars) const {
    size_t n = s_.find_first_of(chars ? chars : L"");
    return CString(s_.substr(0, n));
}

CString& CString::MakeUpper() {
    for (wchar_t& c : s_) c = qx::ToUpper(c);
    return *this;
}

CString& CString::MakeLower() {
    for (wchar_t& c : s_) c = qx::ToLower(c);
    return *this;
}

CString& CString::MakeReverse() {
    std::reverse(s_.begin(), s_.end());
    return *this;
}

int CString::Replace(wchar_t oldCh, wchar_t newCh) {
    int count = 0;
    for (wchar_t& c : s_) {
        if (c == oldCh) {
            c = newCh;
            ++count;
        }
    }
    return count;
}

int CString::Replace(const wchar_t* oldText, const wchar_t* newText) {
    if (!oldText || !*oldText) return 0;
    std::wstring_view from(oldText);
    std::wstring_view to(newText ? newText : L"");
    std::wstring result;
    int count = 0;
    size_t pos = 0;
    for (size_t hit; (hit = s_.find(from, pos)) != std::wstring::npos; pos = hit + from.size()) {
        result.append(s_, pos, hit - pos);
        result.append(to);
        ++count;
    }
    if (count) {
        result.append(s_, pos);
        s_.swap(result);
    }
    return count;
}

int CString::Remove(wchar_t ch) {
    size_t before = s_.size();
    std::erase(s_, ch);
    return qx::CheckedLength<int>(before - s_.size());
}

int CString::Insert(int index, wchar_t ch) {
    s_.insert(Clamp(index, s_.size()), 1, ch);
    return GetLength();
}

int CString::Insert(int index, const wchar_t* text) {
    if (text) s_.insert(Clamp(index, s_.size()), text);
    return GetLength();
}

int CString::Delete(int index, int count) {
    size_t start = Clamp(index, s_.size());
    s_.erase(start, Clamp(count, s_.size() - start));
    return GetLength();
}

void CString::Truncate(int length) { s_.resize(Clamp(length, s_.size())); }

CString& CString::Trim() { return TrimRight().TrimLeft(); }
CString& CString::Trim(wchar_t ch) { return TrimRight(ch).TrimLeft(ch); }
CString& CString::Trim(const wchar_t* chars) { return TrimRight(chars).TrimLeft(chars); }
CString& CString::TrimLeft() { return TrimLeft(kTrimSpace); }
CString& CString::TrimRight() { return TrimRight(kTrimSpace); }

CString& CString::TrimLeft(wchar_t ch) {
    const wchar_t chars[2] = {ch, 0};
    return TrimLeft(chars);
}

CString& CString::TrimRight(wchar_t ch) {
    const wchar_t chars[2] = {ch, 0};
    return TrimRight(chars);
}

CString& CString::TrimLeft(const wchar_t* chars) {
    size_t n = s_.find_first_not_of(chars ? chars : L"");
    s_.erase(0, n);
    return *this;
}

CString& CString::TrimRight(const wchar_t* chars) {
    size_t n = s_.find_last_not_of(chars ? chars : L"");
    s_.resize(n == std::wstring::npos ? 0 : n + 1);
    return *this;
}

int CString::Find(wchar_t ch, int start) const {
    if (start < 0 || static_cast<size_t>(start) > s_.size()) return -1;
    size_t at = s_.find(ch, static_cast<size_t>(start));
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CString::Find(const wchar_t* text, int start) const {
    if (!text || start < 0 || static_cast<size_t>(start) > s_.size()) return -1;
    size_t at = s_.find(text, static_cast<size_t>(start));
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CString::ReverseFind(wchar_t ch) const {
    size_t at = s_.rfind(ch);
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CString::FindOneOf(const wchar_t* chars) const {
    size_t at = s_.find_first_of(chars ? chars : L"");
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

CString CString::Tokenize(const wchar_t* tokens, int& start) const {
    if (start < 0) return CString();
    const wchar_t* delims = tokens ? tokens : L"";
    size_t from = s_.find_first_not_of(delims, static_cast<size_t>(start));
    if (from == std::wstring::npos || static_cast<size_t>(start) >= s_.size()) {
        start = -1;
        return CString();
    }
    size_t to = s_.find_first_of(delims, from);
    if (to == std::wstring::npos) to = s_.size();
    start = qx::CheckedLength<int>(std::min(to + 1, s_.size()));
    return CString(s_.substr(from, to - from));
}

void CString::Format(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::FormatV(const wchar_t* format, va_list args) { s_ = qx::FormatV(format, args); }

void CString::AppendFormat(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    qx::AppendFormatV(s_, format, args);
    va_end(args);
}

wchar_t* CString::GetBuffer() { return s_.data(); }

wchar_t* CString::GetBuffer(int minLength) {
    if (minLength > GetLength()) s_.resize(static_cast<size_t>(minLength));
    return s_.data();
}

wchar_t* CString::GetBufferSetLength(int length) {
    s_.resize(static_cast<size_t>(std::max(length, 0)));
    return s_.data();
}

void CString::ReleaseBuffer(int newLength) {
    if (newLength < 0) {
        s_.resize(std::wcslen(s_.c_str()));
    } else {
        s_.resize(std::min(static_cast<size_t>(newLength), s_.size()));
    }
}

CString operator+(const CString& a, const CString& b) { return CString(a.str() + b.str()); }

CString operator+(const CString& a, const wchar_t* b) {
    CString r(a);
    r += b;
    return r;
}

CString operator+(const wchar_t* a, const CString& b) {
    CString r(a);
    r += b;
    return r;
}

CString operator+(const CString& a, wchar_t b) {
    CString r(a);
    r += b;
    return r;
}

CString operator+(wchar_t a, const CString& b) {
    CString r(a);
    r += b;
    return r;
}
