// Packed value lists from arbitrary bytes: read every value, build the list
// again from them, read that, and compare.
//
// Input: byte 0 chooses the separator form, the following bytes give the
// separator, the rest is the list as UTF-8.
//   byte 0 bit 0 clear  one character: byte 1 (bit 1 set: bytes 1-2, big
//                       endian, so that U+2248 and friends come up);
//   byte 0 bit 0 set    a text: byte 1 % 8 bytes of UTF-8 follow.
//
// What holds: reading the rebuilt list gives the values read from the input,
// up to empty values at the end (a list "a:" and a list "a" both read as
// "a" and then nothing more). It holds when the separator cannot be confused
// with what the builder writes for a value (its escapes "&r", "&n", U+00AE,
// a line end, the marker U+2248 that the reader drops; a zero character,
// which the builder writes as nothing) and when no value
// begins with U+2248: the builder does not protect such a value, so it
// loses the mark when read again. Without these conditions the target still
// runs everything under the sanitizers but checks nothing.
#include <cstddef>
#include <cstdint>
#include <cwchar>
#include <string>
#include <string_view>
#include <vector>

#include "qx/platform/base/utf.h"
#include "qx/text/sub_str.h"

namespace {

constexpr wchar_t kEscapedColon = 0x00AE;
constexpr wchar_t kApproximately = 0x2248;

bool AtLineEnd(const wchar_t* p) { return *p == L'\n' || (*p == L'\r' && p[1] == L'\n'); }

bool SeparatorIsSafe(std::wstring_view separator) {
    for (wchar_t c : separator) {
        if (c == L'\0' || c == L'\r' || c == L'\n' || c == L'&' || c == L'r' || c == L'n' || c == kEscapedColon ||
            c == kApproximately) {
            return false;
        }
    }
    return true;
}

struct Separator {
    bool isText = false;
    wchar_t character = L':';
    std::wstring text;  // ends at its first zero, as the reader and builder see it
};

// Reads the list with either reader until it ends or reaches a line end.
// The character form is read through its own object, whose cursor shows
// the line end; the text form only through qxSubStrUtil, whose cursor is
// hidden, so it reads until the bound and collects empty values at a line
// end, which the comparison ignores.
std::vector<std::wstring> ReadAll(const std::wstring& list, Separator& separator) {
    std::vector<std::wstring> values;
    const size_t bound = list.size() + 2;
    CString value;
    if (!separator.isText) {
        CQxSubStr reader;
        if (!reader.GetInit(list.c_str(), separator.character)) return values;
        for (bool more = true; more;) {
            const wchar_t* before = reader.m_readCursor;
            more = reader.Get(value);
            values.push_back(value.str());
            if (more && AtLineEnd(reader.m_readCursor)) break;
            // A value that has a successor was followed by a separator, so
            // the reader moved.
            if (more && reader.m_readCursor == before) __builtin_trap();
            if (values.size() > bound) __builtin_trap();
        }
        return values;
    }
    if (!qxSubStrUtil::GetInit(list.c_str(), separator.text.data())) return values;
    for (bool more = true; more && values.size() < bound;) {
        more = qxSubStrUtil::Get(value);
        values.push_back(value.str());
    }
    return values;
}

std::wstring Build(const std::vector<std::wstring>& values, Separator& separator) {
    CQxSubStr builder;
    if (separator.isText) {
        builder.AddInit(separator.text.data());
    } else {
        builder.AddInit(separator.character);
    }
    for (const std::wstring& v : values) builder.Add(v.c_str());
    CString list;
    builder.AddEnd(list);
    return list.str();
}

void DropTrailingEmpty(std::vector<std::wstring>& values) {
    while (!values.empty() && values.back().empty()) values.pop_back();
}

// Cuts *text* at its first zero, as every const wchar_t* interface would.
std::wstring UpToZero(std::wstring text) {
    text.resize(std::wcslen(text.c_str()));
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Separator separator;
    size_t used;
    if (bytes[0] & 1) {
        size_t length = static_cast<uint8_t>(bytes[1]) % 8;
        if (size < 2 + length) return 0;
        separator.isText = true;
        separator.text = UpToZero(qx::Utf8ToWide(bytes.substr(2, length)));
        used = 2 + length;
    } else if (bytes[0] & 2) {
        if (size < 3) return 0;
        separator.character = static_cast<wchar_t>((data[1] << 8) | data[2]);
        used = 3;
    } else {
        separator.character = static_cast<wchar_t>(data[1]);
        used = 2;
    }
    const std::wstring list = UpToZero(qx::Utf8ToWide(bytes.substr(used)));

    std::vector<std::wstring> values = ReadAll(list, separator);
    for (const std::wstring& v : values) {
        // The number conversions see every kind of text here.
        (void)qx::PackedValueToInt(CString(v));
        (void)qx::PackedValueToDouble(CString(v));
    }
    // Empty values at the end do not survive a list anyway. Dropping them
    // before building also keeps a separator from following the value that
    // ended at a line end: such a value may end with the first characters
    // of a separator text, which would then be found one character early.
    DropTrailingEmpty(values);
    const std::wstring rebuilt = Build(values, separator);
    std::vector<std::wstring> reread = ReadAll(rebuilt, separator);

    const std::wstring_view separatorText =
        separator.isText ? std::wstring_view(separator.text) : std::wstring_view(&separator.character, 1);
    bool checkable = SeparatorIsSafe(separatorText);
    for (const std::wstring& v : values) {
        if (!v.empty() && v[0] == kApproximately) checkable = false;
    }
    if (!checkable) return 0;
    DropTrailingEmpty(reread);
    if (values != reread) __builtin_trap();
    return 0;
}
