#include "qx/print/record_line.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

namespace qx {
namespace {

std::vector<std::wstring> Strings(const std::vector<CString>& fields) {
    std::vector<std::wstring> out;
    for (const CString& f : fields) out.push_back(f.str());
    return out;
}

TEST(RecordLineTest, SplitsKeywordAndFields) {
    struct Case {
        const wchar_t* line;
        const wchar_t* keyword;  // null: no record
        std::vector<std::wstring> fields;
    };
    const Case cases[] = {
        {L"PAG(Start,1)", L"PAG", {L"Start", L"1"}},
        {L"FRM(a,,1,)", L"FRM", {L"a", L"", L"1", L""}},
        {L"VER(2.0)", L"VER", {L"2.0"}},
        {L"OBJ()", L"OBJ", {}},
        {L"OBJ(", L"OBJ", {}},
        {L"DOC[12,0]", L"DOC", {L"12", L"0"}},  // the fourth and last characters are not looked at
        {L"OBJx1,2y", L"OBJ", {L"1", L"2"}},
        {L"OBJ(a,b", L"OBJ", {L"a", L""}},  // the last character is dropped whatever it is
        {L"; OBJ(1,2)", nullptr, {}},
        {L"ABC", nullptr, {}},
        {L"", nullptr, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.line)));
        const auto record = SplitRecordLine(c.line);
        std::wstring_view keyword;
        std::vector<std::wstring_view> views{L"left from the line before"};
        const bool isRecord = SplitRecordFields(c.line, keyword, views);
        ASSERT_EQ(record.has_value(), c.keyword != nullptr);
        ASSERT_EQ(isRecord, c.keyword != nullptr);
        if (!record) continue;
        EXPECT_EQ(record->keyword, c.keyword);
        EXPECT_EQ(keyword, c.keyword);
        EXPECT_EQ(Strings(record->fields), c.fields);
        EXPECT_EQ(std::vector<std::wstring>(views.begin(), views.end()), c.fields);
    }
}

TEST(RecordLineTest, EachFieldTakesItsOwnEscapes) {
    struct Case {
        const wchar_t* field;
        const wchar_t* text;   // UnescapeText
        const wchar_t* empty;  // UnescapeEmpty
        const wchar_t* comma;  // UnescapeComma
    };
    const Case cases[] = {
        {L"a<*K*>b", L"a,b", L"a<*K*>b", L"a,b"},
        {L"<*E*>", L"", L"", L"<*E*>"},
        {L"x<*E*>", L"x<*E*>", L"x<*E*>", L"x<*E*>"},
        {L"1<*R*><*N*>2", L"1\r\n2", L"1<*R*><*N*>2", L"1<*R*><*N*>2"},
        {L"<*K*<*K*>*>", L"<*K*,*>", L"<*K*<*K*>*>", L"<*K*,*>"},
        {L"<*<*R*>", L"<*\r", L"<*<*R*>", L"<*<*R*>"},
        {L"<<*N*><*", L"<\n<*", L"<<*N*><*", L"<<*N*><*"},
        {L"<*K*", L"<*K*", L"<*K*", L"<*K*"},
        {L"<*<*K*>K*>", L"<*,K*>", L"<*<*K*>K*>", L"<*,K*>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.field)));
        EXPECT_EQ(UnescapeText(c.field), c.text);
        EXPECT_EQ(UnescapeEmpty(c.field), c.empty);
        EXPECT_EQ(UnescapeComma(c.field), c.comma);
    }
}

TEST(RecordLineTest, EscapedTextSurvivesSplitting) {
    const CString texts[] = {L"", L"a,b", L"line\r\nnext\nlast\r", L",,", L"plain"};
    for (const CString& text : texts) {
        SCOPED_TRACE(testing::PrintToString(text.str()));
        const auto record = SplitRecordLine(L"OBJ(" + EscapeText(text) + L",x)");
        ASSERT_TRUE(record);
        ASSERT_EQ(record->fields.size(), 2u);
        EXPECT_EQ(UnescapeText(record->fields[0].str()), text);
    }
    EXPECT_EQ(EscapeText(L""), L"<*E*>");
    EXPECT_EQ(EscapeComma(L"a,b"), L"a<*K*>b");
}

TEST(RecordLineTest, Booleans) {
    struct Case {
        const wchar_t* field;
        bool value;
    };
    const Case cases[] = {{L"TRUE", true},   {L"true", true},   {L"Truely", true}, {L"FALSE", false},
                          {L"false0", false}, {L"1", true},     {L"-3", true},     {L"0", false},
                          {L"", false},       {L"yes", false},  {L" 2", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.field)));
        EXPECT_EQ(ReadBoolField(c.field), c.value);
    }
}

}  // namespace
}  // namespace qx
