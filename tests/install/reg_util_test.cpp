#include "qx/install/reg_util.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qx/install/reg_functions.h"
#include "qx/message/message_table.h"
#include "qx/platform/base/utf.h"
#include "qx/platform/wnd/message_box.h"
#include "qx/platform/os/native_path.h"
#include "qx/platform/os/registry_store.h"
#include "tests/support/fixtures.h"
#include "tests/support/test_support.h"

namespace {

std::vector<std::wstring> ToVector(const CStringList& list) {
    std::vector<std::wstring> out;
    for (POSITION pos = list.GetHeadPosition(); pos;) out.push_back(list.GetNext(pos).str());
    return out;
}

// Drive C: is a temporary folder, the registry files live in another one and
// the common program files folder is C:\opt; every message box is recorded.
class RegUtilTest : public qx::test::DriveFolderTest {
protected:
    RegUtilTest() {
        qx::ResetRegistry();
        qx::ResetRegUtilNames();
    }
    ~RegUtilTest() override {
        qx::ResetRegUtilNames();
        qx::ResetRegistry();
        qx::ClearMessageTable();
    }

    static void Machine(const wchar_t* key, const wchar_t* name, const wchar_t* text) {
        ASSERT_TRUE(RegSetValueW(HKEY_LOCAL_MACHINE, key, name, text));
    }
    static void User(const wchar_t* key, const wchar_t* name, const wchar_t* text) {
        ASSERT_TRUE(RegSetValueW(HKEY_CURRENT_USER, key, name, text));
    }

    qx::test::TempDir registry_;
    qx::test::ScopedEnv registryDir_{"QX_REGISTRY_DIR", registry_.path().string()};
    qx::test::ScopedEnv commonFiles_{"QX_COMMON_FILES", dir_.Native("opt")};
    std::vector<std::wstring> messages_;
    qx::ScopedMessageHandler handler_{[this](const wchar_t* text, const wchar_t*, unsigned) {
        messages_.push_back(text);
        return IDOK;
    }};
};

constexpr wchar_t kEnv[] = L"Software\\quOrix GmbH\\Env";
constexpr wchar_t kAcmeEnv[] = L"Software\\Acme\\Env";

TEST_F(RegUtilTest, NamesAndEnvironmentKeys) {
    EXPECT_EQ(CRegUtil::getRegCompany(), nullptr);
    EXPECT_EQ(CRegUtil::getEnvKeyName(false), kEnv);
    EXPECT_EQ(CRegUtil::getEnvKeyName(true), kEnv);
    EXPECT_STREQ(CRegUtil::getRegCompany(), L"quOrix GmbH");

    CRegUtil::setRegistryKey(L"Acme", L"Planner");
    setRegCompany(L"Acme");
    EXPECT_EQ(CRegUtil::getEnvKeyName(true), kAcmeEnv);
    EXPECT_EQ(CRegUtil::getEnvKeyName(false), kEnv);
    EXPECT_STREQ(CRegUtil::getRegApplikation(), L"Planner");
}

struct CommonDirCase {
    const char* name;
    std::vector<std::string> folders;                                   // on drive C:
    std::vector<std::pair<const wchar_t*, const wchar_t*>> machineEnv;  // (name, value) in the default key
    std::vector<std::pair<const wchar_t*, const wchar_t*>> acmeEnv;     // in the company key
    bool company;
    const wchar_t* dir;  // expected
    bool found;
};

TEST_F(RegUtilTest, CommonDirTriesEachSourceInTurn) {
    const CommonDirCase cases[] = {
        {"CommonFiles gets its backslash", {"common"}, {{L"CommonFiles", L"C:\\common"}}, {}, true, L"C:\\common\\", true},
        {"company value first", {"common", "acme"}, {{L"CommonFiles", L"C:\\common"}}, {{L"CommonFiles", L"C:\\acme\\"}},
         true, L"C:\\acme\\", true},
        {"company value only when asked", {"common", "acme"}, {{L"CommonFiles", L"C:\\common"}},
         {{L"CommonFiles", L"C:\\acme\\"}}, false, L"C:\\common\\", true},
        {"a missing folder is passed over", {"B/Dll"}, {{L"CommonFiles", L"C:\\gone"}, {L"DllPath", L"C:\\B\\Dll\\"}}, {},
         true, L"C:\\B\\", true},
        {"DllPath gives its parent", {"B/Dll"}, {{L"DllPath", L"C:\\B\\Dll"}}, {}, true, L"C:\\B\\", true},
        {"DllPath written with slashes", {"B/Dll"}, {{L"DllPath", L"C:/B/Dll"}}, {}, true, L"C:/B/", true},
        {"DllPath with a final slash", {"B/Dll"}, {{L"DllPath", L"C:/B/Dll/"}}, {}, true, L"C:/B/", true},
        {"company DllPath before the default one", {"B/Dll", "A/Dll"}, {{L"DllPath", L"C:\\B\\Dll"}},
         {{L"DllPath", L"C:\\A\\Dll"}}, false, L"C:\\A\\", true},
        {"common program files with the company", {"opt/Acme"}, {}, {}, true, L"C:\\opt\\Acme\\", true},
        {"common program files with the family", {"opt/quOrix GmbH"}, {}, {}, false, L"C:\\opt\\quOrix GmbH\\", true},
        {"nothing exists: the last candidate", {}, {{L"CommonFiles", L"C:\\gone"}}, {}, true, L"C:\\opt\\Acme\\", false},
    };
    for (const CommonDirCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(dir_.path());
        std::filesystem::create_directories(dir_.path());
        qx::Registry().DeleteKey(qx::RegRoot::LocalMachine, L"Software");
        for (const auto& folder : c.folders) MakeFolder(folder);
        for (const auto& [name, value] : c.machineEnv) Machine(kEnv, name, value);
        for (const auto& [name, value] : c.acmeEnv) Machine(kAcmeEnv, name, value);
        setRegCompany(L"Acme");
        messages_.clear();

        CString dir = L"unchanged";
        EXPECT_EQ(CRegUtil::getCommonDir(dir, c.company, true), c.found);
        EXPECT_EQ(dir, c.dir);
        EXPECT_TRUE(messages_.empty());
        if (!c.found) {
            CRegUtil::getCommonDir(dir, c.company, false);
            ASSERT_EQ(messages_.size(), 1u);
            EXPECT_NE(messages_[0].find(L"COMMONFILES"), std::wstring::npos);
        }
    }
}

// A value written the Linux way, a native absolute path, is taken apart at
// its slashes like a Windows path at its backslashes.
TEST_F(RegUtilTest, NativeDllPathGivesItsParent) {
    MakeFolder("app/Dll");
    const std::wstring dllPath = dir_.Wide("app/Dll");
    Machine(kEnv, L"DllPath", dllPath.c_str());
    CString dir;
    EXPECT_TRUE(CRegUtil::getCommonDir(dir, false, true));
    EXPECT_EQ(dir.str(), dir_.Wide("app/"));
}

TEST_F(RegUtilTest, LibraryFolders) {
    MakeFolder("common/Dll");
    Machine(kEnv, L"CommonFiles", L"C:\\common");
    CString dir;
    EXPECT_TRUE(CRegUtil::getDllPath(dir, false));
    EXPECT_EQ(dir, L"C:\\common\\Dll\\");
    EXPECT_TRUE(CRegUtil::getQuOsysDllPath(dir, false));
    EXPECT_EQ(dir, L"C:\\common\\Dll\\");
    MakeFolder("common/quOsysDll");
    EXPECT_TRUE(CRegUtil::getQuOsysDllPath(dir, false));
    EXPECT_EQ(dir, L"C:\\common\\quOsysDll\\");
    EXPECT_TRUE(messages_.empty());

    std::filesystem::remove_all(dir_.path() / "common" / "Dll");
    std::filesystem::remove_all(dir_.path() / "common" / "quOsysDll");
    dir = L"unchanged";
    EXPECT_FALSE(CRegUtil::getDllPath(dir, true));
    EXPECT_EQ(dir, L"unchanged");
    EXPECT_FALSE(CRegUtil::getDllPath(dir, false));
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_NE(messages_[0].find(L"C:\\common\\Dll\\"), std::wstring::npos);
}

TEST_F(RegUtilTest, HelperProgramsAndAddressBook) {
    Machine(kEnv, L"CommonFiles", L"C:\\common");
    MakeFolder("common");
    CString path;
    EXPECT_FALSE(CRegUtil::getOnlineUpdate(path, true));
    EXPECT_FALSE(CRegUtil::getOnlineUpdate2k(path, true));
    EXPECT_TRUE(messages_.empty()) << "a silent call shows nothing, not even for the missing library folder";
    MakeFolder("common/Dll/qxUpdater");
    EXPECT_FALSE(CRegUtil::getOnlineUpdate2k(path, false));
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_NE(messages_[0].find(L"C:\\common\\Dll\\qxUpdater\\qxupdater2k8.exe"), std::wstring::npos);

    Write("common/Dll/qxUpdater.exe", "");
    Write("common/Dll/qxUpdater/qxupdater2k8.exe", "");
    EXPECT_TRUE(CRegUtil::getOnlineUpdate(path, true));
    EXPECT_EQ(path, L"C:\\common\\Dll\\qxUpdater.exe");
    EXPECT_TRUE(CRegUtil::getOnlineUpdate2k(path, true));
    EXPECT_EQ(path, L"C:\\common\\Dll\\qxUpdater\\qxupdater2k8.exe");

    EXPECT_FALSE(CRegUtil::getProjektverwaltung(path, true));
    Machine(kEnv, L"Prv", L"C:\\prv\\prv.exe");
    EXPECT_TRUE(CRegUtil::getProjektverwaltung(path, true));
    EXPECT_EQ(path, L"C:\\prv\\prv.exe");

    CString book;
    EXPECT_FALSE(CRegUtil::getAdrPath20(book, true));
    MakeFolder("common/Adressen");
    EXPECT_TRUE(CRegUtil::getAdrPath20(book, true));
    EXPECT_EQ(book, L"C:\\common\\Adressen\\");
    User(kEnv, L"Adressen20", L"D:\\Book");  // returned as stored, not checked
    EXPECT_TRUE(CRegUtil::getAdrPath20(book, true));
    EXPECT_EQ(book, L"D:\\Book");
}

TEST_F(RegUtilTest, Languages) {
    setRegCompany(L"Acme");
    CString lang = L"unchanged";
    EXPECT_FALSE(CRegUtil::getLanguage(lang, true));
    EXPECT_EQ(lang, L"unchanged");
    EXPECT_FALSE(CRegUtil::getPrintLanguage(lang, true));
    EXPECT_EQ(lang, L"de");
    EXPECT_TRUE(messages_.empty());

    EXPECT_FALSE(CRegUtil::getLanguage(lang, false));
    EXPECT_FALSE(CRegUtil::getPrintLanguage(lang, false));
    ASSERT_EQ(messages_.size(), 2u);
    EXPECT_NE(messages_[0].find(L"HKEY_CURRENT_USER\\Software\\Acme\\ENV\\Lang"), std::wstring::npos);
    EXPECT_NE(messages_[1].find(L"Drucksprache"), std::wstring::npos);

    User(kEnv, L"Lang", L"fr");
    EXPECT_TRUE(CRegUtil::getLanguage(lang, true));
    EXPECT_EQ(lang, L"fr");
    ASSERT_TRUE(CRegUtil::setLanguage(L"it"));
    ASSERT_TRUE(CRegUtil::setPrintLanguage(L"en"));
    EXPECT_TRUE(CRegUtil::getLanguage(lang, true));
    EXPECT_EQ(lang, L"it");
    EXPECT_TRUE(CRegUtil::getPrintLanguage(lang, true));
    EXPECT_EQ(lang, L"en");
    CString stored;
    EXPECT_TRUE(RegQueryValueW(HKEY_CURRENT_USER, kAcmeEnv, L"Lang", stored));
    EXPECT_EQ(stored, L"it");

    EXPECT_TRUE(CRegUtil::getLanguageKuerzel(3098, lang));
    EXPECT_EQ(lang, L"sr");
    EXPECT_FALSE(CRegUtil::getLanguageKuerzel(2057, lang));
    EXPECT_EQ(CRegUtil::getLanguageCodepage(L"RU"), 1251);
}

TEST_F(RegUtilTest, MessagesAreTranslatedBeforeTheNameGoesIn) {
    setRegCompany(L"100% Acme");
    const std::wstring key = qx::TranslateMessage(
        "Der Eintrag f\xFCr die Sprache wurde nicht gefunden.\n\xDC"
        "berpr\xFC"
        "fen Sie den Eintrag \n\"HKEY_CURRENT_USER\\Software\\%s\\ENV\\Lang\"\nin der Registry");
    // A translation's stray conversions are shown as they stand, never fed.
    qx::ReplaceMessageTable({{key, L"No language for %s (%d %n %%)"}});
    CString lang;
    CRegUtil::getLanguage(lang, false);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], L"No language for 100% Acme (%d %n %)");
}

TEST_F(RegUtilTest, PrintLanguageVariants) {
    struct Case {
        const char* name;
        std::vector<std::string> files;
        const wchar_t* asked;
        std::vector<std::wstring> codes;
    };
    const Case cases[] = {
        {"variants of another language", {"m/Mask_de.txt", "m/Mask_en.txt"}, L"C:\\m\\Mask_fr.txt", {L"de", L"en"}},
        {"the base name asks the same", {"m/Mask_de.txt", "m/Mask_en.txt"}, L"C:\\m\\Mask.txt", {L"de", L"en"}},
        {"folders are no variants", {"m/Mask_de.txt", "m/Mask_xx.txt/"}, L"C:\\m\\Mask.txt", {L"de"}},
        {"only the base file: the display language", {"m/Mask.txt"}, L"C:\\m\\Mask_fr.txt", {L"it"}},
        {"nothing", {}, L"C:\\m\\Mask.txt", {}},
        {"no extension", {"m/Mask"}, L"C:\\m\\Mask", {}},
    };
    User(kEnv, L"Lang", L"it");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(dir_.path() / "m");
        MakeFolder("m");
        for (const auto& f : c.files) {
            if (f.ends_with('/')) MakeFolder(f);
            else Write(f, "");
        }
        CStringList names, codes;
        EXPECT_EQ(CRegUtil::enumPrintLanguages(c.asked, names, codes), static_cast<int>(c.codes.size()));
        EXPECT_EQ(ToVector(codes), c.codes);
        EXPECT_EQ(ToVector(names), std::vector<std::wstring>(c.codes.size()));
    }
}

TEST_F(RegUtilTest, ManufacturerFolders) {
    MakeFolder("lib/Maker1/MMD");
    MakeFolder("lib/Group/Maker2/MMD");
    MakeFolder("lib/Group/Deeper/Maker3/MMD");  // three levels down: not found
    MakeFolder("lib/with.dot/MMD");              // names with an extension are not searched
    MakeFolder("plus1/Maker4/MMD");
    MakeFolder("plus2/Maker5/MMD");
    Machine(kEnv, L"CommonLib", L"C:\\lib");
    Machine(kEnv, L"CommonLibPlus", L"C:\\plus1;C:\\missing;C:\\plus2\\;;C:\\after-empty");
    MakeFolder("after-empty/Maker6/MMD");

    CStringList dirs;
    dirs.AddTail(L"kept");
    EXPECT_TRUE(CRegUtil::getAllHerstellerDirs(dirs, false));
    const std::vector<std::wstring> expected = {L"kept", L"C:\\lib\\Group\\Maker2\\", L"C:\\lib\\Maker1\\",
                                                L"C:\\plus1\\Maker4\\", L"C:\\plus2\\Maker5\\"};
    EXPECT_EQ(ToVector(dirs), expected);

    CStringList reversed;
    EXPECT_TRUE(CRegUtil::getAllHerstellerDirsReversed(reversed, false));
    EXPECT_EQ(ToVector(reversed), std::vector<std::wstring>(expected.rbegin(), expected.rend() - 1));
}

TEST_F(RegUtilTest, ProfileValues) {
    ASSERT_TRUE(RegSetValueW(HKEY_CURRENT_USER, L"K", L"num", 4294967295ul));
    ASSERT_TRUE(RegSetValueW(HKEY_CURRENT_USER, L"K", L"text", L" 42abc"));
    ASSERT_TRUE(qx::Registry().SetValue(qx::RegRoot::CurrentUser, L"K", L"bin", qx::RegValue::Bytes("\x01")));

    CString out = L"unchanged";
    EXPECT_TRUE(CRegUtil::GetProfileStringCurUser(out, L"K", L"num"));
    EXPECT_EQ(out, L"-1");
    out = L"unchanged";
    EXPECT_TRUE(CRegUtil::GetProfileStringCurUser(out, L"K", L"bin"));
    EXPECT_EQ(out, L"unchanged");
    EXPECT_FALSE(CRegUtil::GetProfileStringCurUser(out, L"K", L"missing"));
    EXPECT_EQ(out, L"");
    EXPECT_FALSE(CRegUtil::GetProfileStringLMachine(out, L"K", L"num"));
    int number = 0;
    EXPECT_TRUE(CRegUtil::GetProfileIntCurUser(number, L"K", L"text"));
    EXPECT_EQ(number, 42);

    EXPECT_TRUE(CRegUtil::WriteProfileStringCurUser(L"v", L"New\\Key", L"n"));
    EXPECT_TRUE(CRegUtil::GetProfileStringCurUser(out, L"New\\Key", L"n"));
    EXPECT_EQ(out, L"v");

    EXPECT_EQ(CRegUtil::ReadENVfromCU(L"Free"), L"");
    EXPECT_TRUE(CRegUtil::WriteENVtoCU(L"Free", L"value"));
    EXPECT_EQ(CRegUtil::ReadENVfromCU(L"free"), L"value");
}

TEST_F(RegUtilTest, CompanyProfileSections) {
    setRegCompany(L"Acme");
    EXPECT_EQ(CRegUtil::getRegCompanyProfileString(L"Window", L"Pos", L"def"), L"def");
    EXPECT_TRUE(CRegUtil::setRegCompanyProfileString(L"Window", L"Pos", L"1,2,3,4"));
    EXPECT_TRUE(CRegUtil::setRegCompanyProfileString(L"Window", L"Size", L"big"));
    EXPECT_EQ(CRegUtil::getRegCompanyProfileString(L"Window", L"Pos", L"def"), L"1,2,3,4");
    EXPECT_TRUE(qx::Registry().KeyExists(qx::RegRoot::CurrentUser, L"Software\\Acme\\Window"));

    EXPECT_TRUE(CRegUtil::setRegCompanyProfileString(L"Window", L"Pos", nullptr));
    EXPECT_EQ(CRegUtil::getRegCompanyProfileString(L"Window", L"Pos", L"def"), L"def");
    EXPECT_EQ(CRegUtil::getRegCompanyProfileString(L"Window", L"Size", L"def"), L"big");
    EXPECT_TRUE(CRegUtil::setRegCompanyProfileString(L"Window", nullptr, nullptr));
    EXPECT_FALSE(qx::Registry().KeyExists(qx::RegRoot::CurrentUser, L"Software\\Acme\\Window"));
    EXPECT_TRUE(qx::Registry().KeyExists(qx::RegRoot::CurrentUser, L"Software\\Acme"));
    EXPECT_FALSE(CRegUtil::setRegCompanyProfileString(L"Window", nullptr, nullptr));
}

TEST_F(RegUtilTest, RegistryFunctions) {
    EXPECT_TRUE(RegCreateKeyW(HKEY_CURRENT_USER, L"A\\B"));
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, L"A\\B", nullptr));
    EXPECT_TRUE(RegSetValueW(HKEY_CURRENT_USER, L"A\\B", nullptr, L"default"));
    EXPECT_TRUE(RegSetValueW(HKEY_CURRENT_USER, L"A\\B", L"n", 7ul));
    ASSERT_TRUE(qx::Registry().SetValue(qx::RegRoot::CurrentUser, L"A\\B", L"x",
                                        qx::RegValue::Text(L"%TEMP%\\x", qx::kRegExpandSz)));
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, L"a\\b", L""));

    CString text;
    unsigned long number = 0;
    EXPECT_TRUE(RegQueryValueW(HKEY_CURRENT_USER, L"A\\B", L"", text));
    EXPECT_EQ(text, L"default");
    EXPECT_TRUE(RegQueryValueW(HKEY_CURRENT_USER, L"A\\B", L"x", text));
    EXPECT_EQ(text, L"%TEMP%\\x");
    EXPECT_FALSE(RegQueryValueW(HKEY_CURRENT_USER, L"A\\B", L"n", text));
    EXPECT_TRUE(RegQueryValueW(HKEY_CURRENT_USER, L"A\\B", L"n", number));
    EXPECT_EQ(number, 7ul);
    EXPECT_FALSE(RegQueryValueW(HKEY_CURRENT_USER, L"A\\B", L"x", number));

    CArray<CString> names;
    names.Add(L"stale");
    EXPECT_TRUE(RegEnumValues(HKEY_CURRENT_USER, L"A\\B", names));
    ASSERT_EQ(names.GetSize(), 3);
    EXPECT_EQ(names[0], L"");
    EXPECT_EQ(names[1], L"n");
    EXPECT_EQ(names[2], L"x");
    EXPECT_FALSE(RegEnumValues(HKEY_CURRENT_USER, L"A\\Missing", names));
    EXPECT_EQ(names.GetSize(), 0);

    EXPECT_TRUE(RegDeleteValueW(HKEY_CURRENT_USER, L"A\\B", L"N"));
    EXPECT_FALSE(RegDeleteValueW(HKEY_CURRENT_USER, L"A\\B", L"n"));
    EXPECT_FALSE(RegSetValueW(HKEY_USERS, L"A", L"n", L"v"));
    EXPECT_FALSE(RegValueExists(HKEY_USERS, L"A\\B", nullptr));
}

}  // namespace
