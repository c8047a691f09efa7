#include "qx/locale/init_language.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qx/locale/language_resource_scope.h"
#include "qx/message/message_table.h"
#include "qx/message/string_table.h"
#include "qx/locale/texte_table.h"
#include "qx/platform/base/cstring.h"
#include "qx/platform/wnd/message_box.h"
#include "qx/platform/os/zip_store.h"
#include "tests/support/fixtures.h"
#include "tests/support/test_support.h"

namespace {

struct ShownMessage {
    std::wstring text;
    std::wstring caption;
    unsigned flags;
};

// Language modules Prog.xx in a temporary folder; the session language
// comes from LANG only.
class InitLanguageTest : public testing::Test {
protected:
    void SetUp() override {
        qx::ResetLanguageModule();
        qx::SetLanguageModuleLocation(Folder(), L"Prog");
    }
    void TearDown() override { qx::ResetLanguageModule(); }

    std::wstring Folder() const { return dir_.path().wstring() + L"/"; }

    // A module whose table says *word* for "@Button@Abbrechen", with string
    // 5 and dialog 100 naming the module.
    void WriteModule(const std::string& code, const std::wstring& word) {
        WriteMembers(code, {{"TEXTE/1", qx::WriteTexteTable({{L"@Button@Abbrechen", word}})},
                            {"STRING/5", "string " + code},
                            {"DIALOG/100", "dialog " + code}});
    }
    void WriteMembers(const std::string& code, const std::vector<qx::ZipMember>& members) {
        qx::test::WriteBytes(dir_.path() / ("Prog." + code), qx::WriteZipMembers(members).value());
    }

    static std::wstring Cancel() { return qx::TranslateMessage(L"@Button@Abbrechen"); }
    static std::string Dialog() {
        const std::string* dialog = qx::LoadDialogTemplate("100");
        return dialog ? *dialog : "";
    }

    qx::test::TempDir dir_;
    std::vector<ShownMessage> shown_;
    qx::ScopedMessageHandler handler_{[this](const wchar_t* text, const wchar_t* caption, unsigned flags) {
        shown_.push_back({text, caption, flags});
        return IDOK;
    }};
    qx::test::ScopedEnv lcAll_{"LC_ALL", std::nullopt};
    qx::test::ScopedEnv lcMessages_{"LC_MESSAGES", std::nullopt};
    qx::test::ScopedEnv lang_{"LANG", "C"};
};

TEST_F(InitLanguageTest, LoadsTheModuleIntoTheTables) {
    WriteModule("en", L"Cancel");
    initLanguage(0, L"en");
    EXPECT_EQ(qx::LoadedLanguage(), L"en");
    EXPECT_EQ(Cancel(), L"Cancel");
    EXPECT_EQ(qx::LoadResourceString(5), L"string en");
    EXPECT_EQ(Dialog(), "dialog en");
    EXPECT_TRUE(shown_.empty());
}

TEST_F(InitLanguageTest, CallsThatDoNothing) {
    WriteModule("en", L"Cancel");
    initLanguage(0, L"en");
    WriteModule("en", L"changed");
    WriteModule("fr", L"Annuler");
    struct Case {
        const char* name;
        int reason;
        const wchar_t* lang;
    } cases[] = {
        {"reason 1", 1, L"fr"},
        {"null language", 0, nullptr},
        {"empty language", 0, L""},
        {"the loaded language, in other letter case", 0, L"EN"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        initLanguage(c.reason, c.lang);
        EXPECT_EQ(qx::LoadedLanguage(), L"en");
        EXPECT_EQ(Cancel(), L"Cancel");
    }
}

TEST_F(InitLanguageTest, FallbackWhenTheModuleIsMissing) {
    struct Case {
        const char* name;
        std::vector<std::string> present;
        const char* session;
        const wchar_t* chosen;
    } cases[] = {
        {"session language", {"en", "fr", "it"}, "fr_FR.UTF-8", L"fr"},
        {"session language, module upper-cased", {"en", "FR"}, "fr_FR", L"FR"},
        {"English without a session module", {"fr", "EN", "it"}, "pl_PL.UTF-8", L"EN"},
        {"English for an unknown session language", {"en", "fr"}, "C", L"en"},
        {"first module in folder order", {"pl", "it"}, "de_DE", L"it"},
        {"session sublanguage is not reduced", {"de", "fr"}, "fr_CH", L"de"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        qx::ResetLanguageModule();
        qx::test::TempDir dir;
        qx::SetLanguageModuleLocation(dir.path().wstring() + L"/", L"Prog");
        for (const std::string& code : c.present) {
            qx::test::WriteBytes(dir.path() / ("Prog." + code),
                                 qx::WriteZipMembers({{"TEXTE/1", qx::WriteTexteTable({{L"@Button@Abbrechen", std::wstring(code.begin(), code.end())}})}}).value());
        }
        qx::test::ScopedEnv session("LANG", c.session);
        initLanguage(0, L"es");
        EXPECT_EQ(qx::LoadedLanguage(), c.chosen);
        EXPECT_EQ(CString(Cancel().c_str()).CompareNoCase(c.chosen), 0);
    }
    EXPECT_TRUE(shown_.empty());
}

TEST_F(InitLanguageTest, DamagedModuleFallsBackToOneThatOpens) {
    qx::test::WriteBytes(dir_.path() / "Prog.de", "not a module");
    WriteModule("it", L"Annulla");
    qx::test::ScopedEnv session("LANG", "de_DE.UTF-8");
    initLanguage(0, L"de");
    EXPECT_EQ(qx::LoadedLanguage(), L"it");
    EXPECT_EQ(Cancel(), L"Annulla");
}

TEST_F(InitLanguageTest, NoModuleIsReportedAndEmptiesTheTables) {
    WriteModule("en", L"Cancel");
    initLanguage(0, L"en");
    std::filesystem::remove(dir_.path() / "Prog.en");
    qx::test::WriteBytes(dir_.path() / "Prog.fra", "three letters are no module");
    qx::test::WriteBytes(dir_.path() / "Other.fr", "another base");

    initLanguage(0, L"fr");
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].text, L"Language module " + Folder() + L"Prog.* does not exist.");
    EXPECT_EQ(shown_[0].caption, L"quOrix");
    EXPECT_EQ(shown_[0].flags & MB_ICONMASK, MB_ICONERROR);
    EXPECT_EQ(qx::LoadedLanguage(), L"");
    EXPECT_EQ(qx::MessageTableSize(), 0u);
    EXPECT_EQ(Cancel(), L"Abbrechen");
    EXPECT_FALSE(qx::LoadResourceString(5));
    EXPECT_EQ(Dialog(), "");
}

TEST_F(InitLanguageTest, EightBitTablesUseTheLanguagesCodePage) {
    WriteMembers("pl", {{"TEXTE/1", std::string("Zur\xFC" "ck\0Wstecz \xB9\0Offen\0<*?*>\0\0\0", 29)}});
    initLanguage(0, L"pl");
    EXPECT_EQ(std::wstring(qx::TranslateMessage("Zur\xFC" "ck")), L"Wstecz ą");
    EXPECT_EQ(std::wstring(qx::TranslateMessage(L"Offen")), L"Offen");  // marked untranslated
    EXPECT_EQ(qx::MessageTableSize(), 1u);
}

TEST_F(InitLanguageTest, ResourceScopeSwitchesToTheLoadedModule) {
    WriteModule("de", L"Abbrechen");
    WriteModule("en", L"Cancel");
    {
        qx::LanguageResourceScope scope;  // nothing loaded: nothing changes
        EXPECT_EQ(Dialog(), "");
    }
    initLanguage(0, L"de");
    qx::SetResourceModule(nullptr);  // someone made the library itself the source
    EXPECT_EQ(Dialog(), "");
    {
        qx::LanguageResourceScope scope;
        EXPECT_EQ(Dialog(), "dialog de");
        EXPECT_EQ(qx::LoadResourceString(5), L"string de");
        {
            qx::LanguageResourceScope inner;
            EXPECT_EQ(Dialog(), "dialog de");
        }
        EXPECT_EQ(Dialog(), "dialog de");
    }
    EXPECT_EQ(Dialog(), "");
    EXPECT_FALSE(qx::LoadResourceString(5));

    // A scope that saw the German module does not bring it back after a
    // change of language released it.
    qx::SetResourceModule(qx::LoadedLanguageModule());
    {
        qx::LanguageResourceScope scope;
        initLanguage(0, L"en");
    }
    EXPECT_EQ(Dialog(), "dialog en");
    EXPECT_EQ(Cancel(), L"Cancel");
}

}  // namespace
