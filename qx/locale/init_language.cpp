#include "qx/locale/init_language.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "qx/locale/language_codes.h"
#include "qx/locale/language_module_name.h"
#include "qx/locale/language_resource_scope.h"
#include "qx/message/message_table.h"
#include "qx/platform/base/cstring.h"
#include "qx/platform/base/format.h"
#include "qx/platform/os/file_search.h"
#include "qx/platform/os/locale_info.h"
#include "qx/platform/wnd/message_box.h"
#include "qx/platform/os/process_info.h"
#include "qx/platform/os/path_split.h"

namespace qx {
namespace {

// The loaded module and where modules are looked for. On Linux this
// library's own file carries no resources, so a module is always needed for
// translated texts.
struct LanguageModuleState {
    std::wstring language;
    std::shared_ptr<const LanguageModule> module;
    std::wstring folder;  // "" : beside this library
    std::wstring base;

    static LanguageModuleState& Instance() {
        static LanguageModuleState state;
        return state;
    }
};

struct ModuleLocation {
    std::wstring folder;
    std::wstring base;
};

ModuleLocation Location() {
    const LanguageModuleState& state = LanguageModuleState::Instance();
    if (!state.folder.empty() || !state.base.empty()) return {state.folder, state.base};
    const std::wstring library = LibraryPath();
    return {LibraryDirectory(), LanguageModuleBase(std::wstring(NamePart(library)))};
}

bool SameCode(const std::wstring& a, const std::wstring& b) { return CString(a).CompareNoCase(b.c_str()) == 0; }

// The language codes of the modules present, in the order the folder lists
// them.
std::vector<std::wstring> AvailableModules(const ModuleLocation& location) {
    std::vector<std::wstring> codes;
    auto search = FileSearch::Start(location.folder + location.base + L".*");
    while (const FoundEntry* entry = search ? search->Next() : nullptr) {
        const size_t dot = entry->name.rfind(L'.');
        if (!entry->folder && dot != std::wstring::npos && entry->name.size() - dot == 3) {
            codes.push_back(entry->name.substr(dot + 1));
        }
    }
    return codes;
}

// The first module that opens, trying the session's language, then English,
// then every module in the order the folder lists them.
std::optional<std::pair<std::wstring, LanguageModule>> OpenFallback(const ModuleLocation& location,
                                                                     const std::vector<std::wstring>& codes) {
    std::vector<std::wstring> candidates;
    CString system;
    std::vector<std::wstring> preferred;
    if (LanguageAbbreviation(SystemDefaultLanguageId(), system)) preferred.push_back(system.str());
    preferred.push_back(L"en");
    for (const std::wstring& wanted : preferred) {
        for (const std::wstring& code : codes) {
            if (SameCode(code, wanted)) candidates.push_back(code);
        }
    }
    candidates.insert(candidates.end(), codes.begin(), codes.end());
    for (const std::wstring& code : candidates) {
        if (auto module = LanguageModule::Open(location.folder + location.base + L"." + code)) {
            return std::pair(code, std::move(*module));
        }
    }
    return std::nullopt;
}

void ReportMissingModules(const ModuleLocation& location) {
    const std::wstring pattern = location.folder + location.base + L".*";
    const std::wstring text = Format(TranslateMessage(L"Language module %s does not exist."), pattern.c_str());
    ShowMessage(text.c_str(), L"quOrix", MB_OK | MB_ICONERROR);
}

void Install(std::wstring language, std::shared_ptr<const LanguageModule> module) {
    LanguageModuleState& state = LanguageModuleState::Instance();
    state.language = std::move(language);
    state.module = std::move(module);
    if (state.module) ReplaceMessageTable(state.module->Texts(state.language));
    else ClearMessageTable();
    SetResourceModule(state.module);
}

}  // namespace

std::wstring LoadedLanguage() { return LanguageModuleState::Instance().language; }

std::shared_ptr<const LanguageModule> LoadedLanguageModule() { return LanguageModuleState::Instance().module; }

void SetLanguageModuleLocation(std::wstring folder, std::wstring base) {
    LanguageModuleState& state = LanguageModuleState::Instance();
    state.folder = std::move(folder);
    state.base = std::move(base);
}

void ResetLanguageModule() {
    Install(L"", nullptr);
    SetLanguageModuleLocation(L"", L"");
}

}  // namespace qx

void initLanguage(int reason, const wchar_t* lang) {
    using namespace qx;
    if (reason == 1 || !lang || !*lang || SameCode(lang, LoadedLanguage())) return;
    const ModuleLocation location = Location();
    if (auto module = LanguageModule::Open(location.folder + location.base + L"." + lang)) {
        Install(lang, std::make_shared<const LanguageModule>(std::move(*module)));
    } else if (auto fallback = OpenFallback(location, AvailableModules(location))) {
        Install(std::move(fallback->first), std::make_shared<const LanguageModule>(std::move(fallback->second)));
    } else {
        ReportMissingModules(location);
        Install(L"", nullptr);
    }
}
