#include "qx/locale/ctr_string.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "qx/text/text_codec.h"
#include "tests/support/test_support.h"

namespace {

using qx::test::WriteBytes;

std::wstring Translate(const wchar_t* key) { return CtrString::translate(key); }

class CtrStringTest : public testing::Test {
protected:
    void SetUp() override { qx::ResetWordbooks(); }
    void TearDown() override { qx::ResetWordbooks(); }

    void Write(const std::string& name, const std::string& bytes) {
        std::filesystem::create_directories((dir_.path() / name).parent_path());
        WriteBytes(dir_.path() / name, bytes);
    }
    std::wstring Path(const std::string& name) const { return dir_.Wide(name); }
    std::wstring Folder() const { return dir_.path().wstring() + L"/"; }

    qx::test::TempDir dir_;
};

TEST_F(CtrStringTest, KeyConventionWithoutWordbooks) {
    struct Case {
        const wchar_t* key;
        const wchar_t* shown;
    } cases[] = {
        {L"@Button@OK", L"OK"}, {L"Abbrechen", L"Abbrechen"}, {L"@Kontext", L""}, {L"", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.key)));
        EXPECT_EQ(Translate(c.key), c.shown);
    }
    EXPECT_EQ(Translate(nullptr), L"");
    EXPECT_EQ(qx::CurrentWordbookLanguage(), L"");
}

TEST_F(CtrStringTest, TranslatesInTheCurrentLanguage) {
    Write("Prog.en", "@Einheit @m/s <*> m/s (en)\n@Button@OK <*> Okay\nAbbrechen <*> Cancel\n");
    Write("Prog.fr", "Abbrechen <*> Annuler\n");
    CtrString::scanMiniWordBooks(Path("Prog").c_str());

    CtrString::setLanguage(L"en");
    EXPECT_EQ(qx::CurrentWordbookLanguage(), L"en");
    EXPECT_EQ(Translate(L"@Einheit @m/s"), L"m/s (en)");
    EXPECT_EQ(Translate(L"@Button@OK"), L"Okay");
    EXPECT_EQ(Translate(L"@Einheit Meter@m"), L"m");  // no translation: the key's text

    CtrString::setLanguage(L"FR");  // codes compare without regard to case
    EXPECT_EQ(Translate(L"Abbrechen"), L"Annuler");
    EXPECT_EQ(Translate(L"@Button@OK"), L"OK");
}

TEST_F(CtrStringTest, FirstDefinitionWinsAcrossFilesInRegistrationOrder) {
    Write("a/Prog.de", "Taste <*> erste\nTaste <*> zweite\n");
    Write("b/Prog.de", "Taste <*> dritte\nNur B <*> aus B\n");
    CtrString::scanMiniWordBooks(Path("a/Prog").c_str());
    CtrString::scanMiniWordBooks(Path("b/Prog").c_str());
    CtrString::setLanguage(L"de");
    EXPECT_EQ(Translate(L"Taste"), L"erste");
    EXPECT_EQ(Translate(L"Nur B"), L"aus B");
}

TEST_F(CtrStringTest, UnknownLanguageShowsKeysAndResetReturns) {
    Write("Prog.en", "Abbrechen <*> Cancel\n");
    CtrString::scanMiniWordBooks(Path("Prog").c_str());
    CtrString::setLanguage(L"en");
    CtrString::setLanguage(L"fr");
    EXPECT_EQ(qx::CurrentWordbookLanguage(), L"xx");
    EXPECT_EQ(Translate(L"Abbrechen"), L"Abbrechen");

    CtrString::resetLanguage();
    EXPECT_EQ(qx::CurrentWordbookLanguage(), L"en");
    EXPECT_EQ(Translate(L"Abbrechen"), L"Cancel");

    // The first language stays: there is nothing before it to return to.
    CtrString::resetLanguage();
    EXPECT_EQ(qx::CurrentWordbookLanguage(), L"en");
}

TEST_F(CtrStringTest, ResetLanguageWalksBackThroughNestedChanges) {
    Write("Prog.en", "Ja <*> Yes\n");
    Write("Prog.fr", "Ja <*> Oui\n");
    Write("Prog.it", "Ja <*> S\xEC\n");
    CtrString::scanMiniWordBooks(Path("Prog").c_str());
    for (const wchar_t* lang : {L"en", L"fr", L"it"}) CtrString::setLanguage(lang);
    EXPECT_EQ(Translate(L"Ja"), L"Sì");
    CtrString::resetLanguage();
    EXPECT_EQ(Translate(L"Ja"), L"Oui");
    CtrString::resetLanguage();
    EXPECT_EQ(Translate(L"Ja"), L"Yes");
}

TEST_F(CtrStringTest, FolderScanTakesTwoLetterExtensionsExceptDb) {
    Write("w/App.en", "Hallo <*> Hello\n");
    Write("w/Other.en", "Welt <*> World\n");
    Write("w/Thumbs.db", "Hallo <*> Database\n");
    Write("w/App.eng", "Hallo <*> Wrong\n");
    Write("w/App.e", "Hallo <*> Wrong\n");
    std::filesystem::create_directories(dir_.path() / "w" / "Sub.en");
    CtrString::scanMiniWordBooks((Folder() + L"w/").c_str());
    CtrString::setLanguage(L"db");
    EXPECT_EQ(qx::CurrentWordbookLanguage(), L"xx");
    CtrString::setLanguage(L"en");
    EXPECT_EQ(Translate(L"Hallo"), L"Hello");
    EXPECT_EQ(Translate(L"Welt"), L"World");
}

TEST_F(CtrStringTest, FileBaseFallsBackToWordbookFilesBesideIt) {
    Write("wordbook.en", "Drucken <*> Print\n");
    CtrString::scanMiniWordBooks(Path("Prog").c_str());
    CtrString::setLanguage(L"en");
    EXPECT_EQ(Translate(L"Drucken"), L"Print");
}

TEST_F(CtrStringTest, NoFallbackWhenTheBaseHasWordbooks) {
    Write("Prog.en", "Drucken <*> Print (Prog)\n");
    Write("wordbook.fr", "Drucken <*> Imprimer\n");
    CtrString::scanMiniWordBooks(Path("Prog").c_str());
    CtrString::setLanguage(L"fr");
    EXPECT_EQ(qx::CurrentWordbookLanguage(), L"xx");
    EXPECT_EQ(Translate(L"Drucken"), L"Drucken");
}

TEST_F(CtrStringTest, WordbooksAreReadWhenTheirLanguageBecomesCurrent) {
    Write("Prog.en", "Datei <*> File\n");
    CtrString::scanMiniWordBooks(Path("Prog").c_str());
    // Registered, not read: a change before the language is chosen counts.
    Write("Prog.en", "Datei <*> File (changed)\n");
    CtrString::setLanguage(L"en");
    EXPECT_EQ(Translate(L"Datei"), L"File (changed)");
}

TEST_F(CtrStringTest, WordbookOfTheCurrentLanguageIsReadAtOnce) {
    CtrString::setLanguage(L"en");
    Write("Prog.en", "Datei <*> File\n");
    CtrString::scanMiniWordBooks(Path("Prog").c_str());
    EXPECT_EQ(qx::CurrentWordbookLanguage(), L"en");
    EXPECT_EQ(Translate(L"Datei"), L"File");

    // A second base for the loaded language is read at once too.
    Write("More.en", "Ansicht <*> View\n");
    CtrString::scanMiniWordBooks(Path("More").c_str());
    EXPECT_EQ(Translate(L"Ansicht"), L"View");
}

TEST_F(CtrStringTest, APathIsScannedOnce) {
    CtrString::scanMiniWordBooks(Path("Prog").c_str());
    Write("Prog.en", "Datei <*> File\n");
    CtrString::scanMiniWordBooks(Path("Prog").c_str());
    CtrString::setLanguage(L"en");
    EXPECT_EQ(Translate(L"Datei"), L"Datei");
}

TEST_F(CtrStringTest, FileEncodings) {
    const std::wstring line = L"Grüße <*> Greetings 😀\r\n";
    struct Case {
        const char* name;
        std::string bytes;
        const wchar_t* translation;
    } cases[] = {
        {"code page 1252", "Gr\xFC\xDF" "e <*> Greetings\r\n", L"Greetings"},
        {"UTF-8 with mark", qx::EncodeUtf8WithMark(line), L"Greetings 😀"},
        {"UTF-16LE with mark", qx::EncodeUtf16WithMark(line), L"Greetings 😀"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        qx::ResetWordbooks();
        Write("Prog.en", c.bytes);
        CtrString::scanMiniWordBooks(Path("Prog").c_str());
        CtrString::setLanguage(L"en");
        EXPECT_EQ(Translate(L"Grüße"), c.translation);
    }
}

TEST_F(CtrStringTest, EightBitKeys) {
    Write("Prog.en", "Schlie\xDF" "en <*> Close\n");
    CtrString::scanMiniWordBooks(Path("Prog").c_str());
    CtrString::setLanguage(L"en");
    EXPECT_EQ(std::wstring(CtrString::translate("Schlie\xDF" "en")), L"Close");
    EXPECT_EQ(std::wstring(CtrString::translate("@Kontext@Gr\xFC\xDF" "e")), L"Grüße");
    EXPECT_EQ(std::wstring(CtrString::translate(static_cast<const char*>(nullptr))), L"");

    // A buffer reused for another key is converted again.
    char buffer[32] = "Schlie\xDF" "en";
    EXPECT_EQ(std::wstring(CtrString::translate(buffer)), L"Close");
    std::strcpy(buffer, "@x@Offen");
    EXPECT_EQ(std::wstring(CtrString::translate(buffer)), L"Offen");
}

}  // namespace
