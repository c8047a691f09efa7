#include "qx/locale/wordbook_line.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(WordbookLineTest, Unescape) {
    struct Case {
        const wchar_t* line;
        const wchar_t* text;
    } cases[] = {
        {L"a\\nb", L"a\nb"},
        {L"a&nb", L"a\nb"},
        {L"a\\rb&r", L"a\rb\r"},
        {L"\\\"x\\\"", L"\"x\""},
        {L"&\"", L"&\""},            // the quote escape is a backslash one only
        {L"\\t&x", L"\\t&x"},        // unknown sequences stay whole
        {L"\\\\n", L"\\\\n"},        // the second backslash belongs to the first
        {L"&&n", L"&&n"},
        {L"ende\\", L"ende\\"},
        {L"ende&", L"ende&"},
        {L"", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.line)));
        EXPECT_EQ(qx::UnescapeWordbookText(c.line), c.text);
    }
}

TEST(WordbookLineTest, SplitAtTheFirstSeparator) {
    struct Case {
        const wchar_t* line;
        const wchar_t* key;  // null: no entry
        const wchar_t* translation;
    } cases[] = {
        {L"Abbrechen <*> Cancel", L"Abbrechen", L"Cancel"},
        {L"@Einheit @m/s <*> m/s", L"@Einheit @m/s", L"m/s"},
        {L"a <*> b <*> c", L"a", L"b <*> c"},
        {L"Zeile\\neins <*> line&none", L"Zeile\neins", L"line\none"},
        {L"x <*>  ", L"x", L" "},
        {L"x <*> ", nullptr, nullptr},      // empty translation
        {L"x<*>y", nullptr, nullptr},       // the spaces belong to the separator
        {L"x <*>y", nullptr, nullptr},
        {L"ohne Trenner", nullptr, nullptr},
        {L"", nullptr, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.line)));
        auto entry = qx::ParseWordbookLine(c.line);
        ASSERT_EQ(entry.has_value(), c.key != nullptr);
        if (!entry) continue;
        EXPECT_EQ(entry->key, c.key);
        EXPECT_EQ(entry->translation, c.translation);
    }
}

}  // namespace
