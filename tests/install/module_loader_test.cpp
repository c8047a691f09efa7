#include "qx/install/module_loader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "qx/install/reg_functions.h"
#include "qx/install/reg_util.h"
#include "qx/locale/init_language.h"
#include "qx/locale/language_module.h"
#include "qx/platform/os/dynamic_library.h"
#include "qx/platform/wnd/message_box.h"
#include "qx/platform/os/process_info.h"
#include "qx/platform/os/registry_store.h"
#include "tests/support/fixtures.h"
#include "tests/support/test_support.h"

namespace {

namespace fs = std::filesystem;

struct ShownMessage {
    std::wstring text;
    std::wstring caption;
    unsigned flags;
};

// Modules stay loaded for the rest of the process, so every test copies the
// built probe module under names of its own. The family's common folder is
// <tmp>/common, the company "Acme", the loaded language "fr".
class ModuleLoaderTest : public testing::Test {
protected:
    void SetUp() override {
        qx::ResetRegistry();
        qx::ResetRegUtilNames();
        qx::ResetDelayLoadErrorShown();
        setRegCompany(L"Acme");
        fs::create_directories(dir_.path() / "common");
        ASSERT_TRUE(RegSetValueW(HKEY_LOCAL_MACHINE, L"Software\\quOrix GmbH\\Env", L"CommonFiles",
                                 (dir_.Wide("common") + L"/").c_str()));
        fs::create_directories(dir_.path() / "lang");
        qx::test::WriteBytes(dir_.path() / "Prog.fr", "Abbrechen <*> Annuler\n");
        ASSERT_TRUE(qx::BuildLanguageModule(dir_.Wide("Prog.fr").c_str(), dir_.Wide("lang/Prog.fr").c_str()));
        qx::SetLanguageModuleLocation(dir_.Wide("lang") + L"/", L"Prog");
        initLanguage(0, L"fr");
        ASSERT_EQ(qx::LoadedLanguage(), L"fr");
    }
    void TearDown() override {
        qx::ResetLanguageModule();
        qx::ResetRegUtilNames();
        qx::ResetRegistry();
        qx::ResetDelayLoadErrorShown();
    }

    // Copies a built module to *relative* (below the temporary folder) and
    // gives its library path.
    std::wstring Install(const std::string& relative, const char* module = QX_TEST_PROBE_MODULE) const {
        const fs::path target = dir_.path() / relative;
        fs::create_directories(target.parent_path());
        fs::copy_file(module, target, fs::copy_options::overwrite_existing);
        return target.wstring();
    }

    static std::wstring Calls(HINSTANCE module) {
        using CallsFunction = const wchar_t* (*)();
        void* symbol = qx::LibrarySymbol(module, "probeCalls");
        return symbol ? reinterpret_cast<CallsFunction>(symbol)() : L"<no probe>";
    }

    qx::test::TempDir dir_;
    qx::test::TempDir registry_;
    qx::test::ScopedEnv registryDir_{"QX_REGISTRY_DIR", registry_.path().string()};
    std::vector<ShownMessage> shown_;
    qx::ScopedMessageHandler handler_{[this](const wchar_t* text, const wchar_t* caption, unsigned flags) {
        shown_.push_back({text, caption, flags});
        return IDOK;
    }};
};

constexpr wchar_t kIntroduced[] = L"setRegCompany(Acme);initLanguage(0,fr);changeLanguage(fr);";

TEST_F(ModuleLoaderTest, FindsModulesInTheSharedFolders) {
    struct Case {
        const char* name;
        std::vector<std::string> installed;  // copies of the probe module
        const wchar_t* request;
        const char* expected;  // the copy that must be loaded; null: none
    };
    const Case cases[] = {
        {"family library folder", {"common/quOsysDll/Find1x64.so", "common/Dll/Find1x64.so"}, L"Find1x64.so",
         "common/quOsysDll/Find1x64.so"},
        {"Dll when there is no quOsysDll folder", {"common/Dll/Find2x64.so"}, L"Find2x64.so", "common/Dll/Find2x64.so"},
        {"Dll when quOsysDll lacks the file", {"common/quOsysDll/Other3x64.so", "common/Dll/Find3x64.so"},
         L"Find3x64.so", "common/Dll/Find3x64.so"},
        {"a .dll request finds the .so", {"common/quOsysDll/Find4x64.so"}, L"Find4x64.dll",
         "common/quOsysDll/Find4x64.so"},
        {"missing everywhere", {"common/quOsysDll/Other5x64.so"}, L"Find5x64.dll", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(dir_.path() / "common");
        fs::create_directories(dir_.path() / "common");
        for (const std::string& file : c.installed) Install(file);
        HINSTANCE module = LoadQuorixLib(c.request);
        if (!c.expected) {
            EXPECT_EQ(module, nullptr);
            continue;
        }
        ASSERT_NE(module, nullptr);
        EXPECT_EQ(module, LoadThisLib(dir_.Wide(c.expected).c_str()));
        EXPECT_EQ(Calls(module), kIntroduced);
    }
    EXPECT_TRUE(shown_.empty());
}

TEST_F(ModuleLoaderTest, NameWithFolderIsLoadedFromThereOnly) {
    Install("common/quOsysDll/Path1x64.so");
    const std::wstring elsewhere = Install("elsewhere/Path1x64.so");
    EXPECT_EQ(LoadQuorixLib(dir_.Wide("nowhere/Path1x64.so").c_str()), nullptr);
    HINSTANCE module = LoadQuorixLib(elsewhere.c_str());
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(module, LoadThisLib(elsewhere.c_str()));
    EXPECT_EQ(Calls(module), kIntroduced);
}

TEST_F(ModuleLoaderTest, LoadedModuleIsReturnedWithoutBeingIntroducedAgain) {
    Install("common/quOsysDll/Twice1x64.so");
    HINSTANCE first = LoadQuorixLib(L"Twice1x64.so");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(LoadQuorixLib(L"TWICE1X64.SO"), first);
    EXPECT_EQ(LoadQuorixLib(L"Twice1x64.dll"), first);
    EXPECT_EQ(Calls(first), kIntroduced);

    // Loaded by someone else: found by its name, never introduced.
    HINSTANCE other = LoadThisLib(Install("private/Twice2x64.so").c_str());
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(LoadQuorixLib(L"Twice2x64.dll"), other);
    EXPECT_EQ(Calls(other), L"");
}

TEST_F(ModuleLoaderTest, PlaceholderTakesTheLoadedVariant) {
    HINSTANCE loaded = LoadThisLib(Install("app/Tessel100x64.so").c_str());
    ASSERT_NE(loaded, nullptr);
    Install("common/quOsysDll/Tessel100x32.so");  // a variant that is not loaded
    EXPECT_EQ(LoadQuorixLib(L"Tessel100xxx.dll"), loaded);
    EXPECT_EQ(LoadQuorixLib(L"tessel100XXX.so"), loaded);
    EXPECT_EQ(Calls(loaded), L"");
    // No loaded variant: the placeholder is an ordinary name.
    EXPECT_EQ(LoadQuorixLib(L"Mesh200xxx.dll"), nullptr);
}

TEST_F(ModuleLoaderTest, ModuleWithoutEntryPointsLoads) {
    Install("common/quOsysDll/Plain1x64.so", QX_TEST_PLAIN_MODULE);
    HINSTANCE module = LoadQuorixLib(L"Plain1x64.dll");
    ASSERT_NE(module, nullptr);
    using AnswerFunction = int (*)();
    void* answer = qx::LibrarySymbol(module, "plainAnswer");
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(reinterpret_cast<AnswerFunction>(answer)(), 42);
    // What the module's dependencies export is not the module's own.
    EXPECT_EQ(qx::LibrarySymbol(module, "malloc"), nullptr);
}

TEST_F(ModuleLoaderTest, DelayLoadHookLoadsTheRequestedLibrary) {
    Install("common/quOsysDll/Delay1x64.so");
    DelayLoadInfo info{};
    info.szDll = "Delay1x64.dll";
    struct Case {
        const char* name;
        unsigned notify;
        DelayLoadInfo* info;
        bool loads;
    };
    const Case cases[] = {
        {"other notifications take the default", dliStartProcessing, &info, false},
        {"before getting a function", dliNotePreGetProcAddress, &info, false},
        {"no information", dliNotePreLoadLibrary, nullptr, false},
        {"before loading", dliNotePreLoadLibrary, &info, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FARPROC result = DliHook(c.notify, c.info);
        if (c.loads) EXPECT_EQ(reinterpret_cast<HINSTANCE>(result), LoadThisLib(dir_.Wide("common/quOsysDll/Delay1x64.so").c_str()));
        else EXPECT_EQ(result, nullptr);
    }
}

TEST_F(ModuleLoaderTest, OneFailingLibraryShowsOneMessage) {
    fs::create_directories(dir_.path() / "common" / "Dll");  // so the search itself shows nothing
    DelayLoadInfo byOrdinal{};
    byOrdinal.szDll = "Gone1x64.dll";
    byOrdinal.dlp.dwOrdinal = 7;
    DelayLoadInfo byName{};
    byName.szDll = "Gone1x64.dll";
    byName.dlp.fImportByName = 1;
    byName.dlp.szProcName = "MakeMesh";
    const std::wstring prefix = L"Error in " + qx::LibraryPath() + L"!\nRequired program part Gone1x64.dll ";
    const std::wstring incompatible = prefix + L"is not compatible with the current program version.\n";
    struct Step {
        const char* name;
        bool hook;  // DliHook (a new delayed load) rather than DliFailHook
        unsigned notify;
        DelayLoadInfo* info;
        std::wstring shown;  // "" for no message
    };
    const Step steps[] = {
        {"library missing", false, dliFailLoadLib, &byOrdinal, prefix + L"cannot be found."},
        {"same library again", false, dliFailGetProc, &byOrdinal, L""},
        {"a new delayed load", true, dliNotePreLoadLibrary, &byOrdinal, L""},
        {"function missing", false, dliFailGetProc, &byOrdinal, incompatible + L"Missing function: No. 7"},
        {"end of processing", true, dliNoteEndProcessing, &byOrdinal, L""},
        {"still the same failure", false, dliFailLoadLib, &byOrdinal, L""},
        {"another delayed load", true, dliNotePreLoadLibrary, &byName, L""},
        {"other notifications show nothing", false, dliNoteEndProcessing, &byName, L""},
        {"function by name", false, dliFailGetProc, &byName, incompatible + L"Missing function: MakeMesh"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        shown_.clear();
        EXPECT_EQ(step.hook ? DliHook(step.notify, step.info) : DliFailHook(step.notify, step.info), nullptr);
        if (step.shown.empty()) {
            EXPECT_TRUE(shown_.empty());
            continue;
        }
        ASSERT_EQ(shown_.size(), 1u);
        EXPECT_EQ(shown_[0].text, step.shown);
        EXPECT_EQ(shown_[0].caption, L"DLL Error");
        EXPECT_EQ(shown_[0].flags, MB_OK);
    }
}

}  // namespace
