#include "qx/text/wildcard.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "qx/text/str_util.h"

namespace {

TEST(WildcardTest, MatchesWholeTexts) {
    struct Case {
        const wchar_t* text;
        const wchar_t* pattern;
        bool caseSensitive;
        bool want;
    } cases[] = {
        {L"Report.TXT", L"*.txt", false, true},
        {L"Report.TXT", L"*.txt", true, false},
        {L"abc", L"a?c", true, true},
        {L"ac", L"a?c", true, false},
        {L"", L"*?", true, false},
        {L"", L"*", true, true},
        {L"", L"", true, true},
        {L"a", L"", true, false},
        {L"abc", L"abc", true, true},
        {L"abcd", L"abc", true, false},
        {L"abc", L"abcd", true, false},
        {L"abc", L"*?", true, true},
        {L"abc", L"**a**c", true, true},
        {L"x", L"?*", true, true},
        {L"", L"?*", true, false},
        // The pattern may end before the text: the last star takes more.
        {L"abab", L"*ab", true, true},
        {L"aaab", L"*aab", true, true},
        {L"abcbcd", L"a*bcd", true, true},
        {L"abcbce", L"a*bcd", true, false},
        {L"Map_DE.Region1", L"Map_*.Region?", true, true},
        {L"Map_DE.Region12", L"Map_*.Region?", true, false},
        // A literal "?" in the text is only a character for "?".
        {L"what?", L"*?", true, true},
        // Only A-Z fold; other letters compare exactly.
        {L"ÄRGER", L"ärger", false, false},
        {L"ärger", L"ärger", false, true},
        {L"STRASSE", L"strasse", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "text \"" << c.text << "\" pattern \"" << c.pattern << "\"");
        EXPECT_EQ(qx::MatchesWildcard(c.text, c.pattern, c.caseSensitive), c.want);
        EXPECT_EQ(qxStrUtil::MatchesWildcardPattern(c.text, c.pattern, c.caseSensitive ? 1 : 0), c.want);
    }
}

TEST(WildcardTest, NullCountsAsEmpty) {
    EXPECT_TRUE(qxStrUtil::MatchesWildcardPattern(nullptr, L"*", 0));
    EXPECT_FALSE(qxStrUtil::MatchesWildcardPattern(nullptr, L"?", 0));
    EXPECT_TRUE(qxStrUtil::MatchesWildcardPattern(L"", nullptr, 1));
    EXPECT_FALSE(qxStrUtil::MatchesWildcardPattern(L"a", nullptr, 1));
}

// A matcher that backtracks into every star takes exponential time here.
TEST(WildcardTest, PathologicalPatternsStayFast) {
    const std::wstring as(100000, L'a');
    struct Case {
        const char* name;
        std::wstring pattern;
        bool want;
    } cases[] = {
        {"stars between single letters", L"a*a*a*a*a*a*a*a*a*a*a*b", false},
        {"stars between single letters, matching", L"a*a*a*a*a*a*a*a*a*a*a*a", true},
        {"long literal after the last star", L"*" + std::wstring(50, L'a') + L"b", false},
        {"question marks after stars", L"*?*?*?*?*?*b", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(qx::MatchesWildcard(as, c.pattern, false), c.want);
        auto elapsed = std::chrono::steady_clock::now() - start;
        // Linear work takes well under a millisecond per 100,000 characters
        // and literal; the bound leaves room for slow sanitizer builds.
        EXPECT_LT(elapsed, std::chrono::seconds(2));
    }
}

}  // namespace
