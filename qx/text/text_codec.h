// Decoding and encoding of the family's text files (tree files, text files,
// wordbooks): the byte-order marks, the code-page argument mapping and the
// encoded form.
//
// Reading, after undoing the encoded form:
//   FF FE  UTF-16LE          FE FF  UTF-16BE          EF BB  UTF-8 (from byte 3)
//   other  code page: -1, 3332 and 65001 read as 1252, 3331 as the OEM code
//          page, anything else as given (0 = the default 8-bit code page);
//          a file without mark is never read as UTF-8.
// The text ends at its first zero character.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "qx/platform/base/export.h"

namespace qx {

// The code page a reader uses for text without mark.
QX_API unsigned ReaderCodePage(unsigned codePage);

// Undoes the encoded form in place: every byte loses the encoding offset,
// except a stored UTF-8 mark at the start, which is kept as it is.
QX_API void DecodeStoredBytes(std::string& bytes);

// The form a reader takes from the mark at the start of *bytes* (already
// freed of the encoded form): kCpUtf16Le, kCpUtf16Be, kCpUtf8 (from "EF BB"
// on, as the reader reads it), or 0 for text without mark.
QX_API unsigned MarkedCodePage(std::string_view bytes);

// The mark a writer puts before text in *codePage*: the UTF-8 and UTF-16
// marks for kCpUtf8, kCpUtf16Le and kCpUtf16Be, nothing for the code pages.
QX_API std::string_view TextMark(unsigned codePage);

// Decodes file bytes (already freed of the encoded form) to text.
QX_API std::wstring DecodeText(std::string_view bytes, unsigned codePage);

// Whether the bytes (after undoing the encoded form when *encoded*) begin
// with a UTF-16 mark of either order or the UTF-8 mark; never for fewer
// than three bytes.
QX_API bool HasUnicodeMark(std::string_view bytes, bool encoded);

// Reads a whole file and decodes it. Nothing when it cannot be read (the
// last error tells why).
QX_API std::optional<std::wstring> ReadTextFile(const wchar_t* path, unsigned codePage, bool encoded);

// Text as UTF-8 with its mark (EF BB BF).
QX_API std::string EncodeUtf8WithMark(std::wstring_view text);
// Text as UTF-16LE with its mark (FF FE).
QX_API std::string EncodeUtf16WithMark(std::wstring_view text);

}  // namespace qx
