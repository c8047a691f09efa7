#include "qx/text/string_nocase.h"

#include <gtest/gtest.h>

#include "qx/text/string_ex.h"

namespace {

TEST(StringNoCaseTest, FoldsOnlyTheFamilysCapitals) {
    struct Case {
        const wchar_t* text;
        const wchar_t* pattern;
        int want;  // index, -1 for none
    } cases[] = {
        {L"ärger", L"ÄRGER", 0},
        {L"слово", L"СЛОВО", 0},
        {L"Das Wort", L"wORT", 4},
        {L"abc", L"", 0},
        {L"abc", L"abcd", -1},
        {L"ё", L"Ё", -1},      // U+0401 lies outside the folded range
        {L"ǆ", L"Ǆ", -1},      // so does everything beyond Latin-1 and А-Я
        {L"\u00F7", L"\u00D7", 0},  // × folds to ÷: the range is taken whole
        {L"ÿ", L"Ÿ", -1},      // U+0178 has its small letter in Latin-1, but is no capital here
        {L"aab", L"ab", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "text \"" << c.text << "\" pattern \"" << c.pattern << "\"");
        const wchar_t* hit = String::FindNoCase(c.text, c.pattern);
        EXPECT_EQ(hit ? static_cast<int>(hit - c.text) : -1, c.want);
    }
    EXPECT_EQ(String::FindNoCase(nullptr, L"a"), nullptr);
    EXPECT_EQ(String::FindNoCase(L"a", nullptr), nullptr);
}

TEST(StringNoCaseTest, ReplaceNoCase) {
    struct Case {
        const char* name;
        const wchar_t* text;
        const wchar_t* find;
        const wchar_t* replace;
        const wchar_t* want;
        int count;
    } cases[] = {
        {"every case variant", L"Rohr rohr ROHR", L"rohr", L"Pipe", L"Pipe Pipe Pipe", 3},
        {"umlauts fold", L"Ärger und ärger", L"ÄRGER", L"Wut", L"Wut und Wut", 2},
        {"no overlaps", L"aaa", L"AA", L"b", L"ba", 1},
        {"nothing found", L"abc", L"x", L"y", L"abc", 0},
        {"empty find", L"abc", L"", L"y", L"abc", 0},
        {"null find", L"abc", nullptr, L"y", L"abc", 0},
        {"null replace", L"abc", L"a", nullptr, L"abc", 0},
        {"empty replace", L"aXbx", L"x", L"", L"ab", 2},
        // The replacement contains what is searched for: each occurrence is
        // replaced once and the text does not grow on and on.
        {"replacement holds find", L"a-a", L"a", L"aa", L"aa-aa", 2},
        {"replacement holds find, twice in a row", L"aa", L"A", L"Aa", L"AaAa", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CString text = c.text;
        EXPECT_EQ(String::ReplaceNoCase(text, c.find, c.replace), c.count);
        EXPECT_EQ(text.str(), c.want);
    }
}

TEST(StringExTest, FindNoCaseFromAStart) {
    const CStringEx text(L"Heizung HEIZUNG");
    struct Case {
        const wchar_t* pattern;
        int start;
        int want;
    } cases[] = {
        {L"heizung", 0, 0},
        {L"heizung", 1, 8},
        {L"heizung", 9, -1},
        {L"", 15, 15},  // the end is a valid start
        {L"", 16, -1},
        {L"h", -1, -1},
        {nullptr, 0, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "pattern \"" << (c.pattern ? c.pattern : L"(null)") << "\" start "
                                        << c.start);
        EXPECT_EQ(text.FindNoCase(c.pattern, c.start), c.want);
    }
}

TEST(StringExTest, ReplacedNoCaseLeavesTheOriginal) {
    const CStringEx text(L"Vorlauf VORLAUF");
    CStringEx replaced = text.ReplacedNoCase(L"vorlauf", L"VL");
    EXPECT_EQ(replaced.str(), L"VL VL");
    EXPECT_EQ(text.str(), L"Vorlauf VORLAUF");
}

}  // namespace
