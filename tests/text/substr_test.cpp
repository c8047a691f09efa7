#include "qx/text/substr.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>

namespace {

TEST(SubstrTest, CopiesAFieldIntoTheCallersBuffer) {
    struct Case {
        const wchar_t* text;
        int n;
        int want;
        const wchar_t* field;
    } cases[] = {
        {L"a;b;c", 1, 1, L"a"},
        {L"a;b;c", 3, 1, L"c"},
        {L"a;b;c", 4, 0, L"?"},
        {L"a;b;c", 0, 0, L"?"},
        {L"a;;c", 2, 1, L""},
        {L"a;b\nc;d", 2, 1, L"b"},  // a line feed ends the field
        {L"a;b\nc;d", 3, 1, L"d"},  // but not the counting
        {L"", 1, 1, L""},
        {nullptr, 1, 0, L"?"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "text \"" << (c.text ? c.text : L"(null)") << "\" n " << c.n);
        wchar_t field[16] = L"?";
        EXPECT_EQ(substr(c.text, c.n, L';', field), c.want);
        EXPECT_STREQ(field, c.field);
    }
}

// A field longer than the buffer is cut; nothing is written past the buffer.
TEST(SubstrTest, NeverWritesPastTheBuffer) {
    struct Guarded {
        wchar_t field[4];
        wchar_t guard[4];
    } buffer;
    std::fill(std::begin(buffer.guard), std::end(buffer.guard), L'#');
    EXPECT_EQ(substr(L"x;abcdefgh;y", 2, L';', buffer.field), 1);
    EXPECT_STREQ(buffer.field, L"abc");
    EXPECT_EQ(std::wstring(buffer.guard, 4), L"####");

    wchar_t one[1] = {L'?'};
    EXPECT_EQ(substr(L"abc", 1, L';', one), 1);
    EXPECT_EQ(one[0], L'\0');

    wchar_t untouched[2] = L"?";
    EXPECT_EQ(substr(L"abc", 1, L';', untouched, 0), 0);
    EXPECT_EQ(untouched[0], L'?');
}

TEST(SubstrTest, SeparatorSet) {
    wchar_t semicolon[] = L";";
    wchar_t dashes[] = L"--";
    wchar_t none[] = L"";
    struct Case {
        const wchar_t* text;
        int n;
        wchar_t* separators;
        const wchar_t* want;
    } cases[] = {
        {L"a;b;c", 2, semicolon, L"b"},
        {L"a;b;c", 4, semicolon, L""},
        {L"a;b\r\nx;y", 2, semicolon, L"b"},
        {L"a;b\rx", 2, semicolon, L"b"},
        // Whole separators are stepped over, so later fields of a longer
        // separator are not lost.
        {L"a--b--c", 2, dashes, L"b"},
        {L"a--b--c", 3, dashes, L"c"},
        // The field is still cut at any single character of the separator.
        {L"a-x--b", 1, dashes, L"a"},
        {L"a--b-x", 2, dashes, L"b"},
        {L"ab\ncd", 1, none, L"ab"},
        {L"ab", 2, none, L""},
        {L"ab", 1, nullptr, L"ab"},
        {L"a;b", 0, semicolon, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "text \"" << c.text << "\" n " << c.n);
        EXPECT_EQ(substr(CString(c.text), c.n, c.separators).str(), c.want);
    }
}

TEST(SubstrTest, SeparatorText) {
    struct Case {
        const wchar_t* text;
        int n;
        const wchar_t* separator;
        const wchar_t* want;
    } cases[] = {
        {L"a--b--c\n", 3, L"--", L"c"},  // the line feed that ends the text goes
        {L"a--b\n--c", 2, L"--", L"b\n"},
        {L"a--b--c", 4, L"--", L""},
        {L"a---b", 2, L"--", L"-b"},  // left to right, no overlap
        {L"a;b\r\n", 2, L";", L"b\r"},
        {L"abc", 1, L"", L"abc"},
        {L"abc", 2, L"", L""},
        {L"a;b", 0, L";", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "text \"" << c.text << "\" n " << c.n);
        EXPECT_EQ(substr(CString(c.text), c.n, CString(c.separator)).str(), c.want);
    }
}

}  // namespace
