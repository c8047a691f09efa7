#include "qx/platform/os/file_name_pattern.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace qx {
namespace {

TEST(FileNamePatternTest, MatchesAsTheWindowsSearchDoes) {
    struct Case {
        const wchar_t* pattern;
        const wchar_t* name;
        bool matches;
    };
    const Case cases[] = {
        {L"*", L"a.txt", true},
        {L"*", L".", true},
        {L"*.*", L"noext", true},
        {L"*.*", L"..", true},
        {L"**", L"x", true},
        {L"*.txt", L"a.txt", true},
        {L"*.txt", L"A.TXT", true},
        {L"*.txt", L"a.b.txt", true},
        {L"*.txt", L"a.txt.bak", false},
        {L"*.txt", L".", false},
        {L"*.txt", L"txt", false},
        // "*." means no extension; "." and ".." count among those.
        {L"*.", L"README", true},
        {L"*.", L"a.txt", false},
        {L"*.", L".", true},
        {L"*.", L"..", true},
        {L"*.", L".profile", false},
        // "?" is one character other than a dot, or nothing before a dot or
        // at the end.
        {L"Map_*.Region?", L"Map_DE.Region1", true},
        {L"Map_*.Region?", L"map_de.regionx", true},
        {L"Map_*.Region?", L"Map_DE.Region", true},
        {L"Map_*.Region?", L"Map_DE.Region12", false},
        {L"Log?.csv", L"Log1.csv", true},
        {L"Log?.csv", L"Log.csv", true},
        {L"Log?.csv", L"Log12.csv", false},
        {L"a?c", L"abc", true},
        {L"a?c", L"a.c", false},
        {L"a?c", L"ac", false},
        {L"???", L"ab", true},
        {L"???", L"abcd", false},
        {L"???", L"a.b", false},
        // A point before "*" or "?", or at the end, is a point or the end.
        {L"a.*", L"a", true},
        {L"a.*", L"a.txt", true},
        {L"a.*", L"ab", false},
        {L"data.", L"data", true},
        {L"data.", L"data.x", false},
        {L"x.?", L"x", true},
        // Letter case beyond ASCII folds too.
        {L"\u00C4rger*", L"\u00E4rger.txt", true},
        {L"\u0421\u041B\u041E\u0412\u041E.*", L"\u0441\u043B\u043E\u0432\u043E.txt", true},
        {L"Log_*.csv", L"log_2004.7.1.CSV", true},
        {L"ab*ba", L"aba", false},  // both ends must fit without overlapping
        {L"ab*ba", L"abba", true},
        {L"data.zip", L"DATA.ZIP", true},
        {L"data.zip", L"data.zi", false},
        {L"", L"", true},
        {L"", L"a", false},
        {L"a", L"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "pattern \"" << c.pattern << "\", name \"" << c.name << "\"");
        EXPECT_EQ(MatchesFileNamePattern(c.name, c.pattern), c.matches);
    }
}

TEST(FileNamePatternTest, ManyStarsTakeLinearTime) {
    // A matcher that retries every split of the name would not finish.
    const FileNamePattern pattern(L"a*a*a*a*a*a*a*a*a*a*a*b");
    const std::wstring name(20'000, L'a');
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(pattern.Matches(name));
    EXPECT_TRUE(pattern.Matches(name + L'b'));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

}  // namespace
}  // namespace qx
