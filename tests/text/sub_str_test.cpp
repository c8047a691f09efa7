#include "qx/text/sub_str.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::wstring kReg = L"\u00AE";  // the stored form of a colon

class SubStrTest : public testing::Test {
protected:
    void SetUp() override { qx::ResetPackedValueState(); }
    void TearDown() override { qx::ResetPackedValueState(); }
};

CString Pack(const std::vector<std::wstring>& values, wchar_t separator = L':') {
    CQxSubStr b;
    b.AddInit(separator);
    for (const std::wstring& v : values) b.Add(v.c_str());
    CString out;
    b.AddEnd(out);
    return out;
}

struct Read {
    std::wstring value;
    bool more;
};

// Reads *count* values of *text* with the process-wide reader.
std::vector<Read> Unpack(const wchar_t* text, int count, wchar_t separator = L':') {
    qxSubStrUtil::GetInit(text, separator);
    std::vector<Read> out;
    for (int i = 0; i < count; ++i) {
        CString v;
        bool more = qxSubStrUtil::Get(v);
        out.push_back({v.str(), more});
    }
    return out;
}

void ExpectReads(const std::vector<Read>& got, const std::vector<Read>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(got[i].value, want[i].value);
        EXPECT_EQ(got[i].more, want[i].more);
    }
}

TEST_F(SubStrTest, BuildingEscapesColonAndLineBreaks) {
    struct Case {
        const char* name;
        std::vector<std::wstring> values;
        wchar_t separator;
        std::wstring want;
    } cases[] = {
        {"colon separator", {L"a", L"b:c", L"x\r\ny"}, L':', L"a:b" + kReg + L"c:x&r&ny"},
        {"colon escaped whatever the separator", {L"1:2", L"3"}, L';', L"1" + kReg + L"2;3"},
        {"other separator stored as it is", {L"a;b"}, L';', L"a;b"},
        {"ampersand and U+00AE stay", {L"a&b", kReg}, L':', L"a&b:" + kReg},
        {"nothing added", {}, L':', L""},
        {"one empty value", {L""}, L':', L""},
        {"empty values between", {L"", L"", L"x"}, L':', L"::x"},
        {"trailing empty value", {L"a", L""}, L':', L"a:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Pack(c.values, c.separator).str(), c.want);
    }
}

TEST_F(SubStrTest, NumbersAreWrittenLikePrintf) {
    CQxSubStr b;
    b.AddInit(L':');
    b.Add(0.0);
    b.Add(-0.0);
    b.Add(0.5);
    b.Add(1.0 / 3.0);
    b.Add(1e20);
    b.Add(-42);
    CString out;
    b.AddEnd(out);
    EXPECT_EQ(out, L"0:0:0.5:0.333333:1e+20:-42");
}

TEST_F(SubStrTest, ReadingUnescapesAndReportsWhatFollows) {
    ExpectReads(Unpack((L"a:b" + kReg + L"c:x&r&ny").c_str(), 4),
                {{L"a", true}, {L"b:c", true}, {L"x\r\ny", false}, {L"", false}});
    ExpectReads(Unpack(L"a&b", 1), {{L"a&b", false}});
    ExpectReads(Unpack(L"a&rb", 1), {{L"a\rb", false}});
    ExpectReads(Unpack(L"a&", 1), {{L"a&", false}});
    // "a:" holds one value, "a::b" three.
    ExpectReads(Unpack(L"a:", 2), {{L"a", false}, {L"", false}});
    ExpectReads(Unpack(L"a::b", 3), {{L"a", true}, {L"", true}, {L"b", false}});
    ExpectReads(Unpack(L"a;b", 2, L';'), {{L"a", true}, {L"b", false}});
}

TEST_F(SubStrTest, ReadingStopsAtTheLineEnd) {
    ExpectReads(Unpack(L"a:b\r\nc", 4), {{L"a", true}, {L"b", true}, {L"", true}, {L"", true}});
    ExpectReads(Unpack(L"a\nb", 2), {{L"a", true}, {L"", true}});
    // A carriage return alone is part of the value.
    ExpectReads(Unpack(L"a\rb:c", 2), {{L"a\rb", true}, {L"c", false}});
}

TEST_F(SubStrTest, GetInitRejectsEmptyAndLineEnds) {
    EXPECT_FALSE(qxSubStrUtil::GetInit(nullptr, L':'));
    EXPECT_FALSE(qxSubStrUtil::GetInit(L"", L':'));
    CString v(L"stale");
    EXPECT_FALSE(qxSubStrUtil::Get(v));
    EXPECT_EQ(v, L"");
    EXPECT_FALSE(qxSubStrUtil::GetInit(L"\r\nx", L':'));
    EXPECT_FALSE(qxSubStrUtil::GetInit(L"\nx", L':'));
    EXPECT_TRUE(qxSubStrUtil::GetInit(L" ", L':'));
    CQxSubStr fresh;
    EXPECT_FALSE(fresh.Get(v));  // never initialised
}

TEST_F(SubStrTest, SeparatorText) {
    wchar_t sep[] = L"--";
    qxSubStrUtil::GetInit(L"a--b", sep);
    CString v;
    EXPECT_TRUE(qxSubStrUtil::Get(v));
    EXPECT_EQ(v, L"a");
    EXPECT_FALSE(qxSubStrUtil::Get(v));
    EXPECT_EQ(v, L"b");
    qxSubStrUtil::GetInit(L"a-b-c", sep);
    EXPECT_FALSE(qxSubStrUtil::Get(v));
    EXPECT_EQ(v, L"a-b-c");

    CQxSubStr b;
    b.AddInit(sep);
    b.Add(L"x");
    b.Add(L"y:z");
    CString out;
    b.AddEnd(out);
    EXPECT_EQ(out.str(), L"x--y" + kReg + L"z");
}

TEST_F(SubStrTest, ZeroSeparatorCharacterDropsNothing) {
    CQxSubStr b;
    b.AddInit(L'\0');  // no separator text: values are joined directly
    b.Add(L"abc");
    b.Add(L"def");
    CString out;
    b.AddEnd(out);
    EXPECT_EQ(out, L"abcdef");
}

TEST_F(SubStrTest, TypedReads) {
    int i = 3;
    qxSubStrUtil::GetInit(L":7", L':');
    EXPECT_TRUE(qxSubStrUtil::Get(i, false));
    EXPECT_EQ(i, 3);  // an empty value leaves the variable alone
    EXPECT_FALSE(qxSubStrUtil::Get(i, false));
    EXPECT_EQ(i, 7);
    qxSubStrUtil::GetInit(L":x", L':');
    qxSubStrUtil::Get(i, true);
    EXPECT_EQ(i, 0);  // forced

    double d = 9.0;
    qxSubStrUtil::GetInit(L"\u224812,5:1e2::0.123456789012345", L':');
    qxSubStrUtil::Get(d, false);
    EXPECT_DOUBLE_EQ(d, 12.5);
    qxSubStrUtil::Get(d, false);
    EXPECT_DOUBLE_EQ(d, 100.0);
    qxSubStrUtil::Get(d, false);
    EXPECT_DOUBLE_EQ(d, 100.0);
    qxSubStrUtil::Get(d, false);
    EXPECT_DOUBLE_EQ(d, 0.1234567890);

    bool flag = true;
    qxSubStrUtil::GetInit(L"2::0:abc", L':');
    qxSubStrUtil::Get(flag, true);
    EXPECT_TRUE(flag);
    qxSubStrUtil::Get(flag, true);
    EXPECT_FALSE(flag);  // empty gives false whatever the flag
    qxSubStrUtil::Get(flag, false);
    EXPECT_FALSE(flag);
    flag = true;
    qxSubStrUtil::Get(flag, false);
    EXPECT_FALSE(flag);
}

TEST(RoundTo10DecimalsTest, HalvesAwayFromZero) {
    struct Case {
        double in;
        double want;
    } cases[] = {
        {0.00000000005, 0.0000000001},
        {-0.00000000005, -0.0000000001},
        {1.23456789014, 1.2345678901},
        {2.0, 2.0},
        {1e12, 1e12},
        {1e300, 1e300},  // too large for the integer step: unchanged
        {-1e300, -1e300},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_DOUBLE_EQ(qx::RoundTo10Decimals(c.in), c.want);
    }
}

TEST_F(SubStrTest, AllObjectsShareOneBuildBuffer) {
    CQxSubStr first;
    CQxSubStr second;
    first.AddInit(L':');
    first.Add(L"one");
    first.Add(L"two");
    // A second object starting a list overwrites the first one's.
    second.AddInit(L':');
    second.Add(L"x");
    CString out;
    second.AddEnd(out);
    EXPECT_EQ(out, L"x");
    first.AddEnd(out);
    EXPECT_EQ(out, L"");  // the buffer was emptied by the second AddEnd
}

TEST_F(SubStrTest, ReadersInterleave) {
    CQxSubStr a;
    CQxSubStr b;
    a.GetInit(L"1:2", L':');
    b.GetInit(L"x:y", L':');
    CString v;
    a.Get(v);
    EXPECT_EQ(v, L"1");
    b.Get(v);
    EXPECT_EQ(v, L"x");
    a.Get(v);
    EXPECT_EQ(v, L"2");
}

// The old fixed buffers held 1,048,576 characters; longer lists and values
// are built and read whole.
TEST_F(SubStrTest, ListsBeyondTheOldBufferSizeAreWhole) {
    const std::wstring longValue(1500000, L'v');
    CQxSubStr b;
    b.AddInit(L':');
    b.Add(longValue.c_str());
    b.Add(std::wstring(500000, L'\n').c_str());  // doubles to 1,000,000 escapes
    b.Add(L"end");
    CString packed;
    b.AddEnd(packed);
    ASSERT_EQ(packed.GetLength(), 1500000 + 1 + 1000000 + 1 + 3);

    qxSubStrUtil::GetInit(packed, L':');
    CString v;
    EXPECT_TRUE(qxSubStrUtil::Get(v));
    EXPECT_EQ(v.str(), longValue);
    EXPECT_TRUE(qxSubStrUtil::Get(v));
    EXPECT_EQ(v.str(), std::wstring(500000, L'\n'));
    EXPECT_FALSE(qxSubStrUtil::Get(v));
    EXPECT_EQ(v, L"end");

    // A list of 2,000,000 characters made of many values.
    qxSubStrUtil::AddInit(L':');
    for (int i = 0; i < 400000; ++i) qxSubStrUtil::Add(L"abcd");
    qxSubStrUtil::AddEnd(packed);
    EXPECT_EQ(packed.GetLength(), 2000000 - 1);
    EXPECT_EQ(packed.Right(5), L":abcd");
}

}  // namespace
