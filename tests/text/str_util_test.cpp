// The string members of qxStrUtil (the file members are tested with the
// text files).
#include "qx/text/str_util.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "qx/text/sub_str.h"

namespace {

TEST(StrUtilTest, CutsAtFirstOrLastOccurrence) {
    struct Case {
        const wchar_t* text;
        wchar_t ch;
        const wchar_t* leftFirst;
        const wchar_t* leftLast;
        const wchar_t* rightFirst;
        const wchar_t* rightLast;
    } cases[] = {
        {L"a\\b\\c", L'\\', L"a", L"a\\b", L"b\\c", L"c"},
        {L"abc", L'\\', L"", L"", L"abc", L"abc"},
        {L"\\x\\", L'\\', L"", L"\\x", L"x\\", L""},
        {L"", L'\\', L"", L"", L"", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "text \"" << c.text << "\"");
        EXPECT_EQ(qxStrUtil::SubStrLeftFromFirstOccurence(c.text, c.ch).str(), c.leftFirst);
        EXPECT_EQ(qxStrUtil::SubStrLeftFromLastOccurence(c.text, c.ch).str(), c.leftLast);
        EXPECT_EQ(qxStrUtil::SubStrRightFromFirstOccurence(c.text, c.ch).str(), c.rightFirst);
        EXPECT_EQ(qxStrUtil::SubStrRightFromLastOccurence(c.text, c.ch).str(), c.rightLast);
    }
}

class GetSubStrTest : public testing::Test {
protected:
    void SetUp() override { qx::ResetPackedValueState(); }
    void TearDown() override { qx::ResetPackedValueState(); }
};

TEST_F(GetSubStrTest, ReadsTheNthPackedValue) {
    struct Case {
        const wchar_t* text;
        long n;
        const wchar_t* want;
    } cases[] = {
        {L"x:y:z", 2, L"y"},
        {L"x:y:z", 3, L"z"},
        {L"x:y:z", 0, L""},
        {L"x:y:z", -1, L""},
        {L"x:y:z", 4, L""},
        {L"a\u00AEb:c", 1, L"a:b"},  // escapes are undone
        {L"a:", 2, L""},             // a trailing separator adds no value
        {L"::z", 3, L"z"},
        {L"", 1, L""},
        {nullptr, 1, L""},
        // The reader stops at a line end and stays there.
        {L"a:b\r\nc", 2, L"b"},
        {L"a:b\r\nc", 3, L""},
        {L"a:b\r\nc", 2147483647, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "text \"" << (c.text ? c.text : L"(null)") << "\" n " << c.n);
        EXPECT_EQ(qxStrUtil::GetSubStr(c.text, c.n, L':').str(), c.want);
    }
}

TEST_F(GetSubStrTest, ReadsWithASeparatorText) {
    wchar_t separator[] = L"--";
    EXPECT_EQ(qxStrUtil::GetSubStr(L"a--b--c", 2, separator).str(), L"b");
    EXPECT_EQ(qxStrUtil::GetSubStr(L"a-b-c", 1, separator).str(), L"a-b-c");
    EXPECT_EQ(qxStrUtil::GetSubStr(L"a-b-c", 2, separator).str(), L"");
}

// GetSubStr restarts the process-wide reader, as the family's code expects.
TEST_F(GetSubStrTest, RestartsTheSharedReader) {
    qxSubStrUtil::GetInit(L"p:q", L':');
    qxStrUtil::GetSubStr(L"x:y:z", 1, L':');
    CString next;
    qxSubStrUtil::Get(next);
    EXPECT_EQ(next.str(), L"y");
}

TEST(StrUtilTest, RemovesAllNonNumeric) {
    struct Case {
        const wchar_t* text;
        const wchar_t* want;
    } cases[] = {
        {L"EUR -1.234,5", L"-1.234.5"},
        {L"12 m²", L"12"},  // the superscript is not a digit
        {L"abc", L""},
        {L"٣", L""},  // only the digits 0 to 9 count
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "text \"" << c.text << "\"");
        EXPECT_EQ(qxStrUtil::removeAllNonNumeric(c.text).str(), c.want);
    }
}

TEST(StrUtilTest, FindAndReplaceGoesLeftToRightWithoutOverlaps) {
    struct Case {
        const wchar_t* text;
        const wchar_t* find;
        const wchar_t* replace;
        const wchar_t* want;
    } cases[] = {
        {L"aaa", L"aa", L"b", L"ba"},
        {L"abc", L"", L"x", L"abc"},
        {L"a.b.c", L".", L"..", L"a..b..c"},  // inserted text is not searched again
        {L"abc", L"b", L"", L"ac"},
        {L"abc", L"x", L"y", L"abc"},
        {L"Abc", L"a", L"x", L"Abc"},  // case matters
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "text \"" << c.text << "\" find \"" << c.find << "\"");
        CString text = c.text;
        qxStrUtil::FindAndReplace(text, c.find, c.replace);
        EXPECT_EQ(text.str(), c.want);
    }
}

TEST(StrUtilTest, TranslatesDecoratedNamesToTheWideBuild) {
    struct Case {
        const wchar_t* name;
        const char* want;
    } cases[] = {
        {L"?GetSubStr@qxStrUtil@@SA?AV?$CStringT@DV?$StrTraitMFC@DV?$ChTraitsCRT@D@ATL@@@@@ATL@@PBDJD@Z",
         "?GetSubStr@qxStrUtil@@SA?AV?$CStringT@_WV?$StrTraitMFC_DLL@_WV?$ChTraitsCRT@_W@ATL@@@@@ATL@@PB_WJD@Z"},
        {L"?f@@YAXPAD@Z", "?f@@YAXPA_W@Z"},
        {L"?g@@YAXQBD@Z", "?g@@YAXQB_W@Z"},
        {L"plain", "plain"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.want);
        EXPECT_EQ(qxStrUtil::translateDecoratedName(c.name), c.want);
    }
}

TEST(StrUtilTest, CopiesLowBytes) {
    std::array<unsigned char, 8> target;
    target.fill(0xEE);
    qxStrUtil::bstrcpy(target.data(), L"a\u00E4\u0141");
    EXPECT_EQ(target[0], 'a');
    EXPECT_EQ(target[1], 0xE4);
    EXPECT_EQ(target[2], 0x41);  // the low byte of U+0141
    EXPECT_EQ(target[3], 0);
    EXPECT_EQ(target[4], 0xEE);

    target.fill(0xEE);
    qxStrUtil::bstrcpy(target.data(), nullptr);
    EXPECT_EQ(target[0], 0);
}

TEST(StrUtilTest, CopiesAtMostNLowBytesWithoutTerminator) {
    struct Case {
        const wchar_t* source;
        unsigned n;
        std::string want;  // the 6 bytes after the call, '.' untouched
    } cases[] = {
        {L"abcd", 2, "ab...."},
        {L"abcd", 0, "abcd.."},  // 0: all of it
        {L"ab", 5, "ab...."},
        {L"", 3, "......"},
        {nullptr, 3, "......"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "n " << c.n);
        std::array<unsigned char, 6> target;
        target.fill('.');
        qxStrUtil::bstrncpy(target.data(), c.source, c.n);
        EXPECT_EQ(std::string(target.begin(), target.end()), c.want);
    }
}

}  // namespace
