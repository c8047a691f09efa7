#include "qx/platform/base/codepage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr unsigned kSingleBytePages[] = {1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258, 437, 850};

// Every test starts without QX_ACP and QX_OEMCP, whatever the machine's
// environment holds, and leaves them as it found them.
class CodePageTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (Saved& var : saved_) {
            if (const char* value = std::getenv(var.name)) var.value = value;
            unsetenv(var.name);
        }
        qx::ResetCodePageDefaults();
    }
    void TearDown() override {
        for (const Saved& var : saved_) {
            if (var.value) {
                setenv(var.name, var.value->c_str(), 1);
            } else {
                unsetenv(var.name);
            }
        }
        qx::ResetCodePageDefaults();
    }

    // Sets (or, with null, clears) a variable and makes the library read it.
    static void SetEnv(const char* name, const char* value) {
        if (value) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
        qx::ResetCodePageDefaults();
    }

private:
    struct Saved {
        const char* name;
        std::optional<std::string> value;
    };
    Saved saved_[2] = {{"QX_ACP", {}}, {"QX_OEMCP", {}}};
};

TEST_F(CodePageTest, CharactersOfEachPageBothWays) {
    struct Case {
        unsigned cp;
        wchar_t ch;
        unsigned char byte;
    };
    const Case cases[] = {
        {1250, L'\u0141', 0xA3},  // Ł
        {1250, L'\u0151', 0xF5},  // ő
        {1250, L'\u0160', 0x8A},  // Š
        {1251, L'\u0416', 0xC6},  // Ж
        {1251, L'\u044F', 0xFF},  // я
        {1251, L'\u0401', 0xA8},  // Ё
        {1252, L'\u20AC', 0x80},  // €
        {1252, L'\u00E9', 0xE9},  // é
        {1252, L'\u0178', 0x9F},  // Ÿ
        {1253, L'\u03A9', 0xD9},  // Ω
        {1253, L'\u03AC', 0xDC},  // ά
        {1254, L'\u011E', 0xD0},  // Ğ
        {1254, L'\u0131', 0xFD},  // ı
        {1255, L'\u05D0', 0xE0},  // א
        {1255, L'\u20AA', 0xA4},  // ₪
        {1256, L'\u0639', 0xDA},  // ع
        {1256, L'\u067E', 0x81},  // پ
        {1257, L'\u0104', 0xC0},  // Ą
        {1257, L'\u016B', 0xFB},  // ū
        {1258, L'\u20AB', 0xFE},  // ₫
        {1258, L'\u01A0', 0xD5},  // Ơ
        {1258, L'\u0111', 0xF0},  // đ
        {437, L'\u00C4', 0x8E},   // Ä
        {437, L'\u256C', 0xCE},   // ╬
        {437, L'\u00A2', 0x9B},   // ¢
        {850, L'\u00C4', 0x8E},   // Ä
        {850, L'\u00F8', 0x9B},   // ø
        {850, L'\u0131', 0xD5},   // ı
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "cp " << c.cp << " byte 0x" << std::hex << int(c.byte));
        bool lossy = true;
        EXPECT_EQ(qx::WideToCodePage(std::wstring(1, c.ch), c.cp, &lossy), std::string(1, char(c.byte)));
        EXPECT_FALSE(lossy);
        EXPECT_EQ(qx::CodePageToWide(std::string(1, char(c.byte)), c.cp), std::wstring(1, c.ch));
    }
}

TEST_F(CodePageTest, WritesComposedTextAndMarksWhatIsMissing) {
    struct Case {
        const char* what;
        unsigned cp;
        std::wstring text;
        std::string bytes;
        bool lossy;
    };
    const Case cases[] = {
        {"e + acute composes to one byte", 1252, L"Cafe\u0301 \u20AC", "Caf\xE9 \x80", false},
        {"the same in 1258", 1258, L"e\u0301", "\xE9", false},
        {"Vietnamese: base letter + tone mark", 1258, L"Vi\u1EC7t", "Vi\xEA\xF2t", false},
        {"Vietnamese, decomposed input", 1258, L"Vie\u0323\u0302t", "Vi\xEA\xF2t", false},
        {"1258 has no A with tilde", 1258, L"\u00C3", "A\xDE", false},
        {"no tone marks in 1252", 1252, L"\u1EBF", "?", true},
        {"Cyrillic in 1252", 1252, L"a\u0416b", "a?b", true},
        {"Latin in 1251", 1251, L"\u00E9", "?", true},
        {"outside the BMP", 1252, L"x\U0001F600", "x?", true},
        {"euro in 437", 437, L"\u20AC", "?", true},
        {"C1 control of an undefined byte", 1252, L"\u0081\u009D", "\x81\x9D", false},
        {"undefined byte outside C1", 1253, L"\u00AA", "?", true},
        {"NUL is a character", 1252, std::wstring(L"a\0b", 3), std::string("a\0b", 3), false},
        {"empty", 1252, L"", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        bool lossy = !c.lossy;
        EXPECT_EQ(qx::WideToCodePage(c.text, c.cp, &lossy), c.bytes);
        EXPECT_EQ(lossy, c.lossy);
        EXPECT_EQ(qx::WideToCodePage(c.text, c.cp), c.bytes);  // no report wanted
    }
}

TEST_F(CodePageTest, ReadsPrecomposedText) {
    struct Case {
        const char* what;
        unsigned cp;
        std::string bytes;
        std::wstring text;
    };
    const Case cases[] = {
        {"base + tone mark composes", 1258, "Vi\xEA\xF2t", L"Vi\u1EC7t"},
        {"a + acute", 1258, "a\xEC", L"\u00E1"},
        {"a lone mark stays", 1258, "\xEC", L"\u0301"},
        {"undefined bytes keep their value", 1252, "\x81\x8D\x8F\x90\x9D", L"\u0081\u008D\u008F\u0090\u009D"},
        {"undefined byte outside C1", 1253, "\xAA", L"\u00AA"},
        {"Hebrew points have no precomposed form", 1255, "\xE0\xC8", L"\u05D0\u05B8"},
        {"points in canonical order", 1255, "\xE1\xCC\xC7", L"\u05D1\u05B7\u05BC"},
        {"a mark first", 1258, "\xEC" "a", L"\u0301a"},
        {"mixed ASCII and high bytes", 1251, "ab\xC6\xFF" "cd", L"ab\u0416\u044F" L"cd"},
        {"NUL is a character", 1252, std::string("a\0\xE9", 3), std::wstring(L"a\0\u00E9", 3)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(qx::CodePageToWide(c.bytes, c.cp), c.text);
    }
}

// Composition reaches back to the character before a mark; in long text only
// the stretches around marks are composed, so their edges must be right.
TEST_F(CodePageTest, ComposesMarksAnywhereInLongText) {
    const std::wstring pad(300, L'x');      // longer than the gap between stretches
    const std::wstring shortPad(10, L'y');  // shorter
    struct Case {
        const char* what;
        std::wstring decomposed;
        std::wstring composed;
    };
    const Case cases[] = {
        {"at the start", L"e\u0301" + pad, L"\u00E9" + pad},
        {"at the end", pad + L"e\u0301", pad + L"\u00E9"},
        {"far apart", L"a\u0300" + pad + L"o\u0302" + pad + L"u\u0303",
         L"\u00E0" + pad + L"\u00F4" + pad + L"\u0169"},
        {"close together", pad + L"a\u0300" + shortPad + L"e\u0302\u0301" + shortPad + L"i\u0301",
         pad + L"\u00E0" + shortPad + L"\u1EBF" + shortPad + L"\u00ED"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // 1252 writes what it has and '?' for the rest.
        std::string expected1252;
        for (wchar_t ch : c.composed) expected1252 += ch < 0x100 ? static_cast<char>(ch) : '?';
        EXPECT_EQ(qx::WideToCodePage(c.decomposed, 1252), expected1252);
        // 1258 has the marks as bytes: bytes with marks read back composed.
        const std::string bytes1258 = qx::WideToCodePage(c.decomposed, 1258);
        EXPECT_EQ(qx::CodePageToWide(bytes1258, 1258), c.composed);
    }
}

// Every byte a page defines reads as one character that writes back as the
// same byte. The pages' undefined bytes above the C1 range are characters the
// page does not have: they read as their own value and write as '?'.
TEST_F(CodePageTest, EveryDefinedByteRoundTrips) {
    struct Undefined {
        unsigned cp;
        std::vector<unsigned> bytes;
    };
    const Undefined undefinedAboveC1[] = {
        {1253, {0xAA, 0xD2, 0xFF}},
        {1255, {0xCA, 0xD9, 0xDA, 0xDB, 0xDC, 0xDD, 0xDE, 0xDF, 0xFB, 0xFC, 0xFF}},
        {1257, {0xA1, 0xA5}},
    };
    for (unsigned cp : kSingleBytePages) {
        std::vector<unsigned> undefined;
        for (const Undefined& u : undefinedAboveC1) {
            if (u.cp == cp) undefined = u.bytes;
        }
        for (unsigned b = 0; b < 256; ++b) {
            SCOPED_TRACE(testing::Message() << "cp " << cp << " byte 0x" << std::hex << b);
            const std::string byte(1, static_cast<char>(b));
            const std::wstring text = qx::CodePageToWide(byte, cp);
            ASSERT_EQ(text.size(), 1u);
            bool lossy = false;
            if (std::find(undefined.begin(), undefined.end(), b) != undefined.end()) {
                EXPECT_EQ(static_cast<unsigned>(text[0]), b);
                EXPECT_EQ(qx::WideToCodePage(text, cp, &lossy), "?");
                EXPECT_TRUE(lossy);
            } else {
                EXPECT_EQ(qx::WideToCodePage(text, cp, &lossy), byte);
                EXPECT_FALSE(lossy);
            }
        }
    }
}

TEST_F(CodePageTest, UnicodeFormsCarryTextUnchanged) {
    struct Case {
        const char* what;
        unsigned cp;
        std::wstring text;
        std::string bytes;
    };
    const Case cases[] = {
        {"UTF-8", qx::kCpUtf8, L"A\u00E9\u20AC\U0001F600", "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"},
        {"UTF-8 is not composed", qx::kCpUtf8, L"e\u0301", "e\xCC\x81"},
        {"UTF-16LE", qx::kCpUtf16Le, L"A\u20AC", std::string("A\0\xAC\x20", 4)},
        {"UTF-16BE", qx::kCpUtf16Be, L"A\u20AC", std::string("\0A\x20\xAC", 4)},
        {"UTF-16LE surrogate pair", qx::kCpUtf16Le, L"\U0001F600", std::string("\x3D\xD8\x00\xDE", 4)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        bool lossy = true;
        EXPECT_EQ(qx::WideToCodePage(c.text, c.cp, &lossy), c.bytes);
        EXPECT_FALSE(lossy);
        EXPECT_EQ(qx::CodePageToWide(c.bytes, c.cp), c.text);
    }
}

TEST_F(CodePageTest, UnicodeFormsReportLoneSurrogates) {
    bool lossy = false;
    EXPECT_EQ(qx::WideToCodePage(std::wstring(1, wchar_t(0xD800)), qx::kCpUtf8, &lossy), "\xEF\xBF\xBD");
    EXPECT_TRUE(lossy);
}

TEST_F(CodePageTest, DefaultsComeFromTheEnvironment) {
    struct Case {
        const char* acp;  // null: unset
        const char* oemcp;
        unsigned ansi;
        unsigned oem;
    };
    const Case cases[] = {
        {nullptr, nullptr, 1252, 850},
        {"1250", "437", 1250, 437},
        {"65001", "1252", 65001, 1252},
        {"1200", "1201", 1252, 850},  // UTF-16 cannot be an 8-bit default
        {"0", "1", 1252, 850},        // they would refer to themselves
        {"932", "28591", 1252, 850},  // not supported
        {"", "abc", 1252, 850},
        {" 1251", "1251x", 1252, 850},
        {"4294968547", "-1", 1252, 850},  // 2^32 + 1251 must not wrap to 1251
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "QX_ACP=" << (c.acp ? c.acp : "(unset)")
                                        << " QX_OEMCP=" << (c.oemcp ? c.oemcp : "(unset)"));
        SetEnv("QX_ACP", c.acp);
        SetEnv("QX_OEMCP", c.oemcp);
        EXPECT_EQ(qx::AnsiCodePage(), c.ansi);
        EXPECT_EQ(qx::OemCodePage(), c.oem);
    }
}

TEST_F(CodePageTest, DefaultCodePagesFollowTheEnvironment) {
    EXPECT_EQ(qx::CodePageToWide("\x8E", qx::kCpAcp), L"\u017D");   // Ž in 1252
    EXPECT_EQ(qx::CodePageToWide("\x9B", qx::kCpOemCp), L"\u00F8");  // ø in 850

    SetEnv("QX_ACP", "1250");
    SetEnv("QX_OEMCP", "437");
    EXPECT_EQ(qx::WideToCodePage(L"\u0141", qx::kCpAcp), "\xA3");
    EXPECT_EQ(qx::CodePageToWide("\x9B", qx::kCpOemCp), L"\u00A2");  // ¢ in 437

    SetEnv("QX_ACP", "65001");
    EXPECT_EQ(qx::CodePageToWide("\xC3\xA9", qx::kCpAcp), L"\u00E9");
}

TEST_F(CodePageTest, EnvironmentIsReadOnceUntilReset) {
    SetEnv("QX_ACP", "1250");
    EXPECT_EQ(qx::AnsiCodePage(), 1250u);
    setenv("QX_ACP", "1251", 1);
    EXPECT_EQ(qx::AnsiCodePage(), 1250u);
    qx::ResetCodePageDefaults();
    EXPECT_EQ(qx::AnsiCodePage(), 1251u);
}

TEST_F(CodePageTest, UnsupportedCodePageIsTheDefault8BitPage) {
    for (unsigned cp : {932u, 1249u, 28591u}) {
        SCOPED_TRACE(cp);
        EXPECT_FALSE(qx::IsCodePageSupported(cp));
        EXPECT_EQ(qx::CodePageToWide("\x80", cp), L"\u20AC");
        EXPECT_EQ(qx::WideToCodePage(L"\u20AC", cp), "\x80");
    }
    SetEnv("QX_ACP", "1251");
    EXPECT_EQ(qx::CodePageToWide("\x80", 932), L"\u0402");  // Ђ in 1251
}

TEST_F(CodePageTest, SupportedCodePages) {
    for (unsigned cp : kSingleBytePages) EXPECT_TRUE(qx::IsCodePageSupported(cp)) << cp;
    for (unsigned cp : {qx::kCpAcp, qx::kCpOemCp, qx::kCpUtf8, qx::kCpUtf16Le, qx::kCpUtf16Be}) {
        EXPECT_TRUE(qx::IsCodePageSupported(cp)) << cp;
    }
    for (unsigned cp : {2u, 1202u, 1259u, 65000u, 0xFFFFFFFFu}) EXPECT_FALSE(qx::IsCodePageSupported(cp)) << cp;
}

}  // namespace
