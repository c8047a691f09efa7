#include "qx/print/field_text.h"

#include <gtest/gtest.h>

#include <string>

namespace qx {
namespace {

TEST(SubstituteFieldTest, Cases) {
    struct Case {
        const wchar_t* text;
        const wchar_t* value;
        const wchar_t* extra;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"Menge: %s", L"12", L"", L"Menge: 12"},
        {L"kein Platzhalter", L"12", L"", L"12"},
        {L"%s %s", L"3", L"kg", L"3kg"},             // the character after the first marker goes
        {L"%s x %s m", L"3", L"4", L"3x 4 m"},       // the text after the second marker stays
        {L"%s %s", L"3", L"", L"3 3"},               // no extra: every marker takes the value
        {L"%s/%s/%s", L"a", L"", L"a/a/a"},
        {L"%s%s", L"a", L"b", L"ab"},                // markers side by side
        {L"", L"v", L"", L"v"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "text=\"" << c.text << "\" extra=\"" << c.extra << "\"");
        EXPECT_EQ(SubstituteField(c.text, c.value, c.extra), c.expected);
    }
}

TEST(FillPlaceholdersTest, ReplacesEveryMarkerOrTheWholeText) {
    EXPECT_EQ(FillPlaceholders(L"Seite %s", L"13"), L"Seite 13");
    EXPECT_EQ(FillPlaceholders(L"", L"13"), L"13");
    EXPECT_EQ(FillPlaceholders(L"%s von %s", L"2"), L"2 von 2");
}

TEST(FormatRunningTotalTest, GroupsDigitsAndCutsDecimals) {
    struct Case {
        double total;
        int decimals;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {1234567.891, 2, L"1.234.567,89"},
        {1234567.891, 0, L"1.234.567"},
        {-123.5, 1, L"-123,5"},
        {0.999, 2, L"0,99"},      // cut, not rounded
        {999.0, 2, L"999,00"},
        {1000.0, -3, L"1.000"},   // a negative count is 0
        {-1234.5, 9, L"-1.234,500000"},
        {123456.0, 0, L"123.456"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.total << " with " << c.decimals);
        EXPECT_EQ(FormatRunningTotal(c.total, c.decimals), c.expected);
    }
}

TEST(ReadTotalAmountTest, ReadsGermanAndPlainNumbers) {
    EXPECT_DOUBLE_EQ(ReadTotalAmount(L"1.234,5"), 1234.5);
    EXPECT_DOUBLE_EQ(ReadTotalAmount(L"12.5"), 12.5);
    EXPECT_DOUBLE_EQ(ReadTotalAmount(L"7 Stück"), 7.0);
    EXPECT_DOUBLE_EQ(ReadTotalAmount(L"abc"), 0.0);
}

}  // namespace
}  // namespace qx
