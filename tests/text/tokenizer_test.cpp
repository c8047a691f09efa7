#include "qx/text/tokenizer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(GetTokenTest, SplitsAtWholeDelimiters) {
    struct Case {
        const wchar_t* text;
        const wchar_t* delimiter;
        unsigned index;
        const wchar_t* want;
    } cases[] = {
        {L"a;;b", L";", 0, L"a"},
        {L"a;;b", L";", 1, L""},
        {L"a;;b", L";", 2, L"b"},
        {L"a;;b", L";", 3, L""},
        {L"a, b,c", L", ", 1, L"b,c"},
        {L"a;", L";", 1, L""},
        {L"abc", L"", 0, L"abc"},
        {L"abc", nullptr, 1, L""},
        {nullptr, L";", 0, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "text \"" << (c.text ? c.text : L"(null)") << "\" index " << c.index);
        EXPECT_EQ(GetToken(c.text, c.delimiter, c.index).str(), c.want);
        CString token = L"old";
        EXPECT_EQ(GetNotEmptyToken(c.text, c.delimiter, c.index, token), *c.want ? 1 : 0);
        EXPECT_EQ(token.str(), c.want);
    }
}

struct Step {
    int result;
    std::wstring token;
};

std::vector<Step> CallGetNext(CTokenizer& tokenizer, int calls) {
    std::vector<Step> steps;
    for (int i = 0; i < calls; ++i) {
        CString token = L"unchanged";
        int result = tokenizer.GetNext(token);
        steps.push_back({result, token.str()});
    }
    return steps;
}

TEST(TokenizerTest, DeliversTokensThenStartsAgain) {
    struct Case {
        const char* name;
        const wchar_t* text;
        const wchar_t* delimiter;
        int returnEmpty;
        std::vector<Step> want;
    } cases[] = {
        {"round and restart", L"a,b", L",", 0, {{1, L"a"}, {1, L"b"}, {0, L""}, {1, L"a"}}},
        {"an empty token ends the loop", L"a,,b", L",", 0, {{1, L"a"}, {0, L""}, {1, L"b"}, {0, L""}}},
        {"empty tokens count", L"a,,b", L",", 1, {{1, L"a"}, {1, L""}, {1, L"b"}, {0, L""}}},
        {"trailing delimiter", L"a,", L",", 1, {{1, L"a"}, {1, L""}, {0, L""}}},
        {"whole delimiter", L"1, 2,3", L", ", 0, {{1, L"1"}, {1, L"2,3"}, {0, L""}}},
        {"empty text", L"", L",", 1, {{0, L"unchanged"}, {0, L"unchanged"}}},
        {"empty delimiter", L"abc", L"", 1, {{0, L"unchanged"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTokenizer tokenizer(c.text, c.delimiter, c.returnEmpty);
        std::vector<Step> got = CallGetNext(tokenizer, static_cast<int>(c.want.size()));
        for (size_t i = 0; i < got.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "call " << i + 1);
            EXPECT_EQ(got[i].result, c.want[i].result);
            EXPECT_EQ(got[i].token, c.want[i].token);
        }
    }
}

TEST(TokenizerTest, ReadsNumbers) {
    CTokenizer ints(L"1, 2, 3", L", ", 0);
    int value = -7;
    std::vector<int> got;
    while (ints.GetNext(value)) got.push_back(value);
    EXPECT_EQ(got, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(value, 3);  // the "no more" answer leaves the value alone
    EXPECT_EQ(ints.GetNext(value), 1);
    EXPECT_EQ(value, 1);  // and the next call starts again

    CTokenizer doubles(L"1.5;2,5; x", L";", 0);
    double d = 0;
    ASSERT_EQ(doubles.GetNext(d), 1);
    EXPECT_EQ(d, 1.5);
    ASSERT_EQ(doubles.GetNext(d), 1);
    EXPECT_EQ(d, 2.0);  // no comma handling
    ASSERT_EQ(doubles.GetNext(d), 1);
    EXPECT_EQ(d, 0.0);  // nothing readable
    d = 9;
    EXPECT_EQ(doubles.GetNext(d), 0);
    EXPECT_EQ(d, 9);
}

TEST(TokenizerTest, ContainsKeepsThePosition) {
    CTokenizer tokenizer(L"Rohr;;Bogen", L";", 0);
    CString token;
    ASSERT_EQ(tokenizer.GetNext(token), 1);
    struct Case {
        const wchar_t* word;
        int caseSensitive;
        int want;
    } cases[] = {
        {L"Rohr", 1, 1},
        {L"rohr", 1, 0},
        {L"rohr", 0, 1},
        {L"BOGEN", 0, 1},  // tokens after an empty one count too
        {L"", 1, 1},
        {L"Boge", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "word \"" << c.word << "\"");
        EXPECT_EQ(tokenizer.Contains(c.word, c.caseSensitive), c.want);
    }
    ASSERT_EQ(tokenizer.GetNext(token), 0);  // the empty token, as before Contains
    EXPECT_EQ(CTokenizer(L"", L";", 1).Contains(L"", 1), 0);
}

}  // namespace
