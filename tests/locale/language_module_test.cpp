#include "qx/locale/language_module.h"

#include <gtest/gtest.h>

#include <string>

#include "qx/locale/language_module_name.h"
#include "qx/platform/os/zip_store.h"
#include "tests/support/test_support.h"

namespace {

using qx::LanguageModule;
using qx::ZipMember;

std::string Zip(const std::vector<ZipMember>& members) { return qx::WriteZipMembers(members).value(); }

TEST(LanguageModuleNameTest, BaseFromTheLibraryFileName) {
    struct Case {
        const wchar_t* file;
        const wchar_t* base;
    } cases[] = {
        {L"libqxbase.so.1", L"qxbase"},
        {L"libqxbase.so.1.2.3", L"qxbase"},
        {L"libTessel100x32.so", L"Tessel100"},
        {L"libTessel100x64d.so", L"Tessel100"},
        {L"Tessel100x32.dll", L"Tessel100"},
        {L"libTessel100_dbg.so", L"Tessel100"},
        {L"_lead.so", L"_lead"},         // a "_" at the start does not cut
        {L"libx64.so", L""},
        {L"qxbase", L"qxbase"},
        {L"libertine.so", L"ertine"},    // "lib" is always taken as the prefix
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.file)));
        EXPECT_EQ(qx::LanguageModuleBase(c.file), c.base);
    }
}

TEST(LanguageModuleTest, ResourcesByTypeAndIdentifier) {
    auto module = LanguageModule::FromBytes(Zip({
        {"TEXTE/1", std::string("Abbrechen\0Cancel\0\0\0", 19)},
        {"string/5", "\xEF\xBB\xBFSeite %d von %d"},
        {"STRING/6", "Gr\xC3\xBC\xC3\x9F" "e"},
        {"STRING/x7", "not a number"},
        {"STRING/", "no number"},
        {"DIALOG/100", std::string("\x01\x00\xFF\xFF", 4)},
        {"DIALOG/100", "second member of the same name"},
        {"README", "no type"},
    }));
    ASSERT_TRUE(module);
    EXPECT_EQ(module->Texts(L"en"), (qx::MessageTable{{L"Abbrechen", L"Cancel"}}));
    const std::unordered_map<unsigned, std::wstring> strings = {{5, L"Seite %d von %d"}, {6, L"Grüße"}};
    EXPECT_EQ(module->Strings(), strings);
    ASSERT_NE(module->Resource("dialog", "100"), nullptr);
    EXPECT_EQ(*module->Resource("dialog", "100"), std::string("\x01\x00\xFF\xFF", 4));
    EXPECT_EQ(module->Resource("DIALOG", "101"), nullptr);
    EXPECT_EQ(module->Resource("BITMAP", "100"), nullptr);
}

TEST(LanguageModuleTest, ModuleWithoutTableHasNoTexts) {
    auto module = LanguageModule::FromBytes(Zip({{"STRING/1", "x"}}));
    ASSERT_TRUE(module);
    EXPECT_TRUE(module->Texts(L"de").empty());
}

// A table of tiny entries deflates to almost nothing, and each entry costs
// many times its bytes once it is a pair of strings: 250 KB of module can
// unpack to 64 million entries. What the library keeps of it (one
// translation per key) is all it may hold; the listing goes entry by entry.
TEST(LanguageModuleTest, ATableCostsWhatIsKeptOfIt) {
    constexpr size_t kRepeats = 1 << 20;
    std::string table;
    table.reserve(kRepeats * 8 + 2);
    for (size_t i = 0; i < kRepeats; ++i) table.append("a\0b\0c\0d\0", 8);
    table.append(2, '\0');
    auto module = LanguageModule::FromBytes(Zip({{"TEXTE/1", table}}));
    ASSERT_TRUE(module);
    table = {};
    EXPECT_EQ(module->Texts(L"de"), (qx::MessageTable{{L"a", L"b"}, {L"c", L"d"}}));
    size_t entries = 0;
    std::wstring last;
    module->ForEachText(L"de", [&](std::wstring key, std::wstring translation) {
        ++entries;
        last = key + L"=" + translation;
    });
    EXPECT_EQ(entries, 2 * kRepeats);
    EXPECT_EQ(last, L"c=d");
}

TEST(LanguageModuleTest, DamagedContainersAreRefused) {
    // Data that does not compress, so that byte 60 lies inside it.
    std::string noise;
    for (unsigned i = 0, x = 1; i < 4000; ++i, x = x * 1103515245u + 12345u) noise += static_cast<char>(x >> 24);
    std::string good = Zip({{"TEXTE/1", noise}});
    std::string flipped = good;
    flipped[60] ^= 0x55;  // inside the deflated data: the check sum fails
    struct Case {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"not a zip", "TEXTE/1"},
        {"cut short", good.substr(0, good.size() / 2)},
        {"damaged data", flipped},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(LanguageModule::FromBytes(c.bytes));
    }
    qx::test::TempDir dir;
    EXPECT_FALSE(LanguageModule::Open(dir.Wide("missing.de")));
}

TEST(LanguageModuleTest, BuildFromAWordbook) {
    qx::test::TempDir dir;
    qx::test::WriteBytes(dir.path() / "Prog.en",
                         "Abbrechen <*> Cancel\nAbbrechen <*> Abort\nGr\xFC\xDF" "e <*> Hi\\nthere\nkein Eintrag\n");
    ASSERT_TRUE(qx::BuildLanguageModule(dir.Wide("Prog.en").c_str(), dir.Wide("qxbase.en").c_str()));
    auto module = LanguageModule::Open(dir.Wide("qxbase.en"));
    ASSERT_TRUE(module);
    const std::string* table = module->Resource("TEXTE", "1");
    ASSERT_NE(table, nullptr);
    EXPECT_TRUE(table->starts_with("\xFF\xFE"));
    EXPECT_EQ(module->Texts(L"en"), (qx::MessageTable{{L"Abbrechen", L"Cancel"}, {L"Grüße", L"Hi\nthere"}}));

    EXPECT_FALSE(qx::BuildLanguageModule(dir.Wide("missing.en").c_str(), dir.Wide("qxbase.fr").c_str()));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "qxbase.fr"));
}

}  // namespace
