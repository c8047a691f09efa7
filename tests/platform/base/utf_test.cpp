#include "qx/platform/base/utf.h"

#include <gtest/gtest.h>

namespace {

TEST(UtfTest, RoundTripsAllPlanes) {
    const std::wstring text = L"A\u00E4\u20AC\U0001F600z";
    EXPECT_EQ(qx::WideToUtf8(text), "A\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80z");
    EXPECT_EQ(qx::Utf8ToWide(qx::WideToUtf8(text)), text);
    EXPECT_EQ(qx::WideToUtf16Bytes(L"A\U0001F600", false), std::string("A\0\x3D\xD8\x00\xDE", 6));
    EXPECT_EQ(qx::WideToUtf16Bytes(L"A", true), std::string("\0A", 2));
    for (bool big : {false, true}) {
        SCOPED_TRACE(big ? "big endian" : "little endian");
        EXPECT_EQ(qx::Utf16BytesToWide(qx::WideToUtf16Bytes(text, big), big), text);
    }
    EXPECT_EQ(qx::Utf16ToWide(qx::WideToUtf16(text)), text);
}

TEST(UtfTest, MalformedInputBecomesReplacementCharacters) {
    struct Case {
        const char* name;
        std::string bytes;
        std::wstring want;
    } cases[] = {
        {"lone continuation", "a\x80z", L"a\uFFFDz"},
        {"truncated sequence at end", "a\xE2\x82", L"a\uFFFD"},
        {"truncated sequence before ASCII", "\xE2\x82z", L"\uFFFDz"},
        {"overlong form", "\xC0\xAF", L"\uFFFD\uFFFD"},
        {"overlong three bytes", "\xE0\x80\xAF", L"\uFFFD"},
        {"encoded surrogate", "\xED\xA0\x80", L"\uFFFD"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", L"\uFFFD"},
        {"invalid lead", "\xFF", L"\uFFFD"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(qx::Utf8ToWide(c.bytes), c.want);
    }
    // A lone surrogate in UTF-16 and an odd trailing byte.
    EXPECT_EQ(qx::Utf16BytesToWide(std::string("\x00\xD8" "A\x00" "B", 5), false), L"\uFFFDA");
    EXPECT_EQ(qx::WideToUtf8(std::wstring(1, static_cast<wchar_t>(0x110000))), "\xEF\xBF\xBD");
}

}  // namespace
