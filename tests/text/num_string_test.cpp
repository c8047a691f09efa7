#include "qx/text/num_string.h"

#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <string>

#include "tests/text/formula_fixture.h"

namespace {

using NumStringTest = qx::test::FormulaTest;

TEST_F(NumStringTest, ConstructionTakesTextOrFormat) {
    CNumString plain;
    EXPECT_EQ(plain, L"");
    EXPECT_EQ(plain.format, L"%.02f");
    EXPECT_EQ(plain.replaceByResult, 0);

    CNumString formatted(CString(L"%.3f"));
    EXPECT_EQ(formatted, L"");
    EXPECT_EQ(formatted.format, L"%.3f");
    formatted = 2.5;
    EXPECT_EQ(formatted, L"2.500");

    CNumString text(CString(L" 12 "));
    EXPECT_EQ(text, L" 12 ");  // not trimmed
    EXPECT_EQ(text.format, L"");
    text = 2.5;  // an empty format formats as "%.02f"
    EXPECT_EQ(text, L"2.50");
}

TEST_F(NumStringTest, AssignmentsTrim) {
    CNumString s;
    s = L"  2*3\t";
    EXPECT_EQ(s, L"2*3");
    wchar_t buffer[] = L" 4 ";
    s = buffer;
    EXPECT_EQ(s, L"4");
    s = CString(L"\r\n5 ");
    EXPECT_EQ(s, L"5");
    s = 42;
    EXPECT_EQ(s, L"42");
    s = 1.5f;
    EXPECT_EQ(s, L"1.50");
    s.format = L"%8.1f";  // padding is trimmed away
    s = -0.25;
    EXPECT_EQ(s, L"-0.2");
}

TEST_F(NumStringTest, ValueFloatAndInt) {
    struct Case {
        const char* name;
        const wchar_t* text;
        double value;
        float asFloat;
        int asInt;
    } cases[] = {
        {"formula", L"2*(3,5+1)", 9, 9.0f, 9},
        {"cut toward zero", L"9,99", 9.99, 9.99f, 9},
        {"negative cut toward zero", L"-9,99", -9.99, -9.99f, -9},
        {"int range", L"2147483647", 2147483647.0, 2147483647.0f, INT_MAX},
        {"beyond int range saturates", L"99999999999", 99999999999.0, 99999999999.0f, INT_MAX},
        {"below int range saturates", L"-99999999999", -99999999999.0, -99999999999.0f, INT_MIN},
        {"beyond float range", L"10^39", 1e39, std::numeric_limits<float>::infinity(), INT_MAX},
        {"failure", L"abc", 0, 0, 0},
        {"empty", L"", 0, 0, 0},
    };
    CNumString::Quiet(1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CNumString s;
        s = c.text;
        EXPECT_DOUBLE_EQ(s.Value(), c.value);
        EXPECT_FLOAT_EQ(s.Float(), c.asFloat);
        EXPECT_EQ(s.Int(), c.asInt);
    }
}

TEST_F(NumStringTest, ValueReportsEachFailure) {
    CNumString s;
    s = L"(1+2";
    EXPECT_EQ(s.Value(), 0.0);
    EXPECT_EQ(s.Int(), 0);
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_EQ(qx::FormulaState::Instance().ErrorCount(), 2u);
}

}  // namespace
