#include "qx/message/message_table.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

class MessageTableTest : public testing::Test {
protected:
    void TearDown() override {
        qx::ClearMessageTable();
        qx::ClearMessageConversionCache();
    }
};

TEST_F(MessageTableTest, KeyConventionWithAnEmptyTable) {
    struct Case {
        const wchar_t* key;
        const wchar_t* shown;
    } cases[] = {
        {L"@Button@OK", L"OK"},
        {L"Abbrechen", L"Abbrechen"},
        {L"@Kontext", L""},
        {L"@@leer", L"leer"},
        {L"@Einheit @m", L"m"},
        {L"", L""},
        {L"a@b@c", L"a@b@c"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.key)));
        EXPECT_EQ(std::wstring(qx::TranslateMessage(c.key)), c.shown);
    }
    EXPECT_EQ(std::wstring(qx::TranslateMessage(static_cast<const wchar_t*>(nullptr))), L"");
}

TEST_F(MessageTableTest, TranslationsFollowTheSameRule) {
    qx::ReplaceMessageTable({{L"@Button@OK", L"@Button@Ok"},
                             {L"@Cancel@Abbrechen", L"Cancel"},
                             {L"@Abort@Abbrechen", L"Abort"},
                             {L"Leer", L""}});
    EXPECT_EQ(std::wstring(qx::TranslateMessage(L"@Button@OK")), L"Ok");
    EXPECT_EQ(std::wstring(qx::TranslateMessage(L"@Cancel@Abbrechen")), L"Cancel");
    EXPECT_EQ(std::wstring(qx::TranslateMessage(L"@Abort@Abbrechen")), L"Abort");
    EXPECT_EQ(std::wstring(qx::TranslateMessage(L"Abbrechen")), L"Abbrechen");  // keys compare whole
    EXPECT_EQ(std::wstring(qx::TranslateMessage(L"Leer")), L"Leer");            // empty entry: the key
    EXPECT_EQ(std::wstring(qx::TranslateMessage(L"@button@OK")), L"OK");         // case-sensitive keys
    qx::ReplaceMessageTable({});
    EXPECT_EQ(std::wstring(qx::TranslateMessage(L"@Button@OK")), L"OK");
}

TEST_F(MessageTableTest, EightBitMessagesAreCodePage1252) {
    EXPECT_EQ(std::wstring(qx::TranslateMessage("Gr\xFC\xDF" "e \x80")), L"Grüße €");
    qx::ReplaceMessageTable({{L"Schließen", L"Close"}});
    EXPECT_EQ(std::wstring(qx::TranslateMessage("Schlie\xDF" "en")), L"Close");

    // A buffer reused for another text is converted again, not served from
    // the cache by its address.
    char buffer[16] = "erste";
    EXPECT_EQ(std::wstring(qx::TranslateMessage(buffer)), L"erste");
    std::strcpy(buffer, "zweite");
    EXPECT_EQ(std::wstring(qx::TranslateMessage(buffer)), L"zweite");
}

}  // namespace
