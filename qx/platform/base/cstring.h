// CString: the wide string of every interface, a value type over std::wstring
// with the operations the family's code uses.
//
// wchar_t holds UTF-32 on Linux. Positions and lengths are int, as the family
// counts them; out-of-range arguments are clamped the way the family relies on
// (Mid past the end gives "", Left(-1) gives ""). A CString is not a plain
// pointer: pass GetString() (or a cast to const wchar_t*) through "...".
#pragma once

#include <cstdarg>
#include <string>

#include "qx/platform/base/checked_length.h"
#include "qx/platform/base/export.h"

class QX_API CString {
public:
    CString() = default;
    CString(const wchar_t* text);          // null gives ""
    CString(const wchar_t* text, int length);
    CString(wchar_t ch, int repeat = 1);
    // Narrow text is taken as the default 8-bit code page (see codepage.h).
    explicit CString(const char* text);
    CString(const std::wstring& text) : s_(text) {}
    CString(std::wstring&& text) noexcept : s_(std::move(text)) {}

    CString& operator=(const wchar_t* text);
    CString& operator=(wchar_t ch);
    CString& operator=(const std::wstring& text) { s_ = text; return *this; }

    int GetLength() const { return qx::CheckedLength<int>(s_.size()); }
    bool IsEmpty() const { return s_.empty(); }
    void Empty() { s_.clear(); }
    wchar_t GetAt(int index) const { return s_.at(static_cast<size_t>(index)); }
    void SetAt(int index, wchar_t ch) { s_.at(static_cast<size_t>(index)) = ch; }
    wchar_t operator[](int index) const { return GetAt(index); }

    operator const wchar_t*() const { return s_.c_str(); }
    const wchar_t* GetString() const { return s_.c_str(); }
    const std::wstring& str() const { return s_; }
    std::wstring& str() { return s_; }

    CString& operator+=(const CString& text) { s_ += text.s_; return *this; }
    CString& operator+=(const wchar_t* text);
    CString& operator+=(wchar_t ch) { s_ += ch; return *this; }
    void Append(const wchar_t* text, int length);

    // Ordinal comparison (<0, 0, >0); CompareNoCase folds case by simple
    // Unicode case folding.
    int Compare(const wchar_t* text) const;
    int CompareNoCase(const wchar_t* text) const;

    CString Left(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Right(int count) const;
    CString SpanIncluding(const wchar_t* chars) const;
    CString SpanExcluding(const wchar_t* chars) const;

    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();

    int Replace(wchar_t oldCh, wchar_t newCh);
    int Replace(const wchar_t* oldText, const wchar_t* newText);
    int Remove(wchar_t ch);
    int Insert(int index, wchar_t ch);
    int Insert(int index, const wchar_t* text);
    int Delete(int index, int count = 1);
    void Truncate(int length);

    // Without an argument, trims space, tab, line feed, vertical tab, form
    // feed and carriage return.
    CString& Trim();
    CString& Trim(wchar_t ch);
    CString& Trim(const wchar_t* chars);
    CString& TrimLeft();
    CString& TrimLeft(wchar_t ch);
    CString& TrimLeft(const wchar_t* chars);
    CString& TrimRight();
    CString& TrimRight(wchar_t ch);
    CString& TrimRight(const wchar_t* chars);

    int Find(wchar_t ch, int start = 0) const;
    int Find(const wchar_t* text, int start = 0) const;
    int ReverseFind(wchar_t ch) const;
    int FindOneOf(const wchar_t* chars) const;

    // Next token delimited by any of *tokens*, starting at *start*; *start*
    // becomes -1 (and the result "") when no token is left.
    CString Tokenize(const wchar_t* tokens, int& start) const;

    // Windows wide printf conventions, see qx/platform/base/format.h.
    void Format(const wchar_t* format, ...);
    void FormatV(const wchar_t* format, va_list args);
    void AppendFormat(const wchar_t* format, ...);

    // Direct access for C-style writers: GetBuffer(n) gives room for at least
    // n characters plus a terminating zero; ReleaseBuffer(-1) ends the string
    // at its first zero character, ReleaseBuffer(n) at n characters.
    wchar_t* GetBuffer();
    wchar_t* GetBuffer(int minLength);
    wchar_t* GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);

private:
    std::wstring s_;
};

QX_API CString operator+(const CString& a, const CString& b);
QX_API CString operator+(const CString& a, const wchar_t* b);
QX_API CString operator+(const wchar_t* a, const CString& b);
QX_API CString operator+(const CString& a, wchar_t b);
QX_API CString operator+(wchar_t a, const CString& b);

inline bool operator==(const CString& a, const CString& b) { return a.str() == b.str(); }
inline bool operator==(const CString& a, const wchar_t* b) { return a.Compare(b) == 0; }
inline bool operator==(const wchar_t* a, const CString& b) { return b.Compare(a) == 0; }
inline bool operator!=(const CString& a, const CString& b) { return !(a == b); }
inline bool operator!=(const CString& a, const wchar_t* b) { return !(a == b); }
inline bool operator!=(const wchar_t* a, const CString& b) { return !(a == b); }
inline bool operator<(const CString& a, const CString& b) { return a.str() < b.str(); }
inline bool operator>(const CString& a, const CString& b) { return b.str() < a.str(); }
