// Conversions between wide text (UTF-32 in wchar_t on Linux) and the Unicode
// byte forms. These are the fast paths every file reader and writer uses; the
// 8-bit code pages live in codepage.h.
//
// Malformed input never fails: an invalid UTF-8 sequence or a lone surrogate
// becomes U+FFFD, so that a damaged file still reads as far as it is sound.
#pragma once

#include <string>
#include <string_view>

#include "qx/platform/base/export.h"

namespace qx {

QX_API std::string WideToUtf8(std::wstring_view text);
// The same appended to *out*.
QX_API void AppendUtf8(std::wstring_view text, std::string& out);
QX_API std::wstring Utf8ToWide(std::string_view bytes);
// The same into *out*, replacing its text (its room is reused).
QX_API void Utf8ToWide(std::string_view bytes, std::wstring& out);
// The first character of non-empty UTF-8 *bytes* and the number of bytes it
// takes (at least 1); U+FFFD for a broken sequence, which takes its lead
// byte and the continuation bytes that follow it, as Utf8ToWide reads it.
QX_API char32_t DecodeUtf8Char(std::string_view bytes, size_t& length);

// UTF-16 as bytes in the given order, without a byte-order mark. An odd
// trailing byte is ignored.
QX_API std::string WideToUtf16Bytes(std::wstring_view text, bool bigEndian);
QX_API std::wstring Utf16BytesToWide(std::string_view bytes, bool bigEndian);

// UTF-16 code units, as the clipboard and page files carry them.
QX_API std::u16string WideToUtf16(std::wstring_view text);
QX_API std::wstring Utf16ToWide(std::u16string_view text);

}  // namespace qx
