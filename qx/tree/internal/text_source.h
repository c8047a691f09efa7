// The three kinds of text the readers of tree documents and VDI files take:
// wide text, UTF-8 bytes and 8-bit bytes with a widening table
// (qx::WideningTable). Every character that gives the text its structure is
// ASCII, so a byte reader finds it in the bytes themselves and widens only
// the pieces it keeps.
#pragma once

#include <cstring>
#include <cwchar>
#include <string>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "qx/platform/base/unicode.h"
#include "qx/platform/base/utf.h"

namespace qx::detail {

inline bool IsAsciiSpace(unsigned c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The first position from *p* holding *a*, *b*, *c* or the terminating
// zero. Byte text is scanned sixteen bytes at a time where the processor
// allows; *end* is where the zero of the text stands (null for wide text).
inline const wchar_t* FindStop(const wchar_t* p, const wchar_t*, wchar_t a, wchar_t b, wchar_t c) {
    while (*p != a && *p != b && *p != c && *p) ++p;
    return p;
}

inline const char* FindStop(const char* p, const char* end, char a, char b, char c) {
#if defined(__SSE2__)
    const __m128i va = _mm_set1_epi8(a);
    const __m128i vb = _mm_set1_epi8(b);
    const __m128i vc = _mm_set1_epi8(c);
    const __m128i zero = _mm_setzero_si128();
    while (end - p >= 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i hits = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(x, va), _mm_cmpeq_epi8(x, vb)),
                                          _mm_or_si128(_mm_cmpeq_epi8(x, vc), _mm_cmpeq_epi8(x, zero)));
        if (const int mask = _mm_movemask_epi8(hits)) return p + __builtin_ctz(static_cast<unsigned>(mask));
        p += 16;
    }
#else
    (void)end;
#endif
    while (*p != a && *p != b && *p != c && *p) ++p;
    return p;
}

// Wide text as it is.
struct WideSource {
    using Unit = wchar_t;

    size_t SpaceAt(const wchar_t* p) const { return qx::IsSpace(*p) ? 1 : 0; }
    void Widen(const wchar_t* begin, const wchar_t* end, std::wstring& out) const { out.assign(begin, end); }
    // The position after *name* when the text at *p* starts with it.
    const wchar_t* Match(const wchar_t* p, std::wstring_view name) const {
        return std::wcsncmp(p, name.data(), name.size()) == 0 ? p + name.size() : nullptr;
    }
};

// UTF-8 bytes, decoded as qx::Utf8ToWide decodes them.
struct Utf8Source {
    using Unit = char;

    static char32_t CharAt(const char* p, size_t& length) {
        return qx::DecodeUtf8Char(std::string_view(p, ::strnlen(p, 4)), length);
    }
    size_t SpaceAt(const char* p) const {
        const auto b = static_cast<unsigned char>(*p);
        if (b < 0x80) return IsAsciiSpace(b) ? 1 : 0;
        size_t length = 0;
        return qx::IsSpace(static_cast<wchar_t>(CharAt(p, length))) ? length : 0;
    }
    void Widen(const char* begin, const char* end, std::wstring& out) const {
        qx::Utf8ToWide(std::string_view(begin, static_cast<size_t>(end - begin)), out);
    }
    const char* Match(const char* p, std::wstring_view name) const {
        for (wchar_t expected : name) {
            if (!*p) return nullptr;
            size_t length = 0;
            if (static_cast<wchar_t>(CharAt(p, length)) != expected) return nullptr;
            p += length;
        }
        return p;
    }
};

// 8-bit bytes through a widening table (qx::WideningTable).
struct TableSource {
    using Unit = char;

    wchar_t At(const char* p) const { return table[static_cast<unsigned char>(*p)]; }
    size_t SpaceAt(const char* p) const {
        const auto b = static_cast<unsigned char>(*p);
        if (b < 0x80) return IsAsciiSpace(b) ? 1 : 0;
        return qx::IsSpace(At(p)) ? 1 : 0;
    }
    void Widen(const char* begin, const char* end, std::wstring& out) const {
        out.resize(static_cast<size_t>(end - begin));
        for (size_t i = 0; begin + i != end; ++i) out[i] = At(begin + i);
    }
    const char* Match(const char* p, std::wstring_view name) const {
        for (wchar_t expected : name) {
            if (!*p || At(p) != expected) return nullptr;
            ++p;
        }
        return p;
    }

    const wchar_t* table;
};

}  // namespace qx::detail
