#include "qx/install/localizer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "qx/install/localized_names.h"
#include "qx/install/reg_functions.h"
#include "qx/install/reg_util.h"
#include "qx/install/region_info.h"
#include "qx/message/message_table.h"
#include "qx/platform/os/file_system.h"
#include "qx/platform/wnd/message_box.h"
#include "qx/platform/os/registry_store.h"
#include "qx/text/encoded_form.h"
#include "qx/tree/exc.h"
#include "tests/support/fixtures.h"
#include "tests/support/test_support.h"

namespace {

namespace fs = std::filesystem;

constexpr wchar_t kAcme[] = L"Software\\Acme";
constexpr wchar_t kAcmeEnv[] = L"Software\\Acme\\Env";

// One region per entry: "Name:DEU" and further leaf lines, in the tree text
// form.
std::string RegionMap(const std::vector<std::string>& regions) {
    std::string text = "[Regions]\n";
    for (const std::string& region : regions) text += "[Region]\n" + region + "[ENDE_Region]\n";
    return text + "[ENDE_Regions]\n";
}

std::wstring Widen(const char* ascii) { return std::wstring(ascii, ascii + std::char_traits<char>::length(ascii)); }

// Library paths come back with backslashes after the installation folder.
std::wstring Slashed(const CString& path) {
    std::wstring text = path.str();
    for (wchar_t& ch : text)
        if (ch == L'\\') ch = L'/';
    return text;
}

// An installation in a temporary folder (inst/Support holds the maps), the
// registry in another one, company "Acme"; message boxes are recorded.
class LocalizerTest : public testing::Test {
protected:
    void SetUp() override {
        qx::ResetRegistry();
        qx::ResetRegUtilNames();
        qx::ResetLocalizer();
        qx::ResetLocalizedNames();
        setRegCompany(L"Acme");
    }
    void TearDown() override {
        qx::ResetLocalizer();
        qx::ResetLocalizedNames();
        qx::ClearMessageTable();
        qx::ResetRegUtilNames();
        qx::ResetRegistry();
    }

    std::wstring Inst() const { return dir_.Wide("inst"); }
    // A file below the installation folder; *encoded* writes the encoded form.
    void Write(const std::string& relative, std::string bytes, bool encoded = false) const {
        const fs::path file = dir_.path() / "inst" / relative;
        fs::create_directories(file.parent_path());
        if (encoded) qx::EncodeBytes(bytes);
        qx::test::WriteBytes(file, bytes);
    }
    static CString User(const wchar_t* key, const wchar_t* name) {
        CString value;
        RegQueryValueW(HKEY_CURRENT_USER, key, name, value);
        return value;
    }
    static void SetUser(const wchar_t* key, const wchar_t* name, const wchar_t* value) {
        ASSERT_TRUE(RegSetValueW(HKEY_CURRENT_USER, key, name, value));
    }

    static CLocalizer& Localizer() { return CLocalizer::instance(); }

    qx::test::TempDir dir_;
    qx::test::TempDir registry_;
    qx::test::ScopedEnv registryDir_{"QX_REGISTRY_DIR", registry_.path().string()};
    std::vector<std::wstring> shown_;
    qx::ScopedMessageHandler handler_{[this](const wchar_t* text, const wchar_t*, unsigned) {
        shown_.push_back(text);
        return IDOK;
    }};
};

std::vector<std::wstring> LeafTexts(CNode* node) {
    std::vector<std::wstring> texts;
    if (!node) return texts;
    for (POSITION pos = node->Leaves().GetHeadPosition(); pos;) {
        const CLeaf* leaf = node->Leaves().GetNext(pos);
        texts.push_back(leaf->GetName().str() + L"=" + leaf->GetRawData().str());
    }
    return texts;
}

TEST_F(LocalizerTest, MergesAllMapsInNameOrder) {
    Write("Support/Map_A.Region",
          RegionMap({"Name:DEU:Deutschland\nExtra:A\n[MMDs]\nM:kessel.mmd:kessel_a.mmd\n[ENDE_MMDs]\n",
                     "Name:FRA\nDefaultLanguage:fr\n"}) +
              "[Region]\nNoName:1\n[ENDE_Region]\n");
    // Encoded, and merged first: "0" sorts before "A".
    Write("Support/Map_0.Regionx",
          RegionMap({"Name:DEU:Deutschland\nExtra:0\n[MMDs]\nM:pumpe.mmd:pumpe_0.mmd\n[ENDE_MMDs]\n"
                     "[Custom]\n[Deep]\nX:1\n[ENDE_Deep]\n[ENDE_Custom]\n"}),
          true);
    Write("Support/Map_B.txt", RegionMap({"Name:ITA\n"}));  // not a region map

    ASSERT_TRUE(Localizer().init(Inst().c_str()));
    CStringList regions;
    Localizer().GetAvailableRegions(regions);
    ASSERT_EQ(regions.GetCount(), 2);
    EXPECT_EQ(regions.GetHead(), L"DEU:Deutschland");
    EXPECT_EQ(regions.GetTail(), L"FRA");

    CNode* deu = Localizer().GetRegionsNodeFor(L"DEU");
    ASSERT_NE(deu, nullptr);
    EXPECT_EQ(deu->GetName(), L"Region");
    EXPECT_EQ(LeafTexts(deu), (std::vector<std::wstring>{L"Name=DEU:Deutschland", L"Extra=0", L"Extra=A"}));
    EXPECT_EQ(LeafTexts(deu->FindChild(L"MMDs")),
              (std::vector<std::wstring>{L"M=pumpe.mmd:pumpe_0.mmd", L"M=kessel.mmd:kessel_a.mmd"}));
    CNode* custom = deu->FindChild(L"Custom");
    ASSERT_NE(custom, nullptr);
    EXPECT_NE(custom->FindChild(L"Deep"), nullptr);
    EXPECT_EQ(Localizer().GetRegionsNodeFor(L"deu"), nullptr);  // tokens keep their case
    EXPECT_EQ(Localizer().GetRegionsNodeFor(L"ITA"), nullptr);
    EXPECT_EQ(Localizer().GetDefaultLanguageFor(L"FRA"), L"fr");
    EXPECT_EQ(Localizer().GetDefaultPrintLanguageFor(L"FRA"), L"");

    // A second init starts afresh instead of doubling every leaf.
    ASSERT_TRUE(Localizer().init(Inst().c_str()));
    EXPECT_EQ(LeafTexts(Localizer().GetRegionsNodeFor(L"DEU")).size(), 3u);
    EXPECT_TRUE(shown_.empty());
}

TEST_F(LocalizerTest, FilesPairsAreAnchoredAtTheSupportFolder) {
    const std::wstring support = Inst() + L"\\Support\\";
    const std::wstring temp = qx::TempDirectory();
    struct Case {
        const char* name;
        const char* leaf;  // the packed value in the map
        std::wstring first, second;
        const wchar_t* raw = nullptr;  // the whole packed value, when it must stay as written
    };
    const Case cases[] = {
        {"relative and absolute", "Data\\a.txt:C\xAE\\abs\\b.txt", support + L"Data\\a.txt", L"C:\\abs\\b.txt"},
        {"one folder up", "..\\Data\\a.txt:x", Inst() + L"\\Data\\a.txt", support + L"x"},
        {"only the first .. goes", "..\\..\\a:..b\\c", Inst() + L"\\..\\a", support + L"..b\\c"},
        {"placeholder in the second value", "rel\\a.txt:<TEMP>b.txt", L"rel\\a.txt", temp + L"b.txt"},
        {"placeholder twice", "<TEMP>x\\<TEMP>y:", temp + L"x\\" + temp + L"y", L""},
        {"absolute stays as written", "/abs/a:\\abs\\b:third", L"/abs/a", L"\\abs\\b", L"/abs/a:\\abs\\b:third"},
        {"an empty value names no file", ":rel", L"", support + L"rel"},
    };
    std::string files = "[Files]\n";
    for (const Case& c : cases) files += std::string("F:") + c.leaf + "\n";
    Write("Support/Map_1.Region", RegionMap({"Name:DEU\n" + files + "[ENDE_Files]\n"}));
    ASSERT_TRUE(Localizer().init(Inst().c_str()));
    CNode* filesNode = Localizer().GetRegionsNodeFor(L"DEU")->FindChild(L"Files");
    ASSERT_NE(filesNode, nullptr);
    ASSERT_EQ(filesNode->NrOfLeaves(), std::size(cases));
    for (unsigned n = 0; n < std::size(cases); ++n) {
        const Case& c = cases[n];
        SCOPED_TRACE(c.name);
        CLeaf* leaf = filesNode->GetLeaf(n);
        EXPECT_EQ(leaf->GetStrLeafValue(1).str(), c.first);
        EXPECT_EQ(leaf->GetStrLeafValue(2).str(), c.second);
        if (c.raw) {
            EXPECT_EQ(leaf->GetRawData().str(), c.raw);
        }
    }
}

TEST_F(LocalizerTest, StartupRegionAndDefaultLanguages) {
    Write("Support/Map_1.Region",
          RegionMap({"Name:DEU\nDefaultLanguage:de\nDefaultPrintLanguage:de\n",
                     "Name:FRA\nDefaultLanguage:fr\nDefaultPrintLanguage:fr\n"}));
    struct Case {
        const char* name;
        const wchar_t* section;      // the application's section
        const wchar_t* ownRegion;    // stored in that section
        const wchar_t* userCommon;   // Region of the company's Env section
        const wchar_t* machineCommon;
        const wchar_t* userLang;     // the user's display language, if any
        const wchar_t* expected;
        const wchar_t* lang;         // afterwards
        const wchar_t* printLang;
    };
    const Case cases[] = {
        {"nothing stored: the first region", L"", nullptr, nullptr, nullptr, nullptr, L"DEU", L"de", L"de"},
        {"the application's region", L"", L"FRA", nullptr, nullptr, nullptr, L"FRA", L"fr", L"fr"},
        {"the common region wins", L"", L"DEU", L"FRA", nullptr, nullptr, L"FRA", L"fr", L"fr"},
        {"an unknown common region is passed over", L"", L"FRA", L"XYZ", nullptr, nullptr, L"FRA", L"fr", L"fr"},
        {"the machine's common region", L"", nullptr, nullptr, L"FRA", nullptr, L"FRA", L"fr", L"fr"},
        {"the user's common region before the machine's", L"", nullptr, L"DEU", L"FRA", nullptr, L"DEU", L"de", L"de"},
        {"unknown everywhere: the first region", L"", L"XYZ", nullptr, nullptr, nullptr, L"DEU", L"de", L"de"},
        {"an application section", L"Planner", L"FRA", nullptr, nullptr, nullptr, L"FRA", L"fr", L"fr"},
        {"the user's language stays", L"", L"FRA", nullptr, nullptr, L"it", L"FRA", L"it", L"fr"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        qx::ResetRegistry();
        qx::ResetLocalizer();
        fs::remove_all(registry_.path());
        fs::create_directories(registry_.path());
        const std::wstring section = std::wstring(kAcme) + (*c.section ? L"\\" + std::wstring(c.section) : L"");
        if (c.ownRegion) SetUser(section.c_str(), L"Region", c.ownRegion);
        if (c.userCommon) SetUser(kAcmeEnv, L"Region", c.userCommon);
        if (c.machineCommon) {
            ASSERT_TRUE(RegSetValueW(HKEY_LOCAL_MACHINE, kAcmeEnv, L"Region", c.machineCommon));
        }
        if (c.userLang) SetUser(kAcmeEnv, L"Lang", c.userLang);

        Localizer().m_regSection = c.section;
        ASSERT_TRUE(Localizer().init(Inst().c_str()));
        EXPECT_EQ(Localizer().GetMyRegionsToken(), c.expected);
        EXPECT_EQ(User(section.c_str(), L"Region"), c.expected);
        EXPECT_EQ(User(kAcmeEnv, L"Region"), c.userCommon ? c.userCommon : L"");  // start-up stores it for itself only
        EXPECT_EQ(User(kAcmeEnv, L"Lang"), c.lang);
        EXPECT_EQ(User(kAcmeEnv, L"PrintLang"), c.printLang);
    }
}

TEST_F(LocalizerTest, ChangeRegionStoresItForAllApplications) {
    Write("Support/Map_1.Region", RegionMap({"Name:DEU\n", "Name:FRA\nDefaultLanguage:fr\n"}));
    SetUser(kAcmeEnv, L"Lang", L"de");
    Localizer().m_regSection = L"Planner";
    ASSERT_TRUE(Localizer().init(Inst().c_str()));
    EXPECT_FALSE(Localizer().changeRegionTo(L"fra"));
    EXPECT_FALSE(Localizer().changeRegionTo(nullptr));
    EXPECT_EQ(Localizer().GetMyRegionsToken(), L"DEU");
    ASSERT_TRUE(Localizer().changeRegionTo(L"FRA"));
    EXPECT_EQ(Localizer().GetMyRegionsToken(), L"FRA");
    EXPECT_EQ(User(L"Software\\Acme\\Planner", L"Region"), L"FRA");
    EXPECT_EQ(User(kAcmeEnv, L"Region"), L"FRA");
    EXPECT_EQ(User(kAcmeEnv, L"Lang"), L"de");
}

TEST_F(LocalizerTest, WithoutMapsThereIsNoRegion) {
    EXPECT_FALSE(Localizer().init(Inst().c_str()));
    EXPECT_EQ(Localizer().GetMyRegionsToken(), L"");
    EXPECT_EQ(Localizer().m_pCurRegion, nullptr);
    EXPECT_EQ(Localizer().GetLocalizedMMD(L"kessel.mmd"), L"kessel.mmd");
    std::unique_ptr<CStringList> regions(Localizer().GetAvailableRegions());
    EXPECT_TRUE(regions->IsEmpty());
    EXPECT_EQ(User(kAcme, L"Region"), L"");
}

TEST_F(LocalizerTest, MalformedMapThrows) {
    Write("Support/Map_1.Region", "[Regions]\n[Region]\nName:DEU\n");
    EXPECT_THROW(Localizer().init(Inst().c_str()), CExcRead);
}

TEST_F(LocalizerTest, LocalizedDataFileNames) {
    Write("Support/Map_1.Region",
          RegionMap({"Name:DEU\n[MMDs]\nM:Kessel.mmd:kessel_de.mmd\nM:pumpe.mmd\n[ENDE_MMDs]\n", "Name:FRA\n"}));
    ASSERT_TRUE(Localizer().init(Inst().c_str()));
    EXPECT_EQ(Localizer().GetLocalizedMMD(L"KESSEL.MMD"), L"kessel_de.mmd");
    EXPECT_EQ(Localizer().GetLocalizedMMD(L"pumpe.mmd"), L"");  // a leaf without replacement says so
    EXPECT_EQ(Localizer().GetLocalizedMMD(L"ventil.mmd"), L"ventil.mmd");
    ASSERT_TRUE(Localizer().changeRegionTo(L"FRA"));
    EXPECT_EQ(Localizer().GetLocalizedMMD(L"Kessel.mmd"), L"Kessel.mmd");
}

TEST_F(LocalizerTest, EditionAndVersionFromDataPpx) {
    Write("Support/Map_1.Region", RegionMap({"Name:DEU\n"}));
    Write("Support/data.ppx", "[Data]\n[Product]\nName:Pro:x\nVersionName:2026.1\n[ENDE_Product]\n[ENDE_Data]\n", true);
    ASSERT_TRUE(Localizer().init(Inst().c_str()));
    EXPECT_EQ(CLocalizer::GetEditionName(), L"Pro");
    EXPECT_EQ(CLocalizer::GetVersionName(), L"2026.1");

    // Names the application set are kept.
    qx::ResetLocalizer();
    CLocalizer::SetEditionData(L"Lite", L"");
    ASSERT_TRUE(Localizer().init(Inst().c_str()));
    EXPECT_EQ(CLocalizer::GetEditionName(), L"Lite");
    EXPECT_EQ(CLocalizer::GetVersionName(), L"");
}

TEST_F(LocalizerTest, LocalizedFileVariants) {
    Write("Support/Map_1.Region", RegionMap({"Name:DEU\n"}));
    SetUser(kAcmeEnv, L"Lang", L"fr");
    SetUser(kAcmeEnv, L"PrintLang", L"it");
    ASSERT_TRUE(Localizer().init(Inst().c_str()));
    ASSERT_EQ(Localizer().GetMyRegionsToken(), L"DEU");
    struct Case {
        const char* name;
        std::vector<std::string> files;  // below inst/Data
        int useRegion, useLanguage, usePrintLanguage, noUnprefixedFallback;
        const wchar_t* prefix;
        const wchar_t* edition;
        const char* file;      // asked for, below inst/Data
        const char* expected;  // below inst/Data
    };
    const std::vector<std::string> all = {"Mask.txt", "Mask_DEU_fr.txt", "Mask_DEU.txt", "Mask_fr.txt",
                                          "DEU/Mask_fr.txt", "DEU/Mask.txt", "fr/Mask_DEU.txt", "fr/Mask.txt"};
    const Case cases[] = {
        {"region and language", all, 1, 1, 0, 0, nullptr, L"", "Mask.txt", "Mask_DEU_fr.txt"},
        {"region", {"Mask_DEU.txt", "Mask_fr.txt"}, 1, 1, 0, 0, nullptr, L"", "Mask.txt", "Mask_DEU.txt"},
        {"language", {"Mask_fr.txt", "DEU/Mask.txt"}, 1, 1, 0, 0, nullptr, L"", "Mask.txt", "Mask_fr.txt"},
        {"region folder", {"DEU/Mask_fr.txt", "DEU/Mask.txt"}, 1, 1, 0, 0, nullptr, L"", "Mask.txt", "DEU/Mask_fr.txt"},
        {"language folder", {"fr/Mask_DEU.txt", "fr/Mask.txt"}, 1, 1, 0, 0, nullptr, L"", "Mask.txt", "fr/Mask_DEU.txt"},
        {"language folder alone", {"fr/Mask.txt"}, 1, 1, 0, 0, nullptr, L"", "Mask.txt", "fr/Mask.txt"},
        {"the file itself before English", {"Mask.txt", "Mask_en.txt"}, 1, 1, 0, 0, nullptr, L"", "Mask.txt", "Mask.txt"},
        {"English when the file is missing", {"DEU/Mask_en.txt"}, 1, 1, 0, 0, nullptr, L"", "Mask.txt", "DEU/Mask_en.txt"},
        {"nothing exists", {}, 1, 1, 0, 0, nullptr, L"", "Mask.txt", "Mask.txt"},
        {"print language", {"Mask_it.txt", "Mask_fr.txt"}, 1, 0, 1, 0, nullptr, L"", "Mask.txt", "Mask_it.txt"},
        {"print language replaces display", {"Mask_it.txt", "Mask_fr.txt"}, 0, 1, 1, 0, nullptr, L"", "Mask.txt", "Mask_it.txt"},
        {"no region, no language", {"Mask_DEU.txt", "Mask_fr.txt", "Mask.txt"}, 0, 0, 0, 0, nullptr, L"", "Mask.txt", "Mask.txt"},
        {"prefixed file", {"Std_Mask.txt", "Mask.txt"}, 0, 0, 0, 0, L"Std", L"", "Mask.txt", "Std_Mask.txt"},
        {"prefixed file missing", {"Mask.txt"}, 0, 0, 0, 0, L"Std", L"", "Mask.txt", "Mask.txt"},
        {"prefixed variant first", {"Std_Mask_fr.txt", "Mask_DEU_fr.txt"}, 1, 1, 0, 0, L"Std", L"", "Mask.txt", "Std_Mask_fr.txt"},
        {"unprefixed fallback", {"Mask_fr.txt"}, 1, 1, 0, 0, L"Std", L"", "Mask.txt", "Mask_fr.txt"},
        {"no unprefixed fallback", {"Mask_fr.txt"}, 1, 1, 0, 1, L"Std", L"", "Mask.txt", "Mask.txt"},
        {"edition in place of the prefix", {"Pro_Mask.txt", "Std_Mask.txt"}, 1, 1, 0, 0, L"Std", L"Pro", "Mask.txt", "Pro_Mask.txt"},
        {"then the prefix", {"Std_Mask.txt"}, 1, 1, 0, 0, L"Std", L"Pro", "Mask.txt", "Std_Mask.txt"},
        {"edition only with a prefix", {"Pro_Mask.txt", "Mask.txt"}, 1, 1, 0, 0, nullptr, L"Pro", "Mask.txt", "Mask.txt"},
        {"region subfolder of a folder", {"DEU/x.txt", "fr/x.txt"}, 1, 1, 0, 0, nullptr, L"", "", "DEU/"},
        {"prefix subfolder of a folder", {"Std/x.txt"}, 0, 0, 0, 0, L"Std", L"", "", "Std/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(dir_.path() / "inst" / "Data");
        fs::create_directories(dir_.path() / "inst" / "Data");
        for (const std::string& file : c.files) Write("Data/" + file, "x");
        CLocalizer::SetEditionData(c.edition, L"");
        const std::wstring data = Inst() + L"/Data/";
        const CString found = Localizer().GetLocalizedFileEx((data + Widen(c.file)).c_str(), c.useRegion,
                                                             c.useLanguage, c.usePrintLanguage,
                                                             c.noUnprefixedFallback, c.prefix);
        EXPECT_EQ(Slashed(found), Slashed(CString(data + Widen(c.expected))));
    }
    EXPECT_TRUE(shown_.empty());
}

TEST_F(LocalizerTest, MissingDisplayLanguageIsReported) {
    Write("Support/Map_1.Region", RegionMap({"Name:DEU\n"}));
    ASSERT_TRUE(Localizer().init(Inst().c_str()));
    Write("Data/Mask_DEU.txt", "x");
    const std::wstring data = Inst() + L"/Data/";
    EXPECT_EQ(Slashed(Localizer().GetLocalizedFile((data + L"Mask.txt").c_str(), 1)), Slashed(CString(data + L"Mask_DEU.txt")));
    EXPECT_EQ(shown_.size(), 1u);
    shown_.clear();
    // The print language is read silently (and is "de" when none is stored).
    Write("Data/Mask_de.txt", "x");
    EXPECT_EQ(Slashed(Localizer().GetLocalizedFileEx((data + L"Mask.txt").c_str(), 0, 0, 1, 0, nullptr)),
              Slashed(CString(data + L"Mask_de.txt")));
    EXPECT_TRUE(shown_.empty());
}

TEST_F(LocalizerTest, DescriptionChangesNothing) {
    Write("Support/Map_1.Region", RegionMap({"Name:DEU\nDefaultLanguage:de\n", "Name:FRA\n"}));
    Write("Support/data.ppx", "[Data]\nName:Pro\n[ENDE_Data]\n", true);
    SetUser(kAcmeEnv, L"Region", L"FRA");
    const std::vector<qx::SettingLine> lines = qx::DescribeRegionAndEdition(Inst().c_str());
    auto answer = [&](const wchar_t* what) {
        for (const qx::SettingLine& line : lines)
            if (line.what == what) return line.answer + L" | " + line.source;
        return std::wstring(L"<missing>");
    };
    EXPECT_EQ(answer(L"region maps"), L"Map_1.Region | " + Inst() + L"\\Support, merged in this order");
    EXPECT_EQ(answer(L"regions"), L"DEU, FRA | the \"Name\" leaves of the merged maps");
    EXPECT_EQ(answer(L"region"), L"FRA | HKEY_CURRENT_USER\\Software\\Acme\\Env\\Region");
    EXPECT_EQ(answer(L"region's display language"), L"not found | region FRA has no DefaultLanguage");
    EXPECT_EQ(answer(L"edition"), L"Pro | " + Inst() + L"\\Support\\data.ppx, leaf Name");
    EXPECT_EQ(answer(L"version"), L"not set | " + Inst() + L"\\Support\\data.ppx, leaf VersionName");
    EXPECT_EQ(User(kAcme, L"Region"), L"");
    EXPECT_EQ(CLocalizer::GetEditionName(), L"");

    Write("Support/Map_2.Region", "[Broken]\n");
    EXPECT_EQ(qx::DescribeRegionAndEdition(Inst().c_str()).front().answer, L"unreadable");
}

TEST(LocalizedNamesTest, RegionAndLanguageNames) {
    struct Case {
        const char* name;
        CString result;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {"region in any case", LocalizedNames::GetRegionName(L"deu"), L"Deutschland"},
        {"region with umlaut", LocalizedNames::GetRegionName(L"OES"), L"Österreich"},
        {"unknown region", LocalizedNames::GetRegionName(L"DE"), L""},
        {"native name", LocalizedNames::GetLanguageName(L"fr", 0), L"Français"},
        {"combined", LocalizedNames::GetLanguageName(L"fr", 1), L"Français (Französisch)"},
        {"combined, names equal", LocalizedNames::GetLanguageName(L"de", 1), L"Deutsch"},
        {"unknown language", LocalizedNames::GetLanguageName(L"xx", 1), L""},
        {"abbreviation", LocalizedNames::GetLanguageAbbr(L"Русский", 0), L"RU"},
        {"abbreviation is case-sensitive", LocalizedNames::GetLanguageAbbr(L"français", 0), L""},
        {"abbreviation of a combined name", LocalizedNames::GetLanguageAbbr(L"Français (Französisch)", 1), L"FR"},
        {"combined name with a space in the native name",
         LocalizedNames::GetLanguageAbbr(L"Norsk (bokmål) (Norwegisch)", 1), L"NO"},
        {"native name with a space", LocalizedNames::GetLanguageAbbr(L"Norsk (bokmål)", 0), L"NO"},
        {"text before the first space", LocalizedNames::GetLanguageAbbr(L"Deutsch (anything)", 1), L"DE"},
        {"combined form needs the flag", LocalizedNames::GetLanguageAbbr(L"Français (Französisch)", 0), L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.result, c.expected);
    }
}

TEST(LocalizedNamesTest, GermanNamesAreTranslated) {
    qx::ReplaceMessageTable({{L"Französisch", L"French"}, {L"Frankreich", L"France"}});
    qx::ResetLocalizedNames();
    EXPECT_EQ(LocalizedNames::GetLanguageName(L"FR", 1), L"Français (French)");
    EXPECT_EQ(LocalizedNames::GetLanguageAbbr(L"Français (French)", 1), L"FR");
    EXPECT_EQ(LocalizedNames::GetRegionName(L"FRA"), L"France");
    qx::ClearMessageTable();
    qx::ResetLocalizedNames();
}

}  // namespace
