#include "qx/locale/texte_table.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using qx::TextTable;

// Zero-terminated UTF-16LE strings after the mark, with the closing empty
// key and its second zero.
std::string Utf16Table(std::initializer_list<std::u16string> strings) {
    std::string bytes = "\xFF\xFE";
    for (const std::u16string& s : strings) {
        for (char16_t c : s) bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
        bytes += std::string(2, '\0');
    }
    return bytes;
}

TEST(TexteTableTest, Reads) {
    struct Case {
        const char* name;
        std::string bytes;
        const wchar_t* language;
        TextTable entries;
    } cases[] = {
        {"UTF-16", Utf16Table({u"@Button@OK", u"OK", u"Grüße", u"Pozdrowienia 😀", u"", u""}), L"de",
         {{L"@Button@OK", L"OK"}, {L"Grüße", L"Pozdrowienia 😀"}}},
        {"UTF-16 skips empty and untranslated", Utf16Table({u"a", u"", u"b", u"<*?*>", u"c", u" <*> ", u"d", u"D", u""}),
         L"de", {{L"d", L"D"}}},
        {"UTF-16 ends at the empty key", Utf16Table({u"a", u"A", u"", u"", u"b", u"B"}), L"de", {{L"a", L"A"}}},
        {"UTF-16 cut inside a pair", Utf16Table({u"a", u"A", u"b"}) + "x\0", L"de", {{L"a", L"A"}}},
        {"UTF-16 odd length", Utf16Table({u"a", u"A"}) + "b", L"de", {{L"a", L"A"}}},
        {"mark only", "\xFF\xFE", L"de", {}},
        {"8-bit in the language's page", std::string("Zur\xFC" "ck\0Wstecz \xB9\xE6\0\0\0", 19), L"pl",
         {{L"Zurück", L"Wstecz ąć"}}},
        {"8-bit Cyrillic", std::string("Ja\0\xC4\xE0\0\0", 7), L"ru", {{L"Ja", L"Да"}}},
        {"8-bit unknown language: default page", std::string("a\0\xE0\0\0", 5), L"zz", {{L"a", L"à"}}},
        {"8-bit marks of untranslated entries", std::string("a\0<*?*>\0b\0 <*> \0c\0\0d\0D\0\0", 25), L"de",
         {{L"d", L"D"}}},
        {"8-bit without end", std::string("a\0A\0b", 5), L"de", {{L"a", L"A"}}},
        {"empty", "", L"de", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(qx::ReadTexteTable(c.bytes, c.language), c.entries);
    }
}

TEST(TexteTableTest, WrittenTablesReadBack) {
    const TextTable entries = {{L"@Button@OK", L"OK"}, {L"Grüße 😀", L"Greetings"}, {L"Zeile\neins", L"line\r\none"}};
    TextTable withDropped = entries;
    withDropped.push_back({L"", L"empty key"});
    withDropped.push_back({L"marked", L"<*?*>"});
    withDropped.push_back({std::wstring(L"zero\0inside", 11), L"x"});
    EXPECT_EQ(qx::ReadTexteTable(qx::WriteTexteTable(withDropped), L"de"), entries);
}

}  // namespace
