#include "qx/platform/base/cstring.h"

#include <gtest/gtest.h>

#include <cwchar>

namespace {

TEST(CStringTest, ExtractionClampsOutOfRangeArguments) {
    const CString s(L"abcdef");
    struct Case {
        const char* name;
        CString got;
        const wchar_t* want;
    } cases[] = {
        {"Left", s.Left(2), L"ab"},
        {"Left past end", s.Left(99), L"abcdef"},
        {"Left negative", s.Left(-1), L""},
        {"Mid", s.Mid(2), L"cdef"},
        {"Mid count", s.Mid(1, 3), L"bcd"},
        {"Mid past end", s.Mid(10), L""},
        {"Mid negative start", s.Mid(-3, 2), L"ab"},
        {"Mid count past end", s.Mid(4, 10), L"ef"},
        {"Right", s.Right(2), L"ef"},
        {"Right past start", s.Right(10), L"abcdef"},
        {"SpanIncluding", CString(L"aabbc").SpanIncluding(L"ab"), L"aabb"},
        {"SpanExcluding", CString(L"key=value").SpanExcluding(L"=;"), L"key"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.got, c.want);
    }
}

TEST(CStringTest, FindAndReplace) {
    CString s(L"a.b.c");
    EXPECT_EQ(s.Find(L'.'), 1);
    EXPECT_EQ(s.Find(L'.', 2), 3);
    EXPECT_EQ(s.Find(L'.', 99), -1);
    EXPECT_EQ(s.Find(L"b.c"), 2);
    EXPECT_EQ(s.Find(L"x"), -1);
    EXPECT_EQ(s.ReverseFind(L'.'), 3);
    EXPECT_EQ(s.FindOneOf(L"cb"), 2);
    EXPECT_EQ(s.Replace(L'.', L'/'), 2);
    EXPECT_EQ(s, L"a/b/c");
    EXPECT_EQ(s.Replace(L"/", L"--"), 2);
    EXPECT_EQ(s, L"a--b--c");
    EXPECT_EQ(s.Replace(L"", L"x"), 0);
    // Replacing with a text that contains the pattern does not loop.
    CString t(L"aa");
    EXPECT_EQ(t.Replace(L"a", L"aa"), 2);
    EXPECT_EQ(t, L"aaaa");
    EXPECT_EQ(t.Remove(L'a'), 4);
    EXPECT_TRUE(t.IsEmpty());
}

TEST(CStringTest, EditingInPlace) {
    CString s(L"  x y \t\r\n");
    s.Trim();
    EXPECT_EQ(s, L"x y");
    CString d(L"--a--");
    d.TrimLeft(L'-');
    EXPECT_EQ(d, L"a--");
    d.TrimRight(L"-");
    EXPECT_EQ(d, L"a");
    d.Insert(0, L'[');
    d.Insert(99, L"]");
    EXPECT_EQ(d, L"[a]");
    d.Delete(1, 5);
    EXPECT_EQ(d, L"[");
    CString u(L"Straße äöü ÄÖÜ й");
    u.MakeUpper();
    EXPECT_EQ(u, L"STRAßE ÄÖÜ ÄÖÜ Й");
    u.MakeLower();
    EXPECT_EQ(u, L"straße äöü äöü й");
    CString r(L"abc");
    EXPECT_EQ(r.MakeReverse(), L"cba");
}

TEST(CStringTest, Comparisons) {
    EXPECT_LT(CString(L"a").Compare(L"b"), 0);
    EXPECT_EQ(CString(L"a").Compare(nullptr), 1);
    EXPECT_EQ(CString(L"Äpfel").CompareNoCase(L"äPFEL"), 0);
    EXPECT_NE(CString(L"abc").CompareNoCase(L"abd"), 0);
    EXPECT_EQ(CString(L"ab").CompareNoCase(L"AB"), 0);
    EXPECT_TRUE(CString(L"x") == L"x");
    EXPECT_TRUE(L"x" != CString(L"y"));
    EXPECT_TRUE(CString(L"a") < CString(L"b"));
}

TEST(CStringTest, TokenizeSkipsEmptyTokens) {
    CString s(L";a;;b;");
    int pos = 0;
    EXPECT_EQ(s.Tokenize(L";", pos), L"a");
    EXPECT_EQ(s.Tokenize(L";", pos), L"b");
    EXPECT_EQ(s.Tokenize(L";", pos), L"");
    EXPECT_EQ(pos, -1);
}

TEST(CStringTest, BufferAccessForCStyleWriters) {
    CString s;
    wchar_t* p = s.GetBuffer(10);
    std::wcscpy(p, L"hello");
    s.ReleaseBuffer();
    EXPECT_EQ(s, L"hello");
    EXPECT_EQ(s.GetLength(), 5);
    p = s.GetBufferSetLength(3);
    p[2] = L'L';
    s.ReleaseBuffer(3);
    EXPECT_EQ(s, L"heL");
}

TEST(CStringTest, ConstructionAndConcatenation) {
    EXPECT_EQ(CString(static_cast<const wchar_t*>(nullptr)), L"");
    EXPECT_EQ(CString(L'x', 3), L"xxx");
    EXPECT_EQ(CString(L"abc", 2), L"ab");
    EXPECT_EQ(CString("\xE4"), L"ä");  // narrow text is code page 1252
    CString s = CString(L"a") + L"b" + L'c';
    s += CString(L"d");
    EXPECT_EQ(L'0' + s, L"0abcd");
}

}  // namespace
