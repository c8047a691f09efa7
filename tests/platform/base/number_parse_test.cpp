#include "qx/platform/base/number_parse.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string_view>

namespace {

TEST(NumberParseTest, IntegersByTheStandardRule) {
    struct Case {
        const wchar_t* text;
        int want;
        int consumed;
    } cases[] = {
        {L"42", 42, 2},        {L"  -12ab", -12, 5},    {L"+7", 7, 2},   {L"\t\n 3", 3, 4},
        {L"x1", 0, 0},         {L"", 0, 0},             {L"-", 0, 0},    {L"1.9", 1, 1},
        {L"99999999999", INT_MAX, 11}, {L"-99999999999", INT_MIN, 12}, {L"007", 7, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
        EXPECT_EQ(qx::ParseInt(c.text), c.want);
        const wchar_t* end = nullptr;
        const long long value = qx::ParseInteger(c.text, &end);
        EXPECT_EQ(end - c.text, c.consumed);
        EXPECT_EQ(qx::ParseInteger(std::wstring_view(c.text)), value);
    }
    EXPECT_EQ(qx::ParseInt(nullptr), 0);
    EXPECT_EQ(qx::ParseInteger(L"-9223372036854775808"), LLONG_MIN);
    EXPECT_EQ(qx::ParseInteger(L"99999999999999999999999"), LLONG_MAX);
}

TEST(NumberParseTest, IntegerOfAViewEndsWithTheView) {
    const std::wstring_view line = L"12,345)";
    EXPECT_EQ(qx::ParseInteger(line.substr(0, 2)), 12);
    EXPECT_EQ(qx::ParseInteger(line.substr(3, 2)), 34) << "the digit after the view is not read";
    EXPECT_EQ(qx::ParseInteger(line.substr(3, 0)), 0);
    EXPECT_EQ(qx::ParseInteger(std::wstring_view(L" -", 2)), 0);
    EXPECT_EQ(qx::ParseInteger(std::wstring_view(L"7\0" L"9", 3)), 7) << "a zero character ends the number";
}

TEST(NumberParseTest, DoublesByTheStandardRule) {
    struct Case {
        const wchar_t* text;
        double want;
        int consumed;
    } cases[] = {
        {L"1.5", 1.5, 3},     {L" -2.25x", -2.25, 6}, {L"1,5", 1.0, 1},    {L".5", 0.5, 2},
        {L"5.", 5.0, 2},      {L"1e3", 1000.0, 3},    {L"1.5E-2", 0.015, 6}, {L"2e", 2.0, 1},
        {L"2e+", 2.0, 1},     {L"abc", 0.0, 0},       {L".", 0.0, 0},      {L"+.e1", 0.0, 0},
        {L"0x10", 0.0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
        const wchar_t* end = nullptr;
        EXPECT_DOUBLE_EQ(qx::ParseDouble(c.text, &end), c.want);
        EXPECT_EQ(end - c.text, c.consumed);
    }
    EXPECT_EQ(qx::ParseDouble(L"1e999"), HUGE_VAL);
    EXPECT_EQ(qx::ParseDouble(L"-1e999"), -HUGE_VAL);
    EXPECT_EQ(qx::ParseDouble(L"1e-999"), 0.0);
}

}  // namespace
