#include "qx/locale/language_codes.h"

#include <gtest/gtest.h>

namespace {

struct AbbreviationCase {
    unsigned short langId;
    const wchar_t* abbr;  // null: unknown
};

TEST(LanguageAbbreviationTest, MapsWholeIdentifiersOnly) {
    const AbbreviationCase cases[] = {
        {1031, L"de"}, {1033, L"en"}, {1029, L"cz"}, {2067, L"fl"}, {2068, L"no"},
        {2070, L"pt"}, {2074, L"sr"}, {3098, L"sr"}, {1049, L"ru"}, {1063, L"lt"},
        // Other sublanguages of known languages are not reduced to them.
        {2057, nullptr}, {3079, nullptr}, {2055, nullptr}, {7, nullptr}, {0, nullptr}, {65535, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.langId);
        CString abbr = L"stale";
        EXPECT_EQ(qx::LanguageAbbreviation(c.langId, abbr), c.abbr != nullptr);
        EXPECT_EQ(abbr, CString(c.abbr ? c.abbr : L""));
    }
}

struct CodePageCase {
    const wchar_t* abbr;
    int codePage;
};

TEST(LanguageCodePageTest, MapsAbbreviationsIgnoringCase) {
    const CodePageCase cases[] = {
        {L"de", 1252}, {L"EN", 1252}, {L"uk", 1252}, {L"fl", 1252}, {L"Es", 1252},
        {L"pl", 1250}, {L"CZ", 1250}, {L"sq", 1250},
        // Slovak and Slovenian letters exist only in the Central European page.
        {L"sk", 1250}, {L"sl", 1250},
        {L"ru", 1251}, {L"sr", 1251}, {L"el", 1253}, {L"tr", 1254}, {L"lt", 1257},
        {L"", -1}, {L"xx", -1}, {L"cs", -1}, {L"deu", -1}, {L"d", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.abbr)));
        EXPECT_EQ(qx::LanguageCodePage(c.abbr), c.codePage);
    }
}

// Every abbreviation an identifier yields has a code page, so a language
// module named after the system language can always be decoded.
TEST(LanguageCodesTest, EveryKnownLanguageHasACodePage) {
    for (unsigned id = 0; id <= 0xFFFF; ++id) {
        CString abbr;
        if (!qx::LanguageAbbreviation(static_cast<unsigned short>(id), abbr)) continue;
        SCOPED_TRACE(id);
        EXPECT_NE(qx::LanguageCodePage(abbr), -1);
    }
}

}  // namespace
