// Conversions between wide text and the 8-bit code pages the family's files
// use (Windows 1250-1258, DOS 437 and 850), UTF-8 and UTF-16.
//
// Process-wide state: the default code pages come from the environment
// (QX_ACP, QX_OEMCP), read once and cached; ResetCodePageDefaults() makes the
// next call read them again. The conversion tables are built on first use of a
// code page and shared by all threads.
//
//   code page        bytes -> wide                 wide -> bytes
//   0 / 1            AnsiCodePage() / OemCodePage()
//   8-bit pages      byte table, then NFC          NFC, then table; '?' if absent
//   65001            UTF-8 (qx::Utf8ToWide)        UTF-8, text unchanged
//   1200 / 1201      UTF-16LE / BE                 UTF-16LE / BE, text unchanged
//   anything else    as AnsiCodePage()             as AnsiCodePage()
#pragma once

#include <string>
#include <string_view>

#include "qx/platform/base/export.h"

namespace qx {

namespace detail {
class SingleByteTable;
}

inline constexpr unsigned kCpAcp = 0;       // the system's default 8-bit code page
inline constexpr unsigned kCpOemCp = 1;     // the system's OEM (console) code page
inline constexpr unsigned kCpUtf16Le = 1200;
inline constexpr unsigned kCpUtf16Be = 1201;
inline constexpr unsigned kCpUtf8 = 65001;

// The default 8-bit code page: 1252, or the value of QX_ACP when that is a
// decimal 8-bit code page or 65001 (anything else is ignored).
QX_API unsigned AnsiCodePage();
// The OEM code page: 850, or QX_OEMCP under the same rule.
QX_API unsigned OemCodePage();
// Forgets the cached defaults so that the next call reads the environment
// again. For tests; safe to call while other threads convert.
QX_API void ResetCodePageDefaults();

// 1250-1258, 437, 850, 65001, 1200, 1201, and 0 and 1, which stand for the
// defaults.
QX_API bool IsCodePageSupported(unsigned cp);

// Text in code page *cp*. For the 8-bit pages the text is composed (NFC) first,
// so that "e" + U+0301 is written as the single byte of "é"; a letter the page
// only has as base + combining mark (Vietnamese in 1258) is written that way;
// any other character the page lacks becomes '?' and sets *lossy. The UTF
// forms carry the text as it is; *lossy then reports code points that UTF
// cannot carry (lone surrogates), which become U+FFFD. U+0080-U+009F go to
// the byte of the same value where the page leaves that byte undefined, so
// that such bytes read by CodePageToWide are written back unchanged.
QX_API std::string WideToCodePage(std::wstring_view text, unsigned cp, bool* lossy = nullptr);

// Wide text from bytes in code page *cp*. A byte that an 8-bit page leaves
// undefined (0x81 in 1252) becomes the code point of the same value, as
// Windows reads 1252; the result is composed (NFC). Never fails.
QX_API std::wstring CodePageToWide(std::string_view bytes, unsigned cp);

// For readers that widen 8-bit text piece by piece: the 256 wide characters
// of code page *cp*'s bytes, when *cp* is an 8-bit page and no byte of
// *bytes* composes with what precedes it, so that widening any pieces of
// *bytes* through the table gives what CodePageToWide gives for the whole.
// Null otherwise (read such text with CodePageToWide). The table lives as
// long as the process.
QX_API const wchar_t* WideningTable(std::string_view bytes, unsigned cp);

// For writers that encode text piece by piece: each piece is encoded as
// WideToCodePage encodes it on its own, so an 8-bit page composes (NFC)
// within a piece but never across two. Cheap to make; keep one for a run of
// pieces.
class QX_API CodePageWriter {
public:
    explicit CodePageWriter(unsigned cp);
    // Appends *text* in the code page to *out*. Characters the page lacks
    // (see WideToCodePage) set *lossy, which is never cleared here, so that
    // one flag can watch a whole run of pieces.
    void Append(std::wstring_view text, std::string& out, bool* lossy = nullptr) const;
    // Whether an ASCII character is written as its one byte (every form
    // but UTF-16), so that a caller may append such bytes itself.
    bool WritesAsciiAsBytes() const { return table_ || cp_ == kCpUtf8; }

private:
    unsigned cp_;
    const detail::SingleByteTable* table_ = nullptr;  // null for the UTF forms
};

}  // namespace qx
